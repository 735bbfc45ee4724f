/*
 * The alarm outputs on their own: the sound path and the sound calls, the
 * speaker mixer of this process, and the hardware settings through the
 * Hwgate stand-in in the system directory.
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "common/regpaths.h"
#include "hwgate_standin.h"
#include "inproc.h"

using namespace mltest;

class AlarmOutputs : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        HwgateReset();
        InstallFakePlatform();
        ResetLockwatchGlobals();
    }
    void TearDown() override
    {
        ResetLockwatchGlobals();
        RemoveFakePlatform();
        HwgateReset();
        tb::ResetRegistry();
    }
    static std::string BeepSoundPath()
    {
        char sz[TILTKIT_TEXT_MAX + 8];
        memset(sz, 'X', sizeof(sz));
        EXPECT_TRUE(GetBeepSoundPath(sz));
        EXPECT_EQ('X', sz[TILTKIT_TEXT_MAX]);
        return sz;
    }
};

TEST_F(AlarmOutputs, BeepSoundIsRelativeToTheProgramDirectory)
{
    EXPECT_EQ(ProgramDir() + "Windows XP Ding.wav", BeepSoundPath()) << "no Lockwatch key";

    ASSERT_TRUE(tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "Other", 1));
    EXPECT_EQ(ProgramDir() + "Windows XP Ding.wav", BeepSoundPath()) << "key without BeepSound";

    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "BeepSound", "siren.wav"));
    EXPECT_EQ(ProgramDir() + "siren.wav", BeepSoundPath());

    ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "BeepSound", "bell.wav", 8));
    EXPECT_EQ(ProgramDir() + "bell.wav", BeepSoundPath()) << "a value without its terminator";
}

TEST_F(AlarmOutputs, BeepSoundTooLongForTheBufferGivesNoPath)
{
    std::string name(259 - ProgramDir().size(), 'n');
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "BeepSound", name));
    EXPECT_EQ(ProgramDir() + name, BeepSoundPath()) << "259 characters still fit";

    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "BeepSound", name + "n"));
    EXPECT_EQ("", BeepSoundPath()) << "the platform's default sound instead of a cut-off name";

    std::vector<BYTE> full(TILTKIT_TEXT_MAX + 40, 'z');
    ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, "BeepSound",
                                 full.data(), (DWORD)full.size()));
    EXPECT_EQ(ProgramDir() + "Windows XP Ding.wav", BeepSoundPath())
        << "a value larger than the buffer cannot be read";
}

TEST_F(AlarmOutputs, SoundLoopsAndStopsWithTheFileFlags)
{
    StartAlarmSound("C:\\Apps\\siren.wav");
    StopAlarmSound();
    ASSERT_EQ(2u, g_fake.sounds.size());
    EXPECT_EQ("C:\\Apps\\siren.wav", g_fake.sounds[0].sound);
    EXPECT_EQ(NULL, g_fake.sounds[0].hmod);
    EXPECT_EQ(0x20009u, g_fake.sounds[0].dwFlags);
    EXPECT_TRUE(g_fake.sounds[1].bNullSound);
    EXPECT_EQ(NULL, g_fake.sounds[1].hmod);
    EXPECT_EQ(0x20001u, g_fake.sounds[1].dwFlags);
}

TEST_F(AlarmOutputs, MixerIsSavedRaisedAndRestored)
{
    TestMixer mixer;
    ASSERT_TRUE(mixer.Ok());
    ASSERT_EQ(65535u, mixer.VolumeMax());
    mixer.SetMute(1);
    mixer.SetVolume(30000);
    /* Known difference: Wine's mixer keeps the volume as a float and reads
     * 30000 back as 29999; the percentage is the same. */
    ASSERT_NEAR(30000, (int)mixer.Volume(), 1);

    EXPECT_TRUE(SaveMixerState());
    EXPECT_EQ(1u, g_MixerState.dwSavedMute);
    EXPECT_EQ(46u, g_MixerState.dwSavedVolume);
    EXPECT_NE((HMIXER)NULL, g_MixerState.hMixer) << "the first control operation opens the mixer";

    EXPECT_TRUE(RaiseMixerForAlarm());
    EXPECT_EQ(0u, mixer.Mute());
    EXPECT_EQ(65535u, mixer.Volume());

    EXPECT_TRUE(RestoreMixerState());
    EXPECT_EQ(1u, mixer.Mute());
    EXPECT_NEAR(30146, (int)mixer.Volume(), 1);

    CloseMixer();
    EXPECT_EQ((HMIXER)NULL, g_MixerState.hMixer);
    EXPECT_EQ((DWORD)-1, g_MixerState.dwVolumeControlId);
    EXPECT_EQ((DWORD)-1, g_MixerState.dwMuteControlId);
    EXPECT_EQ(1u, g_MixerState.dwSavedMute) << "saved values outlive the close";
}

