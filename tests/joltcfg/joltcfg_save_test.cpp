/* What OK does: the checks of the input, the saved values, the runtime told. */
#include "joltcfg_fixture.h"
#include "common/regpaths.h"

using namespace jc;

namespace {

/* Type and stored bytes of a per-user Jolt value. */
bool RawValue(const char *pszName, DWORD *pdwType, std::vector<BYTE> *pData)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    BYTE ab[1024];
    DWORD cb = sizeof(ab);
    LONG l = RegQueryValueExA(hKey, pszName, NULL, pdwType, ab, &cb);
    RegCloseKey(hKey);
    if (l != ERROR_SUCCESS)
        return false;
    pData->assign(ab, ab + cb);
    return true;
}

std::vector<BYTE> Sz(const std::string &s)
{
    std::vector<BYTE> v(s.begin(), s.end());
    v.push_back(0);
    return v;
}

} // namespace

TEST_F(JoltPageTest, OkChecksEachDirectionVerticalFirst)
{
    struct Case {
        DWORD dwVAction, dwVSound; const char *pszVLaunch, *pszVSound;
        DWORD dwHAction, dwHSound; const char *pszHLaunch, *pszHSound;
        const char *pszBox; int line;
    } cases[] = {
        { 3, 0, "", "", 1, 0, "x", "x", kNoVProgram, __LINE__ },
        { 3, 1, "", "", 3, 1, "", "", kNoVProgram, __LINE__ },      /* the vertical box only */
        { 3, 1, "x", "", 3, 0, "", "", kNoVSound, __LINE__ },
        { 1, 1, "", "", 0, 1, "", "", kNoVSound, __LINE__ },
        { 0, 1, "", "", 3, 0, "", "", kNoHProgram, __LINE__ },      /* action 0 passes as it is */
        { 0, 1, "", "", 2, 1, "", "", kNoHSound, __LINE__ },
        { 2, 0, "", "", 3, 1, "x", "", kNoHSound, __LINE__ },
        { 3, 1, " ", " ", 3, 1, "   ", "  ", nullptr, __LINE__ },  /* blanks are content */
        { 0, 1, "", "", 0, 1, "", "", nullptr, __LINE__ },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case of line " << c.line);
        InstallSuite();
        Values v;
        v.dwVAction = c.dwVAction;
        v.dwVSound = c.dwVSound;
        v.vLaunch = c.pszVLaunch;
        v.vSound = c.pszVSound;
        v.dwHAction = c.dwHAction;
        v.dwHSound = c.dwHSound;
        v.hLaunch = c.pszHLaunch;
        v.hSound = c.pszHSound;
        WriteValues(v, true);
        Stored before = ReadStored();
        ASSERT_NE(nullptr, OpenPage());
        PressOk();
        if (c.pszBox) {
            ExpectBox(c.pszBox, c.line);
            /* The sheet stays open on the page; nothing was written. */
            tb::Pump(200);
            EXPECT_TRUE(m_desk.Running());
            EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
            EXPECT_EQ(before, ReadStored());
            Cancel();
        } else {
            ASSERT_TRUE(WaitConsoleEnded());
            EXPECT_EQ(before, ReadStored());
        }
        EXPECT_FALSE(m_desk.Running());
    }
}

