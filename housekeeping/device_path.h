// Conversion of the device paths that the system reports for process images
// (\Device\HarddiskVolume2\Games\Updater.exe) into drive-letter paths.
#pragma once
#include <stddef.h>

// One entry of the drive list: its root ("C:\") and the device that its drive
// name stands for, NULL when the device could not be queried.
struct DriveDevice {
    const wchar_t *root;
    const wchar_t *device;
};

// 1 for the roots "A:\" and "B:\", whose devices are never queried (asking a
// floppy drive can stall or prompt).
int IsFloppyRoot(const wchar_t *root);

// Converts devicePath with the first drive, in list order, whose device name
// matches the start of the path up to a backslash or the path's end. Drives
// without a device and the floppy roots are passed over. Returns 1 with the
// drive-letter path in out; otherwise 0 with the device path unchanged in out
// (or out empty when even that would not fit in capacity characters).
int ConvertDevicePath(const wchar_t *devicePath, const DriveDevice *drives, size_t driveCount,
                      wchar_t *out, size_t capacity);
