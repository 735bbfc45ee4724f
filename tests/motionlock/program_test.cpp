/*
 * Lockwatch.exe itself under Wine: every way the start can fail shows the
 * one message and ends with exit code 0, the single instance, the window
 * and its resources.
 *
 * Known differences from Windows XP (the only ones these tests rely on):
 * Wine's LockWorkStation always fails, so a real run never gets past the
 * lock and ends with the message after giving the override back; and
 * WTSRegisterSessionNotification succeeds without ever notifying. The
 * guard itself is tested in this process with the lock replaced
 * (runtime_test.cpp).
 */
#include <gtest/gtest.h>
#include "testbench/boxcheck.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include "hwgate_standin.h"
#include "motionlock/lockwatch.h"

using namespace mltest;

static const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\Lockwatch.exe";
static const char kCaption[] = u8"Программа Lockwatch";
static const char kMessage[] = u8"Не удалось получить данные от Диспетчера акселерометра Zelvar.";

class LockwatchProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        tb::RegisterGravmon();
        HwgateReset();
        tb::RegDeleteTree(HKEY_CURRENT_USER, kAppDefaults);
    }
    void TearDown() override
    {
        m_proc.Kill();
        m_manager.Stop();
        tb::RegDeleteTree(HKEY_CURRENT_USER, kAppDefaults);
        HwgateReset();
        tb::ResetRegistry();
    }
    bool Start(const std::string &args = "")
    {
        return m_proc.Start(tb::BinPath("Lockwatch.exe"), args);
    }
    /* The one message, owned by the hidden window; closing it ends the run. */
    void ExpectMessageAndEnd()
    {
        HWND hwndMain = tb::WaitWindow(LOCKWATCH_CLASS, LOCKWATCH_TITLE, 10000, m_proc.Pid());
        ASSERT_NE((HWND)NULL, hwndMain);
        EXPECT_FALSE(IsWindowVisible(hwndMain));
        EXPECT_TRUE(tb::AnswerMessageBox(m_proc.Pid(), kCaption, kMessage, hwndMain));
        EXPECT_EQ(0, m_proc.Wait(5000));
    }

    tb::Process m_proc;
    tb::Manager m_manager;
};

TEST_F(LockwatchProgram, MissingLibraryPathShowsTheMessage)
{
    ASSERT_TRUE(m_manager.Start());
    ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH));
    ASSERT_TRUE(Start());
    ExpectMessageAndEnd();
    EXPECT_EQ(0, m_manager.Command("get overrides"));
}

TEST_F(LockwatchProgram, UnloadableLibraryShowsTheMessage)
{
    ASSERT_TRUE(m_manager.Start());
    tb::RegisterGravmon("C:\\nowhere\\Gravmon.dll");
    ASSERT_TRUE(Start());
    ExpectMessageAndEnd();
    EXPECT_EQ(0, m_manager.Command("get overrides"));
}

TEST_F(LockwatchProgram, LibraryWithoutGetAccelerationShowsTheMessage)
{
    char szDir[MAX_PATH];
    GetSystemDirectoryA(szDir, MAX_PATH);
    ASSERT_TRUE(m_manager.Start());
    tb::RegisterGravmon(std::string(szDir) + "\\Sysgate.DLL");
    ASSERT_TRUE(Start());
    ExpectMessageAndEnd();
    EXPECT_EQ(0, m_manager.Command("get overrides"));
}

TEST_F(LockwatchProgram, WindowsOtherThanXpShowsTheMessage)
{
    ASSERT_TRUE(m_manager.Start());
    for (const char *pszVersion : { "win2003", "win7", "win2k" }) {
        SCOPED_TRACE(pszVersion);
        ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, kAppDefaults, "Version", pszVersion));
        ASSERT_TRUE(Start());
        ExpectMessageAndEnd();
    }
    EXPECT_EQ(0, m_manager.Command("get overrides"));
}

TEST_F(LockwatchProgram, MissingSessionLibraryShowsTheMessage)
{
    ASSERT_TRUE(m_manager.Start());
    ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, std::string(kAppDefaults) + "\\DllOverrides",
                                 "wtsapi32", ""));
    ASSERT_TRUE(Start());
    ExpectMessageAndEnd();
    EXPECT_EQ(0, m_manager.Command("get overrides")) << "no lock without session notifications";
}

TEST_F(LockwatchProgram, NoManagerWindowShowsTheMessageAndArgumentsAreIgnored)
{
    ASSERT_TRUE(Start("/lock now"));
    ExpectMessageAndEnd();
}

static UINT s_uOverrideMsgs;
static WPARAM s_wOverrideParam;
static LPARAM s_lOverrideWindow;

