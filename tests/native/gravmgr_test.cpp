#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include "standins/gravmgr/gravmgr_model.h"

static bool Parse(const char *psz, GmCommand *pCmd)
{
    return GmParseCommand(psz, strlen(psz) + 1, pCmd) != 0;
}

TEST(GravmgrCommand, ParsesEveryCommandTheTestsUse)
{
    GmCommand c;
    ASSERT_TRUE(Parse("tilt 30 -12.5", &c));
    EXPECT_EQ(GM_CMD_TILT, c.nKind);
    EXPECT_FLOAT_EQ(30.0f, c.fArg[0]);
    EXPECT_FLOAT_EQ(-12.5f, c.fArg[1]);
    EXPECT_EQ(0, c.lArg[0]);
    ASSERT_TRUE(Parse("  tilt\t1 2 1500  ", &c));
    EXPECT_EQ(1500, c.lArg[0]);
    ASSERT_TRUE(Parse("gesture 0x0301", &c));
    EXPECT_EQ(0x0301, c.lArg[0]);
    ASSERT_TRUE(Parse("gesture 769", &c));
    EXPECT_EQ(769, c.lArg[0]);
    ASSERT_TRUE(Parse("zerobase 500 510 600 620", &c));
    EXPECT_EQ(GM_CMD_ZEROBASE, c.nKind);
    EXPECT_EQ(620, c.lArg[3]);
    ASSERT_TRUE(Parse("get rawrequests", &c));
    EXPECT_EQ(GM_FIELD_RAWREQUESTS, c.nField);
    ASSERT_TRUE(Parse("get nzb3", &c));
    EXPECT_EQ(GM_FIELD_NZB3, c.nField);
    ASSERT_TRUE(Parse("serve 0", &c));
    EXPECT_EQ(GM_CMD_SERVE, c.nKind);
    EXPECT_EQ(0, c.lArg[0]);
    ASSERT_TRUE(Parse("hold 250", &c));
    EXPECT_EQ(250, c.lArg[0]);
    for (const char *psz : { "move", "still", "drop", "invalid", "valid", "loop", "quit",
                             "churn 1", "noise 3", "raw 1 1023", "accel 0.5 -0.25" })
        EXPECT_TRUE(Parse(psz, &c)) << psz;
}

TEST(GravmgrCommand, RefusesMalformedCommandsAndLeavesTheOutputAlone)
{
    GmCommand c;
    memset(&c, 0x5A, sizeof(c));
    GmCommand before = c;
    for (const char *psz : { "", "   ", "tilt", "tilt 1", "tilt 1 2 3 4", "tilt a b", "tilt 1e3 0",
                             "tilt . 2", "tilt -. 2", "serve 2", "churn -1", "hold -1", "hold 60001",
                             "noise 101", "zerobase 1 2 3", "zerobase 1 2 3 65536", "raw 1",
                             "get", "get nothing", "gesture", "gesture 0x", "gesture 0x1FFFFFFFF",
                             "gesture 12z", "Tilt 1 2", "quit now", "tiltt 1 2" }) {
        EXPECT_FALSE(Parse(psz, &c)) << psz;
        EXPECT_EQ(0, memcmp(&before, &c, sizeof(c))) << psz;
    }
}

TEST(GravmgrCommand, StopsAtTheGivenLengthOrTheFirstZero)
{
    GmCommand c;
    /* "tilt 1 2" then garbage beyond the length: only the first 8 bytes count. */
    const char ach[] = { 't', 'i', 'l', 't', ' ', '1', ' ', '2', 'x', 'y' };
    ASSERT_TRUE(GmParseCommand(ach, 8, &c));
    EXPECT_FALSE(GmParseCommand(ach, sizeof(ach), &c));
    const char achZero[] = "tilt 1 2\0 garbage";
    EXPECT_TRUE(GmParseCommand(achZero, sizeof(achZero), &c));
    /* A word longer than any command is refused, not truncated into one. */
    std::string longWord(100, '9');
    EXPECT_FALSE(Parse(("hold " + longWord).c_str(), &c));
}

