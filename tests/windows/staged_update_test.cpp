// The staged update application on real folders of the test's own prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "housekeeping/housekeeping_win.h"
#include "launcher/install_layout.h"
#include "test_support.h"

namespace {

class StagedUpdate : public testing::Test {
protected:
    std::wstring install;
    std::wstring staging;

    void SetUp() override
    {
        install = FreshFolder(L"C:\\staged\\install");
        staging = install + L"\\temp";
        lstrcpyW(g_InstallFolder, install.c_str());
    }
    std::wstring InInstall(const wchar_t *name) { return install + L"\\" + name; }
    std::wstring InStaging(const wchar_t *name) { return staging + L"\\" + name; }
};

TEST_F(StagedUpdate, NoStagingFolderChangesNothing)
{
    ASSERT_TRUE(WriteWholeFile(InInstall(L"game.dat"), "old"));
    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_EQ("old", ReadWholeFile(InInstall(L"game.dat")));
    EXPECT_FALSE(Exists(staging));
}

TEST_F(StagedUpdate, AnEmptyStagingFolderIsDeleted)
{
    FreshFolder(staging);
    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_FALSE(Exists(staging));
}

TEST_F(StagedUpdate, FilesReplaceAndAddAndSubFoldersGo)
{
    ASSERT_TRUE(WriteWholeFile(InInstall(L"game.dat"), "old"));
    ASSERT_TRUE(WriteWholeFile(InInstall(L"keep.dat"), "untouched"));
    FreshFolder(staging + L"\\sub");
    ASSERT_TRUE(WriteWholeFile(InStaging(L"game.dat"), "new"));
    ASSERT_TRUE(WriteWholeFile(InStaging(L"added.dll"), "added"));
    ASSERT_TRUE(WriteWholeFile(InStaging(L"hidden.cfg"), "hidden", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteWholeFile(InStaging(L"readonly.cfg"), "readonly", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteWholeFile(staging + L"\\sub\\inner.dat", "inner"));

    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_EQ("new", ReadWholeFile(InInstall(L"game.dat")));
    EXPECT_EQ("added", ReadWholeFile(InInstall(L"added.dll")));
    EXPECT_EQ("hidden", ReadWholeFile(InInstall(L"hidden.cfg")));
    EXPECT_EQ("readonly", ReadWholeFile(InInstall(L"readonly.cfg")));
    EXPECT_EQ("untouched", ReadWholeFile(InInstall(L"keep.dat")));
    EXPECT_FALSE(Exists(InInstall(L"sub"))) << "sub-folders are not copied";
    EXPECT_FALSE(Exists(InInstall(L"inner.dat")));
    EXPECT_FALSE(Exists(staging)) << "the staging folder goes, sub-folder and all";
}

TEST_F(StagedUpdate, AFileInUseWaitsForTheNextStart)
{
    ASSERT_TRUE(WriteWholeFile(InInstall(L"m.dat"), "old m"));
    FreshFolder(staging);
    ASSERT_TRUE(WriteWholeFile(InStaging(L"a.dat"), "new a"));
    ASSERT_TRUE(WriteWholeFile(InStaging(L"m.dat"), "new m"));
    ASSERT_TRUE(WriteWholeFile(InStaging(L"z.dat"), "new z"));

    // Another process holds the destination open without sharing.
    HANDLE holder = StartProgram(EnvironmentPath("LAUNCHER_HELPER"), L"hold \"" + InInstall(L"m.dat") + L"\" 3000");
    ASSERT_NE(nullptr, holder);
    for (int i = 0; i < 100; i++) {
        HANDLE probe = CreateFileW(InInstall(L"m.dat").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   NULL, OPEN_EXISTING, 0, NULL);
        if (probe == INVALID_HANDLE_VALUE)
            break;
        CloseHandle(probe);
        Sleep(20);
    }

    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_EQ("new a", ReadWholeFile(InInstall(L"a.dat")));
    EXPECT_EQ("new z", ReadWholeFile(InInstall(L"z.dat")));
    EXPECT_FALSE(Exists(InStaging(L"a.dat"))) << "applied files leave the staging folder";
    EXPECT_FALSE(Exists(InStaging(L"z.dat")));

    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(holder, 10000));
    CloseHandle(holder);
    EXPECT_EQ("old m", ReadWholeFile(InInstall(L"m.dat")));
    EXPECT_EQ("new m", ReadWholeFile(InStaging(L"m.dat"))) << "the update is not lost";

    // The next start applies it once the file is free.
    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_EQ("new m", ReadWholeFile(InInstall(L"m.dat")));
    EXPECT_FALSE(Exists(staging));
}

TEST_F(StagedUpdate, AFileNamedTempIsLeftAlone)
{
    ASSERT_TRUE(WriteWholeFile(staging, "not a folder"));
    EXPECT_EQ(1, ApplyStagedFiles());
    EXPECT_EQ("not a folder", ReadWholeFile(staging));
}

TEST(DeleteFolderTree, RefusesPathsOf260CharactersOrMore)
{
    std::wstring base = FreshFolder(L"C:\\deltree");
    std::wstring parent = base + L"\\" + std::wstring(200, L'a');
    FreshFolder(parent);
    // Empty folders whose paths have 259 and 260 characters.
    std::wstring fits = parent + L"\\" + std::wstring(259 - parent.size() - 1, L'b');
    std::wstring tooLong = parent + L"\\" + std::wstring(260 - parent.size() - 1, L'c');
    ASSERT_EQ(259u, fits.size());
    ASSERT_EQ(260u, tooLong.size());
    for (const std::wstring &path : {fits, tooLong})
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + path).c_str(), NULL));

    EXPECT_EQ(0, DeleteFolderTree(tooLong.c_str()));
    EXPECT_TRUE(Exists(L"\\\\?\\" + tooLong));
    EXPECT_EQ(1, DeleteFolderTree(fits.c_str()));
    EXPECT_FALSE(Exists(L"\\\\?\\" + fits));
    EXPECT_EQ(0, DeleteFolderTree(NULL));
}

} // namespace
