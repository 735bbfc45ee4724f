/* Joltrun.exe end to end under Wine. */
#include "jolt_fixture.h"
#include "testbench/boxcheck.h"
#include "testbench/manager.h"

using namespace jt;

namespace {

const char kCaption[] = u8"Программы акселерометра Zelvar - Наклон";

} // namespace

TEST_F(JoltrunTest, DirectionByteChoosesTheProgram)
{
    JoltValues v;
    v.dwIdle = 1; /* re-armed almost at once */
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    struct { WORD wCode; const char *pszExpected; } cases[] = {
        { 0x0100, "vert.exe" }, { 0x0300, "vert.exe" }, { 0x01FF, "vert.exe" }, { 0x0342, "vert.exe" },
        { 0x0000, "horz.exe" }, { 0x0200, "horz.exe" }, { 0x0400, "horz.exe" }, { 0x0201, "horz.exe" },
        { 0xFF00, "horz.exe" }, { 0x1300, "horz.exe" },
    };
    size_t n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.wCode);
        ASSERT_TRUE(NotifyWhenArmed(c.wCode)); /* once the 1 ms idle period is over */
        ASSERT_EQ(++n, Runs().size());
        EXPECT_EQ(c.pszExpected, Runs().back());
    }
    /* Bits 16-31 of wParam and lParam carry nothing. */
    DWORD_PTR dw;
    ASSERT_LE(0, RepeatUntil([&] { SendMessageTimeoutA(m_hwnd, m_uMsgNotify, 0xABCD0300, 0x1234,
                                                       SMTO_NORMAL, 5000, &dw); },
                             [&] { return Runs().size(); }, 1000));
    ASSERT_EQ(++n, Runs().size());
    EXPECT_EQ("vert.exe", Runs().back());
    EXPECT_TRUE(m_runtime.Running());
}

TEST_F(JoltrunTest, ManagerGestureRunsTheConfiguredProgram)
{
    JoltValues v;
    v.dwIdle = 1;
    WriteValues(v);
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(StartRuntime());

    EXPECT_EQ(1, manager.Command("gesture 0x0100"));
    ASSERT_TRUE(WaitRuns(1));
    /* Repeated until the runtime, armed again, acts on it. */
    ASSERT_LE(0, RepeatUntil([&] { manager.Command("gesture 0x0200"); }, [&] { return Runs().size(); },
                             1000));
    EXPECT_EQ((std::vector<std::string>{ "vert.exe", "horz.exe" }), Runs());
}

TEST_F(JoltrunTest, ActionZeroDoesNothingAndStartsNoIdlePeriod)
{
    JoltValues v;
    v.dwVAction = 0;
    v.dwVSound = 1;
    v.dwIdle = 3000;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(Notify(kHorizontal)); /* still armed */
    ASSERT_TRUE(WaitRuns(1));
    Sleep(200);
    EXPECT_EQ((std::vector<std::string>{ "horz.exe" }), Runs());
}

TEST_F(JoltrunTest, ActionAboveThreeOnlyStartsTheIdlePeriod)
{
    JoltValues v;
    v.dwVAction = 7;
    v.dwVSound = 1;
    v.dwIdle = 700;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    DWORD dwStart = GetTickCount();
    ASSERT_TRUE(Notify(kVertical));
    long lArmed = ProbeUntilArmed();
    ASSERT_GE(lArmed, 0);
    EXPECT_GE((long)(GetTickCount() - dwStart), 650);
    EXPECT_EQ((std::vector<std::string>{ "horz.exe" }), Runs());
    EXPECT_EQ(0, tb::CountDialogs(m_runtime.Pid()));
}

TEST_F(JoltrunTest, IdlePeriodDropsNotificationsWithoutProlongingIt)
{
    JoltValues v;
    v.dwIdle = 800;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    DWORD dwStart = GetTickCount();
    ASSERT_TRUE(Notify(kVertical));
    /* Probing all the time: every probe before the end is dropped. */
    long lArmed = ProbeUntilArmed();
    DWORD dwElapsed = GetTickCount() - dwStart;
    ASSERT_GE(lArmed, 0);
    EXPECT_GE(dwElapsed, 750u);
    EXPECT_LT(dwElapsed, 800u + 700u) << "the dropped probes prolonged the idle period";
    EXPECT_EQ((std::vector<std::string>{ "vert.exe", "horz.exe" }), Runs());
}

TEST_F(JoltrunTest, MissingProgramShowsBox114AndStillStartsTheIdlePeriod)
{
    JoltValues v;
    v.vLaunch = "C:\\nowhere\\missing.exe";
    v.dwVSound = 1;
    v.dwIdle = 600;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    PostNotify(kVertical);
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_runtime.Pid(), 10000);
    EXPECT_TRUE(tb::IsMessageBox(box, kCaption, u8"Указанная программа не найдена."));
    DWORD dwClosed = GetTickCount();
    ASSERT_TRUE(tb::CloseMessageBox(box));
    long lArmed = ProbeUntilArmed();
    ASSERT_GE(lArmed, 0);
    EXPECT_GE((long)(GetTickCount() - dwClosed), 550);
    EXPECT_EQ((std::vector<std::string>{ "horz.exe" }), Runs());
    EXPECT_TRUE(m_runtime.Running());
}

