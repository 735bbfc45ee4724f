/*
 * The fixture of the Feedrun tests: the manager stand-in, a Feedrun and the
 * target windows it serves, none left running and the registry reset before
 * and after each test. The target's log is named by the test.
 */
#ifndef TESTS_TILTFEED_FEEDRUN_FIXTURE_H
#define TESTS_TILTFEED_FEEDRUN_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"

class FeedrunFixture : public ::testing::Test {
protected:
    explicit FeedrunFixture(const char *pszLog) : m_log(pszLog) {}

    void SetUp() override
    {
        tb::ResetRegistry();
        tb::KillTargets();
        tb::RegisterGravmon();
        tb::SetTargetEnvironment(&m_log);
    }

    void TearDown() override
    {
        m_feedrun.Kill();
        tb::KillTargets();
        m_manager.Stop();
        tb::SetTargetEnvironment(NULL);
        tb::ResetRegistry();
    }

    tb::Manager m_manager;
    tb::Process m_feedrun;
    tb::TargetLog m_log;
};

#endif
