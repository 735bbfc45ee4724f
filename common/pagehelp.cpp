#include "common/pagehelp.h"
#include "common/helpaddr.h"
#include "common/trace.h"
#include "help/topics.h"
#include <htmlhelp.h>
#include <shlwapi.h>

typedef HWND (WINAPI *PFN_HTMLHELPA)(HWND hwndCaller, LPCSTR pszFile, UINT uCommand,
                                     DWORD_PTR dwData);

/* One binding per library that shows help; every page of the library uses it. */
static HMODULE g_hHelpViewer;
static PFN_HTMLHELPA g_DLHtmlHelpA;

/* A help file path (259 characters) with "::/" and a topic name. */
#define PAGEHELP_ADDRESS_MAX (MAX_PATH * 2)

static BOOL BindHelpViewer(void)
{
    if (g_DLHtmlHelpA != NULL)
        return TRUE;
    g_hHelpViewer = LoadLibraryA("hhctrl.ocx");
    if (g_hHelpViewer == NULL) {
        TRACE("LoadLibrary() Failed in BindHelpViewer().\nGetLastError Report %d", (int)GetLastError());
        return FALSE;
    }
    g_DLHtmlHelpA = (PFN_HTMLHELPA)(void *)GetProcAddress(g_hHelpViewer, "HtmlHelpA");
    if (g_DLHtmlHelpA == NULL) {
        TRACE("GetProcAddress() Failed in BindHelpViewer().\nGetLastError Report %d", (int)GetLastError());
        FreeLibrary(g_hHelpViewer);
        g_hHelpViewer = NULL;
        return FALSE;
    }
    return TRUE;
}

BOOL ShowPageHelp(HWND hPage, LPCSTR pszHelpFile, LPCSTR pszTopic)
{
    char szAddress[PAGEHELP_ADDRESS_MAX];

    if (!HelpTopicAddress(pszHelpFile, pszTopic, szAddress, sizeof(szAddress)))
        return FALSE;
    if (!BindHelpViewer())
        return FALSE;
    if (g_DLHtmlHelpA(hPage, szAddress, HH_DISPLAY_TOPIC, 0) == NULL) {
        TRACE("HtmlHelpA() Failed in ShowPageHelp().\n%s", szAddress);
        return FALSE;
    }
    return TRUE;
}

BOOL ShowModulePageHelp(HWND hPage, HINSTANCE hModule, LPCSTR pszFileName, LPCSTR pszTopic)
{
    char szPath[MAX_PATH];
    DWORD cch = GetModuleFileNameA(hModule, szPath, ARRAYSIZE(szPath));

    /* A cut name is not terminated on Windows XP. */
    if (cch == 0 || cch >= ARRAYSIZE(szPath))
        return FALSE;
    if (!PathRemoveFileSpecA(szPath) || !PathAppendA(szPath, HELP_FOLDER) ||
        !PathAppendA(szPath, pszFileName))
        return FALSE;
    return ShowPageHelp(hPage, szPath, pszTopic);
}

/* Where the popup's top centre goes: the point of the request when it lies
 * on the control (a click in help mode), else below the control's middle
 * (F1 on the focused control, the pointer being anywhere). */
static POINT PopupPoint(HWND hControl, POINT ptRequest)
{
    RECT rc;
    POINT pt = ptRequest;

    if (GetWindowRect(hControl, &rc) && !PtInRect(&rc, ptRequest)) {
        pt.x = rc.left + (rc.right - rc.left) / 2;
        pt.y = rc.bottom;
    }
    return pt;
}

BOOL ShowControlHelp(const HELPINFO *phi, HINSTANCE hInstance,
                     const PAGEHELPTEXT *paTexts, int nTexts)
{
    HH_POPUP popup;
    int i;

    if (phi == NULL || phi->iContextType != HELPINFO_WINDOW)
        return FALSE;
    for (i = 0; i < nTexts; i++) {
        if (paTexts[i].idControl == phi->iCtrlId)
            break;
    }
    if (i == nTexts || !BindHelpViewer())
        return FALSE;
    ZeroMemory(&popup, sizeof(popup));
    popup.cbStruct = sizeof(popup);
    popup.hinst = hInstance;
    popup.idString = paTexts[i].idString;
    popup.pt = PopupPoint((HWND)phi->hItemHandle, phi->MousePos);
    popup.clrForeground = (COLORREF)-1;
    popup.clrBackground = (COLORREF)-1;
    SetRect(&popup.rcMargins, -1, -1, -1, -1);
    g_DLHtmlHelpA((HWND)phi->hItemHandle, NULL, HH_DISPLAY_TEXT_POPUP, (DWORD_PTR)&popup);
    return TRUE;
}

void ReleasePageHelp(void)
{
    if (g_hHelpViewer == NULL)
        return;
    /* The viewer's windows run on its code: they go before the library. */
    g_DLHtmlHelpA(NULL, NULL, HH_CLOSE_ALL, 0);
    FreeLibrary(g_hHelpViewer);
    g_hHelpViewer = NULL;
    g_DLHtmlHelpA = NULL;
}
