/*
 * Gravload.exe CALLS: a test-only client that calls GetAngle,
 * GetAcceleration and GetImmediate CALLS times each through the Gravmon.dll
 * next to it while the manager stand-in churns X == Y pairs. Exit code:
 * 0 when every call succeeded with X == Y, 10 + number of torn pairs (at
 * most 100), 3 for a failed call, 2 when the library or a window is missing.
 */
#include <windows.h>
#include <stdlib.h>

#include "gravmon/gravmon.h"

int main(int argc, char **argv)
{
    char szPath[MAX_PATH];
    char *pszSlash;
    HMODULE hLib = NULL;
    HWND hwnd = NULL;
    PFN_GETANGLE pfnGetAngle;
    PFN_GETACCELERATION pfnGetAcceleration;
    PFN_GETIMMEDIATE pfnGetImmediate;
    long lCalls = argc > 1 ? atol(argv[1]) : 1000;
    int nTorn = 0, nFailed = 0, nExit = 2;
    long i;

    if (GetModuleFileNameA(NULL, szPath, sizeof(szPath)) == 0)
        return 2;
    szPath[sizeof(szPath) - 1] = '\0';
    pszSlash = strrchr(szPath, '\\');
    if (pszSlash == NULL || (size_t)(pszSlash - szPath) + sizeof("\\Gravmon.dll") > sizeof(szPath))
        return 2;
    lstrcpynA(pszSlash, "\\Gravmon.dll", (int)(sizeof(szPath) - (pszSlash - szPath)));
    hLib = LoadLibraryA(szPath);
    if (hLib == NULL)
        goto cleanup;
    pfnGetAngle = (PFN_GETANGLE)(void (*)(void))GetProcAddress(hLib, "GetAngle");
    pfnGetAcceleration = (PFN_GETACCELERATION)(void (*)(void))GetProcAddress(hLib, "GetAcceleration");
    pfnGetImmediate = (PFN_GETIMMEDIATE)(void (*)(void))GetProcAddress(hLib, "GetImmediate");
    hwnd = CreateWindowExA(0, "STATIC", "Gravload", 0, 0, 0, 0, 0, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
    if (!pfnGetAngle || !pfnGetAcceleration || !pfnGetImmediate || hwnd == NULL)
        goto cleanup;

    for (i = 0; i < lCalls; i++) {
        float fX = 1.5f, fY = -1.5f;
        WORD wX = 1, wY = 2;
        LONG r;
        switch (i % 3) {
        case 0:
            r = pfnGetAngle(&fX, &fY, hwnd);
            break;
        case 1:
            r = pfnGetAcceleration(&fX, &fY, hwnd);
            break;
        default:
            r = pfnGetImmediate(&wX, &wY);
            fX = wX;
            fY = wY;
            break;
        }
        if (r != 0)
            nFailed++;
        else if (fX != fY)
            nTorn++;
    }
    if (nTorn > 0)
        nExit = 10 + (nTorn > 100 ? 100 : nTorn);
    else
        nExit = nFailed > 0 ? 3 : 0;
cleanup:
    if (hwnd != NULL)
        DestroyWindow(hwnd);
    if (hLib != NULL)
        FreeLibrary(hLib);
    return nExit;
}
