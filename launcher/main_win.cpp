#include "launcher_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "../download/download_win.h"
#include "../housekeeping/housekeeping_win.h"
#include "../probe/probe_win.h"

static const wchar_t EnvironmentText[] =
    L"检测环境时遇到未知错误！请在点击确定后，在打开的官网配置要求页面上检查您的硬件配置。";
static const wchar_t EnvironmentCaption[] = L"环境检测";

// Shown when the launcher's own path is too long to be used safely.
static const wchar_t PathTooLongText[] =
    L"游戏安装目录的路径过长，启动器无法运行。请将游戏安装到路径较短的文件夹后重试。";
static const wchar_t PathTooLongCaption[] = L"启动失败";

void StartUpdater(int dotNetPresent, const wchar_t *updaterPath, const wchar_t *runtimeInstallerPath)
{
    STARTUPINFOW startup;
    PROCESS_INFORMATION process;
    wchar_t commandLine[2 * MAX_PATH + 8];

    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    ZeroMemory(&process, sizeof process);

    if (!BuildHandOverCommandLine(dotNetPresent, updaterPath, runtimeInstallerPath, commandLine,
                                  sizeof commandLine / sizeof commandLine[0]))
        return;
    // The program comes from the first quoted token; the current folder is inherited.
    if (CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void RunLaunchSequence(HINSTANCE instance)
{
    InstallLayout layout;
    wchar_t desktopFolder[MAX_PATH];
    int dotNetPresent;

    RegisterProgressWindowClass(instance);
    if (!ResolveInstallLayout(&layout)) {
        MessageBoxW(NULL, PathTooLongText, PathTooLongCaption, MB_OK | MB_ICONERROR);
        return;
    }

    // A missing desktop folder is not created, and then no shortcut is written.
    if (SHGetSpecialFolderPathW(NULL, desktopFolder, CSIDL_DESKTOPDIRECTORY, FALSE))
        CreateDesktopShortcut(desktopFolder, layout.launcherPath, g_InstallFolder);
    StopRunningUpdaters(layout.updaterPath);
    ApplyStagedFiles();

    if (!ProbePlatform()) {
        MessageBoxW(NULL, EnvironmentText, EnvironmentCaption, MB_OK);
        ShellExecuteW(NULL, L"open", ComponentTable[COMPONENT_DOTNET_INSTALLER].address, NULL, NULL,
                      SW_SHOWNORMAL);
        return;
    }

    if (!AcquireComponent(instance, layout.archivePath, ComponentTable[COMPONENT_ARCHIVE].address))
        return;
    if (!AcquireComponent(instance, layout.updaterPath, ComponentTable[COMPONENT_UPDATER].address))
        return;

    dotNetPresent = IsDotNet4FullInstalled() || IsDotNet4ClientInstalled();
    if (!dotNetPresent &&
        !AcquireComponent(instance, layout.runtimeInstallerPath,
                          ComponentTable[COMPONENT_RUNTIME_INSTALLER].address))
        return;

    StartUpdater(dotNetPresent, layout.updaterPath, layout.runtimeInstallerPath);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    (void)previous;
    (void)commandLine;
    (void)showCommand;
    RunLaunchSequence(instance);
    return 0;
}
