/*
 * Joltrun.exe with a quiet time after keyboard and mouse input, end to end
 * with the manager stand-in sending the quick tilts. Real input comes from
 * xdotool through the X server, which Wine takes for the user's keyboard;
 * synthesised input (SendInput, a served Tiltfeed item) does not count.
 */
#include "jolt_fixture.h"
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"
#include "jolt/joltstore.h"

using namespace jt;

namespace {

/* One key press and release as the user's keyboard makes it. X gives the
 * keys to the window with the input focus, so a window of this test is put
 * in front first. Wine runs a program of the host by its path. */
bool RealKeyPress()
{
    HWND hwnd = tb::MakeWindow("quiet keys");
    bool bOk = hwnd != NULL && tb::BringToFront(hwnd);
    tb::Process xdotool;
    if (bOk)
        bOk = xdotool.Start("Z:\\usr\\bin\\xdotool", "key shift");
    tb::Pump(300);   /* the key has reached the hooks */
    if (hwnd != NULL)
        DestroyWindow(hwnd);
    return bOk;
}

/* One key press and release injected by a program. */
void InjectedKeyPress()
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

TEST_F(JoltrunTest, QuickTiltSoonAfterTheUsersKeyIsIgnoredButNotAfterSynthesisedInput)
{
    JoltValues v;
    v.dwIdle = 1;
    WriteValues(v);
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 500));
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(StartRuntime());

    /* A mouse-mode item served in front moves the pointer every 100 ms:
     * the quick tilt still acts. */
    tb::WriteTiltfeedItem("Served", tb::BinPath("Feedtarget.exe"), 0);
    ASSERT_EQ(1, manager.Command("tilt 20 0"));
    tb::TargetLog log("quiet_target");
    tb::SetTargetEnvironment(&log, 8000);
    tb::Process feedrun;
    ASSERT_TRUE(tb::StartFeedrun(feedrun, "Served"));
    tb::SetTargetEnvironment(NULL);
    HWND hTarget = tb::WaitTargetWindow(15000);
    ASSERT_TRUE(hTarget != NULL);
    ASSERT_TRUE(tb::BringToFront(hTarget));
    ASSERT_TRUE(tb::WaitFor([&] { return log.Count("raw mouse ") >= 3; }, 5000));
    InjectedKeyPress();
    ASSERT_NO_FATAL_FAILURE(Gesture(manager, "0x0200"));
    ASSERT_TRUE(WaitRuns(1));
    tb::KillTargets();
    ASSERT_EQ(1, manager.Command("tilt 0 0"));

    /* Shortly after the user's key: nothing, and no idle period begins. */
    ASSERT_TRUE(RealKeyPress());
    ASSERT_NO_FATAL_FAILURE(Gesture(manager, "0x0100"));
    tb::Pump(300);
    EXPECT_EQ(1u, Runs().size());

    /* Past the quiet time: the action. */
    tb::Pump(700);
    ASSERT_NO_FATAL_FAILURE(Gesture(manager, "0x0200"));
    ASSERT_TRUE(WaitRuns(2));
    EXPECT_EQ((std::vector<std::string>{ "horz.exe", "horz.exe" }), Runs());
}

TEST_F(JoltrunTest, QuietTimeSetLaterIsPickedUpByTheSettingsNotification)
{
    JoltValues v;
    v.dwIdle = 1;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    /* Off: a tilt right after a key acts. */
    ASSERT_TRUE(RealKeyPress());
    ASSERT_TRUE(Notify(kVertical));
    ASSERT_TRUE(WaitRuns(1));

    /* Set as the page does, then notified: now it is ignored. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 2000));
    ASSERT_TRUE(Reload());
    ASSERT_TRUE(RealKeyPress());
    ASSERT_TRUE(Notify(kVertical));
    tb::Pump(300);
    EXPECT_EQ(1u, Runs().size());
    EXPECT_TRUE(m_runtime.Running());
}
