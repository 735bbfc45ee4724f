/*
 * Joltrun's quiet time in this process: the low-level hooks are installed
 * through the system-call table, so that the test hands them events of
 * exact ages, typed by a user or injected by a program.
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;
HOOKPROC g_apfnHook[2];     /* keyboard, mouse; NULL while not installed */

HHOOK WINAPI FakeSetWindowsHookEx(int idHook, HOOKPROC pfn, HINSTANCE, DWORD)
{
    int i = idHook == WH_KEYBOARD_LL ? 0 : 1;
    g_apfnHook[i] = pfn;
    return (HHOOK)(INT_PTR)(0x100 + i);
}

BOOL WINAPI FakeUnhookWindowsHookEx(HHOOK hHook)
{
    g_apfnHook[(INT_PTR)hHook - 0x100] = NULL;
    return TRUE;
}

/* A key press dwAge ms ago, from the user's keyboard or injected. */
void KeyEvent(DWORD dwAge, bool bInjected)
{
    KBDLLHOOKSTRUCT k = {};
    k.vkCode = VK_SHIFT;
    k.time = GetTickCount() - dwAge;
    k.flags = bInjected ? LLKHF_INJECTED : 0;
    ASSERT_TRUE(g_apfnHook[0]);
    g_apfnHook[0](HC_ACTION, WM_KEYDOWN, (LPARAM)&k);
}

void MouseEvent(DWORD dwAge, bool bInjected)
{
    MSLLHOOKSTRUCT m = {};
    m.time = GetTickCount() - dwAge;
    m.flags = bInjected ? 1 /* LLMHF_INJECTED */ : 0;
    ASSERT_TRUE(g_apfnHook[1]);
    g_apfnHook[1](HC_ACTION, WM_MOUSEMOVE, (LPARAM)&m);
}

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR, LPCSTR pszFile, LPCSTR, LPCSTR, INT)
{
    g_calls.push_back(std::string("run ") + pszFile);
    return (HINSTANCE)42;
}

UINT_PTR WINAPI FakeSetTimer(HWND hwnd, UINT_PTR id, UINT uElapse, TIMERPROC proc)
{
    g_calls.push_back("idle " + std::to_string(uElapse));
    return SetTimer(hwnd, id, uElapse, proc);
}

class JoltQuietInProc : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        ASSERT_TRUE(tb::InstallDefaults("C:\\Tk"));
        DWORD adw[4] = { 3, 3, 0, 0 };
        ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "JoltSetting", adw, 16));
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "VerticalLaunchPath", "C:\\v.exe"));
        g_saved = g_JoltSystem;
        g_JoltSystem.pfnShellExecuteA = FakeShellExecute;
        g_JoltSystem.pfnSetTimer = FakeSetTimer;
        g_JoltSystem.pfnSetWindowsHookExA = FakeSetWindowsHookEx;
        g_JoltSystem.pfnUnhookWindowsHookEx = FakeUnhookWindowsHookEx;
        g_calls.clear();
    }
    void TearDown() override
    {
        if (m_hwnd && IsWindow(m_hwnd))
            SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        }
        g_JoltSystem = g_saved;
        tb::ResetRegistry();
    }
    void Start()
    {
        m_hwnd = CreateJoltWindow(GetModuleHandleA(NULL));
        ASSERT_TRUE(m_hwnd);
        ASSERT_EQ(1, g_bJoltActive);
    }
    /* One vertical tilt when the user's last key press is dwAge ms old. */
    void Tilt(DWORD dwAge)
    {
        KeyEvent(dwAge, false);
        Tilt();
    }
    void Tilt() { SendMessageA(m_hwnd, g_uMsgGravmonNotify, 0x0100, 0); }
    void Rearm() { SendMessageA(m_hwnd, WM_TIMER, JOLTRUN_IDLE_TIMER, 0); }

    HWND m_hwnd = NULL;
    JOLTSYSTEM g_saved;
};

} // namespace

TEST_F(JoltQuietInProc, TiltsWithinTheQuietTimeAreDroppedAndStartNoIdlePeriod)
{
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 500));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(500u, g_JoltrunSub.m_dwQuietTime);

    /* Before any input of the user's nothing is held back. */
    Tilt();
    EXPECT_EQ(2u, g_calls.size());
    Rearm();
    g_calls.clear();

    Tilt(200);
    Tilt(450);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(1, g_JoltrunSub.m_bArmed) << "still armed";

    Tilt(500);
    EXPECT_EQ((std::vector<std::string>{ "run C:\\v.exe", "idle 1000" }), g_calls);
}

TEST_F(JoltQuietInProc, OnlyTheUsersOwnInputCountsAndTheHooksLiveOnlyWithAQuietTime)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_FALSE(g_apfnHook[0] || g_apfnHook[1]) << "no quiet time, no hooks";

    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 500));
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    ASSERT_TRUE(g_apfnHook[0] && g_apfnHook[1]);

    /* Synthesised input (a served Tiltfeed item, Joltrun's own keys) is
     * not the user's: the tilt acts. */
    KeyEvent(10, true);
    MouseEvent(10, true);
    Tilt();
    EXPECT_EQ(2u, g_calls.size());
    Rearm();

    /* The user's mouse counts as the keyboard does. */
    MouseEvent(100, false);
    Tilt();
    EXPECT_EQ(2u, g_calls.size());

    /* Quiet time off again: the hooks go. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 0));
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    EXPECT_FALSE(g_apfnHook[0] || g_apfnHook[1]);
}

TEST_F(JoltQuietInProc, AHandEditedHugeValueCountsAsThePagesLargestAndAStringNone)
{
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 0xFFFFFFFF));
    ASSERT_NO_FATAL_FAILURE(Start());
    Tilt(JOLT_MAX_QUIETTIME - 50);
    EXPECT_TRUE(g_calls.empty());
    Tilt(JOLT_MAX_QUIETTIME);
    EXPECT_EQ(2u, g_calls.size());

    /* Written by hand as text: no quiet time at all. */
    ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, "250"));
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    EXPECT_EQ(0u, g_JoltrunSub.m_dwQuietTime);
}
