#include "jolt/joltrun.h"
#include "jolt/joltstore.h"
#include "jolt/joltsys.h"
#include "jolt/resource.h"
#include "common/errorbox.h"
#include "common/trace.h"
#include <shellapi.h>
#include <mmsystem.h>

CJoltrunSub::CJoltrunSub()
    : m_bArmed(1), m_dwIdleTime(0), m_hInstance(NULL), m_dwQuietTime(0), m_bAutoRotate(FALSE),
      m_bRotateOff(FALSE), m_hGravmon(NULL), m_DLGetAngle(NULL), m_dwScreen(ORIENT_DEFAULT)
{
    ZeroMemory(&m_Setting, sizeof(m_Setting));
    m_szVerticalSoundPath[0] = '\0';
    m_szHorizontalSoundPath[0] = '\0';
    m_szVerticalLaunchPath[0] = '\0';
    m_szHorizontalLaunchPath[0] = '\0';
    AutoRotateReset(&m_Rotate);
}

CJoltrunSub::~CJoltrunSub()
{
}

void CJoltrunSub::ShowJoltError(HWND hwnd, UINT idText)
{
    ShowErrorBox(m_hInstance, IDS_JOLTRUN_CAPTION, hwnd, idText);
}

BOOL CJoltrunSub::InitJolt(HWND hwnd, HINSTANCE hInstance)
{
    HKEY hMachineKey = NULL;
    HKEY hUserKey = NULL;
    LONG lResult;
    BOOL bResult = FALSE;

    m_hInstance = hInstance;
    m_bArmed = 1;

    lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, 0, KEY_READ, &hMachineKey);
    if (lResult != ERROR_SUCCESS) {
        hMachineKey = NULL;
    } else {
        lResult = RegCreateKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, NULL,
                                  REG_OPTION_NON_VOLATILE, JOLT_USER_ACCESS, NULL,
                                  &hUserKey, NULL);
        if (lResult != ERROR_SUCCESS)
            hUserKey = NULL;
    }
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() | RegCreateKeyEx() Failed in CJoltrunSub::InitJolt().\nReturn Value %d",
              (int)lResult);
        ShowJoltError(hwnd, IDS_JOLTRUN_REGOPEN);
        goto cleanup;
    }

    switch (CheckJoltVersion(hMachineKey, hUserKey)) {
    case JOLT_REFRESH_BROKEN:
        TRACE("CheckJoltVersion() Failed in CJoltrunSub::InitJolt().\n");
        ShowJoltError(hwnd, IDS_JOLTRUN_BROKEN);
        goto cleanup;
    case JOLT_REFRESH_COPY:
        lResult = JoltCopyDefaults(hUserKey);
        if (lResult != ERROR_SUCCESS) {
            TRACE("SHCopyKey() Failed in CJoltrunSub::InitJolt().\nReturn Value %d", (int)lResult);
            ShowJoltError(hwnd, IDS_JOLTRUN_REGCOPY);
            goto cleanup;
        }
        break;
    default:
        break;
    }

    bResult = GetRegJoltSetting(hUserKey);
    if (!bResult) {
        TRACE("GetRegJoltSetting() Failed in CJoltrunSub::InitJolt().\n");
        ShowJoltError(hwnd, IDS_JOLTRUN_BROKEN);
    }

cleanup:
    if (hUserKey)
        RegCloseKey(hUserKey);
    if (hMachineKey)
        RegCloseKey(hMachineKey);
    return bResult;
}

BOOL CJoltrunSub::GetRegJoltSetting(HKEY hUserKey)
{
    if (!JoltReadValues(hUserKey, &m_Setting, m_szVerticalSoundPath, m_szHorizontalSoundPath,
                        m_szVerticalLaunchPath, m_szHorizontalLaunchPath, &m_dwIdleTime))
        return FALSE;
    /* Absent (as installed) means off: then nothing watches the input. */
    m_dwQuietTime = JoltReadQuietTime(hUserKey);
    m_bAutoRotate = JoltReadAutoRotate(hUserKey);
    if (m_dwQuietTime != 0)
        StartInputWatch();
    else
        StopInputWatch();
    return TRUE;
}

void CJoltrunSub::StopQuietTime()
{
    StopInputWatch();
}

/* The user typed or moved the mouse within the quiet time. Without any
 * input of the user's since the watch began, nothing is held back. */
BOOL CJoltrunSub::InQuietTime()
{
    DWORD dwLastInput = 0;

    if (m_dwQuietTime == 0 || !GetLastUserInput(&dwLastInput))
        return FALSE;
    return JoltInQuietTime(GetTickCount(), dwLastInput, m_dwQuietTime);
}

int CJoltrunSub::GetNotifyDirection(WORD wNotifyCode)
{
    return JoltNotifyDirection(wNotifyCode);
}

