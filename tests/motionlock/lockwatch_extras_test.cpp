/*
 * Lockwatch's movement threshold and held alarm, in this process like the
 * runtime tests: the manager stand-in serves the readings, the speaker is
 * this process's mixer (Wine keeps the volume per process).
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include "motionlock/lockstore.h"
#include "hwgate_standin.h"
#include "inproc.h"
#include "runtime_fixture.h"

using namespace mltest;

class LockwatchExtras : public LockwatchRuntime {
protected:
    void Settings(DWORD dwThreshold, DWORD dwHold)
    {
        ASSERT_TRUE(tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH,
                                    LOCKWATCH_VAL_MOVETHRESHOLD, dwThreshold));
        ASSERT_TRUE(tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH,
                                    LOCKWATCH_VAL_HOLDALARM, dwHold));
    }
    bool SpeakerRaised() { return m_mixer.Mute() == 0 && m_mixer.Volume() == m_mixer.VolumeMax(); }
};

TEST_F(LockwatchExtras, MovementBelowTheThresholdIsStillAndAboveItSoundsTheAlarm)
{
    ASSERT_NO_FATAL_FAILURE(Settings(100, 0));
    ASSERT_NO_FATAL_FAILURE(StartArmed());

    /* A nudge of 0.05 g on X, then 0.09 g on Y: below 100 thousandths. */
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitReadings(4));
    ASSERT_EQ(1, m_manager.Command("accel 0.25 -0.41"));
    ASSERT_TRUE(m_lw.WaitReadings(4));
    EXPECT_EQ(0, SoundStarts());
    EXPECT_FALSE(g_Lockwatch.bAlarmOn);

    /* Carried away: 0.15 g from the baseline. */
    ASSERT_EQ(1, m_manager.Command("accel 0.4 -0.5"));
    ASSERT_TRUE(m_lw.WaitAlarm());
    EXPECT_EQ(1, SoundStarts());
}

TEST_F(LockwatchExtras, HeldAlarmPutsALoweredSpeakerBackWithinASecondAndUnlockRestoresTheUsers)
{
    ASSERT_NO_FATAL_FAILURE(Settings(0, 1));
    ASSERT_NO_FATAL_FAILURE(StartArmed());
    ASSERT_EQ(1, m_manager.Command("move"));
    ASSERT_TRUE(m_lw.WaitAlarm());
    ASSERT_TRUE(SpeakerRaised());

    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(i);
        /* Someone turns it down, then mutes it. */
        if (i == 0)
            m_mixer.SetVolume(1000);
        else
            m_mixer.SetMute(1);
        DWORD dwStart = GetTickCount();
        ASSERT_TRUE(tb::WaitFor([&] { return SpeakerRaised(); }, 3000));
        EXPECT_LE(GetTickCount() - dwStart, 1100u);
    }
    EXPECT_EQ(1u, g_MixerState.dwSavedMute) << "the user's values stay saved";
    EXPECT_EQ(46u, g_MixerState.dwSavedVolume);

    m_lw.Unlock();
    EXPECT_FALSE(m_lw.Alive());
    EXPECT_EQ(1u, m_mixer.Mute());
    EXPECT_NEAR(30146, (int)m_mixer.Volume(), 1);
    /* Nothing raises it after the end. */
    m_mixer.SetVolume(2000);
    tb::Pump(1300);
    EXPECT_NEAR(2000, (int)m_mixer.Volume(), 1);
}
