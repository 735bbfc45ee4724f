#include "jolt/joltstore.h"
#include "common/trace.h"
#include <shlwapi.h>

LONG JoltQueryValue(HKEY hKey, LPCSTR pszName, void *pvBuffer, DWORD cbBuffer,
                    DWORD *pcbRead)
{
    DWORD cb = cbBuffer;
    LONG lResult = RegQueryValueExA(hKey, pszName, NULL, NULL, (LPBYTE)pvBuffer, &cb);

    if (pcbRead)
        *pcbRead = cb;
    return lResult;
}

BOOL JoltReadDword(HKEY hKey, LPCSTR pszName, DWORD *pdwValue)
{
    BYTE abValue[JOLT_DWORD_BYTES] = { 0, 0, 0, 0 };

    if (JoltQueryValue(hKey, pszName, abValue, sizeof(abValue), NULL) != ERROR_SUCCESS)
        return FALSE;
    *pdwValue = (DWORD)abValue[0] | ((DWORD)abValue[1] << 8) |
                ((DWORD)abValue[2] << 16) | ((DWORD)abValue[3] << 24);
    return TRUE;
}

BOOL JoltReadPath(HKEY hKey, LPCSTR pszName, char szPath[TILTKIT_TEXT_MAX])
{
    char szValue[TILTKIT_TEXT_MAX];
    DWORD cb = 0;

    if (JoltQueryValue(hKey, pszName, szValue, sizeof(szValue), &cb) != ERROR_SUCCESS)
        return FALSE;
    if (cb > sizeof(szValue))
        return FALSE;
    if (cb == sizeof(szValue) && szValue[cb - 1] != '\0')
        return FALSE; /* 260 characters without room for the terminator */
    if (cb < sizeof(szValue))
        szValue[cb] = '\0';
    lstrcpynA(szPath, szValue, TILTKIT_TEXT_MAX);
    return TRUE;
}

int CompInstallTime(HKEY hUserKey, HKEY hMachineKey, int *pbSame)
{
    BYTE abUser[JOLT_TIME_BYTES];
    BYTE abMachine[JOLT_TIME_BYTES];
    LONG lResult;

    *pbSame = 0;
    ZeroMemory(abUser, sizeof(abUser));
    ZeroMemory(abMachine, sizeof(abMachine));

    lResult = JoltQueryValue(hUserKey, JOLT_VAL_INSTALLTIME, abUser, sizeof(abUser), NULL);
    if (lResult == ERROR_FILE_NOT_FOUND || lResult == ERROR_PATH_NOT_FOUND)
        return JOLT_COMP_OK;
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in CompInstallTime().\nReturn Value %d", (int)lResult);
        return JOLT_COMP_USER_FAILED;
    }

    lResult = JoltQueryValue(hMachineKey, JOLT_VAL_INSTALLTIME, abMachine, sizeof(abMachine), NULL);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in CompInstallTime().\nReturn Value %d", (int)lResult);
        return JOLT_COMP_MACHINE_FAILED;
    }

    if (JoltSameInstallTime(abUser, abMachine))
        *pbSame = 1;
    return JOLT_COMP_OK;
}

int CheckJoltVersion(HKEY hMachineKey, HKEY hUserKey)
{
    BYTE abMachine[JOLT_DWORD_BYTES] = { 0, 0, 0, 0 };
    BYTE abUser[JOLT_DWORD_BYTES] = { 0, 0, 0, 0 };
    LONG lResult;
    int bSame = 0;
    int nComp;

    lResult = JoltQueryValue(hMachineKey, JOLT_VAL_VERSION, abMachine, sizeof(abMachine), NULL);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in CheckJoltVersion().\nReturn Value %d", (int)lResult);
        return JOLT_REFRESH_BROKEN;
    }
    lResult = JoltQueryValue(hUserKey, JOLT_VAL_VERSION, abUser, sizeof(abUser), NULL);
    if (lResult != ERROR_SUCCESS)
        return JOLT_REFRESH_COPY;
    if (memcmp(abMachine, abUser, sizeof(abMachine)) != 0)
        return JOLT_REFRESH_COPY;

    nComp = CompInstallTime(hUserKey, hMachineKey, &bSame);
    return JoltRefreshFromCompare(nComp, bSame);
}

