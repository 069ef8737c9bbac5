// Where the launcher and its components live, and where the components come from.
#pragma once
#include <stddef.h>

// Every path handed to the system lives in a buffer of this many characters
// (MAX_PATH), terminator included.
enum { LAUNCHER_PATH_CAPACITY = 260 };

// Rows of the component table.
enum {
    COMPONENT_ARCHIVE = 0,           // 7z.dll
    COMPONENT_UPDATER = 1,           // Updater.exe
    COMPONENT_RUNTIME_INSTALLER = 2, // Vextal.exe
    COMPONENT_DOTNET_INSTALLER = 3,  // the .NET Framework 4 full installer; never downloaded
    COMPONENT_COUNT = 4
};

struct ComponentRow {
    const wchar_t *suffix;  // appended to the install folder; NULL for a row with no local file
    const wchar_t *address; // "http://" host "/downloader/" file name
};

extern const ComponentRow ComponentTable[COMPONENT_COUNT];

// The one text shown in the progress window during every download.
extern const wchar_t DownloadText[];

// What the progress window draws; set before every download.
extern const wchar_t *g_StatusText;

// The folder that holds the launcher, without a trailing backslash; empty until
// the layout is resolved. Read by the staged update application.
extern wchar_t g_InstallFolder[LAUNCHER_PATH_CAPACITY];

struct InstallLayout {
    wchar_t launcherPath[LAUNCHER_PATH_CAPACITY];
    wchar_t archivePath[LAUNCHER_PATH_CAPACITY];
    wchar_t updaterPath[LAUNCHER_PATH_CAPACITY];
    wchar_t runtimeInstallerPath[LAUNCHER_PATH_CAPACITY];
};

// Fills the install folder and the layout from the full path of the launcher.
// Returns 0, leaving a truncated path nowhere, when the path has no folder or
// when a component path or its download's temporary file would not fit.
int BuildInstallLayout(const wchar_t *launcherPath, wchar_t *installFolder, InstallLayout *layout);

// Copies head followed by tail into out; returns 0 and leaves out empty when the
// whole does not fit in capacity characters with its terminator.
int ConcatPath(wchar_t *out, size_t capacity, const wchar_t *head, const wchar_t *tail);

// Copies folder, a backslash and name into out, under the same rule.
int JoinPath(wchar_t *out, size_t capacity, const wchar_t *folder, const wchar_t *name);

// 1 for a folder that is the root of a drive ("X:") or of a network share.
int IsRootFolder(const wchar_t *folder);

// The command line of the hand-over: the quoted updater path alone when .NET
// Framework 4 is present, otherwise the quoted runtime installer path, a blank
// and the quoted updater path. Returns 0 when it does not fit.
int BuildHandOverCommandLine(int dotNetPresent, const wchar_t *updaterPath,
                             const wchar_t *runtimeInstallerPath, wchar_t *out, size_t capacity);
