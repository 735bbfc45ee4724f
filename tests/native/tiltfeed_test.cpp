#include <gtest/gtest.h>
#include <math.h>
#include <stdint.h>
#include <string.h>
#include <limits>
#include <string>
#include <vector>
#include "tiltfeed/tiltengine.h"
#include "tiltfeed/feedcmd.h"

namespace {

uint32_t Bits(float f)
{
    uint32_t u;
    memcpy(&u, &f, sizeof(u));
    return u;
}

/* The correctly rounded single product: the exact product of two singles
 * fits a double, so one rounding to float is the reference. */
float ReferenceFraction(float fAngle)
{
    uint32_t u = TILTFEED_ONE_NINETIETH_BITS;
    float fFactor;
    memcpy(&fFactor, &u, sizeof(fFactor));
    return (float)((double)fAngle * (double)fFactor);
}

std::string Describe(const KEYRECORD *a, uint32_t n)
{
    std::string s;
    for (uint32_t i = 0; i < n; i++) {
        const char *pszKey = a[i].bVk == TILTFEED_VK_LEFT ? "L" : a[i].bVk == TILTFEED_VK_RIGHT ? "R"
                           : a[i].bVk == TILTFEED_VK_UP ? "U" : a[i].bVk == TILTFEED_VK_DOWN ? "D" : "?";
        s += pszKey;
        s += a[i].bKeyUp ? "^ " : "v ";
    }
    return s;
}

std::string Repeat(const std::string &s, int n)
{
    std::string r;
    for (int i = 0; i < n; i++)
        r += s;
    return r;
}

} // namespace

TEST(TiltEngine, FactorIsTheSingleNearestToOneNinetieth)
{
    EXPECT_EQ(TILTFEED_ONE_NINETIETH_BITS, Bits(TiltFraction(1.0f)));
    EXPECT_EQ(1.0f, TiltFraction(90.0f));
    EXPECT_EQ(-1.0f, TiltFraction(-90.0f));
    EXPECT_EQ(0.0f, TiltFraction(0.0f));
}

TEST(TiltEngine, WorkedValuesTable)
{
    struct Row {
        int line;
        uint32_t rate;
        float angle;
        double fraction;  /* as printed, 11 decimals */
        int32_t count;
    };
    const Row rows[] = {
        { __LINE__, 10, 9.0f, 0.10000000149, 1 },
        { __LINE__, 10, 8.99f, 0.09988889098, 0 },
        { __LINE__, 10, -30.0f, -0.33333334327, -3 },
        { __LINE__, 10, 45.0f, 0.5, 5 },
        { __LINE__, 100, 0.9f, 0.00999999978, 0 },
        { __LINE__, 100, 4.5f, 0.05000000075, 5 },
        { __LINE__, 300, 90.0f, 1.0, 300 },
        { __LINE__, 1, 89.99f, 0.99988889694, 0 },
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << r.line);
        float f = TiltFraction(r.angle);
        EXPECT_EQ(Bits(ReferenceFraction(r.angle)), Bits(f));
        EXPECT_NEAR(r.fraction, (double)f, 6e-12);
        EXPECT_EQ(r.count, ScaleTilt(r.rate, f));

        MOUSESTEP step = { 77, 77 };
        BuildMouseStep(r.rate, f, -f, &step);
        EXPECT_EQ(r.count, step.lDx);
        EXPECT_EQ(-r.count, step.lDy);

        /* Within the cursor-key range the same counts become presses. */
        if (r.rate <= 20) {
            KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
            uint32_t n = BuildKeyStep(r.rate, f, 0.0f, a);
            int32_t nAbs = r.count < 0 ? -r.count : r.count;
            EXPECT_EQ((uint32_t)(2 * nAbs), n);
            std::string pair = r.count < 0 ? "Lv L^ " : "Rv R^ ";
            EXPECT_EQ(Repeat(pair, nAbs), Describe(a, n));
        }
    }
}

TEST(TiltEngine, SixteenRecordExampleAlternatesHorizontalFirst)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    uint32_t n = BuildKeyStep(10, TiltFraction(-30.0f), TiltFraction(45.0f), a);
    ASSERT_EQ(16u, n);
    EXPECT_EQ(Repeat("Lv L^ Dv D^ ", 3) + Repeat("Dv D^ ", 2), Describe(a, n));

    /* The longer horizontal axis continues alone; up for negative Y. */
    n = BuildKeyStep(20, TiltFraction(90.0f), TiltFraction(-18.0f), a);
    ASSERT_EQ(2u * (20 + 4), n);
    EXPECT_EQ(Repeat("Rv R^ Uv U^ ", 4) + Repeat("Rv R^ ", 16), Describe(a, n));
}

