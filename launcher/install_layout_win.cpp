#include "launcher_win.h"

int ResolveInstallLayout(InstallLayout *layout)
{
    wchar_t modulePath[MAX_PATH + 1];
    wchar_t fullPath[MAX_PATH];
    wchar_t *filePart = NULL;
    DWORD length;

    // A result of MAX_PATH means the path was cut short: never use a truncated path.
    length = GetModuleFileNameW(NULL, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    modulePath[length] = L'\0';

    length = GetFullPathNameW(modulePath, MAX_PATH, fullPath, &filePart);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    return BuildInstallLayout(fullPath, g_InstallFolder, layout);
}
