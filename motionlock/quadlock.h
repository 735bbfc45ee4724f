/*
 * Quadlock.dll: the launcher-menu plug-in that adds the motion-security
 * item to the launcher host's menu and starts Lockwatch.exe from the host's
 * folder when the item is picked. Both exports take one argument and remove
 * it themselves (__stdcall), exported undecorated (Quadlock.def).
 */
#ifndef MOTIONLOCK_QUADLOCK_H
#define MOTIONLOCK_QUADLOCK_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Fills the 268-byte menu item record (motionlock/quadmenu.h); returns 0. */
LONG WINAPI Quadrix_GetMainMenuInfo(LPVOID pRecord);
/* Opens Lockwatch.exe from the host program's folder: 0, or -1 on failure. */
LONG WINAPI Quadrix_Execute(DWORD dwHostValue);

typedef LONG (WINAPI *PFN_QUADRIX_GETMAINMENUINFO)(LPVOID pRecord);
typedef LONG (WINAPI *PFN_QUADRIX_EXECUTE)(DWORD dwHostValue);

#ifdef __cplusplus
}
#endif

#endif
