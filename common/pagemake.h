/* The toolkit of the setting-console pages and their dialogs: making a page,
 * path completion, the live character check of edit fields and the
 * open-file dialog of Browse buttons. */
#ifndef TILTKIT_PAGEMAKE_H
#define TILTKIT_PAGEMAKE_H

#include <windows.h>
#include <prsht.h>

/*
 * The page of a plug-in: made from one dialog template of the plug-in's
 * module, with its dialog procedure and the page's own data (handed back in
 * WM_INITDIALOG's PROPSHEETPAGE). The module links comctl32.
 */
HPROPSHEETPAGE CreateTemplatePage(HINSTANCE hInstance, UINT idTemplate, DLGPROC pfnDlgProc,
                                  LPARAM lParam);

/* File-system completion for the given path edits, where the shell has it
 * (looked up at run time). */
void TurnOnPathCompletion(HWND hDlg, const int *pidEdits, int nEdits);

/*
 * The live character check of an edit field, run on each EN_UPDATE of it
 * (common/namecheck.h has the rule). While a refused text is being put
 * back, the field's own update only places the caret. Otherwise the field's
 * text is compared with its last accepted text (pszAccepted, 260 bytes):
 * passed, it becomes the accepted text; refused, the accepted text goes back
 * into the field with the caret one place before where it was, and the
 * result is TRUE so that the caller tells the user which characters are
 * not allowed. One FIELDCHECK serves all fields of a page or dialog.
 */
typedef struct FIELDCHECK {
    BOOL bRevertPending;    /* a refused text is being put back */
    int nCaret;             /* where the caret goes after that */
} FIELDCHECK;
BOOL CheckFieldChars(HWND hField, FIELDCHECK *pCheck, LPSTR pszAccepted, LPCSTR pszForbidden);

/*
 * The system's open-file dialog for a page's Browse button: the filter
 * from a comma-separated string of the module and the title string, each
 * loaded with its limit (LoadString's buffer size, at most 260), a starting
 * folder (NULL: the dialog's own), a default extension, the file buffer of
 * 260 characters, and the flags every page uses (read-only box hidden, the
 * current folder kept, path and file must exist, no network button), in the
 * structure's 76-byte form. TRUE with the chosen file in pszFile; FALSE on
 * Cancel or failure, pszFile then untouched.
 */
typedef struct OPENFILEASK {
    HINSTANCE hInstance;
    UINT idFilter;
    int cchFilterLimit;
    UINT idTitle;
    int cchTitleLimit;
    LPCSTR pszInitialDir;
    LPCSTR pszDefExt;
} OPENFILEASK;
BOOL AskOpenFileName(HWND hwndOwner, const OPENFILEASK *pAsk, LPSTR pszFile);

#endif
