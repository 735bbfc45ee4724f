/*
 * The calibration wizard: three pages, one per position of the computer,
 * each with its picture and a button that opens the measurement dialog.
 * Finish on the last page hands the four measured words to the manager.
 * What a run measures is its own record, allocated for as long as the
 * wizard is open and reached through each page's record.
 */
#include "calibration/gravcal.h"
#include "calibration/resource.h"
#include "common/pagehelp.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include <shlwapi.h>

/* The picture control's own window procedure, kept on the control itself
 * while the subclass procedure stands in for it. */
#define PICTURE_PROC_PROP "GravcalPictureProc"

struct CalRun;

/* A wizard page's record: handed over in PROPSHEETPAGE.lParam, kept in the
 * page's user data and passed on to the measurement dialog. */
typedef struct CalPage {
    struct CalRun *pRun;
    int nIndex;
} CalPage;

/* One run of the wizard. */
typedef struct CalRun {
    CalMeasurement measure;               /* samples, means, zero-base words */
    BOOL abMeasured[CAL_PAGE_COUNT];      /* the page's last measurement was good */
    BOOL bZeroBaseStored;                 /* Finish handed the words to the manager */
    CalPage aPages[CAL_PAGE_COUNT];
} CalRun;

/* The page record of a wizard page or of the measurement dialog. */
static CalPage *PageOf(HWND hwnd)
{
    return (CalPage *)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
}

static int PageIndex(const CalPage *pPage)
{
    return pPage != NULL ? pPage->nIndex : -1;
}

/* Index of a picture from its user data. */
static int PictureIndex(HWND hPicture)
{
    return (int)GetWindowLongPtrA(hPicture, GWLP_USERDATA);
}

static BOOL IsPageIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < CAL_PAGE_COUNT;
}

static void SetLongText(HWND hDlg, int idControl, UINT idText)
{
    char szText[GRAVCAL_LONG_TEXT];

    szText[0] = '\0';
    LoadStringA(g_cal.hInstance, idText, szText, ARRAYSIZE(szText));
    SetDlgItemTextA(hDlg, idControl, szText);
}

/* ---- measurement dialog ---------------------------------------------- */

/* One reading pair into the next slots; FALSE once all are taken. A failed
 * read leaves the slots 0, which the range test then rejects. */
static BOOL TakeSample(CalMeasurement *pMeasure)
{
    WORD *pwX = NULL;
    WORD *pwY = NULL;

    if (!NextSampleSlot(pMeasure, &pwX, &pwY))
        return FALSE;
    if (g_DLGetImmediate != NULL)
        g_DLGetImmediate(pwX, pwY);
    CountSample(pMeasure);
    return TRUE;
}

/* The dialog's parameter is the record of the page that opened it. */
static BOOL OnInitMeasure(HWND hDlg, CalPage *pPage)
{
    pPage->pRun->measure.dwCount = 0;
    TakeSample(&pPage->pRun->measure);
    SetTimer(hDlg, IDT_SAMPLE, MEASURE_PERIOD_MS, NULL);
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, (LONG_PTR)pPage);
    return TRUE;
}

static BOOL OnTimerMeasure(HWND hDlg, UINT_PTR idTimer)
{
    CalPage *pPage = PageOf(hDlg);
    CalMeasurement *pMeasure;

    if (idTimer != IDT_SAMPLE || pPage == NULL)
        return TRUE;
    pMeasure = &pPage->pRun->measure;
    if (TakeSample(pMeasure))
        return TRUE;
    KillTimer(hDlg, IDT_SAMPLE);
    MessageBeep(MB_OK);
    EndDialog(hDlg, EvaluateMeasurement(pMeasure, (uint32_t)pPage->nIndex) ? MEASURE_GOOD : MEASURE_BAD);
    return TRUE;
}

static BOOL OnCommandMeasure(HWND hDlg, WORD wId)
{
    if (wId != IDCANCEL)
        return FALSE;
    KillTimer(hDlg, IDT_SAMPLE);
    EndDialog(hDlg, MEASURE_CANCELLED);
    return TRUE;
}

static INT_PTR CALLBACK MeasureDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitMeasure(hDlg, (CalPage *)lParam);
    case WM_TIMER:
        return OnTimerMeasure(hDlg, (UINT_PTR)wParam);
    case WM_COMMAND:
        return OnCommandMeasure(hDlg, LOWORD(wParam));
    }
    return FALSE;
}

