/*
 * Loading the accelerometer access library: the path from HKLM
 * "SOFTWARE\Zelvar\Tiltkit\Gravmon" "PATH", the library from that path, and
 * each export the caller names. The result says which step failed, so that
 * every caller reports it in its own words.
 */
#ifndef TILTKIT_GRAVBIND_H
#define TILTKIT_GRAVBIND_H

#include <windows.h>

/* How an export is looked up: GetProcAddress, or a stand-in for it. */
typedef FARPROC (WINAPI *PFN_BINDPROC)(HMODULE hModule, LPCSTR pszName);

/* One export to bind: its name and where its address goes. */
typedef struct GRAVMONEXPORT {
    LPCSTR pszName;
    FARPROC *ppfn;
} GRAVMONEXPORT;

#define GRAVMON_BIND(name, pfnVariable) { (name), (FARPROC *)(void *)&(pfnVariable) }

/* Where loading stopped. */
#define GRAVMON_LOAD_OK        0
#define GRAVMON_LOAD_NOPATH    1   /* the key or its "PATH" cannot be read */
#define GRAVMON_LOAD_NOLIBRARY 2   /* no library at that path */
#define GRAVMON_LOAD_NOEXPORT  3   /* the library lacks one of the exports */

/*
 * Reads "PATH" with the caller's registry policy (REGREAD_* of
 * common/regread.h), loads the library and binds the exports with pfnBind
 * (NULL: GetProcAddress). The exports are written all together, only on
 * success. *phGravmon receives the library as soon as it is loaded, also
 * when an export is then missing: freeing it is the caller's decision.
 */
int LoadGravmon(HMODULE *phGravmon, const GRAVMONEXPORT *pExports, int nExports,
                DWORD dwPathPolicy, PFN_BINDPROC pfnBind);

#endif
