/* Shared by the stand-in programs: appends how a program was started (its
   command line and working folder, UTF-8) to a record file beside it. */
#pragma once
#include <windows.h>
#include <stdio.h>

static void WriteUtf8(FILE *file, const wchar_t *text)
{
    char buffer[4 * 32768];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    if (length > 1)
        fwrite(buffer, 1, (size_t)length - 1, file);
}

/* The folder of the running program, without a trailing backslash. */
static void GetOwnFolder(wchar_t *folder, DWORD capacity)
{
    DWORD length = GetModuleFileNameW(NULL, folder, capacity);
    while (length > 0 && folder[length - 1] != L'\\')
        length--;
    folder[length > 0 ? length - 1 : 0] = L'\0';
}

static void AppendStartRecord(const wchar_t *recordName)
{
    wchar_t path[32768];
    wchar_t cwd[32768];
    FILE *file;

    GetOwnFolder(path, 32000);
    lstrcatW(path, L"\\");
    lstrcatW(path, recordName);
    GetCurrentDirectoryW(32768, cwd);
    file = _wfopen(path, L"ab");
    if (file == NULL)
        return;
    fputs("cmd=", file);
    WriteUtf8(file, GetCommandLineW());
    fputs("\ncwd=", file);
    WriteUtf8(file, cwd);
    fputs("\n", file);
    fclose(file);
}
