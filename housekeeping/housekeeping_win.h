// Housekeeping at every start: running updaters, staged files, the desktop shortcut.
#pragma once
#include <windows.h>

// Converts a device path into a drive-letter path in out (MAX_PATH characters).
// 1 when a drive matched; otherwise 0 with the device path copied unchanged.
int DevicePathToDrivePath(const wchar_t *devicePath, wchar_t *out);

// One pass: terminates every process whose executable is imagePath (a
// drive-letter path, compared without regard to case). Returns how many matched.
int TerminateProcessesByImagePath(const wchar_t *imagePath);

// Repeats the pass 200 ms apart until none matches, for at most about ten
// seconds. Returns the number of passes made. Tests replace the pass.
int StopRunningUpdaters(const wchar_t *updaterPath);
extern int (*g_TerminatePass)(const wchar_t *imagePath);

// Moves the files of the install folder's "temp" folder into the install folder.
int ApplyStagedFiles(void);

// Deletes a folder and everything in it for good, through the shell.
int DeleteFolderTree(const wchar_t *path);

// Writes "OrvaneLauncher.lnk" into the desktop folder. 1 when it was saved.
int CreateDesktopShortcut(const wchar_t *desktopFolder, const wchar_t *target, const wchar_t *workingFolder);
