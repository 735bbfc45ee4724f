/*
 * Gravcal.dll entry points and the settings page: binding to Gravmon, the
 * zero-base status and the button that starts the calibration wizard.
 */
#include "calibration/gravcal.h"
#include "calibration/resource.h"
#include "console/pageplugin.h"
#include "common/pagemake.h"
#include "common/pagehelp.h"
#include "common/errorbox.h"
#include "common/gravbind.h"
#include "common/regread.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include "help/topics.h"
#include <shlwapi.h>

GravcalState g_cal;
PFN_GETIMMEDIATE g_DLGetImmediate;
PFN_GETZEROBASE g_DLGetZeroBase;
PFN_SETZEROBASE g_DLSetZeroBase;

/* After a stored zero base the manager adopts it on its next update; the
 * status is looked at again a few times until it reads valid. */
#define IDT_STATUS_REFRESH   257
#define STATUS_REFRESH_MS    200
#define STATUS_REFRESH_TRIES 10

static int g_nStatusRefreshLeft;

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    g_cal.hInstance = hInstance;
    return TRUE;
}

void ShowErrorMessage(HWND hwndOwner, UINT idText, ...)
{
    va_list args;

    va_start(args, idText);
    ShowErrorBoxV(g_cal.hInstance, IDS_ERROR_CAPTION, hwndOwner, idText,
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
}

/* Loads Gravmon by the path the installation recorded (a string value) and
 * binds the three entry points the page uses. A library once loaded stays
 * until the page is destroyed, also when binding fails later. */
static BOOL GetGravmonDll(void)
{
    const GRAVMONEXPORT aExports[] = {
        GRAVMON_BIND(GRAVMON_EXPORT_GETIMMEDIATE, g_DLGetImmediate),
        GRAVMON_BIND(GRAVMON_EXPORT_GETZEROBASE, g_DLGetZeroBase),
        GRAVMON_BIND(GRAVMON_EXPORT_SETZEROBASE, g_DLSetZeroBase),
    };

    switch (LoadGravmon(&g_cal.hGravmon, aExports, ARRAYSIZE(aExports),
                        REGREAD_REFUSE_FULL | REGREAD_STRING_TYPE, NULL)) {
    case GRAVMON_LOAD_OK:
        return TRUE;
    case GRAVMON_LOAD_NOPATH:
        ShowErrorMessage(NULL, IDS_ERR_INSTALLATION);
        break;
    case GRAVMON_LOAD_NOLIBRARY:
        ShowErrorMessage(NULL, IDS_ERR_NO_DATA);
        break;
    }
    return FALSE;
}

static void SetStatusText(HWND hPage, UINT idText)
{
    char szText[GRAVCAL_LONG_TEXT];

    szText[0] = '\0';
    LoadStringA(g_cal.hInstance, idText, szText, ARRAYSIZE(szText));
    SetDlgItemTextA(hPage, IDC_STATUS, szText);
}

/* Asks the manager whether its zero base is valid: what GetZeroBase
 * returns, or -1 without a binding. */
static LONG QueryZeroBase(void)
{
    WORD wLevelX = 0, wLevelY = 0, wSideX = 0, wForwardY = 0;

    if (!g_cal.bBound)
        return -1;
    return g_DLGetZeroBase(&wLevelX, &wLevelY, &wSideX, &wForwardY);
}

/* Status text of the page; FALSE (after one error box) when the manager
 * gives no answer. */
static BOOL ShowZeroBaseStatus(HWND hPage, LONG *plResult)
{
    char szFormat[GRAVCAL_LONG_TEXT];
    char szError[TILTKIT_TEXT_MAX];
    char szText[GRAVCAL_LONG_TEXT];
    LONG lResult = QueryZeroBase();

    if (plResult)
        *plResult = lResult;
    if (lResult == GRAVMON_OK) {
        SetStatusText(hPage, IDS_STATUS_CALIBRATED);
        return TRUE;
    }
    if (lResult == GRAVMON_E_ZEROBASE) {
        SetStatusText(hPage, IDS_STATUS_UNCALIBRATED);
        return TRUE;
    }
    ShowErrorMessage(hPage, IDS_ERR_NO_DATA);
    szFormat[0] = szError[0] = szText[0] = '\0';
    LoadStringA(g_cal.hInstance, IDS_STATUS_ERROR, szFormat, ARRAYSIZE(szFormat));
    LoadStringA(g_cal.hInstance, IDS_ERR_NO_DATA, szError, ARRAYSIZE(szError));
    wnsprintfA(szText, ARRAYSIZE(szText), szFormat, szError);
    szText[ARRAYSIZE(szText) - 1] = '\0';
    SetDlgItemTextA(hPage, IDC_STATUS, szText);
    return FALSE;
}

static void LoadPositionBitmaps(void)
{
    int i;

    for (i = 0; i < CAL_PAGE_COUNT; i++) {
        g_cal.ahbmPosition[i] = (HBITMAP)LoadImageA(g_cal.hInstance,
            MAKEINTRESOURCEA(IDB_POSITION_LEVEL + i), IMAGE_BITMAP, 0, 0, 0);
        if (g_cal.ahbmPosition[i] == NULL)
            TRACE("LoadImage FAILED . (%d)", i + 1);
    }
}

static BOOL OnInitPage(HWND hPage)
{
    LoadPositionBitmaps();
    g_cal.bBound = GetGravmonDll();
    if (!ShowZeroBaseStatus(hPage, NULL))
        EnableWindow(GetDlgItem(hPage, IDC_START), FALSE);
    return TRUE;
}

/* After a stored zero base: the new status, looked at again until the
 * manager has adopted it. */
static void RefreshZeroBaseStatus(HWND hPage)
{
    LONG lResult = 0;

    KillTimer(hPage, IDT_STATUS_REFRESH);
    if (!ShowZeroBaseStatus(hPage, &lResult)) {
        EnableWindow(GetDlgItem(hPage, IDC_START), FALSE);
        return;
    }
    if (lResult == GRAVMON_E_ZEROBASE) {
        g_nStatusRefreshLeft = STATUS_REFRESH_TRIES;
        SetTimer(hPage, IDT_STATUS_REFRESH, STATUS_REFRESH_MS, NULL);
    }
}

static BOOL OnCommandPage(HWND hPage, WORD wId)
{
    if (wId != IDC_START)
        return FALSE;
    if (RunCalibrationWizard(hPage))
        RefreshZeroBaseStatus(hPage);
    return TRUE;
}

static BOOL OnTimerPage(HWND hPage, UINT_PTR idTimer)
{
    LONG lResult;

    if (idTimer != IDT_STATUS_REFRESH)
        return FALSE;
    /* Quietly: an answer other than valid or not valid ends the watch
     * without a second error box. */
    lResult = QueryZeroBase();
    if (lResult == GRAVMON_OK)
        SetStatusText(hPage, IDS_STATUS_CALIBRATED);
    if (lResult != GRAVMON_E_ZEROBASE || --g_nStatusRefreshLeft <= 0)
        KillTimer(hPage, IDT_STATUS_REFRESH);
    return TRUE;
}

/* F1: the page's topic in the help file beside the library. */
static BOOL OnHelpPage(HWND hPage)
{
    ShowModulePageHelp(hPage, g_cal.hInstance, HELP_FILE_GRAVCAL, HELP_TOPIC_GRAVCAL);
    return TRUE;
}

static BOOL OnDestroyPage(HWND hPage)
{
    int i;

    ReleasePageHelp();
    KillTimer(hPage, IDT_STATUS_REFRESH);
    if (g_cal.hGravmon != NULL) {
        FreeLibrary(g_cal.hGravmon);
        g_cal.hGravmon = NULL;
    }
    g_cal.bBound = FALSE;
    g_DLGetImmediate = NULL;
    g_DLGetZeroBase = NULL;
    g_DLSetZeroBase = NULL;
    for (i = 0; i < CAL_PAGE_COUNT; i++) {
        if (g_cal.ahbmPosition[i] != NULL) {
            DeleteObject(g_cal.ahbmPosition[i]);
            g_cal.ahbmPosition[i] = NULL;
        }
    }
    return TRUE;
}

static INT_PTR CALLBACK CalibrationPageProc(HWND hPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitPage(hPage);
    case WM_COMMAND:
        return OnCommandPage(hPage, LOWORD(wParam));
    case WM_TIMER:
        return OnTimerPage(hPage, (UINT_PTR)wParam);
    case WM_HELP:
        return OnHelpPage(hPage);
    case WM_DESTROY:
        return OnDestroyPage(hPage);
    }
    return FALSE;
}

extern "C" int WINAPI GetPropertyPageNumber(void)
{
    return 1;
}

extern "C" HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex)
{
    return CreateTemplatePage(g_cal.hInstance, IDD_CALIBRATION_PAGE, CalibrationPageProc, 0);
}