TEST(TiltEngine, LevelAndSubThresholdTilts)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    MOUSESTEP step = { 5, 5 };

    /* Level: no keys, but a zero-length move is still a move. */
    EXPECT_EQ(0u, BuildKeyStep(10, 0.0f, 0.0f, a));
    BuildMouseStep(100, 0.0f, 0.0f, &step);
    EXPECT_EQ(0, step.lDx);
    EXPECT_EQ(0, step.lDy);

    /* Truncation toward zero on both sides of the threshold 90/R. */
    EXPECT_EQ(0u, BuildKeyStep(10, TiltFraction(-8.99f), TiltFraction(8.99f), a));
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(-9.0f), TiltFraction(8.99f), a));
    EXPECT_EQ("Lv L^ ", Describe(a, 2));
    ASSERT_EQ(2u, BuildKeyStep(10, TiltFraction(0.0f), TiltFraction(-9.0f), a));
    EXPECT_EQ("Uv U^ ", Describe(a, 2));
    BuildMouseStep(100, TiltFraction(-0.9f), TiltFraction(-1.8f), &step);
    EXPECT_EQ(0, step.lDx);   /* -0.99999... truncates to 0, not -1 */
    EXPECT_EQ(-1, step.lDy);
}

TEST(TiltEngine, EveryResultInsideThePageRangesIsUnbounded)
{
    /* Rates 1..20 and angles up to 90 degrees: the count bound never bites. */
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    for (uint32_t rate = 1; rate <= 20; rate++) {
        for (int i = -9000; i <= 9000; i += 7) {
            float fx = TiltFraction(i / 100.0f);
            float fy = TiltFraction(-(9000 - (i < 0 ? -i : i)) / 100.0f);
            double kx = trunc((double)rate * (double)fx);
            double ky = trunc((double)rate * (double)fy);
            uint32_t n = BuildKeyStep(rate, fx, fy, a);
            ASSERT_EQ((uint32_t)(2 * (fabs(kx) + fabs(ky))), n) << "rate " << rate << " i " << i;
        }
    }
}

TEST(TiltEngine, HugeRatesAndOddAnglesStayBounded)
{
    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS + 1];
    const float fInf = std::numeric_limits<float>::infinity();
    const float fNan = std::numeric_limits<float>::quiet_NaN();

    a[TILTFEED_MAX_KEY_RECORDS].bVk = 0xAB;  /* guard */
    uint32_t n = BuildKeyStep(1000, TiltFraction(90.0f), TiltFraction(-90.0f), a);
    EXPECT_EQ((uint32_t)TILTFEED_MAX_KEY_RECORDS, n);
    EXPECT_EQ(Repeat("Rv R^ Uv U^ ", TILTFEED_MAX_KEYS_PER_AXIS), Describe(a, n));
    n = BuildKeyStep(UINT32_MAX, TiltFraction(-fInf), TiltFraction(3e38f), a);
    EXPECT_EQ((uint32_t)TILTFEED_MAX_KEY_RECORDS, n);
    EXPECT_EQ("Lv L^ Dv D^ ", Describe(a, 4));
    EXPECT_EQ(0xAB, a[TILTFEED_MAX_KEY_RECORDS].bVk);

    /* A rate of 30 at 45 degrees (15 presses) is below the bound and kept. */
    EXPECT_EQ(30u, BuildKeyStep(30, TiltFraction(45.0f), 0.0f, a));

    /* NaN is no tilt; infinities and huge products saturate. */
    EXPECT_EQ(0u, BuildKeyStep(20, TiltFraction(fNan), TiltFraction(-fNan), a));
    EXPECT_EQ(0, ScaleTilt(10, fNan));
    EXPECT_EQ(INT32_MAX, ScaleTilt(10, fInf));
    EXPECT_EQ(INT32_MIN, ScaleTilt(10, -fInf));
    EXPECT_EQ(INT32_MAX, ScaleTilt(UINT32_MAX, 1.0f));
    EXPECT_EQ(INT32_MIN, ScaleTilt(UINT32_MAX, -1.0f));
    EXPECT_EQ(0, ScaleTilt(UINT32_MAX, 0.0f));
    EXPECT_EQ(0, ScaleTilt(0, fInf * 0.0f));
    /* The rate is taken as unsigned: 2^31 is a large positive rate. */
    EXPECT_EQ(1073741824, ScaleTilt(0x80000000u, 0.5f));

    MOUSESTEP step;
    BuildMouseStep(300, TiltFraction(fNan), TiltFraction(-3e38f), &step);
    EXPECT_EQ(0, step.lDx);
    EXPECT_EQ(INT32_MIN, step.lDy);
}

TEST(FeedCommandLine, TailIsTakenVerbatim)
{
    struct Row {
        int line;
        const char *cmd;
        const char *tail;
    };
    const Row rows[] = {
        { __LINE__, "\"C:\\Program Files\\Tiltkit\\Feedrun.exe\" Tiltfeed + Paint", "Tiltfeed + Paint" },
        { __LINE__, "C:\\Tiltkit\\Feedrun.exe   Tiltfeed + Paint  ", "Tiltfeed + Paint  " },
        { __LINE__, "Feedrun.exe\t \tName", "Name" },
        { __LINE__, "Feedrun.exe \"Quoted Name\"", "\"Quoted Name\"" },
        { __LINE__, "\"Feedrun.exe\"Name", "Name" },
        { __LINE__, "Feedrun.exe", "" },
        { __LINE__, "Feedrun.exe   ", "" },
        { __LINE__, "\"C:\\unterminated quote Name", "" },
        { __LINE__, "", "" },
    };
    for (const Row &r : rows)
        EXPECT_STREQ(r.tail, SkipProgramName(r.cmd)) << "line " << r.line;
    EXPECT_STREQ("", SkipProgramName(NULL));
}

