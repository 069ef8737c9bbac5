#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "housekeeping/device_path.h"

namespace {

struct ConversionCase {
    const char *what;
    std::vector<DriveDevice> drives;
    const wchar_t *devicePath;
    int converted;
    const wchar_t *expected;
};

const wchar_t *const Failed = nullptr; // a drive whose device query failed

TEST(DevicePath, ConvertsOverTheDriveList)
{
    const ConversionCase cases[] = {
        {"ordinary match",
         {{L"C:\\", L"\\Device\\HarddiskVolume1"}, {L"D:\\", L"\\Device\\HarddiskVolume2"}},
         L"\\Device\\HarddiskVolume2\\Games\\Updater.exe", 1, L"D:\\Games\\Updater.exe"},
        {"device name in another case",
         {{L"C:\\", L"\\Device\\HarddiskVolume1"}},
         L"\\DEVICE\\harddiskvolume1\\x.exe", 1, L"C:\\x.exe"},
        {"Volume1 listed before Volume10",
         {{L"C:\\", L"\\Device\\HarddiskVolume1"}, {L"E:\\", L"\\Device\\HarddiskVolume10"}},
         L"\\Device\\HarddiskVolume10\\Games\\Updater.exe", 1, L"E:\\Games\\Updater.exe"},
        {"Volume10 listed before Volume1",
         {{L"E:\\", L"\\Device\\HarddiskVolume10"}, {L"C:\\", L"\\Device\\HarddiskVolume1"}},
         L"\\Device\\HarddiskVolume1\\Games\\Updater.exe", 1, L"C:\\Games\\Updater.exe"},
        {"the device itself, with nothing after it",
         {{L"C:\\", L"\\Device\\HarddiskVolume1"}},
         L"\\Device\\HarddiskVolume1", 1, L"C:"},
        {"a failed query before the matching drive",
         {{L"C:\\", Failed}, {L"D:\\", L"\\Device\\HarddiskVolume3"}},
         L"\\Device\\HarddiskVolume3\\Updater.exe", 1, L"D:\\Updater.exe"},
        {"A: and B: never take part",
         {{L"A:\\", L"\\Device\\Floppy0"}, {L"b:\\", L"\\Device\\HarddiskVolume1"}},
         L"\\Device\\HarddiskVolume1\\Updater.exe", 0, L"\\Device\\HarddiskVolume1\\Updater.exe"},
        {"no match",
         {{L"C:\\", L"\\Device\\HarddiskVolume1"}},
         L"\\Device\\Mup\\server\\share\\Updater.exe", 0, L"\\Device\\Mup\\server\\share\\Updater.exe"},
        {"an empty device name matches nothing",
         {{L"C:\\", L""}},
         L"\\Device\\HarddiskVolume1\\Updater.exe", 0, L"\\Device\\HarddiskVolume1\\Updater.exe"},
        {"no drives at all",
         {},
         L"\\Device\\HarddiskVolume1\\Updater.exe", 0, L"\\Device\\HarddiskVolume1\\Updater.exe"},
    };
    for (const ConversionCase &c : cases) {
        SCOPED_TRACE(c.what);
        wchar_t out[260];
        out[0] = L'?';
        EXPECT_EQ(c.converted, ConvertDevicePath(c.devicePath, c.drives.data(), c.drives.size(), out, 260));
        EXPECT_EQ(std::wstring(c.expected), out);
    }
}

TEST(DevicePath, NeverWritesPastTheOutput)
{
    const DriveDevice drives[] = {{L"C:\\", L"\\Device\\HarddiskVolume1"}};
    std::wstring tail(300, L'a');
    std::wstring longPath = L"\\Device\\HarddiskVolume1\\" + tail;
    std::vector<wchar_t> out(260, L'?');

    // Converted, the path would need 2 + 1 + 300 characters: it fits neither way.
    EXPECT_EQ(0, ConvertDevicePath(longPath.c_str(), drives, 1, out.data(), out.size()));
    EXPECT_EQ(L'\0', out[0]);

    // A device path that fits only once converted.
    std::wstring converts = L"\\Device\\HarddiskVolume1\\" + std::wstring(250, L'b');
    EXPECT_EQ(1, ConvertDevicePath(converts.c_str(), drives, 1, out.data(), out.size()));
    EXPECT_EQ(L"C:\\" + std::wstring(250, L'b'), out.data());

    // An unconverted path that does not fit is not cut short either.
    std::wstring unknown = L"\\Device\\Other\\" + std::wstring(250, L'c');
    EXPECT_EQ(0, ConvertDevicePath(unknown.c_str(), drives, 1, out.data(), out.size()));
    EXPECT_EQ(L'\0', out[0]);
}

TEST(DevicePath, FloppyRoots)
{
    EXPECT_EQ(1, IsFloppyRoot(L"A:\\"));
    EXPECT_EQ(1, IsFloppyRoot(L"b:\\"));
    EXPECT_EQ(0, IsFloppyRoot(L"C:\\"));
    EXPECT_EQ(0, IsFloppyRoot(L"AB:\\"));
}

} // namespace
