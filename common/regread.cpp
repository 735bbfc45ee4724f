#include "common/regread.h"

/* Reads at most cbMax bytes into pbTemp; *pcb receives the stored size. */
static LONG QueryRaw(HKEY hKey, LPCSTR pszName, BYTE *pbTemp, DWORD cbMax, DWORD *pcb,
                     DWORD *pdwType)
{
    DWORD cb = cbMax;
    LONG lResult = RegQueryValueExA(hKey, pszName, NULL, pdwType, pbTemp, &cb);

    *pcb = cb;
    return lResult;
}

LONG RegReadText(HKEY hKey, LPCSTR pszName, LPSTR pszOut, DWORD cbOut, DWORD dwPolicy)
{
    BYTE abTemp[1024];
    BYTE *pbTemp = abTemp;
    DWORD cb = 0;
    DWORD cbCopy = 0;
    DWORD dwType = REG_NONE;
    LONG lResult;

    if (pszOut == NULL || cbOut == 0)
        return ERROR_INVALID_PARAMETER;
    if (cbOut > sizeof(abTemp)) {
        pbTemp = (BYTE *)LocalAlloc(LMEM_FIXED, cbOut);
        if (pbTemp == NULL)
            return ERROR_NOT_ENOUGH_MEMORY;
    }
    lResult = QueryRaw(hKey, pszName, pbTemp, cbOut, &cb, &dwType);
    if (lResult == ERROR_SUCCESS && cb > cbOut)
        lResult = ERROR_MORE_DATA;
    if (lResult == ERROR_SUCCESS && (dwPolicy & REGREAD_STRING_TYPE) &&
        dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        lResult = ERROR_INVALID_DATA;
    if (lResult == ERROR_SUCCESS) {
        cbCopy = cb;
        if (cb == 0 || pbTemp[cb - 1] != '\0') {
            if (cb < cbOut) {
                pbTemp[cb] = '\0';
                cbCopy = cb + 1;
            } else if (dwPolicy & REGREAD_CUT_FULL) {
                pbTemp[cbOut - 1] = '\0';
            } else {
                lResult = ERROR_INVALID_DATA;
            }
        }
    }
    if (lResult == ERROR_SUCCESS)
        CopyMemory(pszOut, pbTemp, cbCopy);
    if (pbTemp != abTemp)
        LocalFree(pbTemp);
    return lResult;
}

LONG RegReadBinary(HKEY hKey, LPCSTR pszName, void *pvOut, DWORD cb, DWORD dwPolicy)
{
    BYTE abTemp[256];
    BYTE *pbTemp = abTemp;
    DWORD cbRead = 0;
    DWORD dwType = REG_NONE;
    LONG lResult;

    if (pvOut == NULL || cb == 0)
        return ERROR_INVALID_PARAMETER;
    if (cb > sizeof(abTemp)) {
        pbTemp = (BYTE *)LocalAlloc(LMEM_FIXED, cb);
        if (pbTemp == NULL)
            return ERROR_NOT_ENOUGH_MEMORY;
    }
    ZeroMemory(pbTemp, cb);
    lResult = QueryRaw(hKey, pszName, pbTemp, cb, &cbRead, &dwType);
    if (lResult == ERROR_SUCCESS && cbRead < cb && !(dwPolicy & REGREAD_SHORT_ZERO))
        lResult = ERROR_INVALID_DATA;
    if (lResult == ERROR_SUCCESS && (dwPolicy & REGREAD_DWORD_TYPE) && dwType != REG_DWORD)
        lResult = ERROR_INVALID_DATA;
    if (lResult == ERROR_SUCCESS)
        CopyMemory(pvOut, pbTemp, cb);
    if (pbTemp != abTemp)
        LocalFree(pbTemp);
    return lResult;
}

LONG RegReadDword(HKEY hKey, LPCSTR pszName, DWORD *pdwOut, DWORD dwPolicy)
{
    BYTE ab[4];
    LONG lResult = RegReadBinary(hKey, pszName, ab, sizeof(ab), dwPolicy);

    if (lResult == ERROR_SUCCESS)
        *pdwOut = (DWORD)ab[0] | ((DWORD)ab[1] << 8) | ((DWORD)ab[2] << 16) |
                  ((DWORD)ab[3] << 24);
    return lResult;
}

DWORD RegReadOption(HKEY hKey, LPCSTR pszName, DWORD dwMax)
{
    DWORD dw = 0;

    if (hKey == NULL ||
        RegReadDword(hKey, pszName, &dw, REGREAD_REFUSE_SHORT | REGREAD_DWORD_TYPE) != ERROR_SUCCESS)
        return 0;
    return dw > dwMax ? dwMax : dw;
}

LONG RegReadTextAt(HKEY hRoot, LPCSTR pszSubKey, LPCSTR pszName, LPSTR pszOut,
                   DWORD cbOut, DWORD dwPolicy)
{
    HKEY hKey = NULL;
    LONG lResult = RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_READ, &hKey);

    if (lResult != ERROR_SUCCESS)
        return lResult;
    lResult = RegReadText(hKey, pszName, pszOut, cbOut, dwPolicy);
    RegCloseKey(hKey);
    return lResult;
}
