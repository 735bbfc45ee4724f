#include "common/pagemake.h"
#include "common/pagetext.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include <commdlg.h>

/* The record without the Windows 2000 additions (76 bytes in the 32-bit
 * build), which every system reads. */
#define OPENFILE_STRUCT_SIZE OPENFILENAME_SIZE_VERSION_400A

BOOL AskOpenFileName(HWND hwndOwner, const OPENFILEASK *pAsk, LPSTR pszFile)
{
    char szFilter[TILTKIT_TEXT_MAX];
    char szTitle[TILTKIT_TEXT_MAX];
    char szFile[TILTKIT_TEXT_MAX];
    OPENFILENAMEA ofn;
    DWORD dwError;

    ZeroMemory(szFilter, sizeof(szFilter));
    /* One byte stays free for the filter's closing double zero. */
    LoadStringA(pAsk->hInstance, pAsk->idFilter, szFilter,
                pAsk->cchFilterLimit < (int)sizeof(szFilter) ? pAsk->cchFilterLimit
                                                             : (int)sizeof(szFilter) - 1);
    if (!MakeOpenFilter(szFilter, sizeof(szFilter)))
        return FALSE;
    szTitle[0] = '\0';
    LoadStringA(pAsk->hInstance, pAsk->idTitle, szTitle,
                pAsk->cchTitleLimit < (int)sizeof(szTitle) ? pAsk->cchTitleLimit
                                                           : (int)sizeof(szTitle));
    ZeroMemory(szFile, sizeof(szFile));

    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = OPENFILE_STRUCT_SIZE;
    ofn.hwndOwner = hwndOwner;
    ofn.lpstrFilter = szFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = ARRAYSIZE(szFile);
    ofn.lpstrInitialDir = pAsk->pszInitialDir != NULL && pAsk->pszInitialDir[0] != '\0'
                              ? pAsk->pszInitialDir : NULL;
    ofn.lpstrTitle = szTitle;
    ofn.lpstrDefExt = pAsk->pszDefExt;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                OFN_NONETWORKBUTTON;
    if (GetOpenFileNameA(&ofn)) {
        szFile[ARRAYSIZE(szFile) - 1] = '\0';
        lstrcpynA(pszFile, szFile, TILTKIT_TEXT_MAX);
        return TRUE;
    }
    dwError = CommDlgExtendedError();
    if (dwError != 0)
        TRACE("GetOpenFileName() Failed.\nCommDlgExtendedError Report %d", (int)dwError);
    return FALSE;
}
