#include <gtest/gtest.h>

#include <string>

#include "launcher/install_layout.h"

namespace {

struct LayoutCase {
    const wchar_t *launcherPath;
    const wchar_t *folder;
};

TEST(InstallLayout, FolderAndComponentPathsFollowTheLauncherPath)
{
    const LayoutCase cases[] = {
        {L"C:\\Games\\Orvane\\OrvaneLauncher.exe", L"C:\\Games\\Orvane"},
        {L"X:\\launcher.exe", L"X:"},
        {L"D:\\Orvane\\SomethingElse.exe", L"D:\\Orvane"},
        {L"E:\\My Games\\奥瓦恩 在线\\OrvaneLauncher.exe", L"E:\\My Games\\奥瓦恩 在线"},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        InstallLayout layout;
        wchar_t folder[LAUNCHER_PATH_CAPACITY];
        ASSERT_EQ(1, BuildInstallLayout(c.launcherPath, folder, &layout));
        std::wstring f = c.folder;
        EXPECT_EQ(f, folder);
        EXPECT_EQ(std::wstring(c.launcherPath), layout.launcherPath);
        EXPECT_EQ(f + L"\\7z.dll", layout.archivePath);
        EXPECT_EQ(f + L"\\Updater.exe", layout.updaterPath);
        EXPECT_EQ(f + L"\\Vextal.exe", layout.runtimeInstallerPath);
    }
}

TEST(InstallLayout, RefusesPathsThatWouldNotFit)
{
    InstallLayout layout;
    wchar_t folder[LAUNCHER_PATH_CAPACITY];

    // The longest derived path is the updater's temporary file, folder + "\Updater.exe.tmp".
    const size_t longestSuffix = 16;
    std::wstring fits = L"C:\\" + std::wstring(LAUNCHER_PATH_CAPACITY - 1 - longestSuffix - 3, L'a');
    ASSERT_EQ(1, BuildInstallLayout((fits + L"\\L.exe").c_str(), folder, &layout));
    EXPECT_EQ(fits, folder);
    EXPECT_EQ(LAUNCHER_PATH_CAPACITY - 1, wcslen(layout.updaterPath) + 4);

    std::wstring tooLong = fits + L"b";
    folder[0] = L'?';
    EXPECT_EQ(0, BuildInstallLayout((tooLong + L"\\L.exe").c_str(), folder, &layout));
    EXPECT_EQ(L'\0', folder[0]);

    // A launcher path of 260 characters or more, and a path without any folder.
    std::wstring whole = L"C:\\" + std::wstring(LAUNCHER_PATH_CAPACITY - 3, L'x');
    EXPECT_EQ(0, BuildInstallLayout(whole.c_str(), folder, &layout));
    EXPECT_EQ(0, BuildInstallLayout(L"launcher.exe", folder, &layout));
    EXPECT_EQ(L'\0', folder[0]);
}

TEST(InstallLayout, ComponentTableUsesOneHostForEveryRow)
{
    const wchar_t *names[COMPONENT_COUNT] = {L"7z.dll", L"Updater.exe", L"Vextal.exe",
                                             L"dotnetfx40_full_x86_x64.exe"};
    std::wstring first = ComponentTable[0].address;
    size_t hostEnd = first.find(L"/downloader/");
    ASSERT_NE(std::wstring::npos, hostEnd);
    ASSERT_EQ(0u, first.rfind(L"http://", 0));
    std::wstring root = first.substr(0, hostEnd) + L"/downloader/";
    for (int i = 0; i < COMPONENT_COUNT; i++)
        EXPECT_EQ(root + names[i], ComponentTable[i].address);
    EXPECT_EQ(nullptr, ComponentTable[COMPONENT_DOTNET_INSTALLER].suffix);
    EXPECT_EQ(16u, wcslen(DownloadText));
    EXPECT_EQ(L'\u2026', DownloadText[14]);
    EXPECT_EQ(L'\u2026', DownloadText[15]);
}

TEST(HandOverCommandLine, QuotesEveryPath)
{
    wchar_t line[2 * LAUNCHER_PATH_CAPACITY + 8];
    const wchar_t *updater = L"E:\\My Games\\奥瓦恩\\Updater.exe";
    const wchar_t *installer = L"E:\\My Games\\奥瓦恩\\Vextal.exe";

    ASSERT_EQ(1, BuildHandOverCommandLine(1, updater, installer, line, sizeof line / sizeof line[0]));
    EXPECT_EQ(std::wstring(L"\"E:\\My Games\\奥瓦恩\\Updater.exe\""), line);

    ASSERT_EQ(1, BuildHandOverCommandLine(0, updater, installer, line, sizeof line / sizeof line[0]));
    EXPECT_EQ(std::wstring(L"\"E:\\My Games\\奥瓦恩\\Vextal.exe\" \"E:\\My Games\\奥瓦恩\\Updater.exe\""), line);
}

TEST(HandOverCommandLine, RefusesABufferTooSmall)
{
    wchar_t line[16];
    const wchar_t *updater = L"C:\\Updater.exe"; // quoted: 16 characters, no room for the terminator
    EXPECT_EQ(0, BuildHandOverCommandLine(1, updater, L"C:\\Vextal.exe", line, 16));
    EXPECT_EQ(L'\0', line[0]);
    EXPECT_EQ(1, BuildHandOverCommandLine(1, L"C:\\Updater.ex", L"", line, 16));
    EXPECT_EQ(std::wstring(L"\"C:\\Updater.ex\""), line);
}

} // namespace

TEST(InstallLayout, JoinPathAndRootFolders)
{
    wchar_t out[16];
    EXPECT_EQ(1, JoinPath(out, 16, L"C:\\Game", L"temp"));
    EXPECT_EQ(std::wstring(L"C:\\Game\\temp"), out);
    EXPECT_EQ(0, JoinPath(out, 16, L"C:\\Games\\Orvane", L"temp")); // 20 characters
    EXPECT_EQ(L'\0', out[0]);

    const struct {
        const wchar_t *folder;
        int root;
    } cases[] = {
        {L"X:", 1}, {L"c:", 1}, {L"\\\\server\\share", 1}, {L"C:\\Games", 0},
        {L"\\\\server\\share\\Games", 0}, {L"\\\\server", 0}, {L"", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.root, IsRootFolder(c.folder)) << testing::PrintToString(std::wstring(c.folder));
}