static LRESULT CALLBACK RefusingManagerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == (WM_APP + 0x200)) {
        s_uOverrideMsgs++;
        s_wOverrideParam = wParam;
        s_lOverrideWindow = lParam;
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

TEST_F(LockwatchProgram, RefusedOverrideShowsTheMessage)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RefusingManagerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "GravmonWindowClass";
    RegisterClassA(&wc);
    HWND hwndFake = CreateWindowA("GravmonWindowClass", "GravmonWindowName", WS_OVERLAPPEDWINDOW,
                                  0, 0, 100, 100, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hwndFake);
    s_uOverrideMsgs = 0;

    ASSERT_TRUE(Start());
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_proc.Pid(), 10000);
    ASSERT_TRUE(tb::IsMessageBox(box, kCaption, kMessage));
    EXPECT_EQ(1u, s_uOverrideMsgs) << "asked once, not released after a refusal";
    EXPECT_EQ(1u, s_wOverrideParam);
    EXPECT_EQ((LPARAM)tb::WaitWindow(LOCKWATCH_CLASS, LOCKWATCH_TITLE, 1000, m_proc.Pid()),
              s_lOverrideWindow);
    ASSERT_TRUE(tb::CloseMessageBox(box));
    EXPECT_EQ(0, m_proc.Wait(5000));
    DestroyWindow(hwndFake);
    UnregisterClassA("GravmonWindowClass", GetModuleHandleA(NULL));
}

TEST_F(LockwatchProgram, FailedLockGivesTheOverrideBack)
{
    /* Known difference: on Windows XP this run would lock and guard. */
    ASSERT_TRUE(m_manager.Start());
    ASSERT_TRUE(Start());
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_proc.Pid(), 10000);
    ASSERT_TRUE(tb::IsMessageBox(box, kCaption, kMessage));
    EXPECT_EQ(1, m_manager.Command("get overrides")) << "the override was granted";
    EXPECT_EQ(0, m_manager.Command("get override")) << "and released before the message";
    ASSERT_TRUE(tb::CloseMessageBox(box));
    EXPECT_EQ(0, m_proc.Wait(5000));
    EXPECT_EQ(0u, HwgateRequests()) << "no alarm output touched";
}

TEST_F(LockwatchProgram, SecondStartEndsAtOnceWithoutAMessage)
{
    ASSERT_TRUE(Start());                       /* no manager: waits on its message */
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_proc.Pid(), 10000);
    ASSERT_TRUE(box.found());

    tb::Process second;
    ASSERT_TRUE(second.Start(tb::BinPath("Lockwatch.exe")));
    EXPECT_EQ(0, second.Wait(5000));
    EXPECT_EQ(0, tb::CountDialogs(second.Pid()));
    EXPECT_TRUE(m_proc.Running());
    EXPECT_EQ(1, tb::CountDialogs(m_proc.Pid()));

    ASSERT_TRUE(tb::CloseMessageBox(box));
    EXPECT_EQ(0, m_proc.Wait(5000));

    /* The mutex went with the first run: a new start runs normally. */
    ASSERT_TRUE(Start());
    ExpectMessageAndEnd();
}

TEST_F(LockwatchProgram, HiddenWindowClassAndResources)
{
    ASSERT_TRUE(Start());
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_proc.Pid(), 10000);
    ASSERT_TRUE(box.found());
    HWND hwnd = tb::WaitWindow(LOCKWATCH_CLASS, LOCKWATCH_TITLE, 1000, m_proc.Pid());
    ASSERT_NE((HWND)NULL, hwnd);
    EXPECT_EQ((DWORD)(CS_HREDRAW | CS_VREDRAW), (DWORD)GetClassLongA(hwnd, GCL_STYLE));
    /* Wine answers the icon and brush of another process's class with 0;
     * runtime_test.cpp checks them on a window in its own process. */
    EXPECT_EQ((DWORD)WS_OVERLAPPEDWINDOW,
              (DWORD)GetWindowLongA(hwnd, GWL_STYLE) & (DWORD)(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ((HWND)NULL, GetParent(hwnd));
    ASSERT_TRUE(tb::CloseMessageBox(box));
    EXPECT_EQ(0, m_proc.Wait(5000));

    HMODULE hExe = LoadLibraryExA(tb::BinPath("Lockwatch.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE((HMODULE)NULL, hExe);
    EXPECT_NE((HRSRC)NULL, FindResourceA(hExe, MAKEINTRESOURCEA(129), (LPCSTR)RT_GROUP_ICON));
    FreeLibrary(hExe);
}
