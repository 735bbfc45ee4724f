/*
 * Tiltfeed shortcuts through the shell's link object: reading one (shared
 * by the Tiltfeed page's application store and the setup support library,
 * which finds the shortcuts that start Feedrun) and writing one for an item.
 * The caller has COM initialised.
 */
#ifndef TILTFEED_SHORTCUT_H
#define TILTFEED_SHORTCUT_H

#include <windows.h>
#include "tiltfeed/feeditem.h"

/*
 * Loads the shortcut pszLnkFile and returns its target and arguments (260
 * bytes each). Both outputs start empty and stay empty on failure; a file
 * that is not a loadable link leaves the target empty. Returns S_OK or the
 * failing call's result.
 */
HRESULT GetShortcutInfo(LPCSTR pszLnkFile, LPSTR pszTarget, LPSTR pszArguments);

/*
 * Writes (or overwrites) the shortcut pszLnkFile of an item: target
 * pszTarget (Feedrun), arguments the item's name, unquoted, and the icon of
 * the item's executable. Working folder, description, hot key and show
 * command stay unset. TRUE only when the link object, its file interface and
 * the save all succeeded.
 */
BOOL CreateShortCut(LPCSTR pszLnkFile, LPCSTR pszTarget, const TILTFEEDITEM *pItem);

#endif
