#include <gtest/gtest.h>
#include "jolt/joltpure.h"
#include "setup/defaults.h"

#include <set>
#include <string>

TEST(JoltSetting, DecodesFourLittleEndianFieldsAndRoundTrips)
{
    const uint8_t ab[16] = { 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12 };
    JOLTSETTING s;
    JoltDecodeSetting(ab, sizeof(ab), &s);
    EXPECT_EQ(1u, s.dwVerticalAction);
    EXPECT_EQ(2u, s.dwHorizontalAction);
    EXPECT_EQ(1u, s.dwVerticalSound);
    EXPECT_EQ(0x12345678u, s.dwHorizontalSound);

    uint8_t abBack[16];
    JoltEncodeSetting(&s, abBack);
    EXPECT_EQ(0, memcmp(ab, abBack, 16));
}

TEST(JoltSetting, ShortValueLeavesMissingBytesZero)
{
    const uint8_t ab[16] = { 3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 1, 0, 0, 0 };
    struct { size_t cb; uint32_t v, h, vs, hs; } cases[] = {
        { 0, 0, 0, 0, 0 },
        { 1, 3, 0, 0, 0 },
        { 4, 3, 0, 0, 0 },
        { 6, 3, 0xFFFF, 0, 0 },
        { 12, 3, 0xFFFFFFFF, 1, 0 },
        { 15, 3, 0xFFFFFFFF, 1, 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cb);
        JOLTSETTING s = { 9, 9, 9, 9 };
        JoltDecodeSetting(ab, c.cb, &s);
        EXPECT_EQ(c.v, s.dwVerticalAction);
        EXPECT_EQ(c.h, s.dwHorizontalAction);
        EXPECT_EQ(c.vs, s.dwVerticalSound);
        EXPECT_EQ(c.hs, s.dwHorizontalSound);
    }
    /* A null block of no length is all zero, too. */
    JOLTSETTING s = { 9, 9, 9, 9 };
    JoltDecodeSetting(nullptr, 0, &s);
    EXPECT_EQ(0u, s.dwVerticalAction | s.dwHorizontalAction | s.dwVerticalSound | s.dwHorizontalSound);
}

TEST(JoltInstallTime, EveryByteCounts)
{
    uint8_t a[16], b[16];
    for (int i = 0; i < 16; i++)
        a[i] = b[i] = (uint8_t)(0x10 + i);
    EXPECT_EQ(1, JoltSameInstallTime(a, b));
    for (int i = 0; i < 16; i++) {
        SCOPED_TRACE(i);
        b[i] ^= 0x01;
        EXPECT_EQ(0, JoltSameInstallTime(a, b));
        b[i] ^= 0x01;
    }
}

TEST(JoltDirection, DirectionByteOneOrThreeIsVertical)
{
    for (unsigned d = 0; d < 256; d++) {
        int nExpected = (d == 1 || d == 3) ? JOLT_FLAG_VERTICAL : JOLT_FLAG_HORIZONTAL;
        for (unsigned lo : { 0u, 1u, 3u, 0x80u, 0xFFu }) {
            uint16_t w = (uint16_t)((d << 8) | lo);
            ASSERT_EQ(nExpected, JoltNotifyDirection(w)) << std::hex << w;
        }
    }
}

TEST(JoltRefresh, CompareResultsMapToCopyOrBroken)
{
    EXPECT_EQ(JOLT_REFRESH_CURRENT, JoltRefreshFromCompare(JOLT_COMP_OK, 1));
    EXPECT_EQ(JOLT_REFRESH_COPY, JoltRefreshFromCompare(JOLT_COMP_OK, 0));
    EXPECT_EQ(JOLT_REFRESH_COPY, JoltRefreshFromCompare(JOLT_COMP_USER_FAILED, 0));
    EXPECT_EQ(JOLT_REFRESH_BROKEN, JoltRefreshFromCompare(JOLT_COMP_MACHINE_FAILED, 0));
}

TEST(JoltAction, SoundOnlyForFlagOneAndLaunchOutcomes)
{
    EXPECT_TRUE(JoltSoundWanted(1));
    for (uint32_t f : { 0u, 2u, 3u, 0x101u, 0xFFFFFFFFu })
        EXPECT_FALSE(JoltSoundWanted(f)) << f;

    EXPECT_EQ(0, JoltLaunchOutcome(32));
    EXPECT_EQ(0, JoltLaunchOutcome(0x400000));
    EXPECT_EQ(JOLT_LAUNCH_NOT_FOUND, JoltLaunchOutcome(2));
    EXPECT_EQ(JOLT_LAUNCH_NOT_FOUND, JoltLaunchOutcome(3));
    for (uintptr_t r : { 0u, 1u, 4u, 5u, 8u, 26u, 31u })
        EXPECT_EQ(JOLT_LAUNCH_FAILED, JoltLaunchOutcome(r)) << r;
}

