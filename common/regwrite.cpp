#include "common/regwrite.h"
#include "common/trace.h"

LONG RegWriteText(HKEY hKey, LPCSTR pszName, LPCSTR pszText)
{
    return RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE *)pszText,
                          (DWORD)lstrlenA(pszText) + 1);
}

LONG RegWriteDword(HKEY hKey, LPCSTR pszName, DWORD dwValue)
{
    return RegSetValueExA(hKey, pszName, 0, REG_DWORD, (const BYTE *)&dwValue, sizeof(dwValue));
}

LONG RegWriteDwordAt(HKEY hRoot, LPCSTR pszSubKey, BOOL bCreate, LPCSTR pszName, DWORD dwValue)
{
    HKEY hKey = NULL;
    LONG lResult;

    if (bCreate)
        lResult = RegCreateKeyExA(hRoot, pszSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  NULL, &hKey, NULL);
    else
        lResult = RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_SET_VALUE, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in RegWriteDwordAt().\nReturn Value %d", (int)lResult);
        return lResult;
    }
    lResult = RegWriteDword(hKey, pszName, dwValue);
    RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        TRACE("RegSetValueEx() Failed in RegWriteDwordAt().\nReturn Value %d", (int)lResult);
    return lResult;
}
