// Plays the user's part in the end-to-end tests, from inside the Wine prefix.
//
//   helper click-box yes|no|ok OUTFILE [TIMEOUT_MS]
//       waits for a message box, writes its caption and text (UTF-8, one line
//       each) to OUTFILE, then presses the button. Exit code 0 when pressed.
//   helper bar-pixels OUTFILE [TIMEOUT_MS]
//       waits for a visible progress window and writes the colours (hex) of
//       the bar's first pixels and the frame's middle, in its client area.
//   helper hold FILE MILLISECONDS
//       holds FILE open without any sharing for that long.
//   helper read-shortcut LNK OUTFILE
//       writes the shell link's target, working folder, show command,
//       description, icon path and icon index to OUTFILE, one line each.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

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

// The message box keeps its icon control when it shows no icon: only a visible
// control that holds an icon counts.
static int HasIcon(HWND box)
{
    HWND icon = GetDlgItem(box, 0x0440);
    return icon != NULL && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
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
    WriteUtf8Line(out, HasIcon(box) ? L"icon" : L"no-icon");
    fclose(out);

    id = wcscmp(button, L"yes") == 0 ? IDYES : wcscmp(button, L"no") == 0 ? IDNO : IDOK;
    if (GetDlgItem(box, id) == NULL)
        return 4;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
    return 0;
}

static int BarPixels(const wchar_t *outPath, DWORD timeout)
{
    DWORD start = GetTickCount();
    HWND window = NULL;
    HDC dc;
    FILE *out;
    wchar_t line[64];

    while ((window = FindWindowW(L"launcherClassName", NULL)) == NULL || !IsWindowVisible(window)) {
        if (GetTickCount() - start > timeout)
            return 2;
        Sleep(20);
    }
    Sleep(300); // painted by now
    dc = GetDC(window);
    swprintf(line, 64, L"%06lx %06lx", (unsigned long)GetPixel(dc, 55, 75), (unsigned long)GetPixel(dc, 200, 75));
    ReleaseDC(window, dc);
    out = _wfopen(outPath, L"wb");
    if (out == NULL)
        return 3;
    WriteUtf8Line(out, line);
    fclose(out);
    return 0;
}

static int Hold(const wchar_t *path, DWORD milliseconds)
{
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    Sleep(milliseconds);
    CloseHandle(file);
    return 0;
}

static int ReadShortcut(const wchar_t *path, const wchar_t *outPath)
{
    IShellLinkW *link = NULL;
    IPersistFile *file = NULL;
    wchar_t text[MAX_PATH];
    wchar_t number[16];
    int value = 0;
    int rc = 2;
    FILE *out = NULL;

    CoInitialize(NULL);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void **)&link)))
        goto Done;
    if (FAILED(link->QueryInterface(IID_IPersistFile, (void **)&file)) || FAILED(file->Load(path, STGM_READ)))
        goto Done;
    out = _wfopen(outPath, L"wb");
    if (out == NULL)
        goto Done;
    text[0] = L'\0';
    link->GetPath(text, MAX_PATH, NULL, SLGP_RAWPATH);
    WriteUtf8Line(out, text);
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    WriteUtf8Line(out, text);
    link->GetShowCmd(&value);
    swprintf(number, 16, L"%d", value);
    WriteUtf8Line(out, number);
    text[0] = L'\0';
    link->GetDescription(text, MAX_PATH);
    WriteUtf8Line(out, text);
    text[0] = L'\0';
    value = -1;
    link->GetIconLocation(text, MAX_PATH, &value);
    WriteUtf8Line(out, text);
    swprintf(number, 16, L"%d", value);
    WriteUtf8Line(out, number);
    rc = 0;
Done:
    if (out != NULL)
        fclose(out);
    if (file != NULL)
        file->Release();
    if (link != NULL)
        link->Release();
    return rc;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"bar-pixels") == 0)
        return BarPixels(argv[2], argc >= 4 ? (DWORD)_wtoi(argv[3]) : 20000);
    if (argc >= 4 && wcscmp(argv[1], L"hold") == 0)
        return Hold(argv[2], (DWORD)_wtoi(argv[3]));
    if (argc >= 4 && wcscmp(argv[1], L"read-shortcut") == 0)
        return ReadShortcut(argv[2], argv[3]);
    if (argc >= 4 && wcscmp(argv[1], L"click-box") == 0)
        return ClickBox(argv[2], argv[3], argc >= 5 ? (DWORD)_wtoi(argv[4]) : 20000);
    fwprintf(stderr, L"unknown command\n");
    return 64;
}
