/*
 * Feedrun.exe with an item's dead zone and "level at front" switched on,
 * end to end with the manager stand-in and Feedtarget.exe.
 */
#include "feedrun_fixture.h"
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"
#include "tiltfeed/feeditem.h"

namespace {

const char kItem[] = "Tiltfeed + Comfort";

class FeedrunExtras : public FeedrunFixture {
protected:
    FeedrunExtras() : FeedrunFixture("feedextras") {}

    void Serve(DWORD dwType, DWORD dwKeyRate, DWORD dwDeadZone, DWORD dwLevelAtFront,
               const char *pszTilt)
    {
        ASSERT_TRUE(m_manager.Start());
        ASSERT_EQ(1, m_manager.Command(pszTilt));
        tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), dwType, 100, dwKeyRate);
        std::string key = tb::TiltfeedItemKey(kItem);
        tb::RegSetDword(HKEY_CURRENT_USER, key, FEEDITEM_VAL_DEADZONE, dwDeadZone);
        tb::RegSetDword(HKEY_CURRENT_USER, key, FEEDITEM_VAL_LEVELATFRONT, dwLevelAtFront);
        ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
        ASSERT_TRUE(tb::WaitFeedrunWindow(m_feedrun.Pid()) != NULL);
        m_hwndTarget = tb::WaitTargetWindow();
        ASSERT_TRUE(m_hwndTarget != NULL);
        ASSERT_TRUE(tb::BringToFront(m_hwndTarget));
    }
    size_t KeyCount() const { return m_log.Count("key "); }
    /* Input of the next few ticks, once the tilt in force reached them. */
    size_t KeysOverTicks(DWORD dwMs = 600)
    {
        tb::Pump(250);
        size_t n = KeyCount();
        tb::Pump(dwMs);
        return KeyCount() - n;
    }

    HWND m_hwndTarget = NULL;
};

} // namespace

TEST_F(FeedrunExtras, DeadZoneSilencesSmallTiltsInKeyMode)
{
    /* Without the zone, 4 degrees at this rate are two presses a tick. */
    ASSERT_NO_FATAL_FAILURE(Serve(1, 45, 5, 0, "tilt 4 -4"));
    EXPECT_EQ(0u, KeysOverTicks());
    ASSERT_EQ(1, m_manager.Command("tilt 10 0"));
    ASSERT_TRUE(tb::WaitFor([&] { return KeyCount() >= 10; }, 3000));
    EXPECT_EQ(m_log.Count("key down 0x27"), KeyCount() / 2) << "only Right";
}

TEST_F(FeedrunExtras, DeadZoneSendsAZeroMoveInMouseModeAndMovesPastIt)
{
    /* 4 degrees would be 4 pixels at rate 100. */
    ASSERT_NO_FATAL_FAILURE(Serve(0, 10, 5, 0, "tilt 4 -4"));
    ASSERT_TRUE(tb::WaitFor([&] { return m_log.Count("raw mouse 0 0 ") >= 3; }, 5000));
    EXPECT_EQ(m_log.Count("raw mouse "), m_log.Count("raw mouse 0 0 "));
    ASSERT_EQ(1, m_manager.Command("tilt 5.5 -5.5"));
    ASSERT_TRUE(tb::WaitFor([&] { return m_log.Has("raw mouse 6 -6 "); }, 3000));
}

TEST_F(FeedrunExtras, LevelIsThePostureWhenTheTargetComesToTheFront)
{
    /* Held at 30 degrees (three presses a tick without the setting). */
    ASSERT_NO_FATAL_FAILURE(Serve(1, 10, 0, 1, "tilt 30 0"));
    EXPECT_EQ(0u, KeysOverTicks(800));

    /* Nine degrees further: one Right a tick. */
    ASSERT_EQ(1, m_manager.Command("tilt 39 0"));
    ASSERT_TRUE(tb::WaitFor([&] { return KeyCount() >= 4; }, 3000));
    EXPECT_EQ(KeyCount() / 2, m_log.Count("key down 0x27"));

    /* Away and back at 39 degrees: that is level now. */
    HWND hwndOther = tb::MakeWindow("another application");
    ASSERT_TRUE(tb::BringToFront(hwndOther));
    tb::Pump(400);
    ASSERT_TRUE(tb::BringToFront(m_hwndTarget));
    EXPECT_EQ(0u, KeysOverTicks(800));
    DestroyWindow(hwndOther);
}
