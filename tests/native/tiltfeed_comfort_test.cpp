/* The comforts of a Tiltfeed item ahead of the engine: dead zone and level
 * at front, and what the engine then sends. */
#include <gtest/gtest.h>
#include "tiltfeed/comfort.h"
#include "tiltfeed/tiltengine.h"

#include <math.h>
#include <string.h>

namespace {

FEEDCOMFORT Feed(uint32_t dwDeadZone, int bLevelAtFront)
{
    FEEDCOMFORT f;
    memset(&f, 0, sizeof(f));
    f.dwDeadZone = dwDeadZone;
    f.bLevelAtFront = bLevelAtFront;
    return f;
}

/* What the engine would send for one reading after the adjustment. */
uint32_t Keys(FEEDCOMFORT *pFeed, float fX, float fY, uint32_t uRate = 10)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    FeedComfortAdjust(pFeed, &fX, &fY);
    return BuildKeyStep(uRate, TiltFraction(fX), TiltFraction(fY), a);
}

MOUSESTEP Mouse(FEEDCOMFORT *pFeed, float fX, float fY, uint32_t uRate = 100)
{
    MOUSESTEP s;
    FeedComfortAdjust(pFeed, &fX, &fY);
    BuildMouseStep(uRate, TiltFraction(fX), TiltFraction(fY), &s);
    return s;
}

} // namespace

TEST(FeedComfort, BothOffLeaveEveryAngleBitForBit)
{
    FEEDCOMFORT f = Feed(0, 0);
    EXPECT_FALSE(FeedComfortActive(&f));
    const float af[] = { 0.0f, -0.0f, 0.9f, -8.99f, 45.0f, 89.99f, -90.0f, 1e30f, NAN, INFINITY };
    for (float fx : af) {
        float x = fx, y = -fx;
        FeedComfortAdjust(&f, &x, &y);
        float want = -fx;
        EXPECT_EQ(0, memcmp(&x, &fx, sizeof(x)));
        EXPECT_EQ(0, memcmp(&y, &want, sizeof(y)));
    }
}

TEST(FeedComfort, DeadZoneSilencesSmallTiltsAndKeepsLargerOnesUnchanged)
{
    /* 5 degrees: a 4 degree tilt sends nothing in key mode and a zero move in
     * mouse mode; 10 degrees moves as the engine always did. */
    FEEDCOMFORT f = Feed(5, 0);
    EXPECT_TRUE(FeedComfortActive(&f));
    EXPECT_EQ(0u, Keys(&f, 4.0f, -4.0f, 20));
    MOUSESTEP s = Mouse(&f, 4.0f, -4.9f);
    EXPECT_EQ(0, s.lDx);
    EXPECT_EQ(0, s.lDy);
    s = Mouse(&f, 10.0f, -10.0f);
    EXPECT_EQ(11, s.lDx);
    EXPECT_EQ(-11, s.lDy);
    EXPECT_EQ(4u, Keys(&f, 10.0f, 0.0f, 20));   /* two presses and releases of Right */

    /* The edge belongs to the zone; just past it the angle counts. */
    EXPECT_EQ(0.0f, DeadZoneAngle(5.0f, 5));
    EXPECT_EQ(0.0f, DeadZoneAngle(-5.0f, 5));
    EXPECT_EQ(5.001f, DeadZoneAngle(5.001f, 5));
    EXPECT_TRUE(isnan(DeadZoneAngle(NAN, 5)));
}

TEST(FeedComfort, LevelIsThePostureWhenTheTargetComesToTheFront)
{
    FEEDCOMFORT f = Feed(0, 1);
    /* Held at 30 degrees when the target comes to the front: nothing. */
    EXPECT_EQ(0u, Keys(&f, 30.0f, -12.0f));
    EXPECT_EQ(0u, Keys(&f, 30.0f, -12.0f));
    EXPECT_EQ(30.0f, f.fLevelX);
    EXPECT_EQ(-12.0f, f.fLevelY);
    /* Tilting 9 degrees further is one press, back past level the other way. */
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    float x = 39.0f, y = -12.0f;
    FeedComfortAdjust(&f, &x, &y);
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(x), TiltFraction(y), a));
    EXPECT_EQ(TILTFEED_VK_RIGHT, a[0].bVk);
    x = 20.0f;
    y = -12.0f;
    FeedComfortAdjust(&f, &x, &y);
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(x), TiltFraction(y), a));
    EXPECT_EQ(TILTFEED_VK_LEFT, a[0].bVk);

    /* Another application in front, then the target again, held level now:
     * the new posture is the level, not the old one. */
    FeedComfortLeftFront(&f);
    EXPECT_EQ(0u, Keys(&f, 0.0f, 0.0f));
    EXPECT_EQ(0u, Keys(&f, 8.0f, 0.0f));
    EXPECT_EQ(2u, Keys(&f, 9.5f, 0.0f));
}

TEST(FeedComfort, RecentringStaysWithinFullTiltAndCombinesWithTheDeadZone)
{
    EXPECT_EQ(90.0f, RecentreAngle(80.0f, -80.0f));
    EXPECT_EQ(-90.0f, RecentreAngle(-90.0f, 45.0f));
    EXPECT_EQ(-15.0f, RecentreAngle(15.0f, 30.0f));

    /* Level at -80: full tilt the other way is clamped, so a hand-edited
     * huge rate still gets at most the engine's own bound of keys. */
    FEEDCOMFORT f = Feed(0, 1);
    EXPECT_EQ(0u, Keys(&f, -80.0f, 0.0f));
    MOUSESTEP s = Mouse(&f, 80.0f, 0.0f, 300);
    EXPECT_EQ(300, s.lDx);

    /* The dead zone applies to the angle measured from the level. */
    FEEDCOMFORT g = Feed(5, 1);
    EXPECT_EQ(0u, Keys(&g, 30.0f, 30.0f, 20));
    EXPECT_EQ(0u, Keys(&g, 34.0f, 26.0f, 20));
    EXPECT_EQ(4u, Keys(&g, 40.0f, 30.0f, 20));
}
