#include "jolt/joltstore.h"
#include "common/regwrite.h"
#include "common/trace.h"
#include <shlwapi.h>

BOOL JoltReadDword(HKEY hKey, LPCSTR pszName, DWORD *pdwValue)
{
    return RegReadDword(hKey, pszName, pdwValue, JOLT_READ_BLOCK) == ERROR_SUCCESS;
}

BOOL JoltReadPath(HKEY hKey, LPCSTR pszName, char szPath[TILTKIT_TEXT_MAX])
{
    /* 260 characters without room for the terminator are refused. */
    return RegReadText(hKey, pszName, szPath, TILTKIT_TEXT_MAX, REGREAD_REFUSE_FULL) == ERROR_SUCCESS;
}

int CompInstallTime(HKEY hUserKey, HKEY hMachineKey, int *pbSame)
{
    BYTE abUser[JOLT_TIME_BYTES];
    BYTE abMachine[JOLT_TIME_BYTES];
    LONG lResult;

    *pbSame = 0;
    ZeroMemory(abUser, sizeof(abUser));
    ZeroMemory(abMachine, sizeof(abMachine));

    lResult = RegReadBinary(hUserKey, JOLT_VAL_INSTALLTIME, abUser, sizeof(abUser), JOLT_READ_BLOCK);
    if (lResult == ERROR_FILE_NOT_FOUND || lResult == ERROR_PATH_NOT_FOUND)
        return JOLT_COMP_OK;
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in CompInstallTime().\nReturn Value %d", (int)lResult);
        return JOLT_COMP_USER_FAILED;
    }

    lResult = RegReadBinary(hMachineKey, JOLT_VAL_INSTALLTIME, abMachine, sizeof(abMachine),
                            JOLT_READ_BLOCK);
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

    lResult = RegReadBinary(hMachineKey, JOLT_VAL_VERSION, abMachine, sizeof(abMachine), JOLT_READ_BLOCK);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegQueryValueEx() Failed in CheckJoltVersion().\nReturn Value %d", (int)lResult);
        return JOLT_REFRESH_BROKEN;
    }
    lResult = RegReadBinary(hUserKey, JOLT_VAL_VERSION, abUser, sizeof(abUser), JOLT_READ_BLOCK);
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

    if (RegReadBinary(hUserKey, JOLT_VAL_SETTING, abSetting, sizeof(abSetting), JOLT_READ_BLOCK) !=
        ERROR_SUCCESS)
        return FALSE;
    JoltDecodeSetting(abSetting, sizeof(abSetting), pSetting);

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
    return RegWriteText(hKey, pszName, szPath);
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

DWORD JoltReadQuietTime(HKEY hUserKey)
{
    return RegReadOption(hUserKey, JOLT_VAL_QUIETTIME, JOLT_MAX_QUIETTIME);
}

LONG JoltSaveQuietTime(DWORD dwQuietTime)
{
    return RegWriteDwordAt(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, TRUE, JOLT_VAL_QUIETTIME,
                           dwQuietTime);
}

BOOL JoltReadAutoRotate(HKEY hUserKey)
{
    return RegReadOption(hUserKey, JOLT_VAL_AUTOROTATE, 1) != 0;
}

LONG JoltSaveAutoRotate(BOOL bOn)
{
    return RegWriteDwordAt(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, TRUE, JOLT_VAL_AUTOROTATE,
                           bOn ? 1 : 0);
}
