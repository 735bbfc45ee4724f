/*
 * Remote control of the calibration page inside the real console: finding
 * the page, the wizard, its active page and the measurement dialog of the
 * console process, reading their texts, pressing their buttons (posted, so
 * that the console's modal loops keep running), and screenshots.
 */
#ifndef CALIBRATION_CALUI_H
#define CALIBRATION_CALUI_H

#include "testbench/testbench.h"
#include <string>

namespace cal {

/* Registers Gravcal.dll as the console's plug-in under the given key. */
void RegisterGravcal(const std::string &key = "0030");

/* A top-level #32770 of the process (0: of any) with a descendant of the
 * given id, or NULL. The descendant found is returned through phwndItem. */
HWND FindDialogWith(DWORD dwPid, int idItem, HWND *phwndItem = nullptr);

/* The settings page (holder of the status box) of the console. */
HWND WaitSettingsPage(DWORD dwPid, DWORD dwTimeoutMs = 10000);
/* The wizard sheet (any top-level window with a page holding button 1005
 * other than the settings sheet). */
HWND WaitWizard(DWORD dwPid, DWORD dwTimeoutMs = 5000);
/* The wizard page now shown. */
HWND ActiveWizardPage(HWND hwndWizard);
/* The measurement dialog, once it is open. */
HWND WaitMeasureDialog(DWORD dwPid, DWORD dwTimeoutMs = 5000);

/* Text of a control or window of another process (WM_GETTEXT). */
std::wstring Text(HWND hwnd);
std::wstring ItemText(HWND hDlg, int id);
bool WaitItemText(HWND hDlg, int id, const std::wstring &want, DWORD dwTimeoutMs = 5000);

/* Presses a button without waiting for what it starts. */
void Click(HWND hwndButton);
/* PSM_PRESSBUTTON, posted to a sheet. */
void PressSheetButton(HWND hwndSheet, int nButton);
/* Whether a wizard button (back, next, finish) is shown and enabled. */
bool SheetButtonEnabled(HWND hwndSheet, int idButton);
/* Waits until the condition on a sheet button holds. */
bool WaitSheetButton(HWND hwndSheet, int idButton, bool bEnabled, DWORD dwTimeoutMs = 3000);

/* Screenshot of the screen area of a window (or the whole screen for NULL)
 * as a PNG file in the test's screenshots folder; returns its path. */
std::string Screenshot(HWND hwnd, const std::string &name);

/* The Russian texts of the plug-in, UTF-8, as the page shows them. */
extern const char *const kStatusCalibrated;   /* 4 */
extern const char *const kStatusUncalibrated; /* 6 */
extern const char *const kInstructions;       /* 11, %d twice */
extern const char *const kResultGood;         /* 12 */
extern const char *const kResultFailed;       /* 14 */
extern const char *const kResultDone;         /* 15 */
extern const char *const kNoData;             /* 16 */
extern const char *const kStatusError;        /* 21, %s */
extern const char *const kCaption;            /* 1 and 3 */
extern const char *const kInstallation;       /* 2 */

/* Instructions and error status with their arguments put in. */
std::wstring InstructionsText();
std::wstring StatusErrorText();

} // namespace cal

#endif
