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
#include "jolt/joltstore.h"
#include "jolt/autorotate.h"

#define JOLTRUN_IDLE_TIMER   256
#define JOLTRUN_ROTATE_TIMER 257   /* samples the tilt while automatic rotation is on */

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
    DWORD m_dwQuietTime;         /* opt-in: ms after the user's last input during which tilts are ignored */

    /* Window closing or session ending: the input watch of the quiet time ends. */
    void StopQuietTime();

    /* Automatic screen rotation (joltrotate.cpp). After the settings were
     * read: sampling starts or stops as the setting says. */
    void ApplyAutoRotate(HWND hwnd);
    /* Sampling stops and the access library is freed. */
    void StopAutoRotate(HWND hwnd);
    void OnRotateTimer(HWND hwnd);
    void OnDisplayChange(HWND hwnd);

    BOOL m_bAutoRotate;          /* opt-in: the screen follows the computer held upright */
    BOOL m_bRotateOff;           /* automatic rotation gave up: off until the next start */
    HMODULE m_hGravmon;          /* bound only while automatic rotation samples */
    PFN_GETANGLE m_DLGetAngle;
    DWORD m_dwScreen;            /* the screen's orientation, ORIENT_* */
    AUTOROTATE m_Rotate;

private:
    BOOL InQuietTime();
    BOOL LaunchProgram(HWND hwnd, LPCSTR pszPath);
    void ShowJoltError(HWND hwnd, UINT idText);
    BOOL StartAutoRotate(HWND hwnd);
    BOOL TurnScreen(HWND hwnd, DWORD dwOrientation);
    void GiveUpAutoRotate(HWND hwnd, UINT idText);
};

extern CJoltrunSub g_JoltrunSub;
/* 1 from a successful InitJolt until the window closes or the session ends. */
extern int g_bJoltActive;
extern UINT g_uMsgGravmonNotify;
extern UINT g_uMsgGravmonConfigChanged;

/*
 * The user's own input while a quiet time is set: low-level keyboard and
 * mouse hooks, installed only then, note the tick of the last event that
 * no program injected, so that Tiltfeed's moves and Joltrun's own keys do
 * not count. Calls go through the system-call table.
 */
BOOL StartInputWatch(void);
void StopInputWatch(void);
/* The tick of the user's last input since the watch started; FALSE when
 * there was none. */
BOOL GetLastUserInput(DWORD *pdwTick);

LRESULT CALLBACK JoltWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
/* Registers the window class (once per process) and creates the hidden window. */
HWND CreateJoltWindow(HINSTANCE hInstance);

#endif