TEST(GravmgrScenario, ParsesTimelineWithCommentsAndBlankLines)
{
    const char *pszText =
        "# demo\r\n"
        "0 still\r\n"
        "\r\n"
        "500   tilt 20 0 1500   # glide\n"
        "500 gesture 0x0101\n"
        "   \t\n"
        "2000 loop";
    GmScenarioEntry entries[8];
    int nCount = -1, nLine = -1;
    ASSERT_TRUE(GmParseScenario(pszText, strlen(pszText), entries, 8, &nCount, &nLine));
    ASSERT_EQ(4, nCount);
    EXPECT_EQ(0u, entries[0].dwAtMs);
    EXPECT_EQ(GM_CMD_STILL, entries[0].cmd.nKind);
    EXPECT_EQ(500u, entries[1].dwAtMs);
    EXPECT_EQ(1500, entries[1].cmd.lArg[0]);
    EXPECT_EQ(GM_CMD_GESTURE, entries[2].cmd.nKind);
    EXPECT_EQ(2000u, entries[3].dwAtMs);
    EXPECT_EQ(GM_CMD_LOOP, entries[3].cmd.nKind);
}

TEST(GravmgrScenario, NamesTheFirstBadLine)
{
    struct { const char *pszText; int nLine; } cases[] = {
        { "0 still\n100 tilt 1\n", 2 },
        { "0 still\nabc still\n", 2 },
        { "500 still\n100 still\n", 2 },          /* time goes back */
        { "# only\n\n-5 still\n", 3 },
        { "0 bogus", 1 },
        { "100\n", 1 },                           /* a time without a command */
    };
    for (const auto &tc : cases) {
        GmScenarioEntry entries[4];
        int nCount = -1, nLine = -1;
        EXPECT_FALSE(GmParseScenario(tc.pszText, strlen(tc.pszText), entries, 4, &nCount, &nLine))
            << tc.pszText;
        EXPECT_EQ(tc.nLine, nLine) << tc.pszText;
        EXPECT_EQ(0, nCount);
    }
}

TEST(GravmgrScenario, RefusesMoreEntriesThanRoom)
{
    const char *pszText = "0 still\n1 still\n2 still\n";
    GmScenarioEntry entries[2];
    int nCount, nLine;
    EXPECT_FALSE(GmParseScenario(pszText, strlen(pszText), entries, 2, &nCount, &nLine));
    EXPECT_EQ(3, nLine);
    GmScenarioEntry room[3];
    EXPECT_TRUE(GmParseScenario(pszText, strlen(pszText), room, 3, &nCount, &nLine));
    EXPECT_EQ(3, nCount);
}

TEST(GravmgrModel, ReadingsFollowTheTiltAndTheZeroBase)
{
    const uint16_t zb[4] = { 512, 500, 614, 600 };
    GmReadings r;
    GmComputeReadings(0.0f, 0.0f, zb, 0, 0, &r);
    EXPECT_EQ(0.0f, r.fAccelX);
    EXPECT_EQ(512, r.wRawX);
    EXPECT_EQ(500, r.wRawY);

    GmComputeReadings(30.0f, -90.0f, zb, 0, 0, &r);
    EXPECT_NEAR(0.5f, r.fAccelX, 1e-6);
    EXPECT_NEAR(-1.0f, r.fAccelY, 1e-6);
    EXPECT_EQ(512 + 51, r.wRawX);
    EXPECT_EQ(500 - 100, r.wRawY);

    /* Out-of-range and NaN angles are clamped, never produce wild raw values. */
    GmComputeReadings(500.0f, NAN, zb, 0, 0, &r);
    EXPECT_NEAR(1.0f, r.fAccelX, 1e-6);
    EXPECT_EQ(0.0f, r.fAccelY);
    EXPECT_EQ(614, r.wRawX);

    /* Noise moves raw and acceleration together, by counts over the span. */
    GmComputeReadings(0.0f, 0.0f, zb, 3, -2, &r);
    EXPECT_EQ(515, r.wRawX);
    EXPECT_EQ(498, r.wRawY);
    EXPECT_NEAR(3.0f / 102.0f, r.fAccelX, 1e-6);
}

