/*
 * One Tiltfeed item in memory: its name and the five values of its key
 * below HKEY_CURRENT_USER "SOFTWARE\Zelvar\Tiltkit\Tiltfeed", in the order
 * every reader reads them. Texts are ANSI, 259 characters and a terminator.
 */
#ifndef TILTFEED_FEEDITEM_H
#define TILTFEED_FEEDITEM_H

#include <windows.h>
#include "common/regpaths.h"

#define FEEDITEM_VAL_FILENAME      "FileName"
#define FEEDITEM_VAL_PATH          "Path"
#define FEEDITEM_VAL_TYPE          "Type"
#define FEEDITEM_VAL_MOUSERATE     "Mouse_Rate"
#define FEEDITEM_VAL_CURSORKEYRATE "CursorKey_Rate"

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

#endif
