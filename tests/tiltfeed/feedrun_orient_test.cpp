/*
 * Feedrun on a turned screen, end to end with the manager stand-in and
 * Feedtarget.exe. Wine's display cannot be turned, so the runtime here is
 * Feedturn.exe: Feedrun's code told the orientation through its display
 * query; the tilt, the access library and the keys received are real.
 */
#include "feedrun_fixture.h"
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"

namespace {

const char kItem[] = "Tiltfeed + Turned";

class FeedrunTurned : public FeedrunFixture {
protected:
    FeedrunTurned() : FeedrunFixture("feedturned") {}

    void Turn(DWORD dwOrientation)
    {
        ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, tb::kTurnedScreenKey, tb::kTurnedScreenValue,
                                    dwOrientation));
    }
    /* The keys pressed over the next ticks, by name; level in between. */
    std::string KeysFor(const char *pszTilt)
    {
        EXPECT_EQ(1, m_manager.Command(pszTilt));
        tb::Pump(250);
        size_t n = m_log.Count("key down ");
        tb::Pump(500);
        EXPECT_EQ(1, m_manager.Command("tilt 0 0"));
        std::vector<std::string> keys = m_log.With("key down ");
        std::string s;
        for (size_t i = n; i < keys.size(); i++) {
            const char *pszName = keys[i] == "0x25" ? "L" : keys[i] == "0x26" ? "U"
                                : keys[i] == "0x27" ? "R" : keys[i] == "0x28" ? "D" : "?";
            if (s.find(pszName) == std::string::npos)
                s += pszName;
        }
        tb::Pump(300);
        return s;
    }

};

} // namespace

TEST_F(FeedrunTurned, KeysFollowTheScreenAtStartAndAfterItTurnsAgain)
{
    ASSERT_TRUE(m_manager.Start());
    ASSERT_EQ(1, m_manager.Command("tilt 0 0"));
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1, 100, 10);
    /* Portrait, the panel's left edge on top. */
    ASSERT_NO_FATAL_FAILURE(Turn(DMDO_90));
    ASSERT_TRUE(tb::StartFeedturn(m_feedrun, kItem));
    HWND hwndFeedrun = tb::WaitFeedrunWindow(m_feedrun.Pid());
    ASSERT_TRUE(hwndFeedrun != NULL);
    HWND hwndTarget = tb::WaitTargetWindow();
    ASSERT_TRUE(hwndTarget != NULL);
    ASSERT_TRUE(tb::BringToFront(hwndTarget));

    /* The panel's right edge and its top edge lowered 20 degrees: the
     * screen's bottom and right. On an unturned screen: Right and Up. */
    EXPECT_EQ("RD", KeysFor("tilt 20 -20"));

    /* The other portrait, announced as the system does: now the same tilt
     * is towards the screen's top and left. */
    ASSERT_NO_FATAL_FAILURE(Turn(DMDO_270));
    SendMessageA(hwndFeedrun, WM_DISPLAYCHANGE, 32, MAKELPARAM(768, 1024));
    EXPECT_EQ("LU", KeysFor("tilt 20 -20"));
}
