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

int ConcatPath(wchar_t *out, size_t capacity, const wchar_t *head, const wchar_t *tail)
{
    size_t headLength = wcslen(head);
    size_t tailLength = wcslen(tail);
    if (capacity == 0)
        return 0;
    out[0] = L'\0';
    if (headLength + tailLength >= capacity)
        return 0;
    wmemcpy(out, head, headLength);
    wmemcpy(out + headLength, tail, tailLength + 1);
    return 1;
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
    const wchar_t *pieces[7];
    size_t count = 0;
    size_t used = 0;

    if (!dotNetPresent) {
        pieces[count++] = L"\"";
        pieces[count++] = runtimeInstallerPath;
        pieces[count++] = L"\" ";
    }
    pieces[count++] = L"\"";
    pieces[count++] = updaterPath;
    pieces[count++] = L"\"";

    if (capacity == 0)
        return 0;
    for (size_t i = 0; i < count; i++) {
        size_t length = wcslen(pieces[i]);
        if (used + length >= capacity) {
            out[0] = L'\0';
            return 0;
        }
        wmemcpy(out + used, pieces[i], length);
        used += length;
    }
    out[used] = L'\0';
    return 1;
}