TEST_F(AlarmOutputs, MixerOpensOnceAndLooksControlsUpOncePerOpen)
{
    ASSERT_TRUE(OpenMixer());
    HMIXER h = g_MixerState.hMixer;
    ASSERT_TRUE(OpenMixer());
    EXPECT_EQ(h, g_MixerState.hMixer);

    DWORD dwPercent = 999;
    ASSERT_TRUE(GetSpeakerVolume(&dwPercent));
    EXPECT_LE(dwPercent, 100u);
    EXPECT_NE((DWORD)-1, g_MixerState.dwVolumeControlId);
    EXPECT_EQ((DWORD)-1, g_MixerState.dwMuteControlId) << "only the kind asked for";
    EXPECT_EQ(65535u, g_MixerState.dwVolumeMax);

    /* A cached id is used as it is, without a new lookup. */
    g_MixerState.dwVolumeControlId = 0x7777;
    EXPECT_FALSE(GetSpeakerVolume(&dwPercent));
    CloseMixer();
    EXPECT_TRUE(GetSpeakerVolume(&dwPercent)) << "looked up again after the close";
}

TEST_F(AlarmOutputs, HwgateAnsweringAtOnceMakesOneRequestAndNoPause)
{
    HwgateSetSetting(0x5E, 2);
    BOOL bOn = 77;
    ASSERT_TRUE(GetHwgateFlag(ALARM_SETTING_FIRST, &bOn));
    EXPECT_EQ(TRUE, bOn);
    EXPECT_EQ(1u, HwgateRequests());
    EXPECT_TRUE(g_fake.sleeps.empty());

    ASSERT_TRUE(SetHwgateFlag(ALARM_SETTING_SECOND, TRUE));
    ASSERT_TRUE(SetHwgateFlag(ALARM_SETTING_FIRST, FALSE));
    EXPECT_EQ(3u, HwgateRequests());
    EXPECT_TRUE(g_fake.sleeps.empty());
    EXPECT_EQ(1u, HwgateSetting(0x6E));
    EXPECT_EQ(0u, HwgateSetting(0x5E));

    std::vector<HWGATELOGRECORD> log = HwgateLog();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(0xFE00u, log[0].dwCode);
    EXPECT_EQ(0x5Eu, log[0].dwNumber);
    EXPECT_EQ(0xFF00u, log[1].dwCode);
    EXPECT_EQ(0x6Eu, log[1].dwNumber);
    EXPECT_EQ(1u, log[1].dwValue);
    EXPECT_EQ(0u, log[2].dwValue);
    for (const HWGATELOGRECORD &r : log)
        EXPECT_EQ(0u, r.dwStray) << "only the parameter slots carry values";

    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("Hwgate.DLL")) << "freed after each operation";
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("Sysgate.DLL"));
}

