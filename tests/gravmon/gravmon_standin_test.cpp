/*
 * Gravmon.dll against the manager stand-in in its own process: the control
 * commands other tests rely on, the raw-data request, zero-base adoption,
 * the monopoly override, gesture delivery, scenarios, and overlapping calls
 * from threads and processes while the stand-in rewrites values.
 */
#include <gtest/gtest.h>
#include <math.h>
#include <fstream>
#include <vector>

#include "gravmon_support.h"
#include "standins/gravmgr/gravmgr_ctl.h"
#include "testbench/manager.h"
#include "testbench/testbench.h"

namespace {

class GravmonStandin : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        ASSERT_TRUE(api.Load());
        hwnd = tb::MakeWindow("gravmon standin 1");
        hwnd2 = tb::MakeWindow("gravmon standin 2");
        ASSERT_TRUE(hwnd && hwnd2);
    }
    void TearDown() override
    {
        manager.Stop();
        DestroyWindow(hwnd);
        DestroyWindow(hwnd2);
    }
    LRESULT Get(const char *pszField) { return manager.Command(std::string("get ") + pszField); }

    gt::Api api;
    tb::Manager manager;
    HWND hwnd = NULL, hwnd2 = NULL;
};

TEST_F(GravmonStandin, ServesAValidLevelBlockFromTheStart)
{
    ASSERT_TRUE(manager.Start());
    float fX = 9, fY = 9;
    ASSERT_EQ(0, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(0.0f, fX);
    EXPECT_EQ(0.0f, fY);
    WORD w[4];
    ASSERT_EQ(0, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(512, w[0]);
    EXPECT_EQ(512, w[1]);
    EXPECT_EQ(614, w[2]);
    EXPECT_EQ(614, w[3]);
    ASSERT_EQ(0, api.GetImmediate(&w[0], &w[1]));
    EXPECT_EQ(512, w[0]);
    EXPECT_EQ(1, Get("active"));
    EXPECT_EQ(1, Get("valid"));
    EXPECT_EQ(GRAVMGR_RESULT_ERROR, manager.Command("bogus"));
    EXPECT_EQ(GRAVMGR_RESULT_ERROR, manager.Command("tilt 1"));
    EXPECT_EQ(GRAVMGR_RESULT_ERROR, manager.Command("get nothing"));
    /* The updates keep coming at the timer's pace. */
    LRESULT lUpdates = Get("updates");
    EXPECT_TRUE(tb::WaitFor([&] { return Get("updates") >= lUpdates + 5; }, 3000));
}

TEST_F(GravmonStandin, TiltAccelMoveAndRawCommandsShapeTheReadings)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("tilt 30 -90"));
    float fX, fY;
    ASSERT_EQ(0, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(30.0f, fX);
    EXPECT_EQ(-90.0f, fY);
    ASSERT_EQ(0, api.GetAcceleration(&fX, &fY, hwnd));
    EXPECT_NEAR(0.5f, fX, 1e-6);
    EXPECT_NEAR(-1.0f, fY, 1e-6);
    WORD wX, wY;
    ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
    EXPECT_EQ(512 + 51, wX);
    EXPECT_EQ(512 - 102, wY);
    EXPECT_EQ(wX, Get("rawx"));

    /* Each move changes the acceleration, never back to the first value. */
    float fFirstX, fFirstY, fSecondX;
    ASSERT_EQ(0, api.GetAcceleration(&fFirstX, &fFirstY, hwnd));
    ASSERT_EQ(1, manager.Command("move"));
    ASSERT_EQ(0, api.GetAcceleration(&fX, &fY, hwnd));
    EXPECT_NE(fFirstX, fX);
    ASSERT_EQ(1, manager.Command("move"));
    ASSERT_EQ(0, api.GetAcceleration(&fSecondX, &fY, hwnd));
    EXPECT_NE(fX, fSecondX);
    EXPECT_NE(fFirstX, fSecondX);

    ASSERT_EQ(1, manager.Command("accel 0.125 -0.75"));
    ASSERT_EQ(0, api.GetAcceleration(&fX, &fY, hwnd));
    EXPECT_EQ(0.125f, fX);
    EXPECT_EQ(-0.75f, fY);
    ASSERT_EQ(1, manager.Command("raw 1000 3"));
    ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
    EXPECT_EQ(1000, wX);
    EXPECT_EQ(3, wY);
    /* A new tilt ends the fixed values. */
    ASSERT_EQ(1, manager.Command("tilt 0 0"));
    ASSERT_EQ(0, api.GetAcceleration(&fX, &fY, hwnd));
    EXPECT_EQ(0.0f, fX);
    ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
    EXPECT_EQ(512, wX);

    /* Noise: the raw value wanders within the counts asked for. */
    ASSERT_EQ(1, manager.Command("noise 3"));
    bool bChanged = false;
    for (int i = 0; i < 40 && !bChanged; i++) {
        ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
        EXPECT_LE(abs((int)wX - 512), 3);
        bChanged = wX != 512;
    }
    EXPECT_TRUE(bChanged);
    ASSERT_EQ(1, manager.Command("still"));
    ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
    EXPECT_EQ(512, wX);
}

TEST_F(GravmonStandin, GetImmediateIsAnsweredByTheManagerWindow)
{
    ASSERT_TRUE(manager.Start());
    LRESULT lBefore = Get("rawrequests");
    WORD wX, wY;
    for (int i = 0; i < 5; i++)
        ASSERT_EQ(0, api.GetImmediate(&wX, &wY));
    EXPECT_EQ(lBefore + 5, Get("rawrequests"));
    /* Other calls do not ask for raw data. */
    float fX, fY;
    api.GetAngle(&fX, &fY, hwnd);
    EXPECT_EQ(lBefore + 5, Get("rawrequests"));
}

TEST_F(GravmonStandin, ServeValidAndZerobaseCommandsGiveTheirCodes)
{
    ASSERT_TRUE(manager.Start());
    float fX = 5, fY = 5;
    WORD w[4] = { 1, 1, 1, 1 };
    ASSERT_EQ(1, manager.Command("serve 0"));
    EXPECT_EQ(0, Get("active"));
    EXPECT_EQ(-1, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(-1, api.Monopolize(hwnd));
    ASSERT_EQ(1, manager.Command("serve 1"));
    EXPECT_EQ(0, api.GetAngle(&fX, &fY, hwnd));

    ASSERT_EQ(1, manager.Command("invalid"));
    EXPECT_EQ(-7, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(-7, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    ASSERT_EQ(1, manager.Command("valid"));
    EXPECT_EQ(0, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));

    ASSERT_EQ(1, manager.Command("zerobase 300 512 614 614"));   /* implausible */
    EXPECT_EQ(0, Get("valid"));
    EXPECT_EQ(-7, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    ASSERT_EQ(1, manager.Command("zerobase 500 520 600 630"));
    EXPECT_EQ(1, Get("valid"));
    ASSERT_EQ(0, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(500, w[0]);
    EXPECT_EQ(630, w[3]);
    EXPECT_EQ(520, Get("zb1"));
}

TEST_F(GravmonStandin, AdoptsTheZeroBaseThatSetZeroBaseProposes)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(0, api.SetZeroBase(505, 515, 610, 620));
    EXPECT_EQ(505, Get("nzb0"));
    ASSERT_TRUE(tb::WaitFor([&] { return Get("adopted") == 1; }, 3000));
    WORD w[4];
    ASSERT_EQ(0, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(505, w[0]);
    EXPECT_EQ(515, w[1]);
    EXPECT_EQ(610, w[2]);
    EXPECT_EQ(620, w[3]);
    EXPECT_TRUE(gt::IsNamedEventSignalled(GRAVMON_UPDATEDEVENT));
    /* The model follows the new zero base. */
    ASSERT_EQ(1, manager.Command("tilt 90 0"));
    ASSERT_EQ(0, api.GetImmediate(&w[0], &w[1]));
    EXPECT_EQ(610, w[0]);
    EXPECT_EQ(515, w[1]);

    /* An implausible proposal is adopted but marked not valid. */
    ASSERT_EQ(0, api.SetZeroBase(100, 100, 100, 100));
    ASSERT_TRUE(tb::WaitFor([&] { return Get("adopted") == 2; }, 3000));
    EXPECT_EQ(-7, api.GetZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(100, Get("zb0"));
    /* Nothing is adopted while the event stays signalled. */
    tb::Pump(200);
    EXPECT_EQ(2, Get("adopted"));
}

TEST_F(GravmonStandin, HoldMakesClientsGiveUpAfter100ms)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(0, api.Monopolize(hwnd2));
    ASSERT_EQ(1, manager.Command("hold 1500"));
    EXPECT_EQ(GRAVMGR_RESULT_ERROR, manager.Command("hold 10"));   /* one at a time */
    float fX = 7, fY = 7;
    DWORD dwStart = GetTickCount();
    EXPECT_EQ(-4, api.GetAngle(&fX, &fY, hwnd2));
    EXPECT_LT(GetTickCount() - dwStart, 600u);
    EXPECT_EQ(-4, api.Unmonopolize(hwnd2));
    EXPECT_EQ(7.0f, fX);
    ASSERT_TRUE(tb::WaitFor([&] { return api.GetAngle(&fX, &fY, hwnd2) == 0; }, 4000));
    EXPECT_EQ((LRESULT)(ULONG_PTR)hwnd2, Get("monopoly"));
    ASSERT_EQ(1, manager.Command("drop"));
    EXPECT_EQ(0, Get("monopoly"));
    EXPECT_EQ(0, api.GetAngle(&fX, &fY, hwnd));
}

TEST_F(GravmonStandin, OverrideLendsTheMonopolyAndGivesItBack)
{
    ASSERT_TRUE(manager.Start());
    HWND hwndGuard = tb::MakeWindow("gravmon guard");
    ASSERT_EQ(0, api.Monopolize(hwnd));
    float fX, fY;
    EXPECT_EQ(-5, api.GetAcceleration(&fX, &fY, hwndGuard));

    HWND hwndManager = manager.Window();
    ASSERT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwndGuard));
    EXPECT_EQ((LRESULT)(ULONG_PTR)hwndGuard, Get("override"));
    EXPECT_EQ(1, Get("overrides"));
    EXPECT_EQ(0, api.GetAcceleration(&fX, &fY, hwndGuard));
    EXPECT_EQ(-5, api.GetAcceleration(&fX, &fY, hwnd));
    /* Another window cannot take the override; a repeated begin is fine. */
    EXPECT_EQ(0, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwnd2));
    EXPECT_EQ(0, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwnd2));
    EXPECT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwndGuard));
    EXPECT_EQ(1, Get("overrides"));
    /* The grant is kept even when a client clears the field meanwhile. */
    ASSERT_EQ(0, api.Unmonopolize(hwndGuard));
    ASSERT_TRUE(tb::WaitFor([&] { return Get("monopoly") == (LRESULT)(ULONG_PTR)hwndGuard; }, 2000));

    ASSERT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwndGuard));
    EXPECT_EQ(0, Get("override"));
    EXPECT_EQ((LRESULT)(ULONG_PTR)hwnd, Get("monopoly"));
    EXPECT_EQ(0, api.GetAcceleration(&fX, &fY, hwnd));
    EXPECT_EQ(-5, api.GetAcceleration(&fX, &fY, hwndGuard));
    EXPECT_EQ(0, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwndGuard));

    /* A guard window that dies ends its override: the holder comes back. */
    ASSERT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwndGuard));
    DestroyWindow(hwndGuard);
    ASSERT_TRUE(tb::WaitFor([&] { return Get("override") == 0; }, 2000));
    EXPECT_EQ((LRESULT)(ULONG_PTR)hwnd, Get("monopoly"));
    /* Without a monopoly the override leaves 0 behind. */
    ASSERT_EQ(0, api.Unmonopolize(hwnd));
    HWND hwndGuard2 = tb::MakeWindow("gravmon guard 2");
    ASSERT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)hwndGuard2));
    ASSERT_EQ(1, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 0, (LPARAM)hwndGuard2));
    EXPECT_EQ(0, Get("monopoly"));
    EXPECT_EQ(0, SendMessageA(hwndManager, WM_GRAVMON_OVERRIDEMONOPOLIZE, 1, (LPARAM)NULL));
    DestroyWindow(hwndGuard2);
}

