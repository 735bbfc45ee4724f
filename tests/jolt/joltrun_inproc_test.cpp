/*
 * The runtime compiled into the test: its window and object run on the test
 * thread with the system-call table replaced by recorders, so that the sound
 * and the Start-menu command can be checked.
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"

#include <string>
#include <thread>
#include <vector>

namespace {

struct Call {
    std::string what;     /* "sys", "input", "shell", "sound", "timer" */
    std::string text;     /* path of shell and sound */
    UINT_PTR a = 0, b = 0, c = 0;
    std::vector<INPUT> inputs;
};

std::vector<Call> g_calls;
UINT_PTR g_uShellResult = 42;
bool g_bTimerFails = false;

LRESULT WINAPI FakeSendMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    Call c;
    c.what = "sys";
    c.a = uMsg;
    c.b = wParam;
    c.c = (UINT_PTR)lParam;
    g_calls.push_back(c);
    return 0;
}

UINT WINAPI FakeSendInput(UINT n, LPINPUT p, int cb)
{
    Call c;
    c.what = "input";
    c.a = n;
    c.b = (UINT_PTR)cb;
    c.inputs.assign(p, p + n);
    g_calls.push_back(c);
    return n;
}

HINSTANCE WINAPI FakeShellExecute(HWND hwnd, LPCSTR pszVerb, LPCSTR pszFile, LPCSTR pszParams,
                                  LPCSTR pszDir, INT nShow)
{
    Call c;
    c.what = "shell";
    c.text = std::string(pszVerb ? pszVerb : "(null)") + "|" + pszFile;
    c.a = (UINT_PTR)hwnd;
    c.b = (UINT_PTR)pszParams | (UINT_PTR)pszDir;
    c.c = (UINT_PTR)nShow;
    g_calls.push_back(c);
    return (HINSTANCE)g_uShellResult;
}

BOOL WINAPI FakePlaySound(LPCSTR pszSound, HMODULE hmod, DWORD dwFlags)
{
    Call c;
    c.what = "sound";
    c.text = pszSound ? pszSound : "(null)";
    c.a = (UINT_PTR)hmod;
    c.b = dwFlags;
    g_calls.push_back(c);
    return TRUE;
}

UINT_PTR WINAPI FakeSetTimer(HWND hwnd, UINT_PTR id, UINT uElapse, TIMERPROC proc)
{
    Call c;
    c.what = "timer";
    c.a = id;
    c.b = uElapse;
    g_calls.push_back(c);
    if (g_bTimerFails)
        return 0;
    return SetTimer(hwnd, id, uElapse, proc);
}

std::vector<std::string> Kinds()
{
    std::vector<std::string> v;
    for (const Call &c : g_calls)
        v.push_back(c.what);
    return v;
}

class JoltInProc : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        ASSERT_TRUE(tb::InstallDefaults("C:\\Tk"));
        g_JoltSystem.pfnSendMessageA = FakeSendMessage;
        g_JoltSystem.pfnSendInput = FakeSendInput;
        g_JoltSystem.pfnShellExecuteA = FakeShellExecute;
        g_JoltSystem.pfnPlaySoundA = FakePlaySound;
        g_JoltSystem.pfnSetTimer = FakeSetTimer;
        g_calls.clear();
        g_uShellResult = 42;
        g_bTimerFails = false;
    }
    void TearDown() override
    {
        if (m_hwnd && IsWindow(m_hwnd))
            SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        }
    }
    /* Per-user values as the page would have saved them. */
    void Start(DWORD dwV, DWORD dwH, DWORD dwVS, DWORD dwHS, DWORD dwIdle = 10000)
    {
        DWORD adw[4] = { dwV, dwH, dwVS, dwHS };
        ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "JoltSetting", adw, 16));
        ASSERT_TRUE(tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "IdleTime", dwIdle));
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "VerticalSoundPath", "C:\\v.wav"));
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "HorizontalSoundPath", "C:\\h.wav"));
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "VerticalLaunchPath", "C:\\v.exe"));
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "HorizontalLaunchPath", "C:\\h.exe"));
        m_hwnd = CreateJoltWindow(GetModuleHandleA(NULL));
        ASSERT_TRUE(m_hwnd);
        ASSERT_EQ(1, g_bJoltActive);
        g_calls.clear();
    }
    void Notify(WORD wCode) { SendMessageA(m_hwnd, g_uMsgGravmonNotify, wCode, 0); }

    HWND m_hwnd = NULL;
};

} // namespace

