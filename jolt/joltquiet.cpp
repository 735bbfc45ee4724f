/*
 * The input watch of the quiet time: what the user typed or moved last.
 * GetLastInputInfo would count synthesised input too (a Tiltfeed item in
 * mouse mode moves the pointer ten times a second, Joltrun's own Alt+Esc),
 * so low-level hooks look at each event and keep only those that no
 * program injected. They run on Joltrun's one thread, inside its message
 * loop, and exist only while a quiet time is set.
 */
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"
#include "common/trace.h"

#ifndef LLMHF_INJECTED
#define LLMHF_INJECTED 0x00000001
#endif

typedef struct INPUTWATCH {
    HHOOK hKeyboardHook;
    HHOOK hMouseHook;
    BOOL bSeen;         /* a user's event came since the watch started */
    DWORD dwLastTick;
} INPUTWATCH;

static INPUTWATCH g_InputWatch;

static void NoteUserInput(DWORD dwEventTime)
{
    g_InputWatch.dwLastTick = JoltInputTick(dwEventTime, GetTickCount());
    g_InputWatch.bSeen = TRUE;
}

static LRESULT CALLBACK KeyboardWatchProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const KBDLLHOOKSTRUCT *pKey = (const KBDLLHOOKSTRUCT *)lParam;

    if (nCode == HC_ACTION && pKey != NULL && !(pKey->flags & LLKHF_INJECTED))
        NoteUserInput(pKey->time);
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

static LRESULT CALLBACK MouseWatchProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const MSLLHOOKSTRUCT *pMouse = (const MSLLHOOKSTRUCT *)lParam;

    if (nCode == HC_ACTION && pMouse != NULL && !(pMouse->flags & LLMHF_INJECTED))
        NoteUserInput(pMouse->time);
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

BOOL StartInputWatch(void)
{
    HINSTANCE hInstance = GetModuleHandleA(NULL);

    if (g_InputWatch.hKeyboardHook == NULL)
        g_InputWatch.hKeyboardHook =
            g_JoltSystem.pfnSetWindowsHookExA(WH_KEYBOARD_LL, KeyboardWatchProc, hInstance, 0);
    if (g_InputWatch.hMouseHook == NULL)
        g_InputWatch.hMouseHook =
            g_JoltSystem.pfnSetWindowsHookExA(WH_MOUSE_LL, MouseWatchProc, hInstance, 0);
    if (g_InputWatch.hKeyboardHook == NULL || g_InputWatch.hMouseHook == NULL) {
        TRACE("SetWindowsHookEx() Failed in StartInputWatch().\nGetLastError Report %d",
              (int)GetLastError());
        return FALSE;
    }
    return TRUE;
}

void StopInputWatch(void)
{
    if (g_InputWatch.hKeyboardHook != NULL)
        g_JoltSystem.pfnUnhookWindowsHookEx(g_InputWatch.hKeyboardHook);
    if (g_InputWatch.hMouseHook != NULL)
        g_JoltSystem.pfnUnhookWindowsHookEx(g_InputWatch.hMouseHook);
    ZeroMemory(&g_InputWatch, sizeof(g_InputWatch));
}

BOOL GetLastUserInput(DWORD *pdwTick)
{
    if (!g_InputWatch.bSeen)
        return FALSE;
    *pdwTick = g_InputWatch.dwLastTick;
    return TRUE;
}