/* ---- picture ------------------------------------------------------------ */

/* The picture keeps the template's top-left corner and takes the size of
 * the position bitmaps. */
static void FitPicture(HWND hPage, HWND hPicture)
{
    RECT rc;
    POINT pt;

    if (!GetWindowRect(hPicture, &rc))
        return;
    pt.x = rc.left;
    pt.y = rc.top;
    ScreenToClient(hPage, &pt);
    SetWindowPos(hPicture, NULL, pt.x, pt.y, POSITION_PICTURE_SIZE, POSITION_PICTURE_SIZE,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hPicture, NULL, TRUE);
}

static BOOL OnPaint(HWND hPicture, int nIndex)
{
    PAINTSTRUCT ps;
    HDC hdc;
    HDC hdcMem;
    HGDIOBJ hOld;
    int i;

    for (i = 0; i < CAL_PAGE_COUNT; i++) {
        if (g_cal.ahbmPosition[i] == NULL)
            return FALSE;
    }
    if (!IsPageIndex(nIndex))
        return FALSE;
    hdc = BeginPaint(hPicture, &ps);
    if (hdc == NULL)
        return FALSE;
    hdcMem = CreateCompatibleDC(hdc);
    if (hdcMem == NULL) {
        EndPaint(hPicture, &ps);
        return FALSE;
    }
    TRACE("BOOL OnPaint(HWND hDlg, DWORD dwPage) dwPage = %d", nIndex);
    hOld = SelectObject(hdcMem, g_cal.ahbmPosition[nIndex]);
    BitBlt(hdc, 0, 0, POSITION_PICTURE_SIZE, POSITION_PICTURE_SIZE, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    EndPaint(hPicture, &ps);
    return TRUE;
}

static LRESULT CALLBACK PictureProc(HWND hPicture, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    int nIndex = PictureIndex(hPicture);
    WNDPROC pfnPrevious = (WNDPROC)GetPropA(hPicture, PICTURE_PROC_PROP);

    if (!IsPageIndex(nIndex) || pfnPrevious == NULL)
        return 0;
    if (uMsg == WM_PAINT)
        OnPaint(hPicture, nIndex);
    return CallWindowProcA(pfnPrevious, hPicture, uMsg, wParam, lParam);
}

static void SubclassPicture(HWND hPicture)
{
    WNDPROC pfnPrevious = (WNDPROC)GetWindowLongPtrA(hPicture, GWLP_WNDPROC);

    if (!SetPropA(hPicture, PICTURE_PROC_PROP, (HANDLE)pfnPrevious)) {
        TRACE("SetProp() Failed.\nGetLastError Report %lu", GetLastError());
        return;
    }
    SetWindowLongPtrA(hPicture, GWLP_WNDPROC, (LONG_PTR)PictureProc);
}

static void UnsubclassPicture(HWND hPicture)
{
    WNDPROC pfnPrevious = (WNDPROC)GetPropA(hPicture, PICTURE_PROC_PROP);

    if (pfnPrevious == NULL)
        return;
    SetWindowLongPtrA(hPicture, GWLP_WNDPROC, (LONG_PTR)pfnPrevious);
    RemovePropA(hPicture, PICTURE_PROC_PROP);
}

/* ---- wizard pages -------------------------------------------------------- */

static void UpdateWizardPage(HWND hPage, const CalPage *pPage)
{
    static const DWORD s_adwButtons[CAL_PAGE_COUNT][2] = {
        /* measured flag clear,                  set */
        { 0,                                     PSWIZB_NEXT },
        { PSWIZB_BACK,                           PSWIZB_BACK | PSWIZB_NEXT },
        { PSWIZB_BACK | PSWIZB_DISABLEDFINISH,   PSWIZB_BACK | PSWIZB_FINISH },
    };
    char szFormat[GRAVCAL_LONG_TEXT];
    char szText[GRAVCAL_LONG_TEXT];
    int nIndex = PageIndex(pPage);

    if (IsPageIndex(nIndex))
        PostMessageA(GetParent(hPage), PSM_SETWIZBUTTONS, 0,
                     (LPARAM)s_adwButtons[nIndex][pPage->pRun->abMeasured[nIndex] ? 1 : 0]);
    szFormat[0] = szText[0] = '\0';
    LoadStringA(g_cal.hInstance, IDS_INSTRUCTIONS, szFormat, ARRAYSIZE(szFormat));
    wnsprintfA(szText, ARRAYSIZE(szText), szFormat, MEASURE_SECONDS, MEASURE_SECONDS);
    szText[ARRAYSIZE(szText) - 1] = '\0';
    SetDlgItemTextA(hPage, IDC_INSTRUCTIONS, szText);
}

static void ShowMeasureResult(HWND hPage, int nIndex, INT_PTR nResult)
{
    UINT idText = IDS_RESULT_FAILED;

    if (nResult == MEASURE_GOOD)
        idText = nIndex == CAL_PAGE_FORWARD ? IDS_RESULT_DONE : IDS_RESULT_GOOD;
    SetLongText(hPage, IDC_RESULT, idText);
}

/* The page's record comes in its PROPSHEETPAGE. */
static BOOL OnInitWizardPage(HWND hPage, const PROPSHEETPAGEA *psp)
{
    CalPage *pPage = psp != NULL ? (CalPage *)psp->lParam : NULL;
    int nIndex = PageIndex(pPage);
    HWND hPicture = GetDlgItem(hPage, IDC_PICTURE);

    SetWindowLongPtrA(hPage, GWLP_USERDATA, (LONG_PTR)pPage);
    UpdateWizardPage(hPage, pPage);
    if (hPicture != NULL) {
        FitPicture(hPage, hPicture);
        if (IsPageIndex(nIndex)) {
            SetWindowLongPtrA(hPicture, GWLP_USERDATA, nIndex);
            SubclassPicture(hPicture);
        }
    }
    return TRUE;
}

/* Finish: the four words go to the manager. When it does not take them the
 * page says so and the wizard stays open, so that the user may try again
 * or cancel; a closed wizard always means a stored zero base. */
static BOOL OnWizardFinish(HWND hPage, CalPage *pPage)
{
    LONG lResult;
    const CalZeroBase *pzb;

    if (PageIndex(pPage) != CAL_PAGE_FORWARD)
        return TRUE;
    pzb = &pPage->pRun->measure.zb;
    lResult = g_DLSetZeroBase != NULL
        ? g_DLSetZeroBase(pzb->wLevelX, pzb->wLevelY, pzb->wSideX, pzb->wForwardY)
        : -1;
    TRACE("g_DLSetZeroBase(%d , %d , %d , %d) \nret value = %d",
          pzb->wLevelX, pzb->wLevelY, pzb->wSideX, pzb->wForwardY, (int)lResult);
    if (lResult != GRAVMON_OK) {
        ShowErrorMessage(GetParent(hPage), IDS_ERR_NO_DATA);
        SetWindowLongPtrA(hPage, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    pPage->pRun->bZeroBaseStored = TRUE;
    SetWindowLongPtrA(hPage, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

static BOOL OnNotifyWizardPage(HWND hPage, const NMHDR *pnmh)
{
    CalPage *pPage = PageOf(hPage);

    switch (pnmh->code) {
    case PSN_SETACTIVE:
        UpdateWizardPage(hPage, pPage);
        SetWindowLongPtrA(hPage, DWLP_MSGRESULT, 0);
        return TRUE;
    case PSN_WIZFINISH:
        return OnWizardFinish(hPage, pPage);
    }
    return FALSE;
}

static BOOL OnCommandWizardPage(HWND hPage, WORD wId)
{
    CalPage *pPage = PageOf(hPage);
    int nIndex = PageIndex(pPage);
    INT_PTR nResult;

    if (wId != IDC_MEASURE)
        return FALSE;
    if (!IsPageIndex(nIndex))
        return TRUE;
    nResult = DialogBoxParamA(g_cal.hInstance, MAKEINTRESOURCEA(IDD_MEASURE), hPage,
                              MeasureDlgProc, (LPARAM)pPage);
    if (nResult == MEASURE_GOOD)
        pPage->pRun->abMeasured[nIndex] = TRUE;
    else if (nResult == MEASURE_BAD || nResult == MEASURE_CANCELLED)
        pPage->pRun->abMeasured[nIndex] = FALSE;
    ShowMeasureResult(hPage, nIndex, nResult);
    UpdateWizardPage(hPage, pPage);
    return TRUE;
}

/* The context-help button (or F1) on a control of a wizard page: its short
 * text in a popup. The viewer is let go with the settings page. */
static BOOL OnHelpWizardPage(HWND hPage, const HELPINFO *phi)
{
    static const PAGEHELPTEXT s_aTexts[] = {
        { IDC_PICTURE,      IDS_HELP_PICTURE },
        { IDC_INSTRUCTIONS, IDS_HELP_INSTRUCTIONS },
        { IDC_MEASURE,      IDS_HELP_MEASURE },
        { IDC_RESULT,       IDS_HELP_RESULT },
    };

    ShowControlHelp(phi, g_cal.hInstance, s_aTexts, ARRAYSIZE(s_aTexts));
    return TRUE;
}

static BOOL OnDestroyWizardPage(HWND hPage)
{
    HWND hPicture = GetDlgItem(hPage, IDC_PICTURE);

    if (hPicture != NULL)
        UnsubclassPicture(hPicture);
    return TRUE;
}

static INT_PTR CALLBACK WizardPageProc(HWND hPage, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        return OnInitWizardPage(hPage, (const PROPSHEETPAGEA *)lParam);
    case WM_NOTIFY:
        return OnNotifyWizardPage(hPage, (const NMHDR *)lParam);
    case WM_COMMAND:
        return OnCommandWizardPage(hPage, LOWORD(wParam));
    case WM_HELP:
        return OnHelpWizardPage(hPage, (const HELPINFO *)lParam);
    case WM_DESTROY:
        return OnDestroyWizardPage(hPage);
    }
    return FALSE;
}

BOOL RunCalibrationWizard(HWND hwndParent)
{
    HPROPSHEETPAGE ahPages[CAL_PAGE_COUNT];
    PROPSHEETPAGEA psp;
    PROPSHEETHEADERA psh;
    char szCaption[TILTKIT_TEXT_MAX];
    CalRun *pRun;
    BOOL bStored;
    int nCreated = 0;
    int i;

    /* Zeroed: nothing measured, no words, nothing stored. */
    pRun = (CalRun *)LocalAlloc(LPTR, sizeof(CalRun));
    if (pRun == NULL) {
        TRACE("LocalAlloc() Failed in RunCalibrationWizard().\nGetLastError Report %d",
              (int)GetLastError());
        return FALSE;
    }
    ZeroMemory(&psp, sizeof(psp));
    psp.dwSize = PROPSHEETPAGEA_V2_SIZE;
    psp.dwFlags = PSP_DEFAULT;
    psp.hInstance = g_cal.hInstance;
    psp.pszTemplate = MAKEINTRESOURCEA(IDD_WIZARD_PAGE);
    psp.pfnDlgProc = WizardPageProc;
    for (i = 0; i < CAL_PAGE_COUNT; i++) {
        pRun->aPages[i].pRun = pRun;
        pRun->aPages[i].nIndex = i;
        psp.lParam = (LPARAM)&pRun->aPages[i];
        ahPages[i] = CreatePropertySheetPageA(&psp);
        if (ahPages[i] == NULL) {
            TRACE("CreatePropertySheetPage() Failed in RunCalibrationWizard().\nGetLastError Report %d",
                  (int)GetLastError());
            break;
        }
        nCreated++;
    }
    if (nCreated < CAL_PAGE_COUNT) {
        /* Pages never handed to a sheet are ours to destroy. */
        for (i = 0; i < nCreated; i++)
            DestroyPropertySheetPage(ahPages[i]);
        LocalFree(pRun);
        return FALSE;
    }

    szCaption[0] = '\0';
    LoadStringA(g_cal.hInstance, IDS_WIZARD_CAPTION, szCaption, ARRAYSIZE(szCaption));
    ZeroMemory(&psh, sizeof(psh));
    psh.dwSize = PROPSHEETHEADERA_V1_SIZE;
    psh.dwFlags = PSH_WIZARD | PSH_NOAPPLYNOW | PSH_WIZARDCONTEXTHELP;
    psh.hwndParent = hwndParent;
    psh.hInstance = g_cal.hInstance;
    psh.pszCaption = szCaption;
    psh.nPages = CAL_PAGE_COUNT;
    psh.nStartPage = 0;
    psh.phpage = ahPages;
    /* Modal: every page is destroyed when it returns, the run is over. */
    PropertySheetA(&psh);
    bStored = pRun->bZeroBaseStored;
    LocalFree(pRun);
    return bStored;
}
