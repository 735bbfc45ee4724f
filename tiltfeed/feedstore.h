/*
 * The Tiltfeed application store: one key per item below HKEY_CURRENT_USER
 * "SOFTWARE\Zelvar\Tiltkit\Tiltfeed" and one shortcut per item in the
 * Start-menu folder "Zelvar\Tablet PC", whose arguments name the item for
 * Feedrun. The operations run on the settings page's thread, which has COM
 * initialised; those that take a window show their own messages over it.
 */
#ifndef TILTFEED_FEEDSTORE_H
#define TILTFEED_FEEDSTORE_H

#include <windows.h>
#include "tiltfeed/feeditem.h"
#include "tiltfeed/shortcut.h"

/* The library's instance: its string table and dialogs. */
extern HINSTANCE g_hFeedcfgInstance;

/* Error box with the Tiltfeed caption (string 4); owner may be NULL. */
void ShowFeedcfgError(HWND hwndOwner, UINT idText, ...);

/* Most items the list holds; Add and Copy are refused from here on. */
#define TILTFEED_MAX_ITEMS 10

/* "FeedrunPath" and "HelpFilePath" of the machine-wide key (260 bytes). */
BOOL GetTiltfeedMainExePath(LPSTR pszPath);
BOOL GetHelpFilePath(LPSTR pszPath);
/* Both, in that order: the store lists, repairs and writes items only with
 * both read and a Feedrun path that is not empty. On FALSE both outputs are
 * empty. */
BOOL GetStorePaths(LPSTR pszFeedrunPath, LPSTR pszHelpFilePath);


/* The current user's Start-menu programs folder (created when bCreate). */
BOOL GetProgramsFolder(LPSTR pszFolder, BOOL bCreate);
/* The shortcut folder: the programs folder and "Zelvar\Tablet PC"
 * (string 26). */
BOOL GetShortcutFolder(HWND hwnd, LPSTR pszFolder);
/* 242 minus the shortcut folder's length; 0 when there is no folder. */
int GetNameLimit(HWND hwnd);
/* The item's shortcut file and key paths; FALSE when either would be
 * longer than a 260-byte buffer holds. */
BOOL GetItemShortcutPath(HWND hwnd, LPCSTR pszName, LPSTR pszLnkFile);
BOOL GetItemKeyPath(LPCSTR pszName, LPSTR pszKeyPath);

/*
 * Checks an item and repairs its shortcut: TRUE when the item's values were
 * read and its shortcut starts Feedrun with the item's name (after writing
 * it anew if needed). On FALSE, *pbBroken tells a broken item (values
 * missing or unreadable) from one whose shortcut cannot be written.
 */
BOOL MakeSureLnkFileExists(HWND hwnd, LPCSTR pszName, LPCSTR pszFeedrunPath, BOOL *pbBroken);
/* The same for one item of many: the shortcut folder found once, the
 * shortcuts read through one reader (which may be NULL). */
BOOL MakeSureLnkFileExistsIn(LPCSTR pszFolder, SHORTCUTREADER *pReader, LPCSTR pszName,
                             LPCSTR pszFeedrunPath, BOOL *pbBroken);

/*
 * Writes the item's key and its shortcut. When the key is new and the
 * shortcut cannot be written, the key is removed again; when it held an
 * item already (saved under its own name), that item's values are put back
 * on any failure, so an item is never lost to a failed save. Without a
 * Feedrun path nothing is written (message 10).
 */
BOOL CreateTiltfeedItem(HWND hwnd, const TILTFEEDITEM *pItem, LPCSTR pszFeedrunPath);

/*
 * Saves an item under a new name: the new key starts as a copy of the old
 * one, so that every value the dialog does not set (the comforts) goes
 * along; then the record's values and the shortcut are written as by
 * CreateTiltfeedItem, and only then the old item is removed. On failure
 * the new key is removed and the old item stays as it was.
 */
BOOL RenameTiltfeedItem(HWND hwnd, LPCSTR pszOldName, const TILTFEEDITEM *pItem,
                        LPCSTR pszFeedrunPath);

/* Copies an item under the first free name of "Копия %s", "Копия (2) %s"
 * ... "Копия (9) %s": its values and its shortcut file. */
BOOL CopyTiltfeedItem(HWND hwnd, LPCSTR pszSource);

/* Deletes the item's shortcut file and key without asking. */
BOOL RemoveTiltfeedItem(HWND hwnd, LPCSTR pszName);
/* Asks (Yes/No, warning icon), then removes. */
BOOL DeleteTiltfeedItem(HWND hwnd, LPCSTR pszName);

/* The list refresh of the page: repairs every item, fills the list box
 * (IDC_APPLIST of hPage) in registry order, selects pszSelected (without
 * regard to case) or else the first entry; returns the number listed. */
UINT SetFeedApptoListbox(HWND hPage, LPCSTR pszSelected, LPCSTR pszFeedrunPath);

#endif