/* The installation defaults: what the Jolt store and the console need. */

static const TKDEFAULTVALUE *FindDefault(const char *pszKey, const char *pszName)
{
    for (size_t i = 0; i < TKDEF_COUNT; i++)
        if (std::string(pszKey) == g_aTiltkitDefaults[i].pszKey &&
            std::string(pszName) == g_aTiltkitDefaults[i].pszName)
            return &g_aTiltkitDefaults[i];
    return nullptr;
}

TEST(InstallDefaults, HoldEveryValueTheSuiteReadsInItsFormat)
{
    /* Everything the Jolt key must hold except "InstallTime" (stamped by setup). */
    const char *apszJoltText[] = { "VerticalLaunchPath", "HorizontalLaunchPath",
                                   "VerticalSoundPath", "HorizontalSoundPath", "HelpFilePath" };
    for (const char *pszName : apszJoltText) {
        const TKDEFAULTVALUE *p = FindDefault("Jolt", pszName);
        ASSERT_TRUE(p) << pszName;
        EXPECT_EQ(TKDEF_SZ, p->nType) << pszName;
    }
    ASSERT_TRUE(FindDefault("Jolt", "Version"));
    EXPECT_EQ(TKDEF_DWORD, FindDefault("Jolt", "Version")->nType);
    ASSERT_TRUE(FindDefault("Jolt", "IdleTime"));
    EXPECT_EQ(TKDEF_DWORD, FindDefault("Jolt", "IdleTime")->nType);
    EXPECT_FALSE(FindDefault("Jolt", "InstallTime"));

    const TKDEFAULTVALUE *pSetting = FindDefault("Jolt", "JoltSetting");
    ASSERT_TRUE(pSetting);
    ASSERT_EQ(TKDEF_BINARY, pSetting->nType);
    uint8_t ab[32];
    size_t cb = 0;
    ASSERT_TRUE(TkParseHex(pSetting->pszData, ab, sizeof(ab), &cb));
    ASSERT_EQ(16u, cb);
    JOLTSETTING s;
    JoltDecodeSetting(ab, cb, &s);
    /* Codes the settings page can show, flags it can write. */
    EXPECT_LE(s.dwVerticalAction, 3u);
    EXPECT_LE(s.dwHorizontalAction, 3u);
    EXPECT_LE(s.dwVerticalSound, 1u);
    EXPECT_LE(s.dwHorizontalSound, 1u);

    uint32_t dwIdle = 0;
    ASSERT_TRUE(TkParseDword(FindDefault("Jolt", "IdleTime")->pszData, &dwIdle));
    EXPECT_GE(dwIdle, 300u);
    EXPECT_LE(dwIdle, 5000u);

    ASSERT_TRUE(FindDefault("Gravmon", "PATH"));
    ASSERT_TRUE(FindDefault("Tiltfeed", "FeedrunPath"));
    ASSERT_TRUE(FindDefault("Tiltfeed", "HelpFilePath"));
}

TEST(InstallDefaults, PagePluginsUseFourDigitKeysWithBothValues)
{
    std::set<std::string> keys;
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        std::string key = g_aTiltkitDefaults[i].pszKey;
        if (key.compare(0, 9, "Property\\") != 0)
            continue;
        std::string digits = key.substr(9);
        ASSERT_EQ(4u, digits.size()) << key;
        for (char c : digits)
            ASSERT_TRUE(c >= '0' && c <= '9') << key;
        keys.insert(key);
    }
    EXPECT_EQ(4u, keys.size());   /* the three pages and "Дополнительно" */
    for (const std::string &key : keys) {
        EXPECT_TRUE(FindDefault(key.c_str(), "Name")) << key;
        EXPECT_TRUE(FindDefault(key.c_str(), "DLLFileName")) << key;
    }
}

TEST(InstallDefaults, EveryTextExpandsAndNoValueRepeats)
{
    std::set<std::string> seen;
    char sz[260];
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        const TKDEFAULTVALUE &d = g_aTiltkitDefaults[i];
        EXPECT_TRUE(seen.insert(std::string(d.pszKey) + "|" + d.pszName).second) << d.pszName;
        if (d.nType == TKDEF_SZ) {
            ASSERT_TRUE(TkExpandDefault(d.pszData, "C:\\Program Files\\Zelvar\\Tiltkit",
                                        "C:\\WINDOWS", sz, sizeof(sz))) << d.pszName;
            EXPECT_EQ(nullptr, strchr(sz, '%')) << sz;
        }
    }
}

