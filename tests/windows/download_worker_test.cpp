// The download worker against the test server, with the real WinINet calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "download/download_win.h"
#include "test_support.h"

namespace {

std::string Body(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++)
        bytes[i] = (char)((i * 7 + 3) % 251);
    return bytes;
}

LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

class Worker : public testing::Test {
protected:
    HWND sink = NULL;
    std::wstring folder;
    std::wstring destination;
    std::wstring address;

    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = SinkProc;
        windowClass.hInstance = GetModuleHandleW(NULL);
        windowClass.lpszClassName = L"WorkerTestSink";
        RegisterClassW(&windowClass);
        sink = CreateWindowExW(0, L"WorkerTestSink", L"", 0, 0, 0, 10, 10, NULL, NULL, GetModuleHandleW(NULL), NULL);
        ASSERT_NE(nullptr, sink);
        g_WindowSlot = sink;
        g_ProgressSlot = 0;
        g_CancelSlot = 0;
        folder = FreshFolder(L"C:\\worker");
        destination = folder + L"\\7z.dll";
    }
    void TearDown() override { DestroyWindow(sink); }

    // Runs one worker to its end; returns the messages it posted to the window, in order.
    std::vector<UINT> RunWorker(const std::wstring &path, DWORD cancelAfter = INFINITE)
    {
        std::vector<UINT> posted;
        address = path.compare(0, 7, L"http://") == 0 ? path : TestServerAddress(path);
        g_AddressSlot = address.c_str();
        g_DestinationSlot = destination.c_str();
        HANDLE thread = CreateThread(NULL, 0, DownloadWorkerProc, NULL, 0, NULL);
        EXPECT_NE(nullptr, thread);
        SetTimer(sink, 1, 30000, NULL); // a worker that never ends fails the test, not the run
        if (cancelAfter != INFINITE)
            SetTimer(sink, 2, cancelAfter, NULL);
        MSG message;
        while (GetMessageW(&message, NULL, 0, 0) > 0) {
            if (message.message == WM_TIMER && message.wParam == 2) {
                g_CancelSlot = 1;
                KillTimer(sink, 2);
                continue;
            }
            if (message.message == WM_TIMER) {
                ADD_FAILURE() << "no quit notification within 30 s";
                break;
            }
            if (message.hwnd == sink && message.message == WM_PAINT)
                posted.push_back(WM_PAINT);
        }
        if (message.message == WM_QUIT)
            posted.push_back(message.hwnd == sink ? WM_QUIT : 0);
        KillTimer(sink, 1);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
        CloseHandle(thread);
        return posted;
    }
    std::wstring Temporary() const { return destination + L".tmp"; }
};

TEST_F(Worker, CommitsACompleteBodyInPlaceOfTheComponent)
{
    ASSERT_TRUE(WriteWholeFile(destination, "an older component"));
    std::vector<UINT> posted = RunWorker(L"/ok/10240");
    EXPECT_EQ(Body(10240), ReadWholeFile(destination));
    EXPECT_FALSE(Exists(Temporary()));
    EXPECT_EQ(100, g_ProgressSlot.load());
    ASSERT_GE(posted.size(), 2u);
    EXPECT_EQ((UINT)WM_QUIT, posted.back());
    EXPECT_EQ((UINT)WM_PAINT, posted[posted.size() - 2]);
}

TEST_F(Worker, PostsAtMostOnePaintPerWholePercent)
{
    std::vector<UINT> posted = RunWorker(L"/ok/3000000");
    EXPECT_EQ(Body(3000000), ReadWholeFile(destination));
    EXPECT_EQ(100, g_ProgressSlot.load());
    size_t paints = posted.size() - 1;
    EXPECT_GE(paints, 1u);
    EXPECT_LE(paints, 100u);
    EXPECT_EQ((UINT)WM_QUIT, posted.back());
}

TEST_F(Worker, IdentifiesItselfWithItsUserAgent)
{
    // The server answers with the request's user agent as the body.
    RunWorker(L"/agent/0");
    EXPECT_EQ("ZuveRI/1.0", ReadWholeFile(destination));
}

TEST_F(Worker, ACutConnectionCommitsNothing)
{
    ASSERT_TRUE(WriteWholeFile(destination, "the component as it was"));
    RunWorker(L"/cut/20480");
    EXPECT_EQ("the component as it was", ReadWholeFile(destination));
    EXPECT_EQ(Body(10240), ReadWholeFile(Temporary()));
}

