/*
 * The Jolt page of a running console, seen and driven from another process:
 * shared by the page tests and by Joltpilot, the tour's remote control.
 */
#ifndef TESTS_JOLTCFG_JOLTUI_H
#define TESTS_JOLTCFG_JOLTUI_H

#include <windows.h>
#include <string>

namespace jc {

/* Control ids of the page. */
enum {
    kVSound = 1000, kVLaunch = 1001, kHSound = 1002, kHLaunch = 1003,
    kVCheck = 1005, kHCheck = 1006, kVAction = 1008, kVSoundBrowse = 1009,
    kVLaunchBrowse = 1010, kHAction = 1011, kHSoundBrowse = 1012, kHLaunchBrowse = 1013,
};

/* The shown Jolt page of a console process (0: of any), or NULL after the time. */
HWND WaitJoltPage(DWORD dwPid, DWORD dwTimeoutMs);
/* A control's text (WM_GETTEXT, marshalled across processes). */
std::wstring ItemText(HWND hPage, int id);
/* A user's choice in an action combo: the selection, then its notification. */
void ChooseAction(HWND hPage, int idCombo, int nIndex);
/* Sets an edit's text as a paste of the whole text would; the page checks it. */
void SetItemText(HWND hPage, int id, const std::wstring &text);

} // namespace jc

#endif
