/*
 * Tiltfeed shortcuts through the shell's link object: reading one (shared
 * by the Tiltfeed page's application store and the setup support library,
 * which finds the shortcuts that start Feedrun) and writing one for an item.
 * The caller has COM initialised.
 */
#ifndef TILTFEED_SHORTCUT_H
#define TILTFEED_SHORTCUT_H

#include <windows.h>
#include <objbase.h>
#include "tiltfeed/feeditem.h"

/*
 * Loads the shortcut pszLnkFile and returns its target and arguments (260
 * bytes each). Both outputs start empty and stay empty on failure; a file
 * that is not a loadable link leaves the target empty. Returns S_OK or the
 * failing call's result.
 */
HRESULT GetShortcutInfo(LPCSTR pszLnkFile, LPSTR pszTarget, LPSTR pszArguments);

/*
 * Many shortcuts read in a row (the list refresh): the link objects come
 * from one class factory instead of a class lookup each, every file is
 * still read by a new object. ReadShortcut behaves as GetShortcutInfo and
 * falls back to it for a reader that did not open.
 */
typedef struct SHORTCUTREADER {
    IClassFactory *pFactory;
} SHORTCUTREADER;
HRESULT OpenShortcutReader(SHORTCUTREADER *pReader);
HRESULT ReadShortcut(SHORTCUTREADER *pReader, LPCSTR pszLnkFile, LPSTR pszTarget,
                     LPSTR pszArguments);
void CloseShortcutReader(SHORTCUTREADER *pReader);

/*
 * Writes (or overwrites) the shortcut pszLnkFile of an item: target
 * pszTarget (Feedrun), arguments the item's name, unquoted, and the icon of
 * the item's executable. Working folder, description, hot key and show
 * command stay unset. TRUE only when the link object, its file interface and
 * the save all succeeded; an empty target is refused before anything is
 * written.
 */
BOOL CreateShortCut(LPCSTR pszLnkFile, LPCSTR pszTarget, const TILTFEEDITEM *pItem);

#endif
