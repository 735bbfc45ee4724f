/*
 * Gravmon.dll: the seven exports. Every call opens the manager's block in
 * the client role, works under its mutex and closes it before returning.
 * Each call has a channel object of its own on its stack, so calls from
 * several threads of one process may overlap; nothing survives a call.
 */
#include "gravmon/ManagerChannel.h"
#include "gravmon/gravmon.h"

static UINT g_uMsgNotifyEvent = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);
static UINT g_uMsgConfigChanged = RegisterWindowMessageA(GRAVMON_MSG_CONFIGCHANGED);
static UINT g_uMsgUpdateRawData = RegisterWindowMessageA(GRAVMON_MSG_UPDATERAWDATA);

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDll, DWORD dwReason, LPVOID pvReserved)
{
    return TRUE;
}

/* OPEN and ACTIVE: the first two steps of every export after its checks. */
static LONG OpenActive(ManagerChannel &channel, BOOL bReadOnly)
{
    LONG lActive = 0;
    LONG lResult;

    if (!channel.Open(bReadOnly, FALSE))
        return GRAVMON_E_UNAVAILABLE;
    lResult = channel.ReadActive(&lActive);
    if (lResult != GRAVMON_OK)
        return lResult;
    return lActive != 0 ? GRAVMON_OK : GRAVMON_E_INACTIVE;
}

static LONG CheckWindow(HWND hwnd)
{
    if (hwnd == NULL)
        return GRAVMON_E_ARGUMENT;
    if (!IsWindow(hwnd))
        return GRAVMON_E_WINDOW;
    return GRAVMON_OK;
}

typedef LONG (ManagerChannel::*PFN_READPAIR)(float *pfX, float *pfY);

static LONG ReadPairFor(float *pfX, float *pfY, HWND hwnd, PFN_READPAIR pfnRead)
{
    ManagerChannel channel;
    HWND hwndHolder = NULL;
    LONG lResult;

    if (pfX == NULL || pfY == NULL)
        return GRAVMON_E_ARGUMENT;
    lResult = CheckWindow(hwnd);
    if (lResult != GRAVMON_OK)
        return lResult;

    lResult = OpenActive(channel, TRUE);
    if (lResult == GRAVMON_OK)
        lResult = channel.ReadMonopolyWindow(&hwndHolder);
    if (lResult == GRAVMON_OK && hwndHolder != NULL && hwndHolder != hwnd)
        lResult = GRAVMON_E_MONOPOLY;
    if (lResult == GRAVMON_OK)
        lResult = (channel.*pfnRead)(pfX, pfY);
    channel.Close();
    return lResult;
}

extern "C" LONG WINAPI GetAcceleration(float *pfX, float *pfY, HWND hwnd)
{
    return ReadPairFor(pfX, pfY, hwnd, &ManagerChannel::ReadAcceleration);
}

extern "C" LONG WINAPI GetAngle(float *pfX, float *pfY, HWND hwnd)
{
    return ReadPairFor(pfX, pfY, hwnd, &ManagerChannel::ReadAngle);
}

extern "C" LONG WINAPI GetImmediate(WORD *pwX, WORD *pwY)
{
    ManagerChannel channel;
    LONG lResult = OpenActive(channel, TRUE);

    if (lResult == GRAVMON_OK) {
        HWND hwndManager = FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
        if (hwndManager != NULL)
            SendMessageA(hwndManager, g_uMsgUpdateRawData, 0, 0);
        lResult = channel.ReadRaw(pwX, pwY);
    }
    channel.Close();
    return lResult;
}

extern "C" LONG WINAPI GetZeroBase(WORD *pwLevelX, WORD *pwLevelY,
                                   WORD *pwSideX, WORD *pwForwardY)
{
    ManagerChannel channel;
    LONG lResult;

    if (!pwLevelX || !pwLevelY || !pwSideX || !pwForwardY)
        return GRAVMON_E_ARGUMENT;
    lResult = OpenActive(channel, TRUE);
    if (lResult == GRAVMON_OK)
        lResult = channel.ReadZeroBase(pwLevelX, pwLevelY, pwSideX, pwForwardY);
    channel.Close();
    return lResult;
}

extern "C" LONG WINAPI SetZeroBase(LONG lLevelX, LONG lLevelY, LONG lSideX, LONG lForwardY)
{
    ManagerChannel channel;
    LONG lResult = OpenActive(channel, FALSE);

    if (lResult == GRAVMON_OK)
        lResult = channel.WriteNewZeroBase(lLevelX, lLevelY, lSideX, lForwardY);
    if (lResult == GRAVMON_OK && !channel.SignalZeroBaseUpdate(TRUE))
        lResult = GRAVMON_E_ZEROBASE;
    channel.Close();
    return lResult;
}

/*
 * Monopolize and Unmonopolize: read the holder, refuse on a conflict, write
 * the new holder. Taking the monopoly conflicts with any holder, the caller
 * included; giving it back conflicts only with another window.
 */
static LONG ChangeMonopoly(HWND hwnd, BOOL bTake)
{
    ManagerChannel channel;
    HWND hwndHolder = NULL;
    LONG lResult = CheckWindow(hwnd);

    if (lResult != GRAVMON_OK)
        return lResult;
    lResult = OpenActive(channel, FALSE);
    if (lResult == GRAVMON_OK)
        lResult = channel.ReadMonopolyWindow(&hwndHolder);
    if (lResult == GRAVMON_OK && hwndHolder != NULL && (bTake || hwndHolder != hwnd))
        lResult = GRAVMON_E_MONOPOLY;
    if (lResult == GRAVMON_OK)
        lResult = channel.WriteMonopolyWindow(bTake ? hwnd : NULL);
    channel.Close();
    return lResult;
}

extern "C" LONG WINAPI Monopolize(HWND hwnd)
{
    return ChangeMonopoly(hwnd, TRUE);
}

extern "C" LONG WINAPI Unmonopolize(HWND hwnd)
{
    return ChangeMonopoly(hwnd, FALSE);
}
