#include "housekeeping_win.h"

#include <shellapi.h>

#include "../launcher/install_layout.h"

int DeleteFolderTree(const wchar_t *path)
{
    // The shell takes a list: each path ends with a terminator, the list with another.
    wchar_t list[MAX_PATH + 1];
    SHFILEOPSTRUCTW operation;
    int length;

    if (path == NULL)
        return 0;
    length = lstrlenW(path);
    if (length >= MAX_PATH)
        return 0;
    ZeroMemory(list, sizeof list);
    CopyMemory(list, path, length * sizeof(wchar_t));

    ZeroMemory(&operation, sizeof operation);
    operation.hwnd = NULL;
    operation.wFunc = FO_DELETE;
    operation.pFrom = list;
    operation.pTo = NULL;
    // Silent and for good: no progress, no question, no error box, no recycle bin.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0;
}

// Copies one staged file over its counterpart and removes it from the staging
// folder. 0 when the file is still waiting there.
static int ApplyStagedFile(const wchar_t *staging, const wchar_t *name)
{
    wchar_t source[MAX_PATH];
    wchar_t destination[MAX_PATH];

    if (!JoinPath(source, MAX_PATH, staging, name) || !JoinPath(destination, MAX_PATH, g_InstallFolder, name))
        return 0;
    if (!CopyFileW(source, destination, FALSE))
        return 0;
    // A read-only staged file could not be removed otherwise.
    SetFileAttributesW(source, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(source) ? 1 : 0;
}

int ApplyStagedFiles(void)
{
    wchar_t staging[MAX_PATH];
    wchar_t pattern[MAX_PATH];
    WIN32_FIND_DATAW entry;
    HANDLE search = INVALID_HANDLE_VALUE;
    int waiting = 0;
    int walkedToEnd;

    // At a drive root "temp" belongs to other programs, not to our updater.
    if (g_InstallFolder[0] == L'\0' || IsRootFolder(g_InstallFolder))
        return 1;
    if (!JoinPath(staging, MAX_PATH, g_InstallFolder, L"temp") || !JoinPath(pattern, MAX_PATH, staging, L"*.*"))
        return 1;
    if (GetFileAttributesW(staging) == INVALID_FILE_ATTRIBUTES)
        return 1;
    search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 1;

    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!ApplyStagedFile(staging, entry.cFileName))
            waiting++;
    } while (FindNextFileW(search, &entry));
    walkedToEnd = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);

    // What could not be applied stays staged for the next start.
    if (waiting == 0 && walkedToEnd)
        DeleteFolderTree(staging);
    return 1;
}
