/*
 * One Tiltfeed item in memory: its name and the five values of its key
 * below HKEY_CURRENT_USER "SOFTWARE\Zelvar\Tiltkit\Tiltfeed", in the order
 * every reader reads them. Texts are ANSI, 259 characters and a terminator.
 * Beside them an item may hold the opt-in comforts, and the walk over all
 * items that the page, the page "Дополнительно" and nobody else repeats.
 */
#ifndef TILTFEED_FEEDITEM_H
#define TILTFEED_FEEDITEM_H

#include <windows.h>
#include "common/regpaths.h"
#include "tiltfeed/comfort.h"

#define FEEDITEM_VAL_FILENAME      "FileName"
#define FEEDITEM_VAL_PATH          "Path"
#define FEEDITEM_VAL_TYPE          "Type"
#define FEEDITEM_VAL_MOUSERATE     "Mouse_Rate"
#define FEEDITEM_VAL_CURSORKEYRATE "CursorKey_Rate"

/* Opt-in comforts of an item, DWORDs beside its own values (0 = off). */
#define FEEDITEM_VAL_DEADZONE      "ExtraDeadZone"       /* degrees */
#define FEEDITEM_VAL_LEVELATFRONT  "ExtraLevelAtFront"   /* 0 or 1 */

/* Machine-wide values below HKEY_LOCAL_MACHINE "...\Tiltfeed". */
#define FEEDITEM_VAL_FEEDRUNPATH   "FeedrunPath"
#define FEEDITEM_VAL_HELPFILEPATH  "HelpFilePath"

#define FEEDITEM_TYPE_MOUSE     0
#define FEEDITEM_TYPE_CURSORKEY 1

/* Rates of a new item. */
#define FEEDITEM_NEW_MOUSERATE     100
#define FEEDITEM_NEW_CURSORKEYRATE 10

typedef struct TILTFEEDITEM {
    char szItemName[TILTKIT_TEXT_MAX];
    char szFileName[TILTKIT_TEXT_MAX];
    char szPath[TILTKIT_TEXT_MAX];
    DWORD dwType;
    DWORD dwMouseRate;
    DWORD dwCursorKeyRate;
} TILTFEEDITEM;

/* Reads the five values of an open item key into the record, whose name is
 * already filled; FALSE when any of them is missing or unreadable. */
BOOL GetAppDataFromReg(HKEY hKey, TILTFEEDITEM *pItem);

/* The comforts of an open item key (absent or unreadable: off); the
 * remembered level is cleared. */
void GetItemComfort(HKEY hKey, FEEDCOMFORT *pComfort);

/* Writes one comfort value into the key of the item pszName, which must
 * exist: an item removed meanwhile is not made again (ERROR_FILE_NOT_FOUND). */
LONG SetItemComfortValue(LPCSTR pszName, LPCSTR pszValue, DWORD dwValue);

/* Subkey names are enumerated into this many bytes; a longer name is
 * skipped, one of 260 characters or more can be no item. */
#define FEEDITEM_ENUM_NAME_MAX 520

/* Called for each subkey of the per-user Tiltfeed key in the registry's
 * order, with its name and length; FALSE stops the enumeration. */
typedef BOOL (*PFN_FEEDITEMVISIT)(HKEY hFeedKey, LPCSTR pszName, DWORD cchName, void *pvContext);

/* The one walk over the items of the open per-user Tiltfeed key. Returns
 * ERROR_SUCCESS when it went through to the end or was stopped, otherwise
 * what the registry returned. */
LONG EnumTiltfeedItems(HKEY hFeedKey, PFN_FEEDITEMVISIT pfnVisit, void *pvContext);

#endif
