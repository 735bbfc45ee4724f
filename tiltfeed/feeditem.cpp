#include "tiltfeed/feeditem.h"
#include "common/regread.h"
#include "common/trace.h"

BOOL GetAppDataFromReg(HKEY hKey, TILTFEEDITEM *pItem)
{
    LONG lResult;

    /* Read as Feedrun reads them, so that the page lists exactly the items
     * that Feedrun can serve: a text filling its buffer is cut, a short
     * number is padded with zeros. */
    lResult = RegReadText(hKey, FEEDITEM_VAL_FILENAME, pItem->szFileName,
                          sizeof(pItem->szFileName), REGREAD_CUT_FULL);
    if (lResult == ERROR_SUCCESS)
        lResult = RegReadText(hKey, FEEDITEM_VAL_PATH, pItem->szPath, sizeof(pItem->szPath),
                              REGREAD_CUT_FULL);
    if (lResult == ERROR_SUCCESS)
        lResult = RegReadDword(hKey, FEEDITEM_VAL_TYPE, &pItem->dwType, REGREAD_SHORT_ZERO);
    if (lResult == ERROR_SUCCESS)
        lResult = RegReadDword(hKey, FEEDITEM_VAL_MOUSERATE, &pItem->dwMouseRate,
                               REGREAD_SHORT_ZERO);
    if (lResult == ERROR_SUCCESS)
        lResult = RegReadDword(hKey, FEEDITEM_VAL_CURSORKEYRATE, &pItem->dwCursorKeyRate,
                               REGREAD_SHORT_ZERO);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in GetAppDataFromReg().\nReturn Value %d", (int)lResult);
        return FALSE;
    }
    return TRUE;
}
