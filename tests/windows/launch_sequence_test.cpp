// The launch sequence in-process, for the end that the whole program cannot be
// made to reach from outside: a platform probe that fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include "launcher/launcher_win.h"
#include "probe/platform.h"
#include "probe/probe_win.h"
#include "test_support.h"

namespace {

BOOL WINAPI FailingVersionQuery(OSVERSIONINFOW *)
{
    return FALSE;
}

TEST(LaunchSequence, AFailedProbeShowsTheEnvironmentMessageAndStartsNothing)
{
    wchar_t desktop[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathW(NULL, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    std::wstring shortcut = std::wstring(desktop) + L"\\OrvaneLauncher.lnk";
    DeleteFileW(shortcut.c_str());
    std::wstring box = L"C:\\environment-box.txt";
    HANDLE clicker = StartProgram(EnvironmentPath("LAUNCHER_HELPER"), L"click-box ok \"" + box + L"\" 30000");
    ASSERT_NE(nullptr, clicker);

    g_QueryOsVersion = FailingVersionQuery;
    RunLaunchSequence(GetModuleHandleW(NULL));
    g_QueryOsVersion = GetVersionExW;

    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(clicker, 10000));
    CloseHandle(clicker);
    EXPECT_EQ("环境检测\n检测环境时遇到未知错误！请在点击确定后，在打开的官网配置要求页面上检查您的硬件配置。\n"
              "buttons=ok\nno-icon\n",
              ReadWholeFile(box));
    EXPECT_TRUE(Exists(shortcut)) << "the shortcut came before the probe";
    EXPECT_EQ(std::wstring(), g_RegistryViewPrefix) << "nothing read the registry view";
}

} // namespace
