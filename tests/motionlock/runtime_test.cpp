/*
 * Lockwatch's runtime in this process, with the manager stand-in serving
 * the readings and the override, the Hwgate stand-in as the hardware, the
 * mixer of this process, and recorders in place of the workstation lock
 * and the sound (Wine cannot lock). Session and power events are sent to
 * the hidden window as the platform would send them.
 */
#include <gtest/gtest.h>
#include <math.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "hwgate_standin.h"
#include "inproc.h"
#include "runtime_fixture.h"

using namespace mltest;

TEST_F(LockwatchRuntime, LockTakesTheOverrideAndTheFirstReadingIsTheBaseline)
{
    ASSERT_TRUE(m_lw.Create());
    ASSERT_TRUE(m_lw.WaitLocked());
    EXPECT_EQ(1, g_fake.nRegisterCalls);
    EXPECT_EQ(1, g_fake.nLockCalls);
    EXPECT_EQ((LRESULT)(DWORD_PTR)m_lw.Window(), m_manager.Command("get override"));
    EXPECT_EQ(1, m_manager.Command("get overrides"));
    EXPECT_NE((HMIXER)NULL, g_MixerState.hMixer) << "the mixer is opened at the lock";
    EXPECT_EQ(100u, g_nTimerInterval);

    ASSERT_TRUE(m_lw.WaitArmed());
    EXPECT_EQ(0.25f, g_Lockwatch.fBaselineX);
    EXPECT_EQ(-0.5f, g_Lockwatch.fBaselineY);
    ASSERT_TRUE(m_lw.WaitReadings(5)) << "the check goes on every 100 ms";
    EXPECT_EQ(0, SoundStarts()) << "identical readings never alarm";
    EXPECT_EQ(0u, HwgateRequests());
}

TEST_F(LockwatchRuntime, UnlockWithoutAlarmTouchesNoOutputButClosesTheMixerAndReleases)
{
    StartArmed();
    ASSERT_TRUE(m_lw.WaitReadings(3));
    m_lw.Unlock();

    EXPECT_FALSE(m_lw.Alive()) << "the program ends at unlock";
    EXPECT_TRUE(g_fake.sounds.empty()) << "no sound call at all";
    EXPECT_EQ(0u, HwgateRequests());
    EXPECT_EQ(1u, m_mixer.Mute());
    EXPECT_NEAR(30000, (int)m_mixer.Volume(), 1);
    EXPECT_EQ((HMIXER)NULL, g_MixerState.hMixer);
    EXPECT_EQ(1, g_fake.nUnregisterCalls);
    EXPECT_TRUE(Released());
    EXPECT_EQ(1, m_manager.Command("get overrides"));
    EXPECT_TRUE(ReadingsStopped());
}