TEST_F(JoltrunTest, ProgramThatCannotBeRunShowsBox115)
{
    std::string path = m_dir + "\\notes.tiltkitnoassoc";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    JoltValues v;
    v.vLaunch = path;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    PostNotify(kVertical);
    ASSERT_TRUE(tb::AnswerMessageBox(m_runtime.Pid(), kCaption, u8"Не удалось выполнить указанную программу."));
    EXPECT_TRUE(m_runtime.Running());
}

TEST_F(JoltrunTest, SwitchAppInjectsAltEscToTheForegroundWindow)
{
    JoltValues v;
    v.dwHAction = 2;
    v.dwHSound = 1;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    MakeKeyWindow();

    ASSERT_TRUE(Notify(kHorizontal));
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 4; }, 3000));
    tb::Pump(100);
    std::vector<KeyEvent> keys = Keys();
    ASSERT_EQ(4u, keys.size());
    auto down = [](UINT m) { return m == WM_KEYDOWN || m == WM_SYSKEYDOWN; };
    EXPECT_EQ((WPARAM)VK_MENU, keys[0].vk);
    EXPECT_TRUE(down(keys[0].uMsg));
    EXPECT_EQ((WPARAM)VK_ESCAPE, keys[1].vk);
    EXPECT_EQ((UINT)WM_SYSKEYDOWN, keys[1].uMsg) << "Esc with Alt held";
    EXPECT_EQ((WPARAM)VK_ESCAPE, keys[2].vk);
    EXPECT_FALSE(down(keys[2].uMsg));
    EXPECT_EQ((WPARAM)VK_MENU, keys[3].vk);
    EXPECT_FALSE(down(keys[3].uMsg));
    EXPECT_TRUE(Runs().empty());
}

TEST_F(JoltrunTest, ReloadAppliesToTheNextActionAndKeepsTheRunningIdlePeriod)
{
    JoltValues v;
    v.dwVAction = 2;
    v.dwIdle = 900;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    MakeKeyWindow();

    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 4; }, 3000));
    DWORD dwFirst = Keys()[0].dwTime;

    /* Now the vertical tilt runs a program, after a shorter rest. */
    JoltValues w = v;
    w.dwVAction = 3;
    w.dwIdle = 100;
    WriteValues(w, true);
    ASSERT_TRUE(Reload());

    ASSERT_TRUE(tb::WaitFor([&] {
        Notify(kVertical);
        return !Runs().empty();
    }, 5000));
    DWORD dwSecond = GetTickCount();
    EXPECT_GE((long)(dwSecond - dwFirst), 850) << "the idle period took the new length";
    EXPECT_EQ((std::vector<std::string>{ "vert.exe" }), Runs());
    EXPECT_EQ(4u, Keys().size());

    /* The idle period begun after the reload has the new length. */
    long lArmed = ProbeUntilArmed();
    ASSERT_GE(lArmed, 0);
    EXPECT_LT(lArmed, 700);
}

TEST_F(JoltrunTest, FailedReloadShowsItsBoxAndEndsTheRuntime)
{
    struct { const char *pszWhat; const char *pszText; bool bDeleteKey; } cases[] = {
        { "value too long", u8"Не удалось получить данные раздела реестра.", false },
        { "per-user key gone", u8"Не удалось открыть раздел реестра.", true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        ASSERT_TRUE(StartRuntime());
        if (c.bDeleteKey)
            ASSERT_TRUE(tb::RegDeleteTree(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));
        else
            ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "HorizontalSoundPath",
                                         std::string(300, 's')));
        PostMessageA(m_hwnd, m_uMsgConfig, 0, 0);
        ASSERT_TRUE(tb::AnswerMessageBox(m_runtime.Pid(), kCaption, c.pszText));
        EXPECT_EQ(0, m_runtime.Wait(5000));
        tb::RegDeleteTree(HKEY_CURRENT_USER, TILTKIT_REG_JOLT);
    }
}

