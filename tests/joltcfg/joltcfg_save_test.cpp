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
    /* Which box comes for which direction is JoltCheckDirection's table (the
     * native tests); here: one case per box, both directions failing, and
     * blanks as content. Values: actions V, H; sound ticks V, H; paths. */
    struct Case {
        Values v;
        const char *pszBox;
        int line;
    } cases[] = {
        { { 3, 3, 1, 1, "", "", "", "" }, kNoVProgram, __LINE__ },    /* the vertical box only */
        { { 3, 3, 1, 0, "x", "", "", "" }, kNoVSound, __LINE__ },
        { { 0, 3, 1, 0, "", "", "", "" }, kNoHProgram, __LINE__ },    /* action 0 passes as it is */
        { { 0, 2, 1, 1, "", "", "", "" }, kNoHSound, __LINE__ },
        { { 3, 3, 1, 1, " ", "   ", " ", "  " }, nullptr, __LINE__ }, /* blanks are content */
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case of line " << c.line);
        InstallSuite();
        WriteValues(c.v, true);
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
    /* What is broken before the console starts, and the box it brings. */
    struct Case {
        bool (*pfnBreak)();
        const char *pszBox;
        int line;
    } cases[] = {
        { [] { return tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT); }, kRegOpen, __LINE__ },
        { [] { return tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version"); }, kBroken, __LINE__ },
        /* a user path longer than 259 characters */
        { [] { return tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "HorizontalSoundPath",
                                       std::string(300, 'a')); }, kRegData, __LINE__ },
        /* user time present, machine time missing */
        { [] { return tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime"); }, kBroken, __LINE__ },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case of line " << c.line);
        InstallSuite();
        Values v;
        v.dwVAction = 3;
        v.dwVSound = 1;
        WriteValues(v);
        WriteValues(v, true);
        ASSERT_TRUE(c.pfnBreak());
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
