/*
 * Tkinstall: plays the installation program for the tour and for a person
 * trying the suite. It writes the machine-wide defaults of setup/defaults.h
 * for an installation folder and stamps "InstallTime" into the Tiltfeed and
 * Jolt machine keys.
 *
 *     Tkinstall.exe FOLDER [KEY ...]
 *
 * With KEY names ("Jolt", "Gravmon", "Property\0020", ...) only the values of
 * those keys are written. Exit code 0 when everything was written.
 */
#include <windows.h>
#include <shellapi.h>
#include "setup/defaults_reg.h"

static BOOL KeyWanted(const TKDEFAULTVALUE *pDefault, int nArgs, LPWSTR *ppszArgs)
{
    char szKey[TILTKIT_TEXT_MAX];
    int i;

    if (nArgs <= 2)
        return TRUE;
    for (i = 2; i < nArgs; i++) {
        if (!WideCharToMultiByte(CP_UTF8, 0, ppszArgs[i], -1, szKey, sizeof(szKey), NULL, NULL))
            continue;
        if (lstrcmpiA(szKey, pDefault->pszKey) == 0)
            return TRUE;
    }
    return FALSE;
}

static void StampInstallTime(void)
{
    static const char *const s_apszKeys[] = { TILTKIT_REG_TILTFEED, TILTKIT_REG_JOLT };
    SYSTEMTIME st;
    HKEY hKey;
    int i;

    GetLocalTime(&st);
    for (i = 0; i < 2; i++) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, s_apszKeys[i], 0, KEY_WRITE, &hKey) != ERROR_SUCCESS)
            continue;
        RegSetValueExA(hKey, "InstallTime", 0, REG_BINARY, (const BYTE *)&st, sizeof(st));
        RegCloseKey(hKey);
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    char szFolder[TKDEF_UTF8_MAX];
    char szWinDir[TKDEF_UTF8_MAX];
    WCHAR wszWinDir[MAX_PATH];
    LPWSTR *ppszArgs;
    int nArgs = 0;
    int nResult = 0;
    size_t i;

    ppszArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    if (!ppszArgs)
        return 2;
    if (nArgs < 2 ||
        !WideCharToMultiByte(CP_UTF8, 0, ppszArgs[1], -1, szFolder, sizeof(szFolder), NULL, NULL) ||
        !GetWindowsDirectoryW(wszWinDir, ARRAYSIZE(wszWinDir)) ||
        !WideCharToMultiByte(CP_UTF8, 0, wszWinDir, -1, szWinDir, sizeof(szWinDir), NULL, NULL)) {
        LocalFree(ppszArgs);
        return 2;
    }

    for (i = 0; i < TKDEF_COUNT; i++) {
        if (!KeyWanted(&g_aTiltkitDefaults[i], nArgs, ppszArgs))
            continue;
        if (TkWriteDefaultValue(HKEY_LOCAL_MACHINE, &g_aTiltkitDefaults[i], szFolder, szWinDir) !=
            ERROR_SUCCESS)
            nResult = 1;
    }
    StampInstallTime();
    LocalFree(ppszArgs);
    return nResult;
}
