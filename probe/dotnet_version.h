// The "Version" text of a .NET Framework setup key, and whether it is recent enough.
#pragma once
#include <stddef.h>

// Splits text at dots (empty parts skipped) and converts the first four parts
// as signed decimal numbers, clamped to 32 bits, into parts (missing ones 0).
// The text ends at its first NUL or after length characters, whichever comes
// first: nothing beyond length is read. Returns the number of parts used (0 to 4).
int ParseDotNetVersion(const wchar_t *text, size_t length, int parts[4]);

// 1 when parts is at least 4.0.30319.0 in lexicographic order.
int IsVersionAtLeastDotNet4(const int parts[4]);

// Both of the above: 1 when the text holds a version of 4.0.30319.0 or later.
int IsDotNet4VersionTextSufficient(const wchar_t *text, size_t length);