std::vector<WPARAM> g_notifications;
const UINT g_uMsgNotifyEvent = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);

LRESULT CALLBACK NotifyWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == g_uMsgNotifyEvent) {
        g_notifications.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

TEST_F(GravmonStandin, GestureReachesAHiddenTopLevelWindow)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = NotifyWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "GravmonTestNotify";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND hwndListener = CreateWindowA("GravmonTestNotify", "listener", WS_OVERLAPPED, 0, 0, 10, 10,
                                      NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hwndListener);
    ASSERT_FALSE(IsWindowVisible(hwndListener));
    ASSERT_TRUE(manager.Start());
    g_notifications.clear();

    ASSERT_EQ(1, manager.Command("gesture 0x0301"));
    ASSERT_EQ(1, manager.Command("gesture 257"));
    ASSERT_TRUE(tb::WaitFor([] { return g_notifications.size() >= 2; }, 3000));
    EXPECT_EQ(0x0301u, g_notifications[0]);
    EXPECT_EQ(0x0101u, g_notifications[1]);
    EXPECT_EQ(2, Get("gestures"));
    tb::Pump(100);
    EXPECT_EQ(2u, g_notifications.size());   /* once per window */
    DestroyWindow(hwndListener);
}

TEST_F(GravmonStandin, ScenarioTimelineAndLogFile)
{
    std::string dir = tb::ScratchDir(true);
    std::string scenario = dir + "\\timeline.scn";
    std::string log = dir + "\\gravmgr.log";
    {
        std::ofstream f(scenario.c_str(), std::ios::binary);
        f << "# test timeline\r\n0 tilt 10 20\r\n300 tilt -5 7   # later\r\n350 gesture 0x0201\r\n";
    }
    ASSERT_TRUE(manager.Start("/scenario \"" + scenario + "\" /log \"" + log + "\""));
    float fX = 0, fY = 0;
    ASSERT_TRUE(tb::WaitFor([&] {
        return api.GetAngle(&fX, &fY, hwnd) == 0 && fX == -5.0f && fY == 7.0f;
    }, 3000));
    ASSERT_TRUE(tb::WaitFor([&] { return Get("gestures") == 1; }, 3000));
    manager.Stop();
    std::ifstream f(log.c_str());
    std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find("3 entries")) << text;
    EXPECT_NE(std::string::npos, text.find("gesture 0x0201")) << text;
    EXPECT_NE(std::string::npos, text.find("manager ends")) << text;

    /* A bad scenario ends the stand-in at once with exit code 2. */
    {
        std::ofstream bad(scenario.c_str(), std::ios::binary);
        bad << "0 tilt 10\n";
    }
    tb::Process proc;
    ASSERT_TRUE(proc.Start(tb::BinPath("Gravmgr.exe"), "/hidden /scenario \"" + scenario + "\""));
    EXPECT_EQ(2, proc.Wait(5000));
}

