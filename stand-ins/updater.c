/* Stand-in for the game's updater. Records how it was started in
   "Updater.record" beside itself and ends, unless it is asked to keep running:
   with the argument --stay, or while a file "Updater.stay" lies beside it. A
   running instance holds "Updater.lock" beside it open without sharing, so
   that a test can tell whether the file could be replaced while it ran. */
#include "record.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    wchar_t path[MAX_PATH + 32];
    HANDLE lock;
    int stay;

    (void)instance;
    (void)previous;
    (void)show;
    AppendStartRecord(L"Updater.record");

    GetOwnFolder(path, MAX_PATH);
    lstrcatW(path, L"\\Updater.stay");
    stay = wcsstr(commandLine, L"--stay") != NULL || GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
    if (!stay)
        return 0;

    GetOwnFolder(path, MAX_PATH);
    lstrcatW(path, L"\\Updater.lock");
    lock = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, 0, NULL);
    /* Bounded, so that a forgotten instance cannot outlive a test run by much. */
    Sleep(120 * 1000);
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    return 0;
}
