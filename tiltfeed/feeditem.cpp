#include "tiltfeed/feeditem.h"
#include "tiltfeed/feedcmd.h"
#include "common/regread.h"
#include "common/regwrite.h"
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

void GetItemComfort(HKEY hKey, FEEDCOMFORT *pComfort)
{
    ZeroMemory(pComfort, sizeof(*pComfort));
    pComfort->dwDeadZone = RegReadOption(hKey, FEEDITEM_VAL_DEADZONE, FEEDCOMFORT_MAX_DEADZONE);
    pComfort->bLevelAtFront = RegReadOption(hKey, FEEDITEM_VAL_LEVELATFRONT, 1) != 0;
}

LONG SetItemComfortValue(LPCSTR pszName, LPCSTR pszValue, DWORD dwValue)
{
    char szKey[TILTKIT_TEXT_MAX];

    if (!BuildItemKeyPath(TILTKIT_REG_TILTFEED, pszName, szKey, sizeof(szKey)))
        return ERROR_FILENAME_EXCED_RANGE;
    return RegWriteDwordAt(HKEY_CURRENT_USER, szKey, FALSE, pszValue, dwValue);
}

LONG EnumTiltfeedItems(HKEY hFeedKey, PFN_FEEDITEMVISIT pfnVisit, void *pvContext)
{
    char szName[FEEDITEM_ENUM_NAME_MAX];
    DWORD dwIndex;
    LONG lResult;

    for (dwIndex = 0;; dwIndex++) {
        DWORD cchName = sizeof(szName);

        lResult = RegEnumKeyExA(hFeedKey, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL);
        if (lResult == ERROR_MORE_DATA)
            continue;
        if (lResult != ERROR_SUCCESS)
            break;
        szName[sizeof(szName) - 1] = '\0';
        if (!pfnVisit(hFeedKey, szName, cchName, pvContext))
            return ERROR_SUCCESS;
    }
    return lResult == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : lResult;
}
