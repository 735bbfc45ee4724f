/* Quadlock.dll: the motion-security item of the launcher host's menu. */
#include <windows.h>
#include <shellapi.h>
#include "common/trace.h"
#include "motionlock/quadlock.h"
#include "motionlock/quadlock_res.h"
#include "motionlock/quadmenu.h"

static HINSTANCE g_hInstance;

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hInstance = hInstance;
    return TRUE;
}

LONG WINAPI Quadrix_GetMainMenuInfo(LPVOID pRecord)
{
    WCHAR szText[MAX_PATH];
    HICON hIcon;

    if (pRecord == NULL)
        return 0;
    if (LoadStringW(g_hInstance, IDS_QUADLOCK_ITEM, szText, ARRAYSIZE(szText)) <= 0) {
        TRACE("LoadString() Failed in Quadrix_GetMainMenuInfo().\nReturn Value %d",
                     (int)GetLastError());
        szText[0] = L'\0';
    }
    /* The host owns the icon from here on; it is not shared. */
    hIcon = (HICON)LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDI_QUADLOCK), IMAGE_ICON, 32, 32,
                              LR_DEFAULTCOLOR);
    if (hIcon == NULL)
        TRACE("LoadImage() Failed in Quadrix_GetMainMenuInfo().\nReturn Value %d",
                     (int)GetLastError());
    FillMenuRecord((unsigned char *)pRecord, (uint32_t)(UINT_PTR)hIcon, szText);
    return 0;
}

LONG WINAPI Quadrix_Execute(DWORD dwHostValue)
{
    WCHAR szHost[MAX_PATH];
    WCHAR szLockwatch[MAX_PATH];
    DWORD cch;
    HINSTANCE hResult;

    /* The host's program file, not this library's: Lockwatch.exe lies
     * beside the host, wherever the plug-in was loaded from. A path that
     * fills the buffer may have been cut (and is then not terminated). */
    cch = GetModuleFileNameW(NULL, szHost, ARRAYSIZE(szHost));
    if (cch == 0 || cch >= ARRAYSIZE(szHost)) {
        TRACE("GetModuleFileName() Failed in Quadrix_Execute().\nReturn Value %d",
                     (int)cch);
        return -1;
    }
    if (!BuildLockwatchPath(szLockwatch, ARRAYSIZE(szLockwatch), szHost)) {
        TRACE("Lockwatch path is too long in Quadrix_Execute().\n");
        return -1;
    }
    hResult = ShellExecuteW(NULL, L"open", szLockwatch, NULL, NULL, SW_SHOWNORMAL);
    if ((INT_PTR)hResult <= 32) {
        TRACE("ShellExecute() Failed in Quadrix_Execute().\nReturn Value %d",
                     (int)(INT_PTR)hResult);
        return -1;
    }
    return 0;
}