TEST_F(GravmonStandin, SecondManagerExitsAndTheFirstKeepsServing)
{
    ASSERT_TRUE(manager.Start());
    tb::Process second;
    ASSERT_TRUE(second.Start(tb::BinPath("Gravmgr.exe"), "/hidden"));
    EXPECT_EQ(3, second.Wait(5000));
    float fX, fY;
    EXPECT_EQ(0, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(1, manager.Command("tilt 1 2"));

    /* WM_CLOSE ends the manager; the block goes with it. */
    HWND hwndManager = manager.Window();
    PostMessageA(hwndManager, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, manager.Proc().Wait(5000));
    EXPECT_EQ(-4, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(-4, api.GetImmediate(NULL, NULL));
}

TEST_F(GravmonStandin, ThreadsAndProcessesReadWhileTheStandinChurns)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("churn 1"));
    LRESULT lStart = Get("updates");

    std::vector<std::unique_ptr<tb::Process>> loaders;
    for (int i = 0; i < 2; i++) {
        loaders.emplace_back(new tb::Process);
        ASSERT_TRUE(loaders.back()->Start(tb::BinPath("Gravload.exe"), "1500"));
    }
    std::atomic<long> nTorn{0}, nFailed{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; t++) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 600; i++) {
                float fX = 1, fY = 2;
                WORD wX = 1, wY = 2;
                LONG r;
                if ((i + t) % 3 == 2) {
                    r = api.GetImmediate(&wX, &wY);
                    fX = wX;
                    fY = wY;
                } else if ((i + t) % 3 == 1) {
                    r = api.GetAcceleration(&fX, &fY, hwnd);
                } else {
                    r = api.GetAngle(&fX, &fY, hwnd2);
                }
                if (r != 0)
                    nFailed++;
                else if (fX != fY)
                    nTorn++;
            }
        });
    }
    /* Pump while the threads run: GetImmediate sends to the manager, not here. */
    for (auto &th : threads)
        th.join();
    for (auto &p : loaders)
        EXPECT_EQ(0, p->Wait(30000));   /* 0: no failure, no torn pair */
    EXPECT_EQ(0, nFailed);
    EXPECT_EQ(0, nTorn);
    EXPECT_GT(Get("updates"), lStart + 100);
    ASSERT_EQ(1, manager.Command("churn 0"));
    EXPECT_TRUE(manager.Proc().Running());
}

} // namespace
