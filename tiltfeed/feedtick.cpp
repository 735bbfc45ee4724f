/*
 * The timer tick: the foreground check, one GetAngle and one SendInput.
 * The arithmetic and the key order come from tiltengine.cpp; this file only
 * turns its records into INPUT records.
 */
#include "tiltfeed/feedrun.h"
#include "tiltfeed/tiltengine.h"
#include "tiltfeed/comfort.h"
#include "tiltfeed/orient.h"
#include "common/trace.h"

static void SendMouseStep(DWORD dwRate, float fFracX, float fFracY)
{
    MOUSESTEP step;
    INPUT input;

    BuildMouseStep(dwRate, fFracX, fFracY, &step);
    ZeroMemory(&input, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dx = step.lDx;
    input.mi.dy = step.lDy;
    input.mi.mouseData = 0;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    input.mi.time = 0;
    input.mi.dwExtraInfo = (ULONG_PTR)GetMessageExtraInfo();
    /* Sent even when both lengths are 0. */
    SendInput(1, &input, sizeof(INPUT));
}

static void SendKeyStep(DWORD dwRate, float fFracX, float fFracY)
{
    KEYRECORD aKeys[TILTFEED_MAX_KEY_RECORDS];
    UINT uCount = BuildKeyStep(dwRate, fFracX, fFracY, aKeys);
    INPUT *pInputs;
    UINT i;

    if (uCount == 0)
        return;
    pInputs = (INPUT *)LocalAlloc(LPTR, uCount * sizeof(INPUT));
    if (pInputs == NULL) {
        TRACE("LocalAlloc() Failed in SendKeyStep().\nGetLastError Report %lu", GetLastError());
        return;
    }
    for (i = 0; i < uCount; i++) {
        pInputs[i].type = INPUT_KEYBOARD;
        pInputs[i].ki.wVk = aKeys[i].bVk;
        pInputs[i].ki.wScan = 0;
        pInputs[i].ki.dwFlags = aKeys[i].bKeyUp ? KEYEVENTF_KEYUP : 0;
        pInputs[i].ki.time = 0;
        pInputs[i].ki.dwExtraInfo = (ULONG_PTR)GetMessageExtraInfo();
    }
    /* All key events of a tick in one call, so that no other input falls
     * between them. */
    SendInput(uCount, pInputs, sizeof(INPUT));
    LocalFree(pInputs);
}

void TickTiltfeed(TILTFEEDDATA *pData, HWND hwndMain)
{
    HWND hwndForeground;
    DWORD dwForegroundPid = 0;
    float fAngleX = 0.0f;
    float fAngleY = 0.0f;
    float fFracX;
    float fFracY;
    LONG lResult;

    if (!pData->bTicking || pData->launch.dwProcessId == 0 || pData->m_DLGetAngle == NULL)
        return;
    hwndForeground = GetForegroundWindow();
    if (hwndForeground != NULL)
        GetWindowThreadProcessId(hwndForeground, &dwForegroundPid);
    if (hwndForeground == NULL || dwForegroundPid != pData->launch.dwProcessId) {
        FeedComfortLeftFront(&pData->comfort);
        return;
    }

    lResult = pData->m_DLGetAngle(&fAngleX, &fAngleY, hwndMain);
    if (lResult == 0) {
        /* In the screen's frame first: the comforts work on what the user sees. */
        OrientTurnAngles(pData->dwOrientation, &fAngleX, &fAngleY);
        if (FeedComfortActive(&pData->comfort))
            FeedComfortAdjust(&pData->comfort, &fAngleX, &fAngleY);
    }
    fFracX = TiltFraction(fAngleX);
    fFracY = TiltFraction(fAngleY);
    if (lResult != 0)
        return;

    switch (pData->dwType) {
    case TILTFEED_TYPE_MOUSE:
        SendMouseStep(pData->dwMouseRate, fFracX, fFracY);
        break;
    case TILTFEED_TYPE_CURSORKEY:
        SendKeyStep(pData->dwCursorKeyRate, fFracX, fFracY);
        break;
    default:
        break;
    }
}
