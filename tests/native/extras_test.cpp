#include <gtest/gtest.h>
#include "extras/extrapure.h"
#include "tiltfeed/tiltengine.h"
#include "motionlock/alarmcalc.h"

#include <math.h>
#include <string.h>

namespace {

EXTRAFEED Feed(uint32_t dwDeadZone, int bLevelAtFront)
{
    EXTRAFEED f;
    memset(&f, 0, sizeof(f));
    f.dwDeadZone = dwDeadZone;
    f.bLevelAtFront = bLevelAtFront;
    return f;
}

/* What the engine would send for one reading after the adjustment. */
uint32_t Keys(EXTRAFEED *pFeed, float fX, float fY, uint32_t uRate = 10)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    ExtraFeedAdjust(pFeed, &fX, &fY);
    return BuildKeyStep(uRate, TiltFraction(fX), TiltFraction(fY), a);
}

MOUSESTEP Mouse(EXTRAFEED *pFeed, float fX, float fY, uint32_t uRate = 100)
{
    MOUSESTEP s;
    ExtraFeedAdjust(pFeed, &fX, &fY);
    BuildMouseStep(uRate, TiltFraction(fX), TiltFraction(fY), &s);
    return s;
}

} // namespace

TEST(ExtraFeed, BothOffLeaveEveryAngleBitForBit)
{
    EXTRAFEED f = Feed(0, 0);
    EXPECT_FALSE(ExtraFeedActive(&f));
    const float af[] = { 0.0f, -0.0f, 0.9f, -8.99f, 45.0f, 89.99f, -90.0f, 1e30f, NAN, INFINITY };
    for (float fx : af) {
        float x = fx, y = -fx;
        ExtraFeedAdjust(&f, &x, &y);
        float want = -fx;
        EXPECT_EQ(0, memcmp(&x, &fx, sizeof(x)));
        EXPECT_EQ(0, memcmp(&y, &want, sizeof(y)));
    }
}

TEST(ExtraFeed, DeadZoneSilencesSmallTiltsAndKeepsLargerOnesUnchanged)
{
    /* 5 degrees: a 4 degree tilt sends nothing in key mode and a zero move in
     * mouse mode; 10 degrees moves as the engine always did. */
    EXTRAFEED f = Feed(5, 0);
    EXPECT_TRUE(ExtraFeedActive(&f));
    EXPECT_EQ(0u, Keys(&f, 4.0f, -4.0f, 20));
    MOUSESTEP s = Mouse(&f, 4.0f, -4.9f);
    EXPECT_EQ(0, s.lDx);
    EXPECT_EQ(0, s.lDy);
    s = Mouse(&f, 10.0f, -10.0f);
    EXPECT_EQ(11, s.lDx);
    EXPECT_EQ(-11, s.lDy);
    EXPECT_EQ(4u, Keys(&f, 10.0f, 0.0f, 20));   /* two presses and releases of Right */

    /* The edge belongs to the zone; just past it the angle counts. */
    EXPECT_EQ(0.0f, ExtraDeadZoneAngle(5.0f, 5));
    EXPECT_EQ(0.0f, ExtraDeadZoneAngle(-5.0f, 5));
    EXPECT_EQ(5.001f, ExtraDeadZoneAngle(5.001f, 5));
    EXPECT_TRUE(isnan(ExtraDeadZoneAngle(NAN, 5)));
}

TEST(ExtraFeed, LevelIsThePostureWhenTheTargetComesToTheFront)
{
    EXTRAFEED f = Feed(0, 1);
    /* Held at 30 degrees when the target comes to the front: nothing. */
    EXPECT_EQ(0u, Keys(&f, 30.0f, -12.0f));
    EXPECT_EQ(0u, Keys(&f, 30.0f, -12.0f));
    EXPECT_EQ(30.0f, f.fLevelX);
    EXPECT_EQ(-12.0f, f.fLevelY);
    /* Tilting 9 degrees further is one press, back past level the other way. */
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    float x = 39.0f, y = -12.0f;
    ExtraFeedAdjust(&f, &x, &y);
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(x), TiltFraction(y), a));
    EXPECT_EQ(TILTFEED_VK_RIGHT, a[0].bVk);
    x = 20.0f;
    y = -12.0f;
    ExtraFeedAdjust(&f, &x, &y);
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(x), TiltFraction(y), a));
    EXPECT_EQ(TILTFEED_VK_LEFT, a[0].bVk);

    /* Another application in front, then the target again, held level now:
     * the new posture is the level, not the old one. */
    ExtraFeedLeftFront(&f);
    EXPECT_EQ(0u, Keys(&f, 0.0f, 0.0f));
    EXPECT_EQ(0u, Keys(&f, 8.0f, 0.0f));
    EXPECT_EQ(2u, Keys(&f, 9.5f, 0.0f));
}

