// Plays the user's part in the end-to-end tests, from inside the Wine prefix.
//
//   helper click-box yes|no|ok OUTFILE [TIMEOUT_MS]
//       waits for a message box, writes its caption and text (UTF-8, one line
//       each) to OUTFILE, then presses the button. Exit code 0 when pressed.
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

static void WriteUtf8Line(FILE *file, const wchar_t *text)
{
    char buffer[8192];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    if (length > 1)
        fwrite(buffer, 1, (size_t)length - 1, file);
    fputc('\n', file);
}

static BOOL CALLBACK FindMessageBox(HWND window, LPARAM found)
{
    wchar_t className[64];
    if (!IsWindowVisible(window) || !GetClassNameW(window, className, 64))
        return TRUE;
    if (wcscmp(className, L"#32770") != 0)
        return TRUE;
    *(HWND *)found = window;
    return FALSE;
}

static int ClickBox(const wchar_t *button, const wchar_t *outPath, DWORD timeout)
{
    HWND box = NULL;
    DWORD start = GetTickCount();
    wchar_t caption[512];
    wchar_t text[2048];
    int id;
    FILE *out;

    while (box == NULL) {
        EnumWindows(FindMessageBox, (LPARAM)&box);
        if (box != NULL)
            break;
        if (GetTickCount() - start > timeout)
            return 2;
        Sleep(50);
    }
    Sleep(200); // let the box finish laying itself out
    GetWindowTextW(box, caption, 512);
    text[0] = L'\0';
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    out = _wfopen(outPath, L"wb");
    if (out == NULL)
        return 3;
    WriteUtf8Line(out, caption);
    WriteUtf8Line(out, text);
    WriteUtf8Line(out, GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) ? L"buttons=yes,no" : L"buttons=ok");
    WriteUtf8Line(out, GetDlgItem(box, 0x0440) || GetDlgItem(box, 0x0014) ? L"icon" : L"no-icon");
    fclose(out);

    id = wcscmp(button, L"yes") == 0 ? IDYES : wcscmp(button, L"no") == 0 ? IDNO : IDOK;
    if (GetDlgItem(box, id) == NULL)
        return 4;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 4 && wcscmp(argv[1], L"click-box") == 0)
        return ClickBox(argv[2], argv[3], argc >= 5 ? (DWORD)_wtoi(argv[4]) : 20000);
    fwprintf(stderr, L"unknown command\n");
    return 64;
}
