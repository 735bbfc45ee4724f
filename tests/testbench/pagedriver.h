/*
 * The pages of the settings console driven from another process, as the
 * tests and the tour programs drive them: a page plug-in registered, the
 * console started, its dialogs found, control texts read and set, buttons
 * pressed, list and combo items read and chosen, sheet buttons, screenshots.
 *
 * What may open a modal loop in the console (a dialog, a wizard, a message
 * box) is posted, so that the caller never waits on it; what the caller reads
 * back at once is sent. A process id of 0 stands for any process (the tour
 * programs look for the one console that runs).
 */
#ifndef TESTBENCH_PAGEDRIVER_H
#define TESTBENCH_PAGEDRIVER_H

#include "testbench/testbench.h"
#include <string>
#include <vector>

namespace tb {

/* HKLM "...\Property\<key>": a page plug-in of the console, name in UTF-8. */
bool RegisterPage(const std::string &key, const std::string &nameUtf8, const std::string &dllPath);
/* Starts Tiltdesk.exe with a command-line tail. */
bool StartConsole(Process &console, const std::string &args = "");

/* A top-level dialog of the process with a descendant of the given id, or
 * NULL; the descendant found comes back through phwndItem. */
HWND FindDialogWith(DWORD dwPid, int idItem, HWND *phwndItem = nullptr);
/* The same, once the dialog is shown. */
HWND WaitDialogWith(DWORD dwPid, int idItem, DWORD dwTimeoutMs = 5000);
/* A page: the parent of control idItem, shown in a shown dialog of the process. */
HWND WaitPageWith(DWORD dwPid, int idItem, DWORD dwTimeoutMs = 10000);
/* The page a sheet or wizard shows now, or NULL while it changes pages. */
HWND ShownPage(HWND hwndSheet);
/* Returns once the window's thread has answered a message, so that what it
 * was doing (a refresh after a dialog, say) is over. */
bool Settle(HWND hwnd, DWORD dwTimeoutMs = 5000);

/* The system's open-file dialog of the process with this title, once shown
 * (hwndExcept, a window of the same title, passed over). */
HWND WaitFileDialog(DWORD dwPid, const std::string &titleUtf8, HWND hwndExcept = NULL,
                    DWORD dwTimeoutMs = 10000);
/* Types a name into its file name box and presses its OK (posted). */
bool EnterFileName(HWND hFileDialog, const std::wstring &name);

/* Text of a window or control ("<no answer>" when none comes). */
std::wstring Text(HWND hwnd);
std::wstring ItemText(HWND hDlg, int id);
bool WaitItemText(HWND hDlg, int id, const std::wstring &want, DWORD dwTimeoutMs = 5000);
bool Ticked(HWND hDlg, int id);
/* The caret of an edit, or 0xFFFFFFFF while a range is selected. */
DWORD Caret(HWND hDlg, int id);
/* Entries of a list box or a combo box, and the selected one (-1: none). */
std::vector<std::wstring> ListEntries(HWND hDlg, int idList);
std::vector<std::wstring> ComboEntries(HWND hDlg, int idCombo);
int ListSelection(HWND hDlg, int idList);
int ComboSelection(HWND hDlg, int idCombo);

/* A click on a button: posted, or sent for a check box or radio button whose
 * state is read at once. */
void PostClick(HWND hDlg, int id);
void SendClick(HWND hDlg, int id);
/* Sets an edit's text as a paste of the whole text would; a box that the
 * page's check shows ends the wait after dwTimeoutMs. */
bool SetItemText(HWND hDlg, int id, const std::wstring &text, DWORD dwTimeoutMs = 5000);
/* One character typed at a caret position (-1: the end); posted. */
void TypeChar(HWND hDlg, int id, wchar_t ch, int nCaret = -1);
/* Characters typed over the whole text of an edit; sent. */
void TypeText(HWND hDlg, int id, const std::string &text);
/* A user's choice in a combo box or list box: the selection, then the
 * notification to the dialog. */
void ChooseEntry(HWND hDlg, int idCombo, int nIndex);
bool SelectListEntry(HWND hDlg, int idList, const std::wstring &entry);

/* A sheet's buttons: PSM_PRESSBUTTON (posted), and whether a button is
 * shown and enabled. */
void PressSheetButton(HWND hwndSheet, int nButton);
bool SheetButtonEnabled(HWND hwndSheet, int idButton);
bool WaitSheetButton(HWND hwndSheet, int idButton, bool bEnabled, DWORD dwTimeoutMs = 3000);

/* The screen area of a window (the whole screen for NULL) as
 * screenshots\<folder>\<name>.png next to the running program; its path. */
std::string Screenshot(HWND hwnd, const std::string &folder, const std::string &name);

/* A line of a tour program's output: UTF-8, carriage returns left out. */
void PrintLine(const std::wstring &text);

} // namespace tb

#endif
