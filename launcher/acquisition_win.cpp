#include "launcher_win.h"

#include "../download/download_win.h"

static const wchar_t RetryText[] = L"运行环境下载失败，是否重新下载？";
static const wchar_t RetryCaption[] = L"运行下载失败";

// A component shorter than this is taken for a broken or partial file.
static const LONG MinimumComponentSize = 10240;

HANDLE(WINAPI *g_CreateWorkerThread)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD,
                                     LPDWORD) = CreateThread;

int IsComponentPresent(const wchar_t *componentPath)
{
    WIN32_FIND_DATAW found;
    HANDLE search;
    HANDLE file;
    DWORD size;

    search = FindFirstFileW(componentPath, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);

    // A folder of that name cannot be opened this way and so counts as missing.
    file = CreateFileW(componentPath, FILE_READ_EA, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    size = GetFileSize(file, NULL);
    CloseHandle(file);
    return (LONG)size >= MinimumComponentSize;
}

// One download attempt: the window first, in the slot before the worker can
// post, then the worker, then the window's loop until the worker's quit
// notification. A window or worker that cannot be made ends the attempt at once.
static void RunDownloadAttempt(HINSTANCE instance, const wchar_t *componentPath, const wchar_t *address)
{
    HWND window;
    HANDLE worker;

    g_StatusText = DownloadText;
    g_ProgressSlot.store(0, std::memory_order_relaxed);
    g_CancelSlot.store(0, std::memory_order_relaxed);
    g_DestinationSlot = componentPath;
    g_AddressSlot = address;

    window = CreateProgressWindow(instance);
    if (window == NULL)
        return;
    worker = g_CreateWorkerThread(NULL, 0, DownloadWorkerProc, NULL, 0, NULL);
    if (worker == NULL) {
        DestroyWindow(window);
        return;
    }
    CloseHandle(worker);
    RunProgressWindow(window);
}

int AcquireComponent(HINSTANCE instance, const wchar_t *componentPath, const wchar_t *address)
{
    if (IsComponentPresent(componentPath))
        return 1;
    for (;;) {
        RunDownloadAttempt(instance, componentPath, address);
        if (IsComponentPresent(componentPath))
            return 1;
        if (MessageBoxW(NULL, RetryText, RetryCaption, MB_YESNO | MB_ICONERROR) != IDYES)
            return 0;
    }
}
