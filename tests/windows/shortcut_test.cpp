// The desktop shortcut, read back through the shell link object.
#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "housekeeping/housekeeping_win.h"
#include "test_support.h"

namespace {

struct ShortcutProperties {
    std::wstring target, workingFolder, description, iconPath;
    int showCommand = -1, iconIndex = -1;
};

bool ReadShortcut(const std::wstring &path, ShortcutProperties *out)
{
    IShellLinkW *link = NULL;
    IPersistFile *file = NULL;
    wchar_t text[MAX_PATH];
    bool ok = false;
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void **)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file)) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        link->GetPath(text, MAX_PATH, NULL, SLGP_RAWPATH);
        out->target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        out->workingFolder = text;
        link->GetShowCmd(&out->showCommand);
        link->GetDescription(text, MAX_PATH);
        out->description = text;
        link->GetIconLocation(text, MAX_PATH, &out->iconIndex);
        out->iconPath = text;
        ok = true;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return ok;
}

TEST(DesktopShortcut, PointsAtTheLauncherAndReplacesAnEarlierOne)
{
    std::wstring desktop = FreshFolder(L"C:\\shortcut\\Desktop");
    std::wstring folder = FreshFolder(L"C:\\shortcut\\My Games\\奥瓦恩");
    std::wstring launcher = folder + L"\\OrvaneLauncher.exe";
    std::wstring shortcut = desktop + L"\\OrvaneLauncher.lnk";
    ASSERT_TRUE(WriteWholeFile(launcher, "MZ"));
    ASSERT_TRUE(WriteWholeFile(shortcut, "an earlier shortcut"));

    EXPECT_EQ(1, CreateDesktopShortcut(desktop.c_str(), launcher.c_str(), folder.c_str()));
    ShortcutProperties p;
    ASSERT_TRUE(ReadShortcut(shortcut, &p));
    EXPECT_EQ(launcher, p.target);
    EXPECT_EQ(folder, p.workingFolder);
    EXPECT_EQ(SW_SHOWNORMAL, p.showCommand);
    EXPECT_EQ(L"OrvaneLauncher Agent", p.description);
    EXPECT_EQ(launcher, p.iconPath);
    EXPECT_EQ(0, p.iconIndex);
}

TEST(DesktopShortcut, NoShortcutWhenItsPathWouldNotFit)
{
    // "\OrvaneLauncher.lnk" adds 19 characters: a desktop of 240 gives 259, of 241 gives 260.
    std::wstring base = L"C:\\shortcut\\long\\";
    std::wstring fits = base + std::wstring(240 - base.size(), L'd');
    std::wstring tooLong = base + std::wstring(241 - base.size(), L'e');
    FreshFolder(fits);
    FreshFolder(tooLong);
    ASSERT_TRUE(Exists(tooLong));
    std::wstring launcher = L"C:\\shortcut\\OrvaneLauncher.exe";
    ASSERT_TRUE(WriteWholeFile(launcher, "MZ"));

    EXPECT_EQ(0, CreateDesktopShortcut(tooLong.c_str(), launcher.c_str(), L"C:\\shortcut"));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((tooLong + L"\\*.lnk").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);

    EXPECT_EQ(1, CreateDesktopShortcut(fits.c_str(), launcher.c_str(), L"C:\\shortcut"));
    EXPECT_TRUE(Exists(fits + L"\\OrvaneLauncher.lnk"));
    EXPECT_EQ(0, CreateDesktopShortcut(NULL, launcher.c_str(), L"C:\\shortcut"));
}

TEST(DesktopShortcut, ASaveThatFailsLeavesTheEarlierShortcut)
{
    std::wstring desktop = FreshFolder(L"C:\\shortcut\\Locked");
    std::wstring shortcut = desktop + L"\\OrvaneLauncher.lnk";
    ASSERT_TRUE(WriteWholeFile(shortcut, "earlier"));
    HANDLE held = CreateFileW(shortcut.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, CreateDesktopShortcut(desktop.c_str(), L"C:\\x\\OrvaneLauncher.exe", L"C:\\x"));
    CloseHandle(held);
    EXPECT_EQ("earlier", ReadWholeFile(shortcut));
}

} // namespace