TEST_F(LockwatchRuntime, MoveStartsTheAlarmInOrderAndUnlockUndoesIt)
{
    StartArmed();

    struct Snapshot { int nAccelCalls; DWORD dwMute, dwVolume; std::vector<std::string> writes;
                      DWORD dwSavedMute, dwSavedVolume; BOOL bAlarmOn; };
    std::vector<Snapshot> shots;
    g_fake.onSound = [&](const SoundCall &) {
        shots.push_back({ g_fake.nAccelCalls, m_mixer.Mute(), m_mixer.Volume(), HwgateWrites(),
                          g_MixerState.dwSavedMute, g_MixerState.dwSavedVolume, g_Lockwatch.bAlarmOn });
    };
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());

    ASSERT_EQ(1u, shots.size());
    const Snapshot &start = shots[0];
    EXPECT_EQ(1u, start.dwSavedMute) << "mute saved before it was raised";
    EXPECT_EQ(46u, start.dwSavedVolume) << "volume saved before it was raised";
    EXPECT_EQ(0u, start.dwMute);
    EXPECT_EQ(65535u, start.dwVolume);
    EXPECT_EQ(std::vector<std::string>({ "5E=2", "6E=1" }), start.writes);
    EXPECT_FALSE(start.bAlarmOn) << "the flag is set last";
    EXPECT_EQ(ProgramDir() + "Windows XP Ding.wav", g_fake.sounds[0].sound);
    EXPECT_EQ(0x20009u, g_fake.sounds[0].dwFlags);
    EXPECT_EQ(start.nAccelCalls, g_fake.nAccelCalls) << "the check stopped before the outputs";
    EXPECT_TRUE(ReadingsStopped());
    EXPECT_EQ(2u, HwgateSetting(0x5E));
    EXPECT_EQ(1u, HwgateSetting(0x6E));

    m_lw.Unlock();
    EXPECT_FALSE(m_lw.Alive());
    ASSERT_EQ(2u, shots.size()) << "start, then stop";
    const Snapshot &stop = shots[1];
    EXPECT_EQ(0u, stop.dwMute) << "sound stopped before the mixer is put back";
    EXPECT_EQ(2u, stop.writes.size()) << "and before the settings are switched off";
    EXPECT_TRUE(g_fake.sounds[1].bNullSound);
    EXPECT_EQ(0x20001u, g_fake.sounds[1].dwFlags);
    EXPECT_EQ(1u, m_mixer.Mute());
    /* Known difference: Wine's float volume reads 30146 back as 30145 or 30146. */
    EXPECT_NEAR(30146, (int)m_mixer.Volume(), 1) << "restored to the nearest percent";
    EXPECT_EQ(std::vector<std::string>({ "5E=2", "6E=1", "5E=0", "6E=0" }), HwgateWrites());
    EXPECT_EQ(0u, HwgateSetting(0x5E));
    EXPECT_EQ(0u, HwgateSetting(0x6E));
    EXPECT_TRUE(Released());
    EXPECT_EQ((HMIXER)NULL, g_MixerState.hMixer);
}

TEST_F(LockwatchRuntime, ComparisonIsExactWithSignedZerosEqualAndNaNUnchanged)
{
    g_fake.bFakeAccel = true;
    g_fake.fAccelX = 0.0f;
    g_fake.fAccelY = 0.0f;
    StartArmed();

    g_fake.fAccelX = -0.0f;
    g_fake.fAccelY = -0.0f;
    ASSERT_TRUE(m_lw.WaitReadings(3));
    g_fake.fAccelX = NAN;
    ASSERT_TRUE(m_lw.WaitReadings(3));
    g_fake.fAccelX = 0.0f;
    g_fake.fAccelY = NAN;
    ASSERT_TRUE(m_lw.WaitReadings(3));
    EXPECT_FALSE(g_Lockwatch.bAlarmOn);
    EXPECT_EQ(0, SoundStarts());

    g_fake.fAccelY = 1e-45f;    /* the smallest step away from zero */
    ASSERT_TRUE(m_lw.WaitAlarm());
    EXPECT_EQ(1, SoundStarts());
}

TEST_F(LockwatchRuntime, FirstReadingNeverAlarmsWhateverItsValue)
{
    g_fake.bFakeAccel = true;
    g_fake.fAccelX = 123.0f;
    g_fake.fAccelY = -77.0f;
    ASSERT_TRUE(m_lw.Create());
    ASSERT_TRUE(m_lw.WaitLocked());
    ASSERT_TRUE(m_lw.WaitReadings(4));
    EXPECT_FALSE(g_Lockwatch.bBaselinePending);
    EXPECT_EQ(0, SoundStarts());

    g_fake.fAccelX = 123.00001f;
    ASSERT_TRUE(m_lw.WaitAlarm()) << "the second differing reading alarms";
}

