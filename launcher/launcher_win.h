// Launch control: the layout of this run, component acquisition and the hand-over.
#pragma once
#include <windows.h>

#include "install_layout.h"

// Reads the launcher's own path and builds the layout from it; sets the install
// folder. Returns 0 when the path cannot be read or would not fit.
int ResolveInstallLayout(InstallLayout *layout);

// 1 when the component file exists and is at least 10240 bytes long.
int IsComponentPresent(const wchar_t *componentPath);

// Makes sure that the component is present, downloading it when it is not.
// Returns 0 only when the user declined to download it again.
int AcquireComponent(HINSTANCE instance, const wchar_t *componentPath, const wchar_t *address);

// How a download's worker thread is started; tests replace it to make it fail.
extern HANDLE(WINAPI *g_CreateWorkerThread)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                            DWORD, LPDWORD);

// Starts the updater, directly or through the runtime installer.
void StartUpdater(int dotNetPresent, const wchar_t *updaterPath, const wchar_t *runtimeInstallerPath);

// The whole run, from the window class to the hand-over.
void RunLaunchSequence(HINSTANCE instance);