TEST_F(JoltInProc, RegisteredMessagesAreReadyBeforeTheEntryPoint)
{
    EXPECT_NE(0u, g_uMsgGravmonNotify);
    EXPECT_EQ(RegisterWindowMessageA("GravmonNotifyEvent"), g_uMsgGravmonNotify);
    EXPECT_EQ(RegisterWindowMessageA("GravmonConfigChanged"), g_uMsgGravmonConfigChanged);
    EXPECT_EQ(RegisterWindowMessageA("JoltConfigChangedNotify"), g_uMsgJoltConfigChanged);
}

TEST_F(JoltInProc, StartMenuThenSoundThenIdleTimer)
{
    Start(1, 0, 1, 1, 1234);
    Notify(0x0100);
    ASSERT_EQ((std::vector<std::string>{ "sys", "sound", "timer" }), Kinds());
    EXPECT_EQ((UINT_PTR)WM_SYSCOMMAND, g_calls[0].a);
    EXPECT_EQ((UINT_PTR)SC_TASKLIST, g_calls[0].b);
    EXPECT_EQ(0u, g_calls[0].c);
    EXPECT_EQ("C:\\v.wav", g_calls[1].text);
    EXPECT_EQ(0u, g_calls[1].a);
    EXPECT_EQ(0x20003u, g_calls[1].b);
    EXPECT_EQ(256u, g_calls[2].a);
    EXPECT_EQ(1234u, g_calls[2].b);
    EXPECT_EQ(0, g_JoltrunSub.m_bArmed);

    /* Armed again only by the timer; meanwhile nothing is called. */
    g_calls.clear();
    Notify(0x0100);
    Notify(0x0200);
    EXPECT_TRUE(g_calls.empty());
    SendMessageA(m_hwnd, WM_TIMER, 255, 0);
    EXPECT_EQ(0, g_JoltrunSub.m_bArmed);
    SendMessageA(m_hwnd, WM_TIMER, 256, 0);
    EXPECT_EQ(1, g_JoltrunSub.m_bArmed);
    /* Horizontal direction: action 0, even with its sound flag 1, does nothing. */
    Notify(0x0200);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(1, g_JoltrunSub.m_bArmed);
}

TEST_F(JoltInProc, SwitchAppIsOneSendInputOfFourKeys)
{
    Start(0, 2, 0, 1);
    Notify(0x0000);
    ASSERT_EQ((std::vector<std::string>{ "input", "sound", "timer" }), Kinds());
    const Call &c = g_calls[0];
    EXPECT_EQ(4u, c.a);
    EXPECT_EQ(sizeof(INPUT), c.b);
    const WORD awVk[4] = { VK_MENU, VK_ESCAPE, VK_ESCAPE, VK_MENU };
    const DWORD adwFlags[4] = { 0, 0, KEYEVENTF_KEYUP, KEYEVENTF_KEYUP };
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ((DWORD)INPUT_KEYBOARD, c.inputs[i].type);
        EXPECT_EQ(awVk[i], c.inputs[i].ki.wVk);
        EXPECT_EQ(0, c.inputs[i].ki.wScan);
        EXPECT_EQ(adwFlags[i], c.inputs[i].ki.dwFlags);
        EXPECT_EQ(0u, c.inputs[i].ki.time);
        EXPECT_EQ((ULONG_PTR)GetMessageExtraInfo(), c.inputs[i].ki.dwExtraInfo);
    }
    EXPECT_EQ("C:\\h.wav", g_calls[1].text);
}

TEST_F(JoltInProc, LaunchOpensThePathThenPlays)
{
    Start(3, 3, 1, 0);
    Notify(0x0300);
    ASSERT_EQ((std::vector<std::string>{ "shell", "sound", "timer" }), Kinds());
    EXPECT_EQ("open|C:\\v.exe", g_calls[0].text);
    EXPECT_EQ(0u, g_calls[0].a);
    EXPECT_EQ(0u, g_calls[0].b);
    EXPECT_EQ((UINT_PTR)SW_SHOWNORMAL, g_calls[0].c);

    /* Horizontal sound flag 0: no sound. */
    SendMessageA(m_hwnd, WM_TIMER, 256, 0);
    g_calls.clear();
    Notify(0x0200);
    ASSERT_EQ((std::vector<std::string>{ "shell", "timer" }), Kinds());
    EXPECT_EQ("open|C:\\h.exe", g_calls[0].text);
}

