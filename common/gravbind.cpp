#include "common/gravbind.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "common/trace.h"

#define GRAVMON_EXPORT_COUNT 7

int LoadGravmon(HMODULE *phGravmon, const GRAVMONEXPORT *pExports, int nExports,
                DWORD dwPathPolicy, PFN_BINDPROC pfnBind)
{
    char szPath[TILTKIT_TEXT_MAX];
    FARPROC apfn[GRAVMON_EXPORT_COUNT];
    HMODULE hModule;
    LONG lResult;
    int i;

    if (nExports < 0 || nExports > GRAVMON_EXPORT_COUNT)
        return GRAVMON_LOAD_NOEXPORT;
    if (pfnBind == NULL)
        pfnBind = GetProcAddress;

    lResult = RegReadTextAt(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH,
                            szPath, sizeof(szPath), dwPathPolicy);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegReadTextAt() Failed for \"PATH\".\nReturn Value %ld", lResult);
        return GRAVMON_LOAD_NOPATH;
    }

    hModule = LoadLibraryA(szPath);
    if (hModule == NULL) {
        TRACE("LoadLibrary() Failed.\nGetLastError Report %lu", GetLastError());
        return GRAVMON_LOAD_NOLIBRARY;
    }
    *phGravmon = hModule;

    for (i = 0; i < nExports; i++) {
        apfn[i] = pfnBind(hModule, pExports[i].pszName);
        if (apfn[i] == NULL) {
            TRACE("%d GetProcAddress() Failed for %s.\nGetLastError Report %lu",
                  i + 1, pExports[i].pszName, GetLastError());
            return GRAVMON_LOAD_NOEXPORT;
        }
    }
    for (i = 0; i < nExports; i++)
        *pExports[i].ppfn = apfn[i];
    return GRAVMON_LOAD_OK;
}