TEST(FeedCommandLine, KeyPathLengthLimit)
{
    const char *pszRoot = "SOFTWARE\\Zelvar\\Tiltkit\\Tiltfeed";
    char sz[260 + 8];

    ASSERT_TRUE(BuildItemKeyPath(pszRoot, "Tiltfeed + Paint", sz, 260));
    EXPECT_STREQ("SOFTWARE\\Zelvar\\Tiltkit\\Tiltfeed\\Tiltfeed + Paint", sz);

    /* 32 + 1 + 226 characters and the terminator fill 260 bytes exactly. */
    std::string fits(260 - strlen(pszRoot) - 2, 'n');
    memset(sz, 0x5A, sizeof(sz));
    ASSERT_TRUE(BuildItemKeyPath(pszRoot, fits.c_str(), sz, 260));
    EXPECT_EQ(259u, strlen(sz));
    EXPECT_EQ(0x5A, (unsigned char)sz[260]);

    std::string tooLong = fits + "n";
    memset(sz, 0x5A, sizeof(sz));
    EXPECT_FALSE(BuildItemKeyPath(pszRoot, tooLong.c_str(), sz, 260));
    EXPECT_STREQ("", sz);
    EXPECT_EQ(0x5A, (unsigned char)sz[1]);
}

TEST(FeedCommandLine, WorkingFolderOfTheTarget)
{
    struct Row {
        int line;
        const char *path;
        const char *dir;
    };
    const Row rows[] = {
        { __LINE__, "C:\\Program Files\\Paint\\mspaint.exe", "C:\\Program Files\\Paint\\" },
        { __LINE__, "C:\\app.exe", "C:\\" },
        { __LINE__, "C:app.exe", "C:" },
        { __LINE__, "app.exe", "" },
        { __LINE__, "\\\\server\\share\\app.exe", "\\\\server\\share\\" },
        { __LINE__, "D:/games/run.exe", "D:/games/" },
        { __LINE__, "", "" },
    };
    char sz[260];
    for (const Row &r : rows) {
        memset(sz, 0x5A, sizeof(sz));
        BuildWorkDir(r.path, sz, sizeof(sz));
        EXPECT_STREQ(r.dir, sz) << "line " << r.line;
    }
    /* A folder longer than the output is cut, never overrun. */
    char szSmall[8 + 1];
    szSmall[8] = 0x5A;
    BuildWorkDir("C:\\a long folder\\x.exe", szSmall, 8);
    EXPECT_STREQ("C:\\a lo", szSmall);
    EXPECT_EQ(0x5A, szSmall[8]);
}

TEST(FeedCommandLine, TargetWithABlankIsQuotedAndNamedAsTheApplication)
{
    struct Row {
        int line;
        const char *path;
        int result;
        const char *cmd;
    };
    const Row rows[] = {
        { __LINE__, "C:\\Program Files\\Foo\\foo.exe", TARGET_QUOTED, "\"C:\\Program Files\\Foo\\foo.exe\"" },
        { __LINE__, "C:\\Tools\\run\tme.exe", TARGET_QUOTED, "\"C:\\Tools\\run\tme.exe\"" },
        { __LINE__, "C:\\Tools\\foo.exe", TARGET_AS_IS, "C:\\Tools\\foo.exe" },
        { __LINE__, "notepad.exe", TARGET_AS_IS, "notepad.exe" },
        { __LINE__, "\"C:\\Program Files\\Foo\\foo.exe\"", TARGET_AS_IS, "\"C:\\Program Files\\Foo\\foo.exe\"" },
        { __LINE__, "", TARGET_AS_IS, "" },
    };
    char sz[262];
    for (const Row &r : rows) {
        memset(sz, 0x5A, sizeof(sz));
        EXPECT_EQ(r.result, BuildTargetCommandLine(r.path, sz, sizeof(sz))) << "line " << r.line;
        EXPECT_STREQ(r.cmd, sz) << "line " << r.line;
    }

    /* The longest item path (259 characters) fits quoted in 262 bytes. */
    std::string longest = "C:\\a b\\" + std::string(252, 'x');
    ASSERT_EQ(259u, longest.size());
    EXPECT_EQ(TARGET_QUOTED, BuildTargetCommandLine(longest.c_str(), sz, sizeof(sz)));
    EXPECT_EQ(261u, strlen(sz));

    /* One byte short: nothing is started rather than a cut path. */
    char szSmall[8 + 1];
    szSmall[8] = 0x5A;
    EXPECT_EQ(TARGET_TOO_LONG, BuildTargetCommandLine("C:\\a b.exe", szSmall, 8));
    EXPECT_STREQ("", szSmall);
    EXPECT_EQ(0x5A, szSmall[8]);
    EXPECT_EQ(TARGET_TOO_LONG, BuildTargetCommandLine("C:\\ab.exe", szSmall, 8));
}
