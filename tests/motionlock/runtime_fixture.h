/*
 * Lockwatch's runtime in this process against the manager stand-in and the
 * Hwgate stand-in, with recorders for the lock and the sound: each test
 * starts from a reset registry, a muted speaker at 30000 and no Lockwatch.
 */
#ifndef MOTIONLOCK_RUNTIME_FIXTURE_H
#define MOTIONLOCK_RUNTIME_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "hwgate_standin.h"
#include "inproc.h"

namespace mltest {

class LockwatchRuntime : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        tb::RegisterGravmon();
        HwgateReset();
        ASSERT_TRUE(m_manager.Start());
        ASSERT_EQ(1, m_manager.Command("accel 0.25 -0.5"));
        InstallFakePlatform();
        ResetLockwatchGlobals();
        ASSERT_TRUE(m_mixer.Ok());
        m_mixer.SetMute(1);
        m_mixer.SetVolume(30000);
    }
    void TearDown() override
    {
        m_lw.Close();
        ResetLockwatchGlobals();
        RemoveFakePlatform();
        m_manager.Stop();
        HwgateReset();
        tb::ResetRegistry();
    }
    /* Started, locked and holding a baseline. */
    void StartArmed()
    {
        ASSERT_TRUE(m_lw.Create());
        ASSERT_TRUE(m_lw.WaitLocked());
        ASSERT_TRUE(m_lw.WaitArmed());
    }
    /* No reading is taken for a while. */
    bool ReadingsStopped(DWORD dwMs = 400)
    {
        int n = g_fake.nAccelCalls;
        tb::Pump(dwMs);
        return g_fake.nAccelCalls == n;
    }
    bool Released() { return m_manager.Command("get override") == 0; }

    tb::Manager m_manager;
    InprocLockwatch m_lw;
    TestMixer m_mixer;
};

} // namespace mltest

#endif
