#include "housekeeping_win.h"

#include <psapi.h>

#include "device_path.h"

enum {
    DRIVE_LIST_CAPACITY = 500,
    DEVICE_NAME_CAPACITY = 100,
    MAX_DRIVES = DRIVE_LIST_CAPACITY / 4,
    MAX_PASSES = 50, // 50 passes 200 ms apart: about ten seconds
};

// The drives of the moment and the device behind each, as the conversion takes them.
struct DriveTable {
    wchar_t list[DRIVE_LIST_CAPACITY];
    wchar_t devices[MAX_DRIVES][DEVICE_NAME_CAPACITY];
    DriveDevice drives[MAX_DRIVES];
    size_t count;
};

// Large for a stack; only the launch thread converts paths.
static DriveTable s_DriveTable;

// Reads the drive list and queries the device of every drive but A: and B:.
// A drive whose query fails keeps no device and is passed over by the conversion.
static void ReadDriveTable(DriveTable *table)
{
    DWORD length = GetLogicalDriveStringsW(DRIVE_LIST_CAPACITY - 1, table->list);
    const wchar_t *root = table->list;

    table->count = 0;
    if (length == 0 || length >= DRIVE_LIST_CAPACITY)
        return;
    while (root < table->list + length && root[0] != L'\0' && table->count < MAX_DRIVES) {
        DriveDevice *drive = &table->drives[table->count];
        wchar_t *device = table->devices[table->count];
        wchar_t driveName[3] = {root[0], root[1], L'\0'};

        drive->root = root;
        drive->device = NULL;
        if (!IsFloppyRoot(root) && QueryDosDeviceW(driveName, device, DEVICE_NAME_CAPACITY) != 0)
            drive->device = device;
        table->count++;
        root += lstrlenW(root) + 1;
    }
}

int DevicePathToDrivePath(const wchar_t *devicePath, wchar_t *out)
{
    if (devicePath == NULL || out == NULL)
        return 0;
    ReadDriveTable(&s_DriveTable);
    return ConvertDevicePath(devicePath, s_DriveTable.drives, s_DriveTable.count, out, MAX_PATH);
}

int TerminateProcessesByImagePath(const wchar_t *imagePath)
{
    DWORD ids[1024];
    DWORD bytes = 0;
    int count = 0;

    if (!EnumProcesses(ids, sizeof ids, &bytes))
        return 0;
    // The drives are read once a pass, not once a process.
    ReadDriveTable(&s_DriveTable);

    for (DWORD i = 0; i < bytes / sizeof ids[0]; i++) {
        HANDLE process;
        wchar_t image[MAX_PATH];
        wchar_t converted[MAX_PATH];

        process = OpenProcess(PROCESS_TERMINATE | PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, ids[i]);
        if (process == NULL)
            continue;
        if (GetProcessImageFileNameW(process, image, MAX_PATH) != 0) {
            ConvertDevicePath(image, s_DriveTable.drives, s_DriveTable.count, converted, MAX_PATH);
            if (lstrcmpiW(converted, imagePath) == 0) {
                // Counted whatever becomes of the request: the next pass meets it again.
                count++;
                TerminateProcess(process, 0);
            }
        }
        CloseHandle(process);
    }
    return count;
}

int (*g_TerminatePass)(const wchar_t *imagePath) = TerminateProcessesByImagePath;

int StopRunningUpdaters(const wchar_t *updaterPath)
{
    int passes = 1;
    // An instance that stays listed must not keep the player waiting for ever.
    while (g_TerminatePass(updaterPath) != 0 && passes < MAX_PASSES) {
        Sleep(200);
        passes++;
    }
    return passes;
}
