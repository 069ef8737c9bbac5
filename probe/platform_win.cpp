#include "probe_win.h"

#include "platform.h"

BOOL(WINAPI *g_QueryOsVersion)(OSVERSIONINFOW *version) = GetVersionExW;

typedef void(WINAPI *GetNativeSystemInfoProc)(SYSTEM_INFO *info);

int ProbePlatform(void)
{
    OSVERSIONINFOEXW version;
    SYSTEM_INFO info;
    HMODULE kernel;
    GetNativeSystemInfoProc getNativeSystemInfo = NULL;

    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!g_QueryOsVersion((OSVERSIONINFOW *)&version))
        return 0;

    // A 32-bit launcher on 64-bit Windows must see the machine's own architecture,
    // which only GetNativeSystemInfo reports; systems without it are 32-bit only.
    kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel != NULL)
        getNativeSystemInfo = (GetNativeSystemInfoProc)(void *)GetProcAddress(kernel, "GetNativeSystemInfo");
    ZeroMemory(&info, sizeof info);
    if (getNativeSystemInfo != NULL)
        getNativeSystemInfo(&info);
    else
        GetSystemInfo(&info);

    g_RegistryViewPrefix = RegistryViewPrefixForArchitecture(info.wProcessorArchitecture);
    return 1;
}
