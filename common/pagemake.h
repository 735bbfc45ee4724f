/* Routines of the setting-console pages and their dialogs. */
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

#endif
