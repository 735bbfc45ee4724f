/*
 * Joltrun: the hidden runtime that turns the accelerometer manager's quick-
 * tilt notifications into the configured actions. One process-wide object
 * holds the settings and the armed flag; one hidden tool window receives the
 * notifications and runs the idle timer.
 */
#ifndef JOLT_JOLTRUN_H
#define JOLT_JOLTRUN_H

#include <windows.h>
#include "common/regpaths.h"
#include "gravmon/gravmon.h"
#include "jolt/joltpure.h"

#define JOLTRUN_MUTEX        "TiltkitJoltMutex"
#define JOLTRUN_WINDOWCLASS  "TiltkitJolt Class"
#define JOLTRUN_WINDOWNAME   "TiltkitJolt"
#define JOLTRUN_MSG_CONFIGCHANGED "JoltConfigChangedNotify"
#define JOLTRUN_IDLE_TIMER   256

class CJoltrunSub {
public:
    CJoltrunSub();
    virtual ~CJoltrunSub();

    BOOL InitJolt(HWND hwnd, HINSTANCE hInstance);
    BOOL GetRegJoltSetting(HKEY hUserKey);
    void OnGravmonNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);
    int GetNotifyDirection(WORD wNotifyCode);
    void JoltAction(HWND hwnd, int nDirection);
    BOOL UpdateJoltData(HWND hwnd);

    /* The idle timer fired: notifications are acted on again. */
    void OnIdleTimer(HWND hwnd);
    /* Window closing or session ending: a running idle timer is killed. */
    void StopIdleTimer(HWND hwnd);

    int m_bArmed;
    JOLTSETTING m_Setting;       /* vertical/horizontal action, vertical/horizontal sound */
    DWORD m_dwIdleTime;
    char m_szVerticalSoundPath[TILTKIT_TEXT_MAX];
    char m_szHorizontalSoundPath[TILTKIT_TEXT_MAX];
    char m_szVerticalLaunchPath[TILTKIT_TEXT_MAX];
    char m_szHorizontalLaunchPath[TILTKIT_TEXT_MAX];
    HINSTANCE m_hInstance;
    DWORD m_dwQuietTime;         /* opt-in: ms after the last input during which tilts are ignored */

private:
    BOOL InQuietTime();
    BOOL LaunchProgram(HWND hwnd, LPCSTR pszPath);
    void ShowJoltError(HWND hwnd, UINT idText);
};

extern CJoltrunSub g_JoltrunSub;
/* 1 from a successful InitJolt until the window closes or the session ends. */
extern int g_bJoltActive;
extern UINT g_uMsgGravmonNotify;
extern UINT g_uMsgGravmonConfigChanged;
extern UINT g_uMsgJoltConfigChanged;

LRESULT CALLBACK JoltWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
/* Registers the window class (once per process) and creates the hidden window. */
HWND CreateJoltWindow(HINSTANCE hInstance);

#endif
