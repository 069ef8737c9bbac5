#include "dotnet_version.h"

#include <stdint.h>

static int IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// One part, from begin up to end, read as a signed decimal number in the manner
// of the C library's conversion: blanks, a sign, then digits up to the first
// other character. The value saturates at the bounds of a 32-bit integer.
static int ConvertVersionPart(const wchar_t *begin, const wchar_t *end)
{
    const int64_t limit = 2147483648LL; // magnitude of INT32_MIN
    int64_t magnitude = 0;
    int negative = 0;

    while (begin < end && IsBlank(*begin))
        begin++;
    if (begin < end && (*begin == L'+' || *begin == L'-')) {
        negative = *begin == L'-';
        begin++;
    }
    for (; begin < end && *begin >= L'0' && *begin <= L'9'; begin++) {
        magnitude = magnitude * 10 + (*begin - L'0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (negative)
        return (int)-magnitude;
    return magnitude >= limit ? 2147483647 : (int)magnitude;
}

int ParseDotNetVersion(const wchar_t *text, size_t length, int parts[4])
{
    size_t end = 0;
    size_t i = 0;
    int found = 0;

    for (int k = 0; k < 4; k++)
        parts[k] = 0;
    while (end < length && text[end] != L'\0')
        end++;

    while (i < end && found < 4) {
        size_t start;
        if (text[i] == L'.') {
            i++;
            continue;
        }
        start = i;
        while (i < end && text[i] != L'.')
            i++;
        parts[found++] = ConvertVersionPart(text + start, text + i);
    }
    return found;
}

int IsVersionAtLeastDotNet4(const int parts[4])
{
    static const int minimum[3] = {4, 0, 30319};
    for (int k = 0; k < 3; k++) {
        if (parts[k] > minimum[k])
            return 1;
        if (parts[k] < minimum[k])
            return 0;
    }
    return parts[3] >= 0;
}

int IsDotNet4VersionTextSufficient(const wchar_t *text, size_t length)
{
    int parts[4];
    if (ParseDotNetVersion(text, length, parts) == 0)
        return 0;
    return IsVersionAtLeastDotNet4(parts);
}