TEST_F(JoltPageTest, OkSavesTheValuesAndTheRunningJoltrunActsOnTheNextTilt)
{
    Values v;
    v.dwVAction = 1;                 /* forward/backward: the Start menu */
    v.vLaunch = "C:\\none.exe";
    v.dwHAction = 2;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    ASSERT_NE(nullptr, OpenPage());

    /* Forward/backward now runs a program of our choice; left/right keeps its
     * action and gets a sound. */
    Choose(kVAction, 3);
    SetText(kVLaunch, Program("vert"));
    Click(kHCheck);
    SetText(kHSound, u8"C:\\звуки\\h2.wav");
    PressOk();
    ASSERT_TRUE(WaitConsoleEnded());
    EXPECT_TRUE(Runs().empty());

    DWORD dwType = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(RawValue("JoltSetting", &dwType, &data));
    EXPECT_EQ((DWORD)REG_BINARY, dwType);
    EXPECT_EQ((std::vector<BYTE>{ 3, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0 }), data);
    struct { const char *pszName; std::string want; } paths[] = {
        { "VerticalLaunchPath", Program("vert") },
        { "VerticalSoundPath", "C:\\v.wav" },
        { "HorizontalLaunchPath", Program("horz") },
        { "HorizontalSoundPath", tb::Ansi(u8"C:\\звуки\\h2.wav") },
    };
    for (const auto &p : paths) {
        SCOPED_TRACE(p.pszName);
        ASSERT_TRUE(RawValue(p.pszName, &dwType, &data));
        EXPECT_EQ((DWORD)REG_SZ, dwType);
        EXPECT_EQ(Sz(p.want), data); /* length plus the terminating zero */
    }

    /* The page told the runtime: the next quick tilt forward runs the program. */
    EXPECT_EQ(1, m_manager.Command("gesture 0x0101"));
    ASSERT_TRUE(WaitRuns(1));
    EXPECT_EQ((std::vector<std::string>{ "vert.exe" }), Runs());
    EXPECT_TRUE(m_runtime.Running());
}

TEST_F(JoltPageTest, AfterAFailedStartOkWritesNothingAndTellsNobody)
{
    /* The runtime runs on the user's current values (forward runs vert.exe);
     * the page cannot read the help file path of the installation. */
    Values v;
    v.dwVAction = 3;
    v.dwHAction = 0;
    WriteValues(v);
    WriteValues(v, true);
    ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "HelpFilePath"));
    ASSERT_TRUE(StartRuntime());
    ASSERT_TRUE(m_desk.Start(tb::BinPath("Tiltdesk.exe")));
    ExpectBox(kRegData, __LINE__);
    ASSERT_NE(nullptr, WaitPage());
    EXPECT_EQ(L"", Text(kVLaunch));
    EXPECT_EQ(-1, Selection(kVAction));
    EXPECT_EQ(0, (int)SendMessageA(Item(kVAction), CB_GETCOUNT, 0, 0));
    Screenshot("jolt_page_failed_start");

    /* Meanwhile the stored program changes; were the runtime told to read
     * again, its next forward tilt would run horz.exe. */
    ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "VerticalLaunchPath",
                                 Program("horz")));
    Stored before = ReadStored();
    PressOk();
    ASSERT_TRUE(WaitConsoleEnded());
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
    EXPECT_EQ(before, ReadStored());
    tb::Pump(300);
    EXPECT_EQ(1, m_manager.Command("gesture 0x0101"));
    ASSERT_TRUE(WaitRuns(1));
    EXPECT_EQ((std::vector<std::string>{ "vert.exe" }), Runs());
}

TEST_F(JoltPageTest, EachFailedStartShowsItsBoxAndOkKeepsTheStoredValues)
{
    const std::string tooLong(300, 'a');
    struct Case {
        int nBreak;   /* what is broken before the console starts */
        const char *pszBox;
        int line;
    } cases[] = {
        { 0, kRegOpen, __LINE__ },    /* no machine key */
        { 1, kBroken, __LINE__ },     /* no machine "Version" */
        { 2, kRegData, __LINE__ },    /* a user path longer than 259 characters */
        { 3, kBroken, __LINE__ },     /* user time present, machine time missing */
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case of line " << c.line);
        InstallSuite();
        Values v;
        v.dwVAction = 3;
        v.dwVSound = 1;
        WriteValues(v);
        WriteValues(v, true);
        switch (c.nBreak) {
        case 0:
            ASSERT_TRUE(tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT));
            break;
        case 1:
            ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version"));
            break;
        case 2:
            ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "HorizontalSoundPath", tooLong));
            break;
        case 3:
            ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime"));
            break;
        }
        Stored before = ReadStored();
        ASSERT_TRUE(m_desk.Start(tb::BinPath("Tiltdesk.exe")));
        ExpectBox(c.pszBox, c.line);
        ASSERT_NE(nullptr, WaitPage());
        EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
        PressOk();
        ASSERT_TRUE(WaitConsoleEnded());
        EXPECT_EQ(before, ReadStored());
    }
}