TEST_F(AlarmOutputs, SettingReadsAsOnByItsFlagBitInTheLowByte)
{
    struct { int nSetting; DWORD dwNumber, dwValue; BOOL bOn; int line; } cases[] = {
        { ALARM_SETTING_FIRST, 0x5E, 0x02, TRUE, __LINE__ },
        { ALARM_SETTING_FIRST, 0x5E, 0x03, TRUE, __LINE__ },
        { ALARM_SETTING_FIRST, 0x5E, 0x01, FALSE, __LINE__ },
        { ALARM_SETTING_FIRST, 0x5E, 0x102, TRUE, __LINE__ },
        { ALARM_SETTING_FIRST, 0x5E, 0x200, FALSE, __LINE__ },
        { ALARM_SETTING_SECOND, 0x6E, 0x01, TRUE, __LINE__ },
        { ALARM_SETTING_SECOND, 0x6E, 0x03, TRUE, __LINE__ },
        { ALARM_SETTING_SECOND, 0x6E, 0x02, FALSE, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        HwgateSetSetting(c.dwNumber, c.dwValue);
        BOOL bOn = 77;
        ASSERT_TRUE(GetHwgateFlag(c.nSetting, &bOn));
        EXPECT_EQ(c.bOn, bOn);
    }
}

TEST_F(AlarmOutputs, FailedRequestsAreRetriedWithPauses)
{
    HwgateFail(3, 1);           /* answered, but with a non-zero status */
    ASSERT_TRUE(SetHwgateFlag(ALARM_SETTING_FIRST, TRUE));
    EXPECT_EQ(4u, HwgateRequests());
    EXPECT_EQ(std::vector<DWORD>({ 200, 200, 200 }), g_fake.sleeps);
    EXPECT_EQ(2u, HwgateSetting(0x5E));

    HwgateReset();
    g_fake.sleeps.clear();
    HwgateFail(2, 0);           /* not carried out */
    BOOL bOn = 77;
    ASSERT_TRUE(GetHwgateFlag(ALARM_SETTING_SECOND, &bOn));
    EXPECT_EQ(FALSE, bOn);
    EXPECT_EQ(3u, HwgateRequests());
    EXPECT_EQ(2u, g_fake.sleeps.size());
}

TEST_F(AlarmOutputs, HwgateFailingGivesUpAfterTwentyAttempts)
{
    HwgateFail(HWGATE_FAIL_ALWAYS, 1);
    BOOL bOn = 77;
    EXPECT_FALSE(GetHwgateFlag(ALARM_SETTING_FIRST, &bOn));
    EXPECT_EQ(77, bOn) << "output untouched";
    EXPECT_EQ(20u, HwgateRequests());
    EXPECT_EQ(std::vector<DWORD>(20, 200), g_fake.sleeps) << "a pause after the twentieth too";

    g_fake.sleeps.clear();
    EXPECT_FALSE(SetHwgateFlag(ALARM_SETTING_SECOND, TRUE));
    EXPECT_EQ(40u, HwgateRequests());
    EXPECT_EQ(20u, g_fake.sleeps.size());
    EXPECT_EQ(0u, HwgateSetting(0x6E));
}

TEST_F(AlarmOutputs, SysgateMissingCostsTwentyAttemptsAndAboutFourSeconds)
{
    HideSystemLibrary hide("Sysgate.DLL");
    ASSERT_TRUE(hide.Hidden());
    EXPECT_FALSE(LoadGateLibraries());
    FreeGateLibraries();

    g_fake.bRealSleep = true;
    DWORD dwStart = GetTickCount();
    EXPECT_FALSE(SetHwgateFlag(ALARM_SETTING_FIRST, TRUE));
    DWORD dwElapsed = GetTickCount() - dwStart;
    EXPECT_EQ(0u, HwgateRequests()) << "Hwgate is never called without Sysgate";
    EXPECT_EQ(20u, g_fake.sleeps.size());
    EXPECT_GE(dwElapsed, 3900u);
    EXPECT_LT(dwElapsed, 6000u);
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("Hwgate.DLL"));
}

TEST_F(AlarmOutputs, HwgateMissingFailsWithoutACall)
{
    HideSystemLibrary hide("Hwgate.DLL");
    ASSERT_TRUE(hide.Hidden());
    EXPECT_FALSE(LoadGateLibraries());
    EXPECT_EQ((HMODULE)NULL, GetModuleHandleA("Sysgate.DLL")) << "Sysgate freed again";

    BOOL bOn = 77;
    EXPECT_FALSE(GetHwgateFlag(ALARM_SETTING_SECOND, &bOn));
    EXPECT_EQ(77, bOn);
    EXPECT_EQ(20u, g_fake.sleeps.size());
}
