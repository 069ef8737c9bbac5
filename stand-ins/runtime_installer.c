/* Stand-in for the runtime installer. Records how it was started in
   "Vextal.record" beside itself, then starts the updater whose path is its
   only argument, as the real installer does once the runtime is in place. */
#include "record.h"
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    int count = 0;
    wchar_t **arguments;
    wchar_t updater[32768];
    STARTUPINFOW startup;
    PROCESS_INFORMATION process;

    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    AppendStartRecord(L"Vextal.record");

    arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == NULL || count != 2)
        return 1;
    lstrcpyW(updater, L"\"");
    lstrcatW(updater, arguments[1]);
    lstrcatW(updater, L"\"");
    LocalFree(arguments);

    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessW(NULL, updater, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
