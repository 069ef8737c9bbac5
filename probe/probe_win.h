// Platform probe and .NET Framework 4 detection.
#pragma once
#include <windows.h>

// The version query; tests replace it to make the probe fail.
extern BOOL(WINAPI *g_QueryOsVersion)(OSVERSIONINFOW *version);

// Checks that the system answers a version query and chooses the registry view
// prefix from the native processor architecture. 0 when the query fails.
int ProbePlatform(void);

// Reads a value under HKEY_LOCAL_MACHINE into data, at most capacity bytes.
// 1 on success; bytesRead (may be NULL) receives the number of bytes read.
int ReadMachineRegistryValue(const wchar_t *subKey, const wchar_t *valueName, void *data,
                             DWORD capacity, DWORD *bytesRead);

// 1 when the "Version" value under the key reads as 4.0.30319.0 or later.
int IsDotNet4VersionSufficient(const wchar_t *subKey);

int IsDotNet4FullInstalled(void);
int IsDotNet4ClientInstalled(void);
