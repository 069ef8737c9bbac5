/* Stand-in for the archive library: a real DLL, larger than the smallest file
   that the launcher accepts as a component. */
#include <windows.h>

__declspec(dllexport) const unsigned char StandInArchivePadding[16384] = {1};

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
