/*
 * Reading a Tiltfeed shortcut through the shell's link object. Shared by the
 * Tiltfeed page's application store and the setup support library, which
 * finds the shortcuts that start Feedrun. The caller has COM initialised.
 */
#ifndef TILTFEED_SHORTCUT_H
#define TILTFEED_SHORTCUT_H

#include <windows.h>

/*
 * Loads the shortcut pszLnkFile and returns its target and arguments (260
 * bytes each). Both outputs start empty and stay empty on failure; a file
 * that is not a loadable link leaves the target empty. Returns S_OK or the
 * failing call's result.
 */
HRESULT GetShortcutInfo(LPCSTR pszLnkFile, LPSTR pszTarget, LPSTR pszArguments);

#endif