TEST_F(LockwatchRuntime, FailingReadingsNeverAlarmAndKeepTheBaselinePending)
{
    g_fake.bFakeAccel = true;
    g_fake.lAccelResult = -5;
    ASSERT_TRUE(m_lw.Create());
    ASSERT_TRUE(m_lw.WaitLocked());
    for (int i = 0; i < 4; i++) {
        g_fake.fAccelX = (float)i;
        ASSERT_TRUE(m_lw.WaitReadings(1));
    }
    g_fake.lAccelResult = -6;
    ASSERT_TRUE(m_lw.WaitReadings(2));
    EXPECT_TRUE(g_Lockwatch.bBaselinePending);
    EXPECT_EQ(0, SoundStarts());

    /* Suspend with the baseline still pending leaves the check running. */
    m_lw.Power(PBT_APMSUSPEND);
    ASSERT_TRUE(m_lw.WaitReadings(2));

    g_fake.lAccelResult = 0;
    g_fake.fAccelX = 9.0f;
    ASSERT_TRUE(m_lw.WaitArmed());
    EXPECT_EQ(9.0f, g_Lockwatch.fBaselineX) << "the first good reading is the baseline";
    ASSERT_TRUE(m_lw.WaitReadings(3));
    EXPECT_EQ(0, SoundStarts());
}

TEST_F(LockwatchRuntime, SuspendAndResumeWhileArmedRetakesTheBaseline)
{
    StartArmed();
    m_lw.Power(PBT_APMSUSPEND);
    EXPECT_TRUE(ReadingsStopped()) << "no readings while suspended";

    ASSERT_EQ(1, m_manager.Command("accel 0.75 0.125"));     /* moved while suspended */
    m_lw.Power(PBT_APMRESUMESUSPEND);
    EXPECT_TRUE(g_Lockwatch.bBaselinePending);
    m_lw.Power(PBT_APMRESUMEAUTOMATIC);                        /* a second resume event */
    ASSERT_TRUE(m_lw.WaitArmed());
    EXPECT_EQ(0.75f, g_Lockwatch.fBaselineX);
    EXPECT_EQ(0.125f, g_Lockwatch.fBaselineY);
    ASSERT_TRUE(m_lw.WaitReadings(3));
    EXPECT_EQ(0, SoundStarts()) << "movement during the suspension is not an alarm";
    EXPECT_EQ(0u, HwgateRequests()) << "no hardware read back without an alarm";

    m_lw.Power(PBT_APMQUERYSUSPEND);                           /* other events do nothing */
    ASSERT_TRUE(m_lw.WaitReadings(1));

    ASSERT_EQ(1, m_manager.Command("accel 0.75 0.25"));
    ASSERT_TRUE(m_lw.WaitAlarm());
}

TEST_F(LockwatchRuntime, ResumeDuringAlarmReassertsClearedSettingsRearmsAndKeepsTheUsersSpeaker)
{
    StartArmed();
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());
    ASSERT_EQ(std::vector<std::string>({ "5E=2", "6E=1" }), HwgateWrites());

    m_lw.Power(PBT_APMSUSPEND);
    HwgateSetSetting(0x5E, 0);          /* the suspension cleared the first setting */
    m_lw.Power(PBT_APMRESUMECRITICAL);
    EXPECT_EQ(std::vector<std::string>({ "5E=2", "6E=1", "5E=2" }), HwgateWrites())
        << "only the cleared setting is switched on again";
    std::vector<HWGATELOGRECORD> log = HwgateLog();
    ASSERT_EQ(5u, log.size());
    EXPECT_EQ(0xFE00u, log[2].dwCode);
    EXPECT_EQ(0x5Eu, log[2].dwNumber);
    EXPECT_EQ(0xFE00u, log[4].dwCode);
    EXPECT_EQ(0x6Eu, log[4].dwNumber);

    ASSERT_TRUE(m_lw.WaitArmed()) << "the check runs again with a fresh baseline";
    EXPECT_EQ(1, SoundStarts());
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm(2)) << "a later change runs the alarm start again";
    EXPECT_EQ(2, SoundStarts()) << "the sound is started again";
    EXPECT_EQ(0u, m_mixer.Mute()) << "and the speaker raised again";
    EXPECT_EQ(65535u, m_mixer.Volume());
    EXPECT_EQ(1u, g_MixerState.dwSavedMute) << "the user's values stay saved";
    EXPECT_EQ(46u, g_MixerState.dwSavedVolume);

    m_lw.Unlock();
    EXPECT_EQ(1u, m_mixer.Mute()) << "the unlock gives the user's speaker settings back";
    EXPECT_NEAR(30146, (int)m_mixer.Volume(), 1) << "46 %, as the first start saved it";
    EXPECT_EQ(0u, HwgateSetting(0x5E));
    EXPECT_EQ(0u, HwgateSetting(0x6E));
    EXPECT_TRUE(Released());
}

