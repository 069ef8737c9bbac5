// The registry view under which the .NET Framework setup keys are read.
#pragma once

// "SOFTWARE\" or "SOFTWARE\Wow6432Node\"; empty until the platform probe succeeds.
extern const wchar_t *g_RegistryViewPrefix;

// The prefix for a native processor architecture code: the 32-bit view on the
// two 64-bit architectures (AMD64 = 9, IA64 = 6), the plain one on any other.
const wchar_t *RegistryViewPrefixForArchitecture(unsigned short architecture);