TEST(GravmgrModel, RawReadingsStayWithinTenBits)
{
    const uint16_t zbHigh[4] = { 1000, 1000, 1200, 1200 };
    const uint16_t zbLow[4] = { 10, 10, 300, 300 };
    const uint16_t zbFlat[4] = { 512, 512, 512, 512 };   /* zero span */
    GmReadings r;
    GmComputeReadings(90.0f, 90.0f, zbHigh, 100, 100, &r);
    EXPECT_EQ(1023, r.wRawX);
    EXPECT_EQ(1023, r.wRawY);
    GmComputeReadings(-90.0f, -90.0f, zbLow, -100, -100, &r);
    EXPECT_EQ(0, r.wRawX);
    EXPECT_EQ(0, r.wRawY);
    GmComputeReadings(45.0f, 0.0f, zbFlat, 5, 0, &r);
    EXPECT_EQ(517, r.wRawX);
    EXPECT_TRUE(isfinite(r.fAccelX));
}

TEST(GravmgrModel, PlausibleZeroBaseBounds)
{
    struct { uint16_t zb[4]; int nPlausible; } cases[] = {
        { { 512, 512, 614, 614 }, 1 },
        { { 409, 616, 341, 684 }, 1 },
        { { 408, 512, 614, 614 }, 0 },
        { { 512, 617, 614, 614 }, 0 },
        { { 512, 512, 340, 614 }, 0 },
        { { 512, 512, 614, 685 }, 0 },
        { { 0, 0, 0, 0 }, 0 },
    };
    for (const auto &tc : cases)
        EXPECT_EQ(tc.nPlausible, GmIsZeroBasePlausible(tc.zb)) << tc.zb[0] << " " << tc.zb[1];
}

TEST(GravmgrModel, GlideAndNoise)
{
    EXPECT_FLOAT_EQ(0.0f, GmGlide(0.0f, 90.0f, 0, 1000));
    EXPECT_FLOAT_EQ(45.0f, GmGlide(0.0f, 90.0f, 500, 1000));
    EXPECT_FLOAT_EQ(90.0f, GmGlide(0.0f, 90.0f, 5000, 1000));
    EXPECT_FLOAT_EQ(-20.0f, GmGlide(10.0f, -20.0f, 0, 0));

    uint32_t dwSeed = 1;
    bool bSeen[7] = {};
    for (int i = 0; i < 1000; i++) {
        int n = GmNextNoise(&dwSeed, 3);
        ASSERT_GE(n, -3);
        ASSERT_LE(n, 3);
        bSeen[n + 3] = true;
    }
    for (bool b : bSeen)
        EXPECT_TRUE(b);
    EXPECT_EQ(0, GmNextNoise(&dwSeed, 0));
}

TEST(GravmgrCmdLine, SplitsQuotedArgumentsAndBoundsThem)
{
    const char *p = "\"C:\\Program Files\\Gravmgr.exe\" /scenario \"a b.scn\"  /hidden";
    char sz[260];
    p = GmNextArg(p, sz, sizeof(sz));
    EXPECT_STREQ("C:\\Program Files\\Gravmgr.exe", sz);
    p = GmNextArg(p, sz, sizeof(sz));
    EXPECT_STREQ("/scenario", sz);
    p = GmNextArg(p, sz, sizeof(sz));
    EXPECT_STREQ("a b.scn", sz);
    p = GmNextArg(p, sz, sizeof(sz));
    EXPECT_STREQ("/hidden", sz);
    EXPECT_EQ(NULL, GmNextArg(p, sz, sizeof(sz)));

    char szSmall[5];
    memset(szSmall, 'Z', sizeof(szSmall));
    p = GmNextArg("abcdefgh next", szSmall, sizeof(szSmall));
    EXPECT_STREQ("abcd", szSmall);
    p = GmNextArg(p, szSmall, sizeof(szSmall));
    EXPECT_STREQ("next", szSmall);
}