TEST_F(LockwatchRuntime, ResumeDuringAlarmLeavesSettingsAloneWhenTheReadFails)
{
    StartArmed();
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());
    HwgateSetSetting(0x5E, 0);
    HwgateSetSetting(0x6E, 0);
    HwgateFail(HWGATE_FAIL_ALWAYS, 1);
    g_fake.sleeps.clear();
    m_lw.Power(PBT_APMRESUMESUSPEND);
    EXPECT_EQ(40u, g_fake.sleeps.size()) << "two reads of 20 attempts";
    HwgateFail(0);
    EXPECT_EQ(std::vector<std::string>({ "5E=2", "6E=1" }), HwgateWrites());
    EXPECT_EQ(0u, HwgateSetting(0x5E));
}

TEST_F(LockwatchRuntime, AlarmGoesOnWhenTheHardwareFails)
{
    HwgateFail(HWGATE_FAIL_ALWAYS, 0);
    StartArmed();
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());
    EXPECT_EQ(40u, g_fake.sleeps.size()) << "20 attempts for each setting";
    EXPECT_EQ(0u, m_mixer.Mute());
    EXPECT_EQ(1, SoundStarts());
}

TEST_F(LockwatchRuntime, EndOfSessionEndsTheLockButKeepsTheWindow)
{
    StartArmed();
    SendMessageA(m_lw.Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(Released()) << "a cancelled end of session does nothing";
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());

    SendMessageA(m_lw.Window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(m_lw.Alive());
    EXPECT_TRUE(Released());
    EXPECT_EQ(0u, HwgateSetting(0x5E));
    EXPECT_EQ(1u, m_mixer.Mute());
    EXPECT_TRUE(g_fake.sounds.back().bNullSound);

    /* A resume after the end neither switches the settings on again nor
     * reads from the freed library. */
    DWORD dwRequests = HwgateRequests();
    m_lw.Power(PBT_APMRESUMESUSPEND);
    tb::Pump(400);
    EXPECT_TRUE(m_lw.Alive());
    EXPECT_EQ(1, SoundStarts());
    EXPECT_EQ(dwRequests, HwgateRequests());
    EXPECT_EQ(0u, HwgateSetting(0x5E));
}

TEST_F(LockwatchRuntime, SessionRegistrationIsRetriedOnceASecond)
{
    g_fake.nRegisterFailures = 1;
    DWORD dwStart = GetTickCount();
    ASSERT_TRUE(m_lw.Create());
    ASSERT_TRUE(m_lw.WaitLocked(4000));
    DWORD dwElapsed = GetTickCount() - dwStart;
    EXPECT_EQ(2, g_fake.nRegisterCalls);
    EXPECT_EQ(1, g_Lockwatch.lRegistrationRetries);
    EXPECT_GE(dwElapsed, 900u) << "the lock waits for the registration";
    EXPECT_LT(dwElapsed, 2500u);
}

TEST_F(LockwatchRuntime, RegistrationGivesUpOnTheHundredAndFirstRetryTick)
{
    g_fake.nRegisterFailures = -1;
    ASSERT_TRUE(m_lw.Create());
    ASSERT_TRUE(tb::WaitFor([] { return g_fake.nRegisterCalls == 1; }));

    /* Retry ticks delivered at once instead of once a second. */
    for (int i = 0; i < 100; i++)
        SendMessageA(m_lw.Window(), WM_TIMER, IDT_SESSION_RETRY, 0);
    EXPECT_TRUE(m_lw.Alive());
    EXPECT_EQ(100, g_Lockwatch.lRegistrationRetries);
    EXPECT_EQ(101, g_fake.nRegisterCalls);

    /* The retry timer set by the last failure brings the 101st tick. */
    ASSERT_TRUE(tb::WaitFor([&] { return !m_lw.Alive(); }, 3000));
    EXPECT_EQ(101, g_fake.nRegisterCalls);
    EXPECT_EQ(0, g_fake.nLockCalls);
    EXPECT_EQ(0, m_manager.Command("get overrides"));
    EXPECT_EQ(0, tb::CountDialogs(GetCurrentProcessId())) << "ends without a message";
}

TEST_F(LockwatchRuntime, UnboundRegistrationShowsTheMessageAndEnds)
{
    g_fake.bHideRegister = true;
    BoxCloser box;
    ASSERT_TRUE(m_lw.Create());
    HWND hwnd = m_lw.Window();
    ASSERT_TRUE(tb::WaitFor([&] { return !IsWindow(hwnd); }, 10000));
    EXPECT_EQ(tb::Wide(u8"Программа Lockwatch"), box.Caption());
    EXPECT_EQ(tb::Wide(u8"Не удалось получить данные от Диспетчера акселерометра Zelvar."), box.Text());
    EXPECT_EQ(hwnd, box.Owner());
    EXPECT_EQ(0, g_fake.nLockCalls);
    EXPECT_EQ(0, m_manager.Command("get overrides"));
}

TEST_F(LockwatchRuntime, FailedLockReleasesTheGrantedOverride)
{
    g_fake.bLockResult = FALSE;
    BoxCloser box;
    ASSERT_TRUE(m_lw.Create());
    HWND hwnd = m_lw.Window();
    ASSERT_TRUE(tb::WaitFor([&] { return !IsWindow(hwnd); }, 10000));
    EXPECT_EQ(1, g_fake.nLockCalls);
    EXPECT_EQ(tb::Wide(u8"Не удалось получить данные от Диспетчера акселерометра Zelvar."), box.Text());
    EXPECT_EQ(1, m_manager.Command("get overrides"));
    EXPECT_TRUE(Released());
    EXPECT_FALSE(g_Lockwatch.bCheckTimerStarted);
}

TEST_F(LockwatchRuntime, WindowClassCarriesTheIconAndTheWindowStaysHidden)
{
    g_fake.nRegisterFailures = -1;      /* stay before the lock */
    ASSERT_TRUE(m_lw.Create());
    HWND hwnd = m_lw.Window();
    HICON hIcon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(129));
    ASSERT_NE((HICON)NULL, hIcon);
    EXPECT_EQ((DWORD)(DWORD_PTR)hIcon, (DWORD)GetClassLongPtrA(hwnd, GCLP_HICON));
    EXPECT_NE(0u, (DWORD)GetClassLongPtrA(hwnd, GCLP_HICONSM));
    EXPECT_EQ((DWORD)(COLOR_WINDOW + 1), (DWORD)GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));
    EXPECT_EQ((DWORD)(DWORD_PTR)LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
              (DWORD)GetClassLongPtrA(hwnd, GCLP_HCURSOR));
    EXPECT_EQ((DWORD)(CS_HREDRAW | CS_VREDRAW), (DWORD)GetClassLongA(hwnd, GCL_STYLE));
    char sz[64];
    GetWindowTextA(hwnd, sz, sizeof(sz));
    EXPECT_STREQ("Lockwatch", sz);
    tb::Pump(200);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}
