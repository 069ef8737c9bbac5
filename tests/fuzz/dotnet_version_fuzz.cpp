// Feeds arbitrary registry data to the "Version" parse, as the reader hands it
// over: 16-bit units, possibly without a terminator, possibly of odd length.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "probe/dotnet_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<wchar_t> text(size / 2);
    for (size_t i = 0; i < text.size(); i++)
        text[i] = (wchar_t)(data[2 * i] | (data[2 * i + 1] << 8));
    int parts[4];
    int found = ParseDotNetVersion(text.data(), text.size(), parts);
    if (found < 0 || found > 4)
        __builtin_trap();
    int sufficient = IsDotNet4VersionTextSufficient(text.data(), text.size());
    if (sufficient != (found > 0 && IsVersionAtLeastDotNet4(parts)))
        __builtin_trap();
    return 0;
}
