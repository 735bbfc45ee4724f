/*
 * Joltrun's quiet time in this process: the last input comes from the
 * system-call table, so the decision can be checked at exact ages.
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"
#include "extras/extrapure.h"
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;
DWORD g_dwInputAge;        /* ms since the last input */
BOOL g_bInputKnown = TRUE;
int g_nInputAsked;

BOOL WINAPI FakeGetLastInputInfo(PLASTINPUTINFO plii)
{
    g_nInputAsked++;
    if (!g_bInputKnown)
        return FALSE;
    plii->dwTime = GetTickCount() - g_dwInputAge;
    return TRUE;
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
        g_JoltSystem.pfnGetLastInputInfo = FakeGetLastInputInfo;
        g_calls.clear();
        g_bInputKnown = TRUE;
        g_nInputAsked = 0;
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
    /* One vertical tilt when the last input is dwAge ms old. */
    void Tilt(DWORD dwAge)
    {
        g_dwInputAge = dwAge;
        SendMessageA(m_hwnd, g_uMsgGravmonNotify, 0x0100, 0);
    }
    void Rearm() { SendMessageA(m_hwnd, WM_TIMER, JOLTRUN_IDLE_TIMER, 0); }

    HWND m_hwnd = NULL;
    JOLTSYSTEM g_saved;
};

} // namespace

TEST_F(JoltQuietInProc, TiltsWithinTheQuietTimeAreDroppedAndStartNoIdlePeriod)
{
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, EXTRA_VAL_QUIETTIME, 500));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(500u, g_JoltrunSub.m_dwQuietTime);

    Tilt(200);
    Tilt(450);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(1, g_JoltrunSub.m_bArmed) << "still armed";

    Tilt(500);
    EXPECT_EQ((std::vector<std::string>{ "run C:\\v.exe", "idle 1000" }), g_calls);

    /* During the idle period the quiet time is not even asked. */
    int n = g_nInputAsked;
    Tilt(5000);
    EXPECT_EQ(n, g_nInputAsked);
    EXPECT_EQ(2u, g_calls.size());

    /* When the last input cannot be had, the tilt acts. */
    Rearm();
    g_bInputKnown = FALSE;
    Tilt(0);
    EXPECT_EQ(4u, g_calls.size());
}

TEST_F(JoltQuietInProc, AHandEditedHugeValueCountsAsThePagesLargest)
{
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, EXTRA_VAL_QUIETTIME, 0xFFFFFFFF));
    ASSERT_NO_FATAL_FAILURE(Start());
    Tilt(EXTRA_MAX_QUIETTIME - 50);
    EXPECT_TRUE(g_calls.empty());
    Tilt(EXTRA_MAX_QUIETTIME);
    EXPECT_EQ(2u, g_calls.size());
}
