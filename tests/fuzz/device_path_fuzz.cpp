// Arbitrary drive tables and device paths through the conversion: the output
// must always be terminated within its capacity, and a conversion must begin
// with the drive's letter and colon.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "housekeeping/device_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Layout: drive count, capacity, then NUL-separated strings: (root, device)
    // pairs (a device of "!" stands for a failed query), then the device path.
    if (size < 2)
        return 0;
    size_t driveCount = data[0] % 8;
    size_t capacity = 1 + data[1] % 64;
    std::vector<std::wstring> strings(1);
    for (size_t i = 2; i < size; i++) {
        if (data[i] == 0)
            strings.emplace_back();
        else
            strings.back().push_back((wchar_t)(data[i] == 1 ? '\\' : data[i]));
    }
    if (strings.size() < driveCount * 2 + 1)
        return 0;
    std::vector<DriveDevice> drives(driveCount);
    for (size_t d = 0; d < driveCount; d++) {
        drives[d].root = strings[2 * d].c_str();
        drives[d].device = strings[2 * d + 1] == L"!" ? nullptr : strings[2 * d + 1].c_str();
    }
    const std::wstring &path = strings[driveCount * 2];
    std::vector<wchar_t> out(capacity);
    int converted = ConvertDevicePath(path.c_str(), drives.data(), drives.size(), out.data(), out.size());
    size_t length = 0;
    while (length < capacity && out[length] != L'\0')
        length++;
    if (length == capacity)
        __builtin_trap();
    if (converted && (length < 2 || out[1] != L':'))
        __builtin_trap();
    if (!converted && length > 0 && path != out.data())
        __builtin_trap();
    return 0;
}
