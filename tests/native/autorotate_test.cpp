#include <gtest/gtest.h>
#include <math.h>
#include <limits>
#include <string>
#include <vector>
#include "jolt/autorotate.h"

namespace {

/* One sample: time, whether angles were read, the angles, the screen. */
struct Sample {
    uint32_t t;
    int read;
    float x, y;
};

/* Runs samples through one decision state; the turns it asks for, as
 * "time:orientation". The screen follows every turn asked for, unless
 * bScreenStays. */
std::string Decide(const std::vector<Sample> &samples, uint32_t dwScreen = ORIENT_DEFAULT,
                bool bScreenStays = false)
{
    AUTOROTATE state;
    AutoRotateReset(&state);
    std::string s;
    for (const Sample &smp : samples) {
        int n = AutoRotateSample(&state, smp.t, smp.read, smp.x, smp.y, dwScreen);
        if (n == AUTOROTATE_NONE)
            continue;
        s += (s.empty() ? "" : " ") + std::to_string(smp.t) + ":" + std::to_string(n);
        if (!bScreenStays)
            dwScreen = (uint32_t)n;
    }
    return s;
}

/* The same posture every 500 ms from t0 for dwMs. */
std::vector<Sample> Hold(uint32_t t0, uint32_t dwMs, float x, float y, int read = 1)
{
    std::vector<Sample> v;
    for (uint32_t t = t0; t <= t0 + dwMs; t += AUTOROTATE_PERIOD_MS)
        v.push_back({ t, read, x, y });
    return v;
}

std::vector<Sample> operator+(std::vector<Sample> a, const std::vector<Sample> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(AutoRotate, UprightPosturesAndTheirBounds)
{
    /* Standing on the panel's bottom, top, right and left edge. */
    EXPECT_EQ((int)ORIENT_DEFAULT, AutoRotatePosture(0.0f, 80.0f));
    EXPECT_EQ((int)ORIENT_180, AutoRotatePosture(10.0f, -61.0f));
    EXPECT_EQ((int)ORIENT_90, AutoRotatePosture(75.0f, -30.0f));
    EXPECT_EQ((int)ORIENT_270, AutoRotatePosture(-90.0f, 30.0f));
    /* Not beyond 60, the other beyond 30, lying flat, a corner down, NaN. */
    EXPECT_EQ(AUTOROTATE_NONE, AutoRotatePosture(60.0f, 0.0f));
    EXPECT_EQ(AUTOROTATE_NONE, AutoRotatePosture(70.0f, 30.5f));
    EXPECT_EQ(AUTOROTATE_NONE, AutoRotatePosture(0.0f, 0.0f));
    EXPECT_EQ(AUTOROTATE_NONE, AutoRotatePosture(65.0f, 65.0f));
    EXPECT_EQ(AUTOROTATE_NONE, AutoRotatePosture(std::numeric_limits<float>::quiet_NaN(), 80.0f));
}

TEST(AutoRotate, AFastTurnActsAfterOneSecondAndABriefOneNever)
{
    /* From upright landscape straight to portrait on the right edge. */
    EXPECT_EQ("1500:1", Decide(Hold(0, 0, 0, 80) + Hold(500, 2000, 80, 0)));
    /* Upside down and back within half a second. */
    EXPECT_EQ("", Decide(Hold(0, 0, 0, 80) + Hold(500, 500, 0, -80) + Hold(1500, 2000, 0, 80)));
    /* Already the screen's orientation: nothing to do. */
    EXPECT_EQ("", Decide(Hold(0, 3000, 0, 80)));
}

TEST(AutoRotate, ASlowTurnActsOnceTheNewPostureIsHeld)
{
    /* A quarter turn from the bottom edge to the left edge over 4 s, held
     * there: across the diagonal no posture counts. */
    std::vector<Sample> v;
    for (uint32_t t = 0; t <= 4000; t += 500) {
        double a = (double)t / 4000.0 * M_PI / 2;
        v.push_back({ t, 1, (float)(-80 * sin(a)), (float)(80 * cos(a)) });
    }
    /* -80 sin a < -60 with 80 cos a <= 30 first at 3500 ms (a = 78.75 deg). */
    EXPECT_EQ("4500:3", Decide(v + Hold(4500, 2000, -80, 0)));
}

TEST(AutoRotate, ATremblingHandNeverFlipsTheScreen)
{
    /* Wavering around 60 degrees: once past it, the posture holds down to 45. */
    std::vector<Sample> v = { { 0, 1, 62, 5 },    { 500, 1, 57, 28 }, { 1000, 1, 61, 33 },
                              { 1500, 1, 46, 20 }, { 2000, 1, 58, 2 }, { 2500, 1, 63, 10 } };
    EXPECT_EQ("1000:1", Decide(v));
    /* Dipping below 45 every other sample: never a whole second. */
    v.clear();
    for (uint32_t t = 0; t <= 5000; t += 500)
        v.push_back({ t, 1, (t / 500) % 2 ? 44.0f : 62.0f, 0 });
    EXPECT_EQ("", Decide(v));
    /* A posture that trembled out and in again is the screen's already. */
    EXPECT_EQ("1000:1", Decide(Hold(0, 1000, 70, 0) + Hold(1500, 0, 40, 0) + Hold(2000, 3000, 70, 0)));
}

TEST(AutoRotate, NothingTurnsWhileTheAngleCannotBeReadAndTheSecondStartsAgain)
{
    /* Another window takes the accelerometer after half a second of portrait. */
    EXPECT_EQ("3000:3", Decide(Hold(0, 500, -80, 0) + Hold(1000, 500, -80, 0, 0) +
                            Hold(2000, 2000, -80, 0)));
}

TEST(AutoRotate, APostureActsOnceSoAScreenTurnedBackByHandStays)
{
    /* Turned to portrait; the user puts the screen back by hand (the screen
     * reports landscape all along); turned upside down later, that acts. */
    EXPECT_EQ("1000:1 5000:2",
              Decide(Hold(0, 3000, 80, 0) + Hold(3500, 0, 0, 0) + Hold(4000, 2000, 0, -80),
                  ORIENT_DEFAULT, true));
}

TEST(AutoRotate, TimerJitterAndTheTickCountWrapping)
{
    /* The tick count runs coarse: 968 ms count as the second, 950 not. */
    EXPECT_EQ("984:1", Decide({ { 0, 1, 80, 0 }, { 516, 1, 80, 0 }, { 984, 1, 80, 0 } }));
    EXPECT_EQ("1450:1", Decide({ { 0, 1, 80, 0 }, { 500, 1, 80, 0 }, { 950, 1, 80, 0 },
                              { 1450, 1, 80, 0 } }));
    EXPECT_EQ("499:2", Decide({ { 0xFFFFFE0Bu, 1, 0, -80 }, { 0xFFFFFFFFu, 1, 0, -80 },
                             { 499, 1, 0, -80 } }));
}
