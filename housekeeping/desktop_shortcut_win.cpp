#include "housekeeping_win.h"

#include <objidl.h>
#include <shlobj.h>

#include "../launcher/install_layout.h"

int CreateDesktopShortcut(const wchar_t *desktopFolder, const wchar_t *target, const wchar_t *workingFolder)
{
    IShellLinkW *link = NULL;
    IPersistFile *file = NULL;
    wchar_t shortcutPath[MAX_PATH];
    HRESULT saved = E_FAIL;

    if (desktopFolder == NULL)
        return 0;
    // Already initialised on this thread is fine too.
    CoInitialize(NULL);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void **)&link))) {
        link = NULL;
        goto Done;
    }
    if (FAILED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
        file = NULL;
        goto Done;
    }

    link->SetPath(target);
    link->SetWorkingDirectory(workingFolder);
    link->SetShowCmd(SW_SHOWNORMAL);
    link->SetDescription(L"OrvaneLauncher Agent");
    link->SetIconLocation(target, 0);

    if (JoinPath(shortcutPath, MAX_PATH, desktopFolder, L"OrvaneLauncher.lnk"))
        saved = file->Save(shortcutPath, TRUE);

Done:
    if (file != NULL)
        file->Release();
    if (link != NULL)
        link->Release();
    return SUCCEEDED(saved) ? 1 : 0;
}
