#include "probe_win.h"

#include "../launcher/install_layout.h"
#include "dotnet_version.h"
#include "platform.h"

int ReadMachineRegistryValue(const wchar_t *subKey, const wchar_t *valueName, void *data,
                             DWORD capacity, DWORD *bytesRead)
{
    HKEY key = NULL;
    DWORD type = 0;
    DWORD size = capacity;
    int result = 0;

    if (bytesRead != NULL)
        *bytesRead = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        key = NULL;
        goto Done;
    }
    // Data larger than the capacity fails with ERROR_MORE_DATA.
    if (RegQueryValueExW(key, valueName, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS)
        goto Done;
    if (bytesRead != NULL)
        *bytesRead = size;
    result = 1;

Done:
    if (key != NULL)
        RegCloseKey(key);
    return result;
}

int IsDotNet4VersionSufficient(const wchar_t *subKey)
{
    wchar_t text[130];
    DWORD bytes = 0;

    if (!ReadMachineRegistryValue(subKey, L"Version", text, sizeof text, &bytes))
        return 0;
    // The data need not hold a terminator: the parse stops at the bytes read.
    return IsDotNet4VersionTextSufficient(text, bytes / sizeof(wchar_t));
}

static int IsDotNet4ProfileInstalled(const wchar_t *profileKey)
{
    wchar_t keyPath[128];
    DWORD install = 0;

    if (!ConcatPath(keyPath, sizeof keyPath / sizeof keyPath[0], g_RegistryViewPrefix, profileKey))
        return 0;
    if (!ReadMachineRegistryValue(keyPath, L"Install", &install, sizeof install, NULL))
        return 0;
    if (install != 1)
        return 0;
    return IsDotNet4VersionSufficient(keyPath);
}

int IsDotNet4FullInstalled(void)
{
    return IsDotNet4ProfileInstalled(L"Microsoft\\NET Framework Setup\\NDP\\v4\\Full");
}

int IsDotNet4ClientInstalled(void)
{
    return IsDotNet4ProfileInstalled(L"Microsoft\\NET Framework Setup\\NDP\\v4\\Client");
}