TEST(ExtraFeed, RecentringStaysWithinFullTiltAndCombinesWithTheDeadZone)
{
    EXPECT_EQ(90.0f, ExtraRecentreAngle(80.0f, -80.0f));
    EXPECT_EQ(-90.0f, ExtraRecentreAngle(-90.0f, 45.0f));
    EXPECT_EQ(-15.0f, ExtraRecentreAngle(15.0f, 30.0f));

    /* Level at -80: full tilt the other way is clamped, so a hand-edited
     * huge rate still gets at most the engine's own bound of keys. */
    EXTRAFEED f = Feed(0, 1);
    EXPECT_EQ(0u, Keys(&f, -80.0f, 0.0f));
    MOUSESTEP s = Mouse(&f, 80.0f, 0.0f, 300);
    EXPECT_EQ(300, s.lDx);

    /* The dead zone applies to the angle measured from the level. */
    EXTRAFEED g = Feed(5, 1);
    EXPECT_EQ(0u, Keys(&g, 30.0f, 30.0f, 20));
    EXPECT_EQ(0u, Keys(&g, 34.0f, 26.0f, 20));
    EXPECT_EQ(4u, Keys(&g, 40.0f, 30.0f, 20));
}

TEST(ExtraJolt, QuietTimeGatesOnlyInputNewerThanItAndSurvivesTheWrap)
{
    EXPECT_FALSE(ExtraInQuietTime(1000, 990, 0));        /* off */
    EXPECT_TRUE(ExtraInQuietTime(1200, 1000, 500));      /* 200 ms after a key */
    EXPECT_FALSE(ExtraInQuietTime(1700, 1000, 500));     /* 700 ms after */
    EXPECT_FALSE(ExtraInQuietTime(1500, 1000, 500));     /* exactly the quiet time: acts */
    EXPECT_TRUE(ExtraInQuietTime(1000, 1000, 1));
    /* The tick count wrapped between the key and the tilt. */
    EXPECT_TRUE(ExtraInQuietTime(100, 0xFFFFFF00u, 500));
    EXPECT_FALSE(ExtraInQuietTime(400, 0xFFFFFF00u, 500));
}

TEST(ExtraLockwatch, ThresholdZeroIsTheExactCompareAndAboveItSmallChangesAreStill)
{
    const float af[] = { 0.0f, -0.0f, 0.05f, -0.05f, 1.0f, 0.01745f, NAN };
    for (float b : af)
        for (float v : af) {
            SCOPED_TRACE(testing::Message() << b << " " << v);
            EXPECT_EQ(IsReadingChanged(b, 0.0f, v, 0.0f), ExtraIsMovement(b, 0.0f, v, 0.0f, 0));
            EXPECT_EQ(IsReadingChanged(0.0f, b, 0.0f, v), ExtraIsMovement(0.0f, b, 0.0f, v, 0));
        }

    /* 100 thousandths of g: the stand-in's "move" (0.05 g) is no movement, a
     * tilt of 20 degrees (sin 20 = 0.342 g) is. */
    EXPECT_FALSE(ExtraIsMovement(0.0f, 0.0f, 0.05f, -0.05f, 100));
    EXPECT_TRUE(ExtraIsMovement(0.0f, 0.0f, 0.342f, 0.0f, 100));
    EXPECT_TRUE(ExtraIsMovement(0.0f, 0.5f, 0.0f, 0.3f, 100));
    EXPECT_TRUE(ExtraIsMovement(0.25f, 0.0f, 0.5f, 0.0f, 250));   /* the threshold itself counts */
    EXPECT_FALSE(ExtraIsMovement(0.0f, 0.0f, NAN, NAN, 100));
    EXPECT_FALSE(ExtraIsMovement(NAN, 0.0f, 1.0f, 0.0f, 100));
}

TEST(ExtraPage, NumberFieldsAcceptDigitsWithinTheirRangeOnly)
{
    struct { const char *text; uint32_t max; int ok; uint32_t value; } cases[] = {
        { "0", 45, 1, 0 },
        { " 45 ", 45, 1, 45 },
        { "046", 45, 0, 0 },
        { "46", 45, 0, 0 },
        { "", 45, 0, 0 },
        { "  ", 45, 0, 0 },
        { "-1", 45, 0, 0 },
        { "+5", 45, 0, 0 },
        { "5 5", 45, 0, 0 },
        { "1e3", 10000, 0, 0 },
        { "99999999999999999999", 0xFFFFFFFFu, 0, 0 },
        { "4294967295", 0xFFFFFFFFu, 1, 0xFFFFFFFFu },
        { "10000", 10000, 1, 10000 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t dw = 77;
        EXPECT_EQ(c.ok, ExtraParseNumber(c.text, c.max, &dw));
        EXPECT_EQ(c.ok ? c.value : 77u, dw);
    }
    EXPECT_EQ(45u, ExtraClamp(1000, EXTRA_MAX_DEADZONE));
    EXPECT_EQ(7u, ExtraClamp(7, EXTRA_MAX_DEADZONE));
    EXPECT_EQ(1, ExtraFlag(2));
    EXPECT_EQ(0, ExtraFlag(0));
}
