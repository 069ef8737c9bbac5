// The progress window: its class and place, its pixels, its message loop, and
// what closing it or failing to make it does to an acquisition.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "download/download_win.h"
#include "launcher/install_layout.h"
#include "launcher/launcher_win.h"
#include "test_support.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);
const COLORREF Gray = RGB(128, 128, 128);

class ProgressWindow : public testing::Test {
protected:
    HWND window = NULL;
    void SetUp() override
    {
        RegisterProgressWindowClass(GetModuleHandleW(NULL));
        g_StatusText = DownloadText;
        g_ProgressSlot = 0;
        window = CreateProgressWindow(GetModuleHandleW(NULL));
        ASSERT_NE(nullptr, window);
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
    }
    static void Pump()
    {
        MSG message;
        for (int i = 0; i < 20; i++) {
            while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            Sleep(10);
        }
    }
    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(window);
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return color;
    }
};

TEST_F(ProgressWindow, ClassPlaceSizeAndStyle)
{
    wchar_t name[64];
    ASSERT_TRUE(GetClassNameW(window, name, 64));
    EXPECT_STREQ(L"launcherClassName", name);
    EXPECT_EQ(window, g_WindowSlot);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(400, rect.left);
    EXPECT_EQ(300, rect.top);
    EXPECT_EQ(400, rect.right - rect.left);
    EXPECT_EQ(150, rect.bottom - rect.top);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(0, GetWindowTextLengthW(window)) << "empty caption";
    EXPECT_EQ((ULONG_PTR)(CS_HREDRAW | CS_VREDRAW), GetClassLongPtrW(window, GCL_STYLE));
    EXPECT_EQ((ULONG_PTR)(COLOR_WINDOW + 1), GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
}

TEST_F(ProgressWindow, FrameAndBarPixels)
{
    // 400 x 150: unit 50, middle 75; frame from (50, 65) to (350, 85).
    const struct {
        LONG progress;
        int x, y;
        COLORREF color;
    } cases[] = {
        {0, 50, 75, Black},   {0, 51, 75, White},   {0, 349, 75, Black}, {0, 200, 65, Black},
        {50, 51, 75, Gray},   {50, 199, 75, Gray},  {50, 200, 75, White}, {50, 100, 65, Gray},
        {50, 250, 65, Black}, {100, 349, 75, Gray}, {100, 50, 75, Gray},  {100, 350, 75, White},
        {150, 349, 75, Gray}, {150, 350, 75, White}, {150, 370, 75, White}, // held at the frame
        {100000000, 349, 75, Gray}, {100000000, 370, 75, White},            // no overflow either
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress << " at " << c.x << "," << c.y);
        g_ProgressSlot = c.progress;
        PaintProgress(window);
        EXPECT_EQ(c.color, Pixel(c.x, c.y));
    }
}

TEST_F(ProgressWindow, DrawsTheStatusTextInItsBox)
{
    g_ProgressSlot = 0;
    PaintProgress(window);
    int dark = 0;
    for (int y = 45; y < 65; y++)
        for (int x = 50; x < 350; x++)
            dark += Pixel(x, y) != White;
    EXPECT_GT(dark, 50) << "the text is drawn";
    int outside = 0;
    for (int x = 50; x < 350; x++)
        outside += Pixel(x, 40) != White;
    EXPECT_EQ(0, outside) << "nothing is drawn above the text box";
}

TEST_F(ProgressWindow, APostedPaintRedrawsWithNothingInvalidated)
{
    g_ProgressSlot = 50;
    PaintProgress(window);
    // Spoil the bar behind the window's back, then validate everything.
    HDC dc = GetDC(window);
    RECT spoil = {60, 70, 120, 80};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &spoil, red);
    DeleteObject(red);
    ReleaseDC(window, dc);
    ValidateRect(window, NULL);
    ASSERT_EQ(RGB(255, 0, 0), Pixel(70, 75));

    PostMessageW(window, WM_PAINT, 0, 0);
    Pump();
    EXPECT_EQ(Gray, Pixel(70, 75));
}

struct LoopProbe {
    HWND window;
    volatile LONG returned;
    LONG stillRunningAfterDestroy;
};

