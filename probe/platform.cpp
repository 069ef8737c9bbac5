#include "platform.h"

const wchar_t *g_RegistryViewPrefix = L"";

const wchar_t *RegistryViewPrefixForArchitecture(unsigned short architecture)
{
    enum { ARCHITECTURE_IA64 = 6, ARCHITECTURE_AMD64 = 9 };
    if (architecture == ARCHITECTURE_AMD64 || architecture == ARCHITECTURE_IA64)
        return L"SOFTWARE\\Wow6432Node\\";
    return L"SOFTWARE\\";
}