TEST_F(JoltrunTest, StartupFailuresShowTheirBoxAndEnd)
{
    struct Case {
        const char *pszWhat;
        const char *pszText;
        void (*pfnBreak)();
    } cases[] = {
        { "no machine key", u8"Не удалось открыть раздел реестра.",
          [] { tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT); } },
        { "machine Version missing",
          u8"Программа акселерометра Zelvar - Наклон установлена неправильно.  Установите ее еще раз.",
          [] { tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version"); } },
        { "IdleTime missing after the copy",
          u8"Программа акселерометра Zelvar - Наклон установлена неправильно.  Установите ее еще раз.",
          [] { tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "IdleTime"); } },
        { "machine InstallTime missing",
          u8"Программа акселерометра Zelvar - Наклон установлена неправильно.  Установите ее еще раз.",
          [] {
              /* A user copy of this version with a time, the machine's time gone. */
              SYSTEMTIME st = { 2020, 1, 3, 1, 0, 0, 0, 0 };
              DWORD dwVersion = 0;
              tb::RegGetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version", &dwVersion);
              tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "Version", dwVersion);
              tb::RegSetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "InstallTime", &st, sizeof(st));
              tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime");
          } },
        { "copy into the user key fails", u8"Не удалось скопировать раздел реестра.",
          [] {
              /* A volatile user key cannot take the machine key's (lasting) subkey. */
              HKEY hKey;
              RegCreateKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, NULL, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, NULL, &hKey, NULL);
              RegCloseKey(hKey);
              tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT "\\Extra", "x", "y");
          } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        tb::ResetRegistry();
        ASSERT_TRUE(tb::InstallDefaults(tb::BinPath("")));
        SYSTEMTIME st;
        GetLocalTime(&st);
        tb::StampInstallTime(st);
        c.pfnBreak();

        ASSERT_TRUE(m_runtime.Start(tb::BinPath("Joltrun.exe")));
        tb::MessageBoxInfo box = tb::WaitMessageBox(m_runtime.Pid(), 10000);
        EXPECT_TRUE(tb::IsMessageBox(box, kCaption, c.pszText));
        EXPECT_EQ(1, tb::CountDialogs(m_runtime.Pid()));
        ASSERT_TRUE(tb::CloseMessageBox(box));
        EXPECT_EQ(0, m_runtime.Wait(5000));
    }
}

TEST_F(JoltrunTest, ReinstallationResetsTheUsersValuesAtTheNextStart)
{
    JoltValues v;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    /* The user's own choice: vertical runs nothing. */
    JoltValues mine = v;
    mine.dwVAction = 0;
    WriteValues(mine, true);
    ASSERT_TRUE(Reload());
    ASSERT_TRUE(Notify(kVertical));
    Sleep(300);
    EXPECT_TRUE(Runs().empty());
    PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, m_runtime.Wait(5000));

    /* Same installation: the choice stays. */
    ASSERT_TRUE(StartRuntime());
    ASSERT_TRUE(Notify(kVertical));
    Sleep(300);
    EXPECT_TRUE(Runs().empty());
    PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, m_runtime.Wait(5000));

    /* Installed again: the machine's values come back. */
    SYSTEMTIME st = { 2031, 5, 1, 2, 3, 4, 5, 6 };
    tb::StampInstallTime(st);
    ASSERT_TRUE(StartRuntime());
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(WaitRuns(1));
    EXPECT_EQ("vert.exe", Runs().back());
    std::vector<BYTE> user;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "InstallTime", &user));
    EXPECT_EQ(0, memcmp(user.data(), &st, 16));
}

TEST_F(JoltrunTest, EndSessionTrueStopsActingFalseChangesNothing)
{
    JoltValues v;
    v.dwIdle = 400;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    DWORD_PTR dw;

    ASSERT_TRUE(SendMessageTimeoutA(m_hwnd, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 5000, &dw));
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(WaitRuns(1));

    /* Inside the idle period the session ends: the timer goes, nothing acts again. */
    ASSERT_TRUE(SendMessageTimeoutA(m_hwnd, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &dw));
    Sleep(600);
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(Notify(kHorizontal));
    Sleep(300);
    EXPECT_EQ(1u, Runs().size());
    EXPECT_TRUE(m_runtime.Running());
    EXPECT_TRUE(IsWindow(m_hwnd));
    /* "GravmonConfigChanged" and a reload are ignored, too. */
    ASSERT_TRUE(tb::RegDeleteTree(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));
    ASSERT_TRUE(Reload());
    Sleep(100);
    EXPECT_EQ(0, tb::CountDialogs(m_runtime.Pid()));

    PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, m_runtime.Wait(5000));
}

TEST_F(JoltrunTest, SecondInstanceEndsSilently)
{
    JoltValues v;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    tb::Process second;
    ASSERT_TRUE(second.Start(tb::BinPath("Joltrun.exe")));
    EXPECT_EQ(0, second.Wait(5000));
    EXPECT_TRUE(m_runtime.Running());
    int nWindows = 0;
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, "TiltkitJolt Class", "TiltkitJolt")) != NULL)
        nWindows++;
    EXPECT_EQ(1, nWindows);
    /* Hidden, off-screen tool window. */
    EXPECT_FALSE(IsWindowVisible(m_hwnd));
    EXPECT_TRUE(GetWindowLongA(m_hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT rc;
    GetWindowRect(m_hwnd, &rc);
    EXPECT_EQ(-65536, rc.left); /* the system widens it to the smallest captioned size */
    EXPECT_EQ(-65536, rc.top);

    /* "GravmonConfigChanged" has no effect. */
    DWORD_PTR dw;
    ASSERT_TRUE(SendMessageTimeoutA(m_hwnd, RegisterWindowMessageA("GravmonConfigChanged"), 0, 0,
                                    SMTO_NORMAL, 5000, &dw));
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(WaitRuns(1));
}