DWORD WINAPI DriveLoop(LPVOID parameter)
{
    LoopProbe *probe = (LoopProbe *)parameter;
    PostMessageW(probe->window, WM_DESTROY, 0, 0);
    Sleep(300);
    probe->stillRunningAfterDestroy = !probe->returned;
    PostMessageW(probe->window, WM_QUIT, 7, 0);
    return 0;
}

TEST_F(ProgressWindow, OnlyAQuitEndsTheLoop)
{
    LoopProbe probe = {window, 0, 0};
    HANDLE thread = CreateThread(NULL, 0, DriveLoop, &probe, 0, NULL);
    WPARAM result = RunProgressWindow(window);
    probe.returned = 1;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_TRUE(probe.stillRunningAfterDestroy) << "WM_DESTROY did not end the loop";
    EXPECT_EQ(7u, result);
    EXPECT_FALSE(IsWindow(window));
}

// Acquisitions that fail at once or are cancelled end in the retry prompt; a
// helper program answers it and records what it showed.
class FailedAttempt : public testing::Test {
protected:
    std::wstring folder, component, boxFile;
    HANDLE clicker = NULL;
    void SetUp() override
    {
        RegisterProgressWindowClass(GetModuleHandleW(NULL));
        folder = FreshFolder(L"C:\\attempt");
        component = folder + L"\\Updater.exe";
        boxFile = folder + L"\\box.txt";
        clicker = StartProgram(EnvironmentPath("LAUNCHER_HELPER"), L"click-box no \"" + boxFile + L"\" 30000");
        ASSERT_NE(nullptr, clicker);
    }
    void ExpectRetryPromptAnsweredNo(int result)
    {
        EXPECT_EQ(0, result);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(clicker, 10000));
        DWORD code = 99;
        GetExitCodeProcess(clicker, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(clicker);
        std::string box = ReadWholeFile(boxFile);
        EXPECT_NE(std::string::npos, box.find("运行下载失败\n运行环境下载失败，是否重新下载？\nbuttons=yes,no\nicon"))
            << box;
        EXPECT_FALSE(Exists(component));
    }
};

DWORD WINAPI CloseProgressWindow(LPVOID)
{
    for (int i = 0; i < 200; i++) {
        HWND window = FindWindowW(L"launcherClassName", NULL);
        if (window && IsWindowVisible(window)) {
            Sleep(300);
            // As Alt+F4 or the taskbar's close command would.
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        Sleep(25);
    }
    return 1;
}

TEST_F(FailedAttempt, ClosingTheWindowDuringADownloadLeadsToThePrompt)
{
    std::wstring address = TestServerAddress(L"/slow/50000/400");
    HANDLE closer = CreateThread(NULL, 0, CloseProgressWindow, NULL, 0, NULL);
    int result = AcquireComponent(GetModuleHandleW(NULL), component.c_str(), address.c_str());
    WaitForSingleObject(closer, 5000);
    DWORD closed = 1;
    GetExitCodeThread(closer, &closed);
    CloseHandle(closer);
    EXPECT_EQ(0u, closed) << "the window was found and closed";
    ExpectRetryPromptAnsweredNo(result);
}

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
}

TEST_F(FailedAttempt, AWorkerThatCannotStartLeadsToThePrompt)
{
    std::wstring address = TestServerAddress(L"/ok/20000");
    g_CreateWorkerThread = NoThread;
    int result = AcquireComponent(GetModuleHandleW(NULL), component.c_str(), address.c_str());
    g_CreateWorkerThread = CreateThread;
    ExpectRetryPromptAnsweredNo(result);
    EXPECT_EQ(nullptr, FindWindowW(L"launcherClassName", NULL)) << "no window is left behind";
}

TEST_F(FailedAttempt, AWindowThatCannotBeCreatedLeadsToThePrompt)
{
    std::wstring address = TestServerAddress(L"/ok/20000");
    ASSERT_TRUE(UnregisterClassW(L"launcherClassName", GetModuleHandleW(NULL)));
    int result = AcquireComponent(GetModuleHandleW(NULL), component.c_str(), address.c_str());
    ExpectRetryPromptAnsweredNo(result);
}

} // namespace
