#include "device_path.h"

#include <wchar.h>

// Device and drive names are ASCII: folding ASCII letters is all the comparison needs.
static wchar_t FoldCase(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? (wchar_t)(c - L'a' + L'A') : c;
}

static int StartsWithDevice(const wchar_t *path, const wchar_t *device, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        if (path[i] == L'\0' || FoldCase(path[i]) != FoldCase(device[i]))
            return 0;
    }
    // \Device\HarddiskVolume1 must not claim a path on \Device\HarddiskVolume10.
    return path[length] == L'\\' || path[length] == L'\0';
}

static int CopyText(wchar_t *out, size_t capacity, const wchar_t *head, size_t headLength,
                    const wchar_t *tail)
{
    size_t tailLength = wcslen(tail);
    if (headLength + tailLength >= capacity) {
        out[0] = L'\0';
        return 0;
    }
    wmemcpy(out, head, headLength);
    wmemcpy(out + headLength, tail, tailLength + 1);
    return 1;
}

int IsFloppyRoot(const wchar_t *root)
{
    wchar_t letter = FoldCase(root[0]);
    return (letter == L'A' || letter == L'B') && root[1] == L':' && root[2] == L'\\' && root[3] == L'\0';
}

int ConvertDevicePath(const wchar_t *devicePath, const DriveDevice *drives, size_t driveCount,
                      wchar_t *out, size_t capacity)
{
    if (capacity == 0)
        return 0;
    for (size_t i = 0; i < driveCount; i++) {
        const DriveDevice *drive = &drives[i];
        size_t length;
        if (drive->device == NULL || IsFloppyRoot(drive->root) || drive->root[0] == L'\0' ||
            drive->root[1] != L':')
            continue;
        length = wcslen(drive->device);
        if (length == 0 || !StartsWithDevice(devicePath, drive->device, length))
            continue;
        if (CopyText(out, capacity, drive->root, 2, devicePath + length))
            return 1;
        break;
    }
    CopyText(out, capacity, L"", 0, devicePath);
    return 0;
}
