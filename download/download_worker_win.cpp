#include "download_win.h"

#include <wininet.h>

#include "../launcher/install_layout.h"
#include "progress_math.h"

const wchar_t *g_DestinationSlot;
const wchar_t *g_AddressSlot;
std::atomic<LONG> g_ProgressSlot;
HWND g_WindowSlot;
std::atomic<LONG> g_CancelSlot;

// Reads grow up to this on a fast link; the body still streams straight to disk.
enum { READ_BUFFER = 256 * 1024 };

// Announced length taken when the response gives none.
static const DWORD DefaultAnnouncedLength = 1024;

DWORD WINAPI DownloadWorkerProc(LPVOID unused)
{
    HINTERNET internet = NULL;
    HINTERNET request = NULL;
    HANDLE file = INVALID_HANDLE_VALUE;
    wchar_t temporary[MAX_PATH];
    static BYTE buffer[READ_BUFFER]; // one worker works at a time
    DWORD block = MIN_READ_BLOCK;
    DWORD status = 0;
    DWORD announced = 0;
    DWORD size;
    DWORD lastRead = 1;
    DWORD written;
    ULONGLONG received = 0;
    LONG lastPercentage = 0;
    int failed = 0;
    int complete;

    (void)unused;
    if (!ConcatPath(temporary, MAX_PATH, g_DestinationSlot, L".tmp"))
        goto Done;

    internet = InternetOpenW(L"ZuveRI/1.0", INTERNET_OPEN_TYPE_PRECONFIG, NULL, NULL, 0);
    if (internet == NULL)
        goto Done;
    request = InternetOpenUrlW(internet, g_AddressSlot, NULL, 0, INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (request == NULL)
        goto Done;

    // An error page is never a component, whatever its length.
    size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, NULL) ||
        status != HTTP_STATUS_OK)
        goto Done;
    size = sizeof announced;
    HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, NULL);
    if (announced == 0)
        announced = DefaultAnnouncedLength;

    // Created only once the server has answered.
    file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        goto Done;

    do {
        LONG percentage;
        DWORD started = GetTickCount();
        // A read waits until its whole block has arrived: the block follows the
        // link, so that a slow one still shows progress and sees a cancel soon.
        lastRead = 0;
        if (!InternetReadFile(request, buffer, block, &lastRead))
            lastRead = 0;
        block = NextReadBlock(block, GetTickCount() - started, READ_BUFFER);
        if (lastRead > 0 && (!WriteFile(file, buffer, lastRead, &written, NULL) || written != lastRead)) {
            failed = 1;
            break;
        }
        received += lastRead;
        percentage = (LONG)ComputePercentage(received, announced);
        if (percentage != lastPercentage) {
            g_ProgressSlot.store(percentage, std::memory_order_relaxed);
            lastPercentage = percentage;
            PostMessageW(g_WindowSlot, WM_PAINT, 0, 0);
        }
        if (g_CancelSlot.load(std::memory_order_relaxed)) {
            failed = 1;
            break;
        }
    } while (lastRead > 0);

    // Only a whole body that reached the disk replaces the component.
    complete = !failed && received == announced && FlushFileBuffers(file);
    if (!CloseHandle(file))
        complete = 0;
    file = INVALID_HANDLE_VALUE;
    // One step: the destination is either the old file or the new one.
    if (complete)
        MoveFileExW(temporary, g_DestinationSlot, MOVEFILE_REPLACE_EXISTING);

Done:
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (request != NULL)
        InternetCloseHandle(request);
    if (internet != NULL)
        InternetCloseHandle(internet);
    PostMessageW(g_WindowSlot, WM_QUIT, 0, 0);
    return 0;
}
