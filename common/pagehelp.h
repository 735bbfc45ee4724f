/*
 * Help of the settings pages. F1 on a page (WM_HELP) opens the page's topic
 * in its compiled help file; a help request on a control of a dialog with
 * the context-help button shows the control's short text in a popup. The
 * HTML Help viewer is bound at run time from hhctrl.ocx: without it, or
 * without a help file, nothing happens and nothing is shown.
 *
 * The viewer stays bound while its windows may be open; a page that asked
 * for help lets it go with ReleasePageHelp when it is destroyed.
 */
#ifndef TILTKIT_PAGEHELP_H
#define TILTKIT_PAGEHELP_H

#include <windows.h>

/* A control of a dialog and the string (of the dialog's module) its popup shows. */
typedef struct PAGEHELPTEXT {
    int idControl;
    UINT idString;
} PAGEHELPTEXT;

/* Opens pszTopic of the help file pszHelpFile (a full path) over hPage.
 * FALSE when the file name is empty, the address does not fit or the
 * viewer is not there. */
BOOL ShowPageHelp(HWND hPage, LPCSTR pszHelpFile, LPCSTR pszTopic);

/* The same for the help file pszFileName in the "Help" folder beside the
 * library hModule. */
BOOL ShowModulePageHelp(HWND hPage, HINSTANCE hModule, LPCSTR pszFileName, LPCSTR pszTopic);

/* The popup of the control that a help request names, when the table has a
 * text for it; FALSE for any other request. */
BOOL ShowControlHelp(const HELPINFO *phi, HINSTANCE hInstance,
                     const PAGEHELPTEXT *paTexts, int nTexts);

/* Closes the help windows of the process and unbinds the viewer, if this
 * library bound it. */
void ReleasePageHelp(void);

#endif
