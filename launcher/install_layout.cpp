#include "install_layout.h"

#include <wchar.h>

#ifndef LAUNCHER_DOWNLOAD_HOST_W
#define LAUNCHER_DOWNLOAD_HOST_W L"downloads.invalid"
#endif

#define DOWNLOAD_ROOT L"http://" LAUNCHER_DOWNLOAD_HOST_W L"/downloader/"

const ComponentRow ComponentTable[COMPONENT_COUNT] = {
    {L"\\7z.dll", DOWNLOAD_ROOT L"7z.dll"},
    {L"\\Updater.exe", DOWNLOAD_ROOT L"Updater.exe"},
    {L"\\Vextal.exe", DOWNLOAD_ROOT L"Vextal.exe"},
    {NULL, DOWNLOAD_ROOT L"dotnetfx40_full_x86_x64.exe"},
};

const wchar_t DownloadText[] = L"正在为您下载运行环境，请稍后……";

const wchar_t *g_StatusText = L"";

wchar_t g_InstallFolder[LAUNCHER_PATH_CAPACITY];

// A download writes the component path with this appended beside the component.
static const size_t TemporarySuffixLength = 4; // ".tmp"

// Writes the pieces one after another into out; 0, with out empty, when the
// whole does not fit in capacity characters with its terminator.
static int ConcatPieces(wchar_t *out, size_t capacity, const wchar_t *const *pieces, size_t count)
{
    size_t used = 0;
    if (capacity == 0)
        return 0;
    for (size_t i = 0; i < count; i++) {
        size_t length = wcslen(pieces[i]);
        if (used + length >= capacity) {
            out[0] = L'\0';
            return 0;
        }
        wmemmove(out + used, pieces[i], length);
        used += length;
    }
    out[used] = L'\0';
    return 1;
}

int ConcatPath(wchar_t *out, size_t capacity, const wchar_t *head, const wchar_t *tail)
{
    const wchar_t *pieces[2] = {head, tail};
    return ConcatPieces(out, capacity, pieces, 2);
}

int JoinPath(wchar_t *out, size_t capacity, const wchar_t *folder, const wchar_t *name)
{
    const wchar_t *pieces[3] = {folder, L"\\", name};
    return ConcatPieces(out, capacity, pieces, 3);
}

int IsRootFolder(const wchar_t *folder)
{
    const wchar_t *share;
    if (folder[0] != L'\0' && folder[1] == L':' && folder[2] == L'\0')
        return 1;
    // \\server\share
    if (folder[0] != L'\\' || folder[1] != L'\\')
        return 0;
    share = wcschr(folder + 2, L'\\');
    return share != NULL && wcschr(share + 1, L'\\') == NULL;
}

int BuildInstallLayout(const wchar_t *launcherPath, wchar_t *installFolder, InstallLayout *layout)
{
    size_t length = wcslen(launcherPath);
    const wchar_t *lastSlash = wcsrchr(launcherPath, L'\\');
    size_t folderLength;

    installFolder[0] = L'\0';
    if (length >= LAUNCHER_PATH_CAPACITY || lastSlash == NULL)
        return 0;
    folderLength = (size_t)(lastSlash - launcherPath);

    // The longest path derived from the folder is the updater's temporary download file.
    if (folderLength + wcslen(ComponentTable[COMPONENT_UPDATER].suffix) + TemporarySuffixLength >=
        LAUNCHER_PATH_CAPACITY)
        return 0;

    wmemcpy(layout->launcherPath, launcherPath, length + 1);
    wmemcpy(installFolder, launcherPath, folderLength);
    installFolder[folderLength] = L'\0';
    ConcatPath(layout->archivePath, LAUNCHER_PATH_CAPACITY, installFolder,
               ComponentTable[COMPONENT_ARCHIVE].suffix);
    ConcatPath(layout->updaterPath, LAUNCHER_PATH_CAPACITY, installFolder,
               ComponentTable[COMPONENT_UPDATER].suffix);
    ConcatPath(layout->runtimeInstallerPath, LAUNCHER_PATH_CAPACITY, installFolder,
               ComponentTable[COMPONENT_RUNTIME_INSTALLER].suffix);
    return 1;
}

int BuildHandOverCommandLine(int dotNetPresent, const wchar_t *updaterPath,
                             const wchar_t *runtimeInstallerPath, wchar_t *out, size_t capacity)
{
    const wchar_t *direct[3] = {L"\"", updaterPath, L"\""};
    const wchar_t *throughInstaller[5] = {L"\"", runtimeInstallerPath, L"\" \"", updaterPath, L"\""};
    if (dotNetPresent)
        return ConcatPieces(out, capacity, direct, 3);
    return ConcatPieces(out, capacity, throughInstaller, 5);
}