TEST(InstallDefaults, ExpansionJoinsFoldersAndRespectsTheBuffer)
{
    char sz[260];
    ASSERT_TRUE(TkExpandDefault("%INSTALLDIR%\\Gravmon.dll", "C:\\Tk\\", "C:\\W", sz, sizeof(sz)));
    EXPECT_STREQ("C:\\Tk\\Gravmon.dll", sz);
    ASSERT_TRUE(TkExpandDefault("%WINDIR%\\Media\\ding.wav", "C:\\Tk", "C:\\W", sz, sizeof(sz)));
    EXPECT_STREQ("C:\\W\\Media\\ding.wav", sz);
    ASSERT_TRUE(TkExpandDefault("%INSTALLDIR%%WINDIR%%X%", "a", "b", sz, sizeof(sz)));
    EXPECT_STREQ("ab%X%", sz);

    /* Exactly fitting, one too long. */
    char szSmall[6];
    ASSERT_TRUE(TkExpandDefault("%INSTALLDIR%.x", "abc", "", szSmall, sizeof(szSmall)));
    EXPECT_STREQ("abc.x", szSmall);
    EXPECT_FALSE(TkExpandDefault("%INSTALLDIR%.xy", "abc", "", szSmall, sizeof(szSmall)));
    EXPECT_STREQ("", szSmall);
    EXPECT_FALSE(TkExpandDefault("abcdefg", "", "", szSmall, sizeof(szSmall)));
    EXPECT_FALSE(TkExpandDefault("x", "", "", szSmall, 0));
}

TEST(InstallDefaults, NumberAndByteDecoding)
{
    uint32_t dw = 7;
    EXPECT_TRUE(TkParseDword("1000", &dw));
    EXPECT_EQ(1000u, dw);
    EXPECT_TRUE(TkParseDword("0xFFFFFFFF", &dw));
    EXPECT_EQ(0xFFFFFFFFu, dw);
    dw = 7;
    for (const char *psz : { "", "0x", "12a", "0x100000000", "4294967296", "-1", " 1" })
        EXPECT_FALSE(TkParseDword(psz, &dw)) << psz;
    EXPECT_EQ(7u, dw);

    uint8_t ab[4];
    size_t cb = 99;
    EXPECT_TRUE(TkParseHex("01 a0FF  7e", ab, sizeof(ab), &cb));
    EXPECT_EQ(4u, cb);
    EXPECT_EQ(0xa0, ab[1]);
    EXPECT_EQ(0x7e, ab[3]);
    EXPECT_TRUE(TkParseHex("", ab, sizeof(ab), &cb));
    EXPECT_EQ(0u, cb);
    for (const char *psz : { "0", "0g", "01 02 03 04 05", "1 2" })
        EXPECT_FALSE(TkParseHex(psz, ab, sizeof(ab), &cb)) << psz;
}

TEST(JoltQuietTime, QuietTimeGatesOnlyInputNewerThanItAndSurvivesTheWrap)
{
    EXPECT_FALSE(JoltInQuietTime(1000, 990, 0));        /* off */
    EXPECT_TRUE(JoltInQuietTime(1200, 1000, 500));      /* 200 ms after a key */
    EXPECT_FALSE(JoltInQuietTime(1700, 1000, 500));     /* 700 ms after */
    EXPECT_FALSE(JoltInQuietTime(1500, 1000, 500));     /* exactly the quiet time: acts */
    EXPECT_TRUE(JoltInQuietTime(1000, 1000, 1));
    /* The tick count wrapped between the key and the tilt. */
    EXPECT_TRUE(JoltInQuietTime(100, 0xFFFFFF00u, 500));
    EXPECT_FALSE(JoltInQuietTime(400, 0xFFFFFF00u, 500));
}

TEST(JoltQuietTime, AnEventTakesItsOwnTimeUnlessItIsMissingOrLaterThanNow)
{
    EXPECT_EQ(900u, JoltInputTick(900, 1000));
    EXPECT_EQ(1000u, JoltInputTick(1000, 1000));
    EXPECT_EQ(1000u, JoltInputTick(0, 1000));
    EXPECT_EQ(1000u, JoltInputTick(1001, 1000));           /* a clock that runs ahead */
    EXPECT_EQ(0xFFFFFF00u, JoltInputTick(0xFFFFFF00u, 50)); /* before the wrap */
    EXPECT_EQ(0xFFFFFF00u, JoltInputTick(60, 0xFFFFFF00u)); /* after the wrap: ahead */
}
