// The updater terminator against real processes of the stand-in updater.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include "housekeeping/housekeeping_win.h"
#include "test_support.h"

namespace {

std::wstring InstallUpdater(const std::wstring &folder)
{
    FreshFolder(folder);
    std::wstring path = folder + L"\\Updater.exe";
    EXPECT_TRUE(CopyFileW((EnvironmentPath("LAUNCHER_STAND_INS") + L"\\Updater.exe").c_str(), path.c_str(), FALSE));
    return path;
}

bool IsRunning(HANDLE process)
{
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

TEST(Terminator, DevicePathOfARunningProcessConverts)
{
    std::wstring updater = InstallUpdater(L"C:\\terminator\\device");
    HANDLE process = StartProgram(updater, L"--stay");
    ASSERT_NE(nullptr, process);
    wchar_t image[MAX_PATH];
    ASSERT_NE(0u, GetProcessImageFileNameW(process, image, MAX_PATH));
    EXPECT_NE(L'C', image[0]) << "the system reports a device path";
    wchar_t converted[MAX_PATH];
    EXPECT_EQ(1, DevicePathToDrivePath(image, converted));
    EXPECT_EQ(0, lstrcmpiW(updater.c_str(), converted));
    TerminateProcess(process, 0);
    CloseHandle(process);

    wchar_t out[MAX_PATH];
    EXPECT_EQ(0, DevicePathToDrivePath(L"\\Device\\NoSuchDevice\\x.exe", out));
    EXPECT_STREQ(L"\\Device\\NoSuchDevice\\x.exe", out);
    EXPECT_EQ(0, DevicePathToDrivePath(NULL, out));
}

TEST(Terminator, StopsEveryInstanceFromTheFolderAndNoOther)
{
    std::wstring updater = InstallUpdater(L"C:\\terminator\\install");
    std::wstring other = InstallUpdater(L"C:\\terminator\\elsewhere");
    HANDLE first = StartProgram(updater, L"--stay");
    HANDLE second = StartProgram(updater, L"--stay");
    HANDLE foreign = StartProgram(other, L"--stay");
    ASSERT_TRUE(first && second && foreign);
    Sleep(300);

    EXPECT_EQ(2, TerminateProcessesByImagePath(updater.c_str()));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first, 5000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second, 5000));
    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(0, TerminateProcessesByImagePath(updater.c_str()));
    EXPECT_TRUE(IsRunning(foreign)) << "an updater of another folder is left alone";

    // Letter case plays no part in the comparison.
    EXPECT_EQ(1, TerminateProcessesByImagePath(L"c:\\TERMINATOR\\Elsewhere\\updater.EXE"));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(foreign, 5000));
    CloseHandle(foreign);
}

int AlwaysOneMatch(const wchar_t *)
{
    return 1;
}

int passesSeen;
int MatchesTwice(const wchar_t *)
{
    return ++passesSeen <= 2 ? 1 : 0;
}

TEST(Terminator, PassesRepeatUntilNoneMatchesWithinABound)
{
    passesSeen = 0;
    g_TerminatePass = MatchesTwice;
    DWORD start = GetTickCount();
    EXPECT_EQ(3, StopRunningUpdaters(L"C:\\x\\Updater.exe"));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 380u) << "200 ms between passes";
    EXPECT_LT(elapsed, 1500u);

    // An instance that never goes away holds the launcher for about ten seconds, no more.
    g_TerminatePass = AlwaysOneMatch;
    start = GetTickCount();
    EXPECT_EQ(50, StopRunningUpdaters(L"C:\\x\\Updater.exe"));
    elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 9500u);
    EXPECT_LT(elapsed, 12000u);
    g_TerminatePass = TerminateProcessesByImagePath;
}

} // namespace
