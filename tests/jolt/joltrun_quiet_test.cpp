/*
 * Joltrun.exe with a quiet time after keyboard and mouse input, end to end
 * with the manager stand-in sending the quick tilts.
 */
#include "jolt_fixture.h"
#include "testbench/manager.h"
#include "jolt/joltstore.h"

using namespace jt;

namespace {

/* One key press and release, as a typing user makes it. */
void PressShift()
{
    INPUT in[2] = {};
    for (int i = 0; i < 2; i++) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = VK_SHIFT;
        in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, in, sizeof(INPUT));
}

/* The manager's quick tilt, once the runtime has had the time to handle it. */
void Gesture(tb::Manager &manager, const char *pszCode)
{
    ASSERT_EQ(1, manager.Command(std::string("gesture ") + pszCode));
    tb::Pump(100);
}

} // namespace

TEST_F(JoltrunTest, QuickTiltSoonAfterAKeyPressIsIgnoredWithoutAnIdlePeriod)
{
    JoltValues v;
    v.dwIdle = 1;
    WriteValues(v);
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 500));
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(StartRuntime());

    /* 200 ms after a key press: nothing. */
    PressShift();
    Sleep(200);
    ASSERT_NO_FATAL_FAILURE(Gesture(manager, "0x0100"));
    tb::Pump(300);
    EXPECT_TRUE(Runs().empty());

    /* 700 ms after the key press: the action. The ignored tilt started no
     * idle period either, so nothing else holds it back. */
    PressShift();
    Sleep(700);
    ASSERT_NO_FATAL_FAILURE(Gesture(manager, "0x0200"));
    ASSERT_TRUE(WaitRuns(1));
    EXPECT_EQ((std::vector<std::string>{ "horz.exe" }), Runs());
}

TEST_F(JoltrunTest, QuietTimeSetLaterIsPickedUpByTheSettingsNotification)
{
    JoltValues v;
    v.dwIdle = 1;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    /* Off: a tilt right after a key acts. */
    PressShift();
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(WaitRuns(1));

    /* Set as the page does, then notified: now it is ignored. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 2000));
    ASSERT_TRUE(Reload());
    Sleep(30);
    PressShift();
    ASSERT_TRUE(Notify(kVertical));
    tb::Pump(300);
    EXPECT_EQ(1u, Runs().size());
    EXPECT_TRUE(m_runtime.Running());
}
