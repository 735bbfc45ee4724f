#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>
#include <limits>
#include <string>
#include "tiltfeed/orient.h"
#include "tiltfeed/tiltengine.h"

namespace {

uint32_t Bits(float f)
{
    uint32_t u;
    memcpy(&u, &f, sizeof(u));
    return u;
}

std::string Keys(uint32_t dwRate, float fX, float fY)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    uint32_t n = BuildKeyStep(dwRate, TiltFraction(fX), TiltFraction(fY), a);
    std::string s;
    for (uint32_t i = 0; i < n; i += 2)
        s += a[i].bVk == TILTFEED_VK_LEFT ? "L" : a[i].bVk == TILTFEED_VK_RIGHT ? "R"
           : a[i].bVk == TILTFEED_VK_UP ? "U" : "D";
    return s;
}

} // namespace

TEST(Orientation, TheDefaultLeavesEveryAngleExactlyAsItIs)
{
    const float afAngles[] = { 0.0f, -0.0f, 8.99f, -30.0f, 90.0f, 1e-45f,
                               std::numeric_limits<float>::quiet_NaN(),
                               -std::numeric_limits<float>::infinity() };
    for (float fX : afAngles) {
        for (float fY : afAngles) {
            float x = fX, y = fY;
            OrientTurnAngles(ORIENT_DEFAULT, &x, &y);
            EXPECT_EQ(Bits(fX), Bits(x));
            EXPECT_EQ(Bits(fY), Bits(y));
        }
    }
}

/* The same tilt as the user sees it, 30 degrees towards the screen's left
 * and 45 towards its bottom, described by the panel edges that go down. */
TEST(Orientation, KeysAndMovesFollowTheScreenInEveryOrientation)
{
    struct Row {
        int line;
        uint32_t orientation;
        float x, y;   /* as the sensor reads them */
    };
    const Row rows[] = {
        { __LINE__, ORIENT_DEFAULT, -30.0f, 45.0f },  /* left edge 30, bottom edge 45 */
        { __LINE__, ORIENT_90, 45.0f, 30.0f },        /* screen's bottom: the panel's right edge */
        { __LINE__, ORIENT_180, 30.0f, -45.0f },      /* upside down: right and top edges */
        { __LINE__, ORIENT_270, -45.0f, -30.0f },     /* screen's bottom: the panel's left edge */
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << r.line);
        float x = r.x, y = r.y;
        OrientTurnAngles(r.orientation, &x, &y);

        /* Key mode, rate 10: three Left and five Down, horizontal first. */
        EXPECT_EQ("LDLDLDDD", Keys(10, x, y));
        /* Mouse mode, rate 100. */
        MOUSESTEP step = { 7, 7 };
        BuildMouseStep(100, TiltFraction(x), TiltFraction(y), &step);
        EXPECT_EQ(-33, step.lDx);
        EXPECT_EQ(50, step.lDy);
    }
}

TEST(Orientation, AnUnknownValueCountsAsTheDefaultAndOnlyOddChangesSwapTheSize)
{
    for (uint32_t dw : { 4u, 0x80000000u, 0xFFFFFFFFu }) {
        float x = 12.5f, y = -3.0f;
        OrientTurnAngles(dw, &x, &y);
        EXPECT_EQ(12.5f, x);
        EXPECT_EQ(-3.0f, y);
        EXPECT_EQ(ORIENT_DEFAULT, OrientFromDisplay(dw));
    }
    EXPECT_TRUE(OrientSwapsSize(ORIENT_DEFAULT, ORIENT_90));
    EXPECT_TRUE(OrientSwapsSize(ORIENT_180, ORIENT_270));
    EXPECT_FALSE(OrientSwapsSize(ORIENT_90, ORIENT_270));
    EXPECT_FALSE(OrientSwapsSize(ORIENT_DEFAULT, ORIENT_180));
    EXPECT_FALSE(OrientSwapsSize(7, ORIENT_180));
}