TEST_F(JoltInProc, SoundOnlyForFlagExactlyOne)
{
    for (DWORD dwFlag : { 0u, 2u, 3u, 0x101u, 0xFFFFFFFFu }) {
        SCOPED_TRACE(dwFlag);
        g_JoltrunSub.m_bArmed = 1;
        g_JoltrunSub.m_Setting.dwVerticalAction = 1;
        g_JoltrunSub.m_Setting.dwVerticalSound = dwFlag;
        g_calls.clear();
        g_JoltrunSub.JoltAction(NULL, JOLT_FLAG_VERTICAL);
        EXPECT_EQ((std::vector<std::string>{ "sys" }), Kinds());
    }
}

TEST_F(JoltInProc, ActionAboveThreeOnlyStartsTheTimer)
{
    Start(4, 0xFFFFFFFF, 1, 1);
    Notify(0x0100);
    EXPECT_EQ((std::vector<std::string>{ "timer" }), Kinds());
    SendMessageA(m_hwnd, WM_TIMER, 256, 0);
    g_calls.clear();
    Notify(0x0200);
    EXPECT_EQ((std::vector<std::string>{ "timer" }), Kinds());
}

TEST_F(JoltInProc, FailedLaunchShowsItsBoxPlaysNothingAndStillIdles)
{
    Start(3, 1, 1, 0);
    struct { UINT_PTR uResult; const char *pszText; } cases[] = {
        { 2, u8"Указанная программа не найдена." },
        { 3, u8"Указанная программа не найдена." },
        { 0, u8"Не удалось выполнить указанную программу." },
        { 5, u8"Не удалось выполнить указанную программу." },
        { 31, u8"Не удалось выполнить указанную программу." },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.uResult);
        g_uShellResult = c.uResult;
        g_JoltrunSub.m_bArmed = 1;
        g_calls.clear();
        tb::MessageBoxInfo box;
        bool bArmedWhileOpen = false;
        HWND hwnd = m_hwnd;
        UINT uMsg = g_uMsgGravmonNotify;
        std::thread closer([&] {
            box = tb::WaitMessageBox(GetCurrentProcessId(), 5000);
            bArmedWhileOpen = g_JoltrunSub.m_bArmed == 1;
            /* A tilt while the box is open is handled at once (horizontal: Start menu). */
            DWORD_PTR dw;
            SendMessageTimeoutA(hwnd, uMsg, 0x0200, 0, SMTO_NORMAL, 5000, &dw);
            tb::CloseMessageBox(box);
        });
        Notify(0x0100);
        closer.join();
        ASSERT_TRUE(box.found());
        EXPECT_EQ(tb::Wide(u8"Программы акселерометра Zelvar - Наклон"), box.caption);
        EXPECT_EQ(tb::Wide(c.pszText), box.text);
        EXPECT_TRUE(bArmedWhileOpen);
        EXPECT_EQ((std::vector<std::string>{ "shell", "sys", "timer", "timer" }), Kinds());
        EXPECT_EQ(0, g_JoltrunSub.m_bArmed);
    }
}

TEST_F(JoltInProc, WithoutATimerTheRuntimeStaysArmed)
{
    Start(1, 1, 0, 0);
    g_bTimerFails = true;
    Notify(0x0100);
    EXPECT_EQ((std::vector<std::string>{ "sys", "timer" }), Kinds());
    EXPECT_EQ(1, g_JoltrunSub.m_bArmed);
    g_calls.clear();
    Notify(0x0100);
    EXPECT_EQ((std::vector<std::string>{ "sys", "timer" }), Kinds());
}

TEST_F(JoltInProc, InactiveWindowPassesOurMessagesOn)
{
    Start(1, 1, 1, 1);
    SendMessageA(m_hwnd, g_uMsgGravmonConfigChanged, 0, 0);
    EXPECT_TRUE(g_calls.empty());
    SendMessageA(m_hwnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(0, g_bJoltActive);
    Notify(0x0100);
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(IsWindow(m_hwnd));
}
