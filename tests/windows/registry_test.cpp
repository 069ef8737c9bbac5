// The platform probe and the .NET Framework 4 detection against registry keys
// that the test writes in its own Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "probe/platform.h"
#include "probe/probe_win.h"

namespace {

const wchar_t FullKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full";
const wchar_t ClientKey[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client";

void DeleteKey(const wchar_t *key)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
}

void SetValue(const wchar_t *key, const wchar_t *name, DWORD type, const void *data, DWORD size)
{
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_WRITE, NULL,
                                             &handle, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(handle, name, 0, type, (const BYTE *)data, size));
    RegCloseKey(handle);
}

void SetDword(const wchar_t *key, const wchar_t *name, DWORD value)
{
    SetValue(key, name, REG_DWORD, &value, sizeof value);
}

void SetText(const wchar_t *key, const wchar_t *name, const std::wstring &text)
{
    SetValue(key, name, REG_SZ, text.c_str(), (DWORD)((text.size() + 1) * sizeof(wchar_t)));
}

class DotNetDetection : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, ProbePlatform());
        DeleteKey(FullKey);
        DeleteKey(ClientKey);
    }
    void TearDown() override
    {
        DeleteKey(FullKey);
        DeleteKey(ClientKey);
    }
};

BOOL WINAPI FailingVersionQuery(OSVERSIONINFOW *)
{
    return FALSE;
}

TEST(PlatformProbe, FailedVersionQueryLeavesThePrefixEmpty)
{
    g_RegistryViewPrefix = L"";
    g_QueryOsVersion = FailingVersionQuery;
    EXPECT_EQ(0, ProbePlatform());
    EXPECT_EQ(std::wstring(), g_RegistryViewPrefix);
    g_QueryOsVersion = GetVersionExW;
}

TEST(PlatformProbe, A64BitProcessOnX64SeesTheNativeArchitecture)
{
    ASSERT_EQ(1, ProbePlatform());
    EXPECT_EQ(std::wstring(L"SOFTWARE\\Wow6432Node\\"), g_RegistryViewPrefix);
}

TEST_F(DotNetDetection, InstallValueIsReadAsFourBytes)
{
    const BYTE one = 1;
    const unsigned long long wide = 1;
    const struct {
        const char *what;
        DWORD type;
        const void *data;
        DWORD size;
        int installed;
    } cases[] = {
        {"4-byte 1", REG_DWORD, "\1\0\0\0", 4, 1},
        {"text \"1\" reads as 49", REG_SZ, L"1", 4, 0},
        {"8-byte value does not fit", REG_QWORD, &wide, 8, 0},
        {"one byte 1", REG_BINARY, &one, 1, 1},
        {"4-byte 2", REG_DWORD, "\2\0\0\0", 4, 0},
        {"4-byte 0", REG_DWORD, "\0\0\0\0", 4, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKey(FullKey);
        SetValue(FullKey, L"Install", c.type, c.data, c.size);
        SetText(FullKey, L"Version", L"4.0.30319");
        EXPECT_EQ(c.installed, IsDotNet4FullInstalled());
    }
}

TEST_F(DotNetDetection, VersionValueDecides)
{
    SetDword(FullKey, L"Install", 1);
    EXPECT_EQ(0, IsDotNet4FullInstalled()) << "Version absent";

    SetText(FullKey, L"Version", L"4.0.30318");
    EXPECT_EQ(0, IsDotNet4FullInstalled());
    SetText(FullKey, L"Version", L"4.5.2");
    EXPECT_EQ(1, IsDotNet4FullInstalled());

    // 129 characters and the terminator fill the 260-byte buffer exactly; 130 do not fit.
    std::wstring text = L"4.0.30319.";
    SetText(FullKey, L"Version", text + std::wstring(129 - text.size(), L'0'));
    EXPECT_EQ(1, IsDotNet4FullInstalled());
    SetText(FullKey, L"Version", text + std::wstring(130 - text.size(), L'0'));
    EXPECT_EQ(0, IsDotNet4FullInstalled());
}

TEST_F(DotNetDetection, UnterminatedAndOddLengthVersionData)
{
    SetDword(FullKey, L"Install", 1);
    // Binary data with no terminator: only the bytes read take part.
    const wchar_t digits[] = {L'4', L'.', L'5'};
    SetValue(FullKey, L"Version", REG_BINARY, digits, sizeof digits);
    EXPECT_EQ(1, IsDotNet4FullInstalled());
    // An odd byte count: the half character at the end is dropped, leaving "4.".
    SetValue(FullKey, L"Version", REG_BINARY, digits, sizeof digits - 1);
    EXPECT_EQ(0, IsDotNet4FullInstalled());
    // 260 bytes of digits without any terminator.
    std::wstring full(130, L'9');
    SetValue(FullKey, L"Version", REG_BINARY, full.data(), 260);
    EXPECT_EQ(1, IsDotNet4FullInstalled());
}

TEST_F(DotNetDetection, ClientKeyAloneCounts)
{
    SetDword(ClientKey, L"Install", 1);
    SetText(ClientKey, L"Version", L"4.0.30319");
    EXPECT_EQ(0, IsDotNet4FullInstalled());
    EXPECT_EQ(1, IsDotNet4ClientInstalled());
}

TEST_F(DotNetDetection, ReaderReportsTheBytesRead)
{
    SetText(FullKey, L"Version", L"4.0");
    wchar_t buffer[130];
    DWORD bytes = 99;
    EXPECT_EQ(1, ReadMachineRegistryValue(FullKey, L"Version", buffer, sizeof buffer, &bytes));
    EXPECT_EQ(8u, bytes);
    EXPECT_EQ(0, ReadMachineRegistryValue(FullKey, L"Missing", buffer, sizeof buffer, &bytes));
    EXPECT_EQ(0u, bytes);
    EXPECT_EQ(0, ReadMachineRegistryValue(L"SOFTWARE\\NoSuchKey\\Anywhere", L"Version", buffer,
                                          sizeof buffer, &bytes));
}

} // namespace