TEST_F(Worker, WithoutContentLengthOnly1024BytesCommit)
{
    const struct {
        size_t size;
        bool committed;
        LONG progress;
    } cases[] = {{1024, true, 100}, {1500, false, 146}, {700, false, 68}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        DeleteFileW(destination.c_str());
        g_ProgressSlot = 0;
        RunWorker(L"/chunked/" + std::to_wstring(c.size));
        EXPECT_EQ(c.committed, Exists(destination));
        EXPECT_EQ(c.progress, g_ProgressSlot.load());
        if (c.committed)
            EXPECT_EQ(Body(1024), ReadWholeFile(destination));
    }
}

TEST_F(Worker, ContentLengthZeroCommitsNothing)
{
    RunWorker(L"/ok/0");
    EXPECT_FALSE(Exists(destination));
    EXPECT_EQ("", ReadWholeFile(Temporary()));
}

TEST_F(Worker, ErrorPagesAreNeverCommitted)
{
    for (const wchar_t *path : {L"/status404/20000", L"/status500/20000"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        ASSERT_TRUE(WriteWholeFile(destination, "the component as it was"));
        std::vector<UINT> posted = RunWorker(path);
        EXPECT_EQ("the component as it was", ReadWholeFile(destination));
        EXPECT_FALSE(Exists(Temporary()));
        EXPECT_EQ(std::vector<UINT>{WM_QUIT}, posted);
    }
}

TEST_F(Worker, AnAddressThatCannotBeOpenedLeavesNoFile)
{
    std::vector<UINT> posted = RunWorker(L"http://127.0.0.1:1/downloader/7z.dll");
    EXPECT_EQ(std::vector<UINT>{WM_QUIT}, posted);
    EXPECT_FALSE(Exists(Temporary()));
    EXPECT_FALSE(Exists(destination));
}

TEST_F(Worker, ADestinationInUseStaysAsItWas)
{
    ASSERT_TRUE(WriteWholeFile(destination, "held by another process"));
    HANDLE holder = StartProgram(EnvironmentPath("LAUNCHER_HELPER"), L"hold \"" + destination + L"\" 4000");
    ASSERT_NE(nullptr, holder);
    for (int i = 0; i < 100 && ReadWholeFile(destination) != "<missing>"; i++)
        Sleep(20);
    RunWorker(L"/ok/10240");
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(holder, 10000));
    CloseHandle(holder);
    EXPECT_EQ("held by another process", ReadWholeFile(destination));
    EXPECT_EQ(Body(10240), ReadWholeFile(Temporary()));
}

TEST_F(Worker, ClosingTheWindowCancelsWithoutCommit)
{
    DWORD start = GetTickCount();
    std::vector<UINT> posted = RunWorker(L"/slow/40000/300", 700);
    EXPECT_LT(GetTickCount() - start, 3000u) << "the worker stops at its next read";
    EXPECT_EQ((UINT)WM_QUIT, posted.back());
    EXPECT_FALSE(Exists(destination));
}

TEST_F(Worker, AFolderThatCannotBeWrittenGetsNothing)
{
    if (!getenv("LAUNCHER_TEST_READONLY"))
        GTEST_SKIP() << "no read-only mount (needs root)";
    destination = EnvironmentPath("LAUNCHER_TEST_READONLY") + L"\\7z.dll";
    std::string before = ReadWholeFile(destination);
    std::vector<UINT> posted = RunWorker(L"/ok/10240");
    EXPECT_EQ(std::vector<UINT>{WM_QUIT}, posted);
    EXPECT_EQ(before, ReadWholeFile(destination));
    EXPECT_FALSE(Exists(Temporary()));
}

TEST_F(Worker, AFullDiskCommitsNothing)
{
    if (!getenv("LAUNCHER_TEST_FULL_DISK"))
        GTEST_SKIP() << "no small tmpfs (needs root)";
    destination = EnvironmentPath("LAUNCHER_TEST_FULL_DISK") + L"\\7z.dll";
    ASSERT_TRUE(WriteWholeFile(destination, "the component as it was"));
    std::vector<UINT> posted = RunWorker(L"/ok/200000");
    EXPECT_EQ((UINT)WM_QUIT, posted.back());
    EXPECT_EQ("the component as it was", ReadWholeFile(destination));
}

} // namespace
