#include <gtest/gtest.h>
#include <math.h>
#include <string.h>
#include <string>
#include "motionlock/alarmcalc.h"

TEST(MixerPercent, SavedAndRestoredToTheNearestPercent)
{
    uint32_t dwPercent = 999, dwValue = 0;

    ASSERT_TRUE(MixerValueToPercent(30000, 0, 65535, &dwPercent));
    EXPECT_EQ(46u, dwPercent);
    ASSERT_TRUE(PercentToMixerValue(46, 0, 65535, &dwValue));
    EXPECT_EQ(30146u, dwValue);

    ASSERT_TRUE(PercentToMixerValue(100, 0, 65535, &dwValue));
    EXPECT_EQ(65535u, dwValue) << "100 % writes the maximum exactly";
    ASSERT_TRUE(PercentToMixerValue(0, 0, 65535, &dwValue));
    EXPECT_EQ(0u, dwValue);
}

TEST(MixerPercent, RoundsHalfUpAndHonoursTheMinimum)
{
    struct { uint32_t v, lo, hi, pct; int line; } cases[] = {
        { 0, 0, 65535, 0, __LINE__ },
        { 65535, 0, 65535, 100, __LINE__ },
        { 327, 0, 65535, 0, __LINE__ },       /* 0.499 % */
        { 328, 0, 65535, 1, __LINE__ },       /* 0.5005 % */
        { 5, 0, 10, 50, __LINE__ },
        { 1, 0, 200, 1, __LINE__ },           /* exactly 0.5 % rounds up */
        { 150, 100, 200, 50, __LINE__ },
        { 100, 100, 200, 0, __LINE__ },
        { 200, 100, 200, 100, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        uint32_t dwPercent = 999;
        ASSERT_TRUE(MixerValueToPercent(c.v, c.lo, c.hi, &dwPercent));
        EXPECT_EQ(c.pct, dwPercent);
    }
    uint32_t dwValue = 0;
    ASSERT_TRUE(PercentToMixerValue(50, 100, 200, &dwValue));
    EXPECT_EQ(150u, dwValue);
    ASSERT_TRUE(PercentToMixerValue(33, 0, 10, &dwValue));
    EXPECT_EQ(3u, dwValue) << "truncates";
}

TEST(MixerPercent, EmptyRangeIsNotDividedBy)
{
    uint32_t dwPercent = 77, dwValue = 88;

    EXPECT_FALSE(MixerValueToPercent(500, 500, 500, &dwPercent));
    EXPECT_EQ(77u, dwPercent) << "output untouched";
    EXPECT_FALSE(PercentToMixerValue(100, 500, 500, &dwValue));
    EXPECT_EQ(88u, dwValue) << "control left as is";
}

TEST(RegisterBlock, RequestFillsThePushadSlotsAndClearsTheRest)
{
    HWGATEREGS regs;
    memset(&regs, 0xCC, sizeof(regs));

    HwgateBuildRequest(&regs, HWGATE_FN_WRITE, 0x5E, 2, 0x44, 0x55, 0x66);
    uint32_t words[17];
    static_assert(sizeof(words) == sizeof(regs), "seventeen words");
    memcpy(words, &regs, sizeof(words));
    EXPECT_EQ(0x66u, words[0]);     /* EDI: parameter 6 */
    EXPECT_EQ(0x55u, words[1]);     /* ESI: parameter 5 */
    EXPECT_EQ(0u, words[2]);        /* EBP */
    EXPECT_EQ(0u, words[3]);        /* ESP */
    EXPECT_EQ(0x5Eu, words[4]);     /* EBX: setting number */
    EXPECT_EQ(0x44u, words[5]);     /* EDX: parameter 4 */
    EXPECT_EQ(2u, words[6]);        /* ECX: value */
    EXPECT_EQ(0xFF00u, words[7]);   /* EAX: function code */
    for (int i = 8; i < 17; i++)
        EXPECT_EQ(0u, words[i]) << "word " << i;

    const unsigned char *pb = (const unsigned char *)&regs;
    EXPECT_EQ(0x00, pb[28]);
    EXPECT_EQ(0xFF, pb[29]) << "little-endian EAX slot at offset 28";
}

TEST(RegisterBlock, ResultIsReadInParameterOrder)
{
    HWGATEREGS regs;
    HWGATERESULT result;
    uint32_t words[17];

    for (int i = 0; i < 17; i++)
        words[i] = 0x100u + (uint32_t)i;
    memcpy(&regs, words, sizeof(regs));
    HwgateReadResult(&regs, &result);
    EXPECT_EQ(0x107u, result.adwWord[0]);   /* EAX */
    EXPECT_EQ(0x104u, result.adwWord[1]);   /* EBX */
    EXPECT_EQ(0x106u, result.adwWord[2]);   /* ECX */
    EXPECT_EQ(0x105u, result.adwWord[3]);   /* EDX */
    EXPECT_EQ(0x101u, result.adwWord[4]);   /* ESI */
    EXPECT_EQ(0x100u, result.adwWord[5]);   /* EDI */
}

TEST(RegisterBlock, StatusIsBitsEightToFifteenOfEax)
{
    EXPECT_TRUE(HwgateStatusOk(0));
    EXPECT_TRUE(HwgateStatusOk(0xFF0000FFu));
    EXPECT_FALSE(HwgateStatusOk(0xFE00u)) << "a code left unanswered is not success";
    EXPECT_FALSE(HwgateStatusOk(0x0100u));
    EXPECT_FALSE(HwgateStatusOk(0x8600u));
}

TEST(AlarmSettings, NumbersAndValuesWritten)
{
    EXPECT_EQ(0x5Eu, AlarmSettingNumber(ALARM_SETTING_FIRST));
    EXPECT_EQ(0x6Eu, AlarmSettingNumber(ALARM_SETTING_SECOND));
    EXPECT_EQ(2u, AlarmSettingWriteValue(ALARM_SETTING_FIRST, 1));
    EXPECT_EQ(1u, AlarmSettingWriteValue(ALARM_SETTING_SECOND, 1));
    EXPECT_EQ(2u, AlarmSettingWriteValue(ALARM_SETTING_FIRST, 7)) << "any non-zero is on";
    EXPECT_EQ(0u, AlarmSettingWriteValue(ALARM_SETTING_FIRST, 0));
    EXPECT_EQ(0u, AlarmSettingWriteValue(ALARM_SETTING_SECOND, 0));
}

TEST(AlarmSettings, FlagBitInTheLowByteOnly)
{
    EXPECT_TRUE(AlarmSettingIsOn(ALARM_SETTING_FIRST, 0x02));
    EXPECT_TRUE(AlarmSettingIsOn(ALARM_SETTING_FIRST, 0x03));
    EXPECT_FALSE(AlarmSettingIsOn(ALARM_SETTING_FIRST, 0x01));
    EXPECT_TRUE(AlarmSettingIsOn(ALARM_SETTING_FIRST, 0x102));
    EXPECT_FALSE(AlarmSettingIsOn(ALARM_SETTING_FIRST, 0x200)) << "bit 9 is outside the low byte";

    EXPECT_TRUE(AlarmSettingIsOn(ALARM_SETTING_SECOND, 0x01));
    EXPECT_TRUE(AlarmSettingIsOn(ALARM_SETTING_SECOND, 0x03));
    EXPECT_FALSE(AlarmSettingIsOn(ALARM_SETTING_SECOND, 0x02));
    EXPECT_FALSE(AlarmSettingIsOn(ALARM_SETTING_SECOND, 0x100));
}

static std::string SoundPath(const char *pszModule, const char *pszName, size_t cchOut = 260,
                             int *pnResult = nullptr)
{
    char sz[300];
    memset(sz, 'X', sizeof(sz));
    int n = BuildBeepSoundPath(sz, cchOut, pszModule, pszName);
    if (pnResult)
        *pnResult = n;
    EXPECT_EQ('X', sz[cchOut]) << "nothing written past the buffer";
    return sz;
}

TEST(BeepSoundPath, NameIsAppendedToTheProgramDirectory)
{
    EXPECT_EQ("C:\\Apps\\Menu\\siren.wav", SoundPath("C:\\Apps\\Menu\\Lockwatch.exe", "siren.wav"));
    EXPECT_EQ("C:\\Apps\\Menu\\Windows XP Ding.wav",
              SoundPath("C:\\Apps\\Menu\\Lockwatch.exe", "Windows XP Ding.wav"));
    EXPECT_EQ("C:\\Apps\\D:\\x.wav", SoundPath("C:\\Apps\\Lockwatch.exe", "D:\\x.wav"))
        << "an absolute name is still relative to the directory";
    EXPECT_EQ("C:x.wav", SoundPath("C:Lockwatch.exe", "x.wav"));
    EXPECT_EQ("x.wav", SoundPath(nullptr, "x.wav")) << "no module path: no directory";
    EXPECT_EQ("x.wav", SoundPath("Lockwatch.exe", "x.wav"));
}

TEST(BeepSoundPath, TooLongFallsBackToNoPath)
{
    std::string dir = "C:\\" + std::string(240, 'd') + "\\";      /* 244 characters */
    std::string module = dir + "Lockwatch.exe";
    int n = -1;

    EXPECT_EQ(dir + std::string(15, 'n'), SoundPath(module.c_str(), std::string(15, 'n').c_str(), 260, &n));
    EXPECT_EQ(1, n) << "259 characters fit";
    EXPECT_EQ("", SoundPath(module.c_str(), std::string(16, 'n').c_str(), 260, &n));
    EXPECT_EQ(0, n) << "260 characters do not";
    EXPECT_EQ("", SoundPath("C:\\a\\b.exe", "siren.wav", 8, &n));
    EXPECT_EQ(0, n);
}

TEST(ReadingComparison, ExactOnEitherAxis)
{
    EXPECT_FALSE(IsReadingChanged(0.25f, -0.5f, 0.25f, -0.5f));
    EXPECT_TRUE(IsReadingChanged(0.25f, -0.5f, nextafterf(0.25f, 1.0f), -0.5f)) << "no tolerance";
    EXPECT_TRUE(IsReadingChanged(0.25f, -0.5f, 0.25f, nextafterf(-0.5f, -1.0f)));
    EXPECT_TRUE(IsReadingChanged(0.0f, 0.0f, 1.0f, 1.0f));
}

TEST(ReadingComparison, SignedZerosEqualAndNaNUnchanged)
{
    EXPECT_FALSE(IsReadingChanged(0.0f, 0.0f, -0.0f, -0.0f));
    EXPECT_FALSE(IsReadingChanged(-0.0f, 0.0f, 0.0f, -0.0f));
    EXPECT_FALSE(IsReadingChanged(0.1f, 0.2f, NAN, 0.2f));
    EXPECT_FALSE(IsReadingChanged(NAN, NAN, 0.1f, 0.2f)) << "a NaN baseline never alarms";
    EXPECT_TRUE(IsReadingChanged(0.1f, 0.2f, NAN, 0.3f)) << "the other axis still counts";
    EXPECT_TRUE(IsReadingChanged(0.1f, 0.2f, INFINITY, 0.2f));
}

TEST(MovementThreshold, ThresholdZeroIsTheExactCompareAndAboveItSmallChangesAreStill)
{
    const float af[] = { 0.0f, -0.0f, 0.05f, -0.05f, 1.0f, 0.01745f, NAN };
    for (float b : af)
        for (float v : af) {
            SCOPED_TRACE(testing::Message() << b << " " << v);
            EXPECT_EQ(IsReadingChanged(b, 0.0f, v, 0.0f), IsMovement(b, 0.0f, v, 0.0f, 0));
            EXPECT_EQ(IsReadingChanged(0.0f, b, 0.0f, v), IsMovement(0.0f, b, 0.0f, v, 0));
        }

    /* 100 thousandths of g: the stand-in's "move" (0.05 g) is no movement, a
     * tilt of 20 degrees (sin 20 = 0.342 g) is. */
    EXPECT_FALSE(IsMovement(0.0f, 0.0f, 0.05f, -0.05f, 100));
    EXPECT_TRUE(IsMovement(0.0f, 0.0f, 0.342f, 0.0f, 100));
    EXPECT_TRUE(IsMovement(0.0f, 0.5f, 0.0f, 0.3f, 100));
    EXPECT_TRUE(IsMovement(0.25f, 0.0f, 0.5f, 0.0f, 250));   /* the threshold itself counts */
    EXPECT_FALSE(IsMovement(0.0f, 0.0f, NAN, NAN, 100));
    EXPECT_FALSE(IsMovement(NAN, 0.0f, 1.0f, 0.0f, 100));
}

TEST(MovementThreshold, TheHeldAlarmRaisesAMutedOrLoweredSpeakerOnly)
{
    EXPECT_FALSE(SpeakerNeedsRaise(0, 100));
    EXPECT_TRUE(SpeakerNeedsRaise(1, 100));
    EXPECT_TRUE(SpeakerNeedsRaise(0, 99));
}
