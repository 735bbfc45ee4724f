/*
 * Writes the default table of setup/defaults.h into the registry below
 * "SOFTWARE\Zelvar\Tiltkit" of a root (HKEY_LOCAL_MACHINE for an
 * installation). Folders are given in UTF-8; texts are stored as the
 * registry's wide strings, so the ANSI readers see them in their code page.
 */
#ifndef SETUP_DEFAULTS_REG_H
#define SETUP_DEFAULTS_REG_H

#include <windows.h>
#include <shlwapi.h>
#include "common/regpaths.h"
#include "setup/defaults.h"

/* Room for an expanded text in UTF-8 (a character takes up to 3 bytes). */
#define TKDEF_UTF8_MAX (TILTKIT_TEXT_MAX * 3)

static inline LONG TkWriteDefaultValue(HKEY hRoot, const TKDEFAULTVALUE *pDefault,
                                       const char *pszInstallDir, const char *pszWinDir)
{
    char szKey[TILTKIT_TEXT_MAX];
    char szText[TKDEF_UTF8_MAX];
    WCHAR wszText[TILTKIT_TEXT_MAX];
    WCHAR wszName[TILTKIT_TEXT_MAX];
    BYTE abData[64];
    size_t cbData = 0;
    uint32_t dwValue = 0;
    HKEY hKey = NULL;
    LONG lResult;
    int cchAnsi;

    if (wnsprintfA(szKey, ARRAYSIZE(szKey), "%s\\%s", TILTKIT_REG_ROOT, pDefault->pszKey) < 0)
        return ERROR_INVALID_PARAMETER;
    szKey[ARRAYSIZE(szKey) - 1] = '\0';
    if (!MultiByteToWideChar(CP_UTF8, 0, pDefault->pszName, -1, wszName, ARRAYSIZE(wszName)))
        return ERROR_INVALID_PARAMETER;

    lResult = RegCreateKeyExA(hRoot, szKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL,
                              &hKey, NULL);
    if (lResult != ERROR_SUCCESS)
        return lResult;

    switch (pDefault->nType) {
    case TKDEF_SZ:
        lResult = ERROR_INVALID_PARAMETER;
        if (!TkExpandDefault(pDefault->pszData, pszInstallDir, pszWinDir, szText, sizeof(szText)))
            break;
        if (!MultiByteToWideChar(CP_UTF8, 0, szText, -1, wszText, ARRAYSIZE(wszText)))
            break;
        /* The readers take at most 259 characters of their code page. */
        cchAnsi = WideCharToMultiByte(CP_ACP, 0, wszText, -1, NULL, 0, NULL, NULL);
        if (cchAnsi <= 0 || cchAnsi > TILTKIT_TEXT_MAX)
            break;
        lResult = RegSetValueExW(hKey, wszName, 0, REG_SZ, (const BYTE *)wszText,
                                 (DWORD)(lstrlenW(wszText) + 1) * sizeof(WCHAR));
        break;
    case TKDEF_DWORD:
        lResult = ERROR_INVALID_PARAMETER;
        if (!TkParseDword(pDefault->pszData, &dwValue))
            break;
        lResult = RegSetValueExW(hKey, wszName, 0, REG_DWORD, (const BYTE *)&dwValue,
                                 sizeof(dwValue));
        break;
    case TKDEF_BINARY:
        lResult = ERROR_INVALID_PARAMETER;
        if (!TkParseHex(pDefault->pszData, abData, sizeof(abData), &cbData))
            break;
        lResult = RegSetValueExW(hKey, wszName, 0, REG_BINARY, abData, (DWORD)cbData);
        break;
    default:
        lResult = ERROR_INVALID_PARAMETER;
        break;
    }
    RegCloseKey(hKey);
    return lResult;
}

/* Writes every default; every value is attempted. TRUE when all were written. */
static inline BOOL WriteTiltkitDefaults(HKEY hRoot, const char *pszInstallDir,
                                        const char *pszWinDir)
{
    BOOL bResult = TRUE;
    size_t i;

    for (i = 0; i < TKDEF_COUNT; i++) {
        if (TkWriteDefaultValue(hRoot, &g_aTiltkitDefaults[i], pszInstallDir, pszWinDir) !=
            ERROR_SUCCESS)
            bResult = FALSE;
    }
    return bResult;
}

#endif
