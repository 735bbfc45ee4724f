/*
 * Feedcfg.dll: the Tiltfeed page of the setting console (the application
 * list with Add, Copy, Delete and Edit) and its add/edit dialog.
 */
#ifndef TILTFEED_FEEDCFG_H
#define TILTFEED_FEEDCFG_H

#include <windows.h>
#include "common/regpaths.h"
#include "common/pagemake.h"

/* Page state: allocated zero-filled with the page, kept in its user data. */
typedef struct FEEDPAGEDATA {
    UINT nCount;                              /* items listed by the last refresh */
    char szSelectedName[TILTKIT_TEXT_MAX];    /* taken before each command */
    char szAddName[TILTKIT_TEXT_MAX];         /* the dialog's buffer in add mode */
    char szHelpFilePath[TILTKIT_TEXT_MAX];
    char szFeedrunPath[TILTKIT_TEXT_MAX];
    BOOL bStoreReady;                         /* both machine values were read */
    BOOL bComInitialized;
} FEEDPAGEDATA;

/* Dialog modes. */
#define EDITMODE_ADD  1
#define EDITMODE_EDIT 2

/* Results of the dialog's OK. */
#define EDITOK_SAVED   0
#define EDITOK_FAILED  1   /* the store showed its message */
#define EDITOK_REFUSED 2   /* the dialog stays open */

/* Dialog state: allocated zero-filled when the dialog starts. */
typedef struct FEEDEDITDATA {
    int nNameLimit;
    int nMode;
    FIELDCHECK check;                         /* the live check of both fields */
    char szFeedrunPath[TILTKIT_TEXT_MAX];     /* empty unless the store is ready */
    char szLastPath[TILTKIT_TEXT_MAX];        /* last accepted text of the path field */
    char szStartName[TILTKIT_TEXT_MAX];       /* restored on Cancel */
    LPSTR pszName;                            /* the caller's buffer: last accepted name */
} FEEDEDITDATA;

/* Runs the add/edit dialog over the page with the caller's 260-byte name
 * buffer: empty for add mode, the item's name for edit mode. */
INT_PTR RunEditDialog(HWND hPage, LPSTR pszName);

#endif
