#include "common/pagemake.h"
#include "common/namecheck.h"
#include "common/regpaths.h"

BOOL CheckFieldChars(HWND hField, FIELDCHECK *pCheck, LPSTR pszAccepted, LPCSTR pszForbidden)
{
    char szText[TILTKIT_TEXT_MAX];
    DWORD dwStart = 0;
    DWORD dwEnd = 0;

    if (hField == NULL || pszAccepted == NULL)
        return FALSE;
    if (pCheck->bRevertPending) {
        SendMessageA(hField, EM_SETSEL, (WPARAM)pCheck->nCaret, (LPARAM)pCheck->nCaret);
        pCheck->bRevertPending = FALSE;
        return FALSE;
    }
    szText[0] = '\0';
    GetWindowTextA(hField, szText, ARRAYSIZE(szText));
    if (NameCheckFindRefused(szText, pszAccepted, pszForbidden, NameCheckLeadByteAcp) < 0) {
        lstrcpynA(pszAccepted, szText, TILTKIT_TEXT_MAX);
        return FALSE;
    }

    SendMessageA(hField, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    pCheck->nCaret = dwStart > 0 ? (int)dwStart - 1 : 0;
    pCheck->bRevertPending = TRUE;
    SetWindowTextA(hField, pszAccepted);
    if (pCheck->bRevertPending) {
        /* The field did not report the change back (its text was the same):
         * the caret is placed here, so that the next change is checked. */
        SendMessageA(hField, EM_SETSEL, (WPARAM)pCheck->nCaret, (LPARAM)pCheck->nCaret);
        pCheck->bRevertPending = FALSE;
    }
    return TRUE;
}
