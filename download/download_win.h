// Download worker and progress window, and the slots through which they meet
// the launch thread.
#pragma once
#include <windows.h>

#include <atomic>

// The download slots: the launch thread fills them before it starts a worker.
extern const wchar_t *g_DestinationSlot;    // component path the download replaces
extern const wchar_t *g_AddressSlot;        // its download address
extern std::atomic<LONG> g_ProgressSlot;    // whole percentage last reported
extern HWND g_WindowSlot;                   // the window the worker posts to
extern std::atomic<LONG> g_CancelSlot;      // set when the user closes the window

// Thread start routine of one download attempt. Posts WM_PAINT to the window
// slot whenever the whole percentage changes, and WM_QUIT as its last act.
DWORD WINAPI DownloadWorkerProc(LPVOID unused);

void RegisterProgressWindowClass(HINSTANCE instance);

// Creates and shows a progress window and puts it in the window slot, so that
// it is there before any worker can post. NULL when it cannot be created.
HWND CreateProgressWindow(HINSTANCE instance);

// Runs the window's message loop until a WM_QUIT arrives, then hides and
// destroys the window. Returns the quit message's wParam.
WPARAM RunProgressWindow(HWND window);

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PaintProgress(HWND window);
