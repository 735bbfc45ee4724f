/*
 * The page of a setting-console plug-in: made from one dialog template of
 * the plug-in's module, with its dialog procedure and the page's own data
 * (handed back in WM_INITDIALOG's PROPSHEETPAGE). Each plug-in's
 * CreatePropertyPage calls this; the module links comctl32.
 */
#ifndef TILTKIT_PAGEMAKE_H
#define TILTKIT_PAGEMAKE_H

#include <windows.h>
#include <prsht.h>

HPROPSHEETPAGE CreateTemplatePage(HINSTANCE hInstance, UINT idTemplate, DLGPROC pfnDlgProc,
                                  LPARAM lParam);

#endif