LONG JoltCopyDefaults(HKEY hUserKey)
{
    return (LONG)SHCopyKeyA(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, hUserKey, 0);
}

BOOL JoltReadValues(HKEY hUserKey, JOLTSETTING *pSetting,
                    char szVerticalSound[TILTKIT_TEXT_MAX],
                    char szHorizontalSound[TILTKIT_TEXT_MAX],
                    char szVerticalLaunch[TILTKIT_TEXT_MAX],
                    char szHorizontalLaunch[TILTKIT_TEXT_MAX],
                    DWORD *pdwIdleTime)
{
    BYTE abSetting[JOLT_SETTING_BYTES];
    DWORD cb = 0;

    ZeroMemory(abSetting, sizeof(abSetting));
    if (JoltQueryValue(hUserKey, JOLT_VAL_SETTING, abSetting, sizeof(abSetting), &cb) != ERROR_SUCCESS)
        return FALSE;
    JoltDecodeSetting(abSetting, cb, pSetting);

    if (!JoltReadPath(hUserKey, JOLT_VAL_VSOUNDPATH, szVerticalSound))
        return FALSE;
    if (!JoltReadPath(hUserKey, JOLT_VAL_HSOUNDPATH, szHorizontalSound))
        return FALSE;
    if (!JoltReadPath(hUserKey, JOLT_VAL_VLAUNCHPATH, szVerticalLaunch))
        return FALSE;
    if (!JoltReadPath(hUserKey, JOLT_VAL_HLAUNCHPATH, szHorizontalLaunch))
        return FALSE;
    if (pdwIdleTime && !JoltReadDword(hUserKey, JOLT_VAL_IDLETIME, pdwIdleTime))
        return FALSE;
    return TRUE;
}

static LONG SetJoltPath(HKEY hKey, LPCSTR pszName, LPCSTR pszPath)
{
    char szPath[TILTKIT_TEXT_MAX];

    /* Never more than the readers accept: 259 characters and the terminator. */
    lstrcpynA(szPath, pszPath, ARRAYSIZE(szPath));
    return RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE *)szPath,
                          (DWORD)lstrlenA(szPath) + 1);
}

BOOL SaveJoltData(const JOLTSETTING *pSetting, LPCSTR pszVerticalLaunch,
                  LPCSTR pszVerticalSound, LPCSTR pszHorizontalLaunch,
                  LPCSTR pszHorizontalSound)
{
    BYTE abSetting[JOLT_SETTING_BYTES];
    HKEY hKey = NULL;
    LONG lResult;
    LONG lCombined = ERROR_SUCCESS;

    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, JOLT_USER_ACCESS, &hKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in SaveJoltData().\nReturn Value %d", (int)lResult);
        return FALSE;
    }

    JoltEncodeSetting(pSetting, abSetting);
    lResult = RegSetValueExA(hKey, JOLT_VAL_SETTING, 0, REG_BINARY, abSetting, sizeof(abSetting));
    lCombined |= lResult;
    lCombined |= SetJoltPath(hKey, JOLT_VAL_VLAUNCHPATH, pszVerticalLaunch);
    lCombined |= SetJoltPath(hKey, JOLT_VAL_VSOUNDPATH, pszVerticalSound);
    lCombined |= SetJoltPath(hKey, JOLT_VAL_HLAUNCHPATH, pszHorizontalLaunch);
    lCombined |= SetJoltPath(hKey, JOLT_VAL_HSOUNDPATH, pszHorizontalSound);
    RegCloseKey(hKey);

    if (lCombined != ERROR_SUCCESS) {
        TRACE("RegSetValueEx() Failed in SaveJoltData().\nReturn Value %d", (int)lCombined);
        return FALSE;
    }
    return TRUE;
}
