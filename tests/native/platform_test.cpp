#include <gtest/gtest.h>

#include <string>

#include "probe/platform.h"

TEST(RegistryViewPrefix, OnlyThe64BitArchitecturesUseThe32BitView)
{
    const struct {
        unsigned short code;
        const wchar_t *prefix;
    } cases[] = {
        {0, L"SOFTWARE\\"},                  // x86
        {6, L"SOFTWARE\\Wow6432Node\\"},     // IA64
        {9, L"SOFTWARE\\Wow6432Node\\"},     // AMD64
        {12, L"SOFTWARE\\"},                 // ARM64
        {5, L"SOFTWARE\\"},                  // ARM
        {0xFFFF, L"SOFTWARE\\"},             // unknown
    };
    for (const auto &c : cases)
        EXPECT_EQ(std::wstring(c.prefix), RegistryViewPrefixForArchitecture(c.code)) << "code " << c.code;
    EXPECT_EQ(21u, wcslen(RegistryViewPrefixForArchitecture(9)));
}