void CJoltrunSub::OnGravmonNotify(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    int nDirection;
    DWORD dwAction;

    if (!m_bArmed) {
        TRACE("Notify ignored because of Idle Time.\n");
        return;
    }
    /* A tilt while typing: dropped, and no idle period begins. */
    if (InQuietTime()) {
        TRACE("Notify ignored because of recent input.\n");
        return;
    }

    nDirection = GetNotifyDirection(LOWORD(wParam));
    dwAction = nDirection == JOLT_FLAG_VERTICAL ? m_Setting.dwVerticalAction
                                                : m_Setting.dwHorizontalAction;
    if (dwAction == JOLT_ACTION_NONE)
        return;

    JoltAction(hwnd, nDirection);

    /* Without a timer the runtime could never be armed again: stay armed. */
    if (!g_JoltSystem.pfnSetTimer(hwnd, JOLTRUN_IDLE_TIMER, m_dwIdleTime, NULL)) {
        TRACE("SetTimer() Failed in CJoltrunSub::OnGravmonNotify().\nReturn Value %d",
              (int)GetLastError());
        return;
    }
    m_bArmed = 0;
}

BOOL CJoltrunSub::LaunchProgram(HWND hwnd, LPCSTR pszPath)
{
    UINT_PTR uResult = (UINT_PTR)g_JoltSystem.pfnShellExecuteA(NULL, "open", pszPath, NULL, NULL,
                                                               SW_SHOWNORMAL);

    switch (JoltLaunchOutcome(uResult)) {
    case 0:
        return TRUE;
    case JOLT_LAUNCH_NOT_FOUND:
        TRACE("ShellExecute() Failed in CJoltrunSub::JoltAction().\nReturn Value %d", (int)uResult);
        ShowJoltError(hwnd, IDS_JOLTRUN_NOTFOUND);
        return FALSE;
    default:
        TRACE("ShellExecute() Failed in CJoltrunSub::JoltAction().\nReturn Value %d", (int)uResult);
        ShowJoltError(hwnd, IDS_JOLTRUN_LAUNCHFAIL);
        return FALSE;
    }
}

static void SendAltEscape(void)
{
    static const WORD s_awKeys[4] = { VK_MENU, VK_ESCAPE, VK_ESCAPE, VK_MENU };
    static const DWORD s_adwFlags[4] = { 0, 0, KEYEVENTF_KEYUP, KEYEVENTF_KEYUP };
    INPUT aInput[4];
    int i;

    ZeroMemory(aInput, sizeof(aInput));
    for (i = 0; i < 4; i++) {
        aInput[i].type = INPUT_KEYBOARD;
        aInput[i].ki.wVk = s_awKeys[i];
        aInput[i].ki.wScan = 0;
        aInput[i].ki.dwFlags = s_adwFlags[i];
        aInput[i].ki.time = 0;
        aInput[i].ki.dwExtraInfo = (ULONG_PTR)GetMessageExtraInfo();
    }
    if (g_JoltSystem.pfnSendInput(4, aInput, sizeof(INPUT)) != 4)
        TRACE("SendInput() Failed in CJoltrunSub::JoltAction().\nReturn Value %d", (int)GetLastError());
}

void CJoltrunSub::JoltAction(HWND hwnd, int nDirection)
{
    BOOL bVertical = nDirection == JOLT_FLAG_VERTICAL;
    DWORD dwAction = bVertical ? m_Setting.dwVerticalAction : m_Setting.dwHorizontalAction;
    DWORD dwSound = bVertical ? m_Setting.dwVerticalSound : m_Setting.dwHorizontalSound;
    LPCSTR pszSound = bVertical ? m_szVerticalSoundPath : m_szHorizontalSoundPath;
    LPCSTR pszLaunch = bVertical ? m_szVerticalLaunchPath : m_szHorizontalLaunchPath;

    switch (dwAction) {
    case JOLT_ACTION_STARTMENU:
        g_JoltSystem.pfnSendMessageA(hwnd, WM_SYSCOMMAND, SC_TASKLIST, 0);
        break;
    case JOLT_ACTION_SWITCHAPP:
        SendAltEscape();
        break;
    case JOLT_ACTION_LAUNCH:
        if (!LaunchProgram(hwnd, pszLaunch))
            return;
        break;
    default:
        return;
    }

    if (JoltSoundWanted(dwSound))
        g_JoltSystem.pfnPlaySoundA(pszSound, NULL, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

BOOL CJoltrunSub::UpdateJoltData(HWND hwnd)
{
    HKEY hUserKey = NULL;
    LONG lResult;
    BOOL bResult;

    lResult = RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, KEY_READ, &hUserKey);
    if (lResult != ERROR_SUCCESS) {
        TRACE("RegOpenKeyEx() Failed in CJoltrunSub::UpdateJoltData().\nReturn Value %d", (int)lResult);
        ShowJoltError(hwnd, IDS_JOLTRUN_REGOPEN);
        return FALSE;
    }
    bResult = GetRegJoltSetting(hUserKey);
    RegCloseKey(hUserKey);
    if (!bResult) {
        TRACE("GetRegJoltSetting() Failed in CJoltrunSub::UpdateJoltData().\n");
        ShowJoltError(hwnd, IDS_JOLTRUN_REGDATA);
    }
    return bResult;
}

void CJoltrunSub::OnIdleTimer(HWND hwnd)
{
    KillTimer(hwnd, JOLTRUN_IDLE_TIMER);
    m_bArmed = 1;
}

void CJoltrunSub::StopIdleTimer(HWND hwnd)
{
    if (!m_bArmed)
        KillTimer(hwnd, JOLTRUN_IDLE_TIMER);
}
