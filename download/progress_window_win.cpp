#include "download_win.h"

#include "../launcher/install_layout.h"
#include "progress_math.h"

static const wchar_t ProgressClassName[] = L"launcherClassName";

void RegisterProgressWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass;

    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ProgressWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = ProgressClassName;
    windowClass.hIconSm = windowClass.hIcon;
    RegisterClassExW(&windowClass);
}

HWND CreateProgressWindow(HINSTANCE instance)
{
    // WS_OVERLAPPED alone: a caption and a border, no system menu, no sizing.
    HWND window = CreateWindowExW(0, ProgressClassName, NULL, WS_OVERLAPPED, 400, 300, 400, 150, NULL, NULL,
                                  instance, NULL);
    if (window == NULL)
        return NULL;
    g_WindowSlot = window;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

WPARAM RunProgressWindow(HWND window)
{
    MSG message;

    // Waits for messages rather than polling. GetMessageW returns 0 for a
    // WM_QUIT whether it was posted to the window or to the thread.
    ZeroMemory(&message, sizeof message);
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
    return message.wParam;
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
        // The loop ends only on the worker's quit notification.
        return 0;
    case WM_CLOSE:
        // Closing cancels the attempt: the worker stops at its next read and
        // posts its quit notification; the window goes with the loop.
        g_CancelSlot.store(1, std::memory_order_relaxed);
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_PAINT:
        // Also for a paint that the worker posted with nothing invalidated.
        PaintProgress(window);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PaintProgress(HWND window)
{
    RECT outer;
    RECT box;
    ProgressLayout layout;
    HDC dc;

    // The measures come from the outer size and are used in the client area.
    if (!GetWindowRect(window, &outer))
        return;
    ComputeProgressLayout(outer.right - outer.left, outer.bottom - outer.top,
                          g_ProgressSlot.load(std::memory_order_relaxed), &layout);
    dc = GetDC(window);
    if (dc == NULL)
        return;

    SetRect(&box, layout.text.left, layout.text.top, layout.text.right, layout.text.bottom);
    DrawTextW(dc, g_StatusText, -1, &box, DT_CENTER | DT_SINGLELINE);
    Rectangle(dc, layout.frame.left, layout.frame.top, layout.frame.right, layout.frame.bottom);
    SetRect(&box, layout.bar.left, layout.bar.top, layout.bar.right, layout.bar.bottom);
    FillRect(dc, &box, (HBRUSH)GetStockObject(GRAY_BRUSH));
    ReleaseDC(window, dc);
}
