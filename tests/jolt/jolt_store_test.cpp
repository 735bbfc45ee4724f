/* The Jolt settings store against the registry of the Wine prefix. */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "jolt/joltstore.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const char kJolt[] = TILTKIT_REG_JOLT;
const char kInstallDir[] = "C:\\Program Files\\Zelvar\\Tiltkit";

SYSTEMTIME Time(WORD wSecond, WORD wMs = 0)
{
    SYSTEMTIME st = { 2024, 3, 2, 12, 10, 30, wSecond, wMs };
    return st;
}

/* The two keys as the runtime and the page open them. */
struct Keys {
    HKEY hMachine = NULL;
    HKEY hUser = NULL;
    Keys()
    {
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJolt, 0, KEY_READ, &hMachine));
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kJolt, 0, NULL,
                                                 REG_OPTION_NON_VOLATILE, JOLT_USER_ACCESS,
                                                 NULL, &hUser, NULL));
    }
    ~Keys()
    {
        if (hUser)
            RegCloseKey(hUser);
        if (hMachine)
            RegCloseKey(hMachine);
    }
    int Check() { return CheckJoltVersion(hMachine, hUser); }
};

/* The installed defaults with an install time, and a user who received them. */
void InstallStamped(const SYSTEMTIME &st)
{
    ASSERT_TRUE(tb::InstallDefaults(kInstallDir));
    tb::StampInstallTime(st);
}

void CopyToUser()
{
    Keys k;
    ASSERT_EQ(JOLT_REFRESH_COPY, k.Check());
    ASSERT_EQ(ERROR_SUCCESS, JoltCopyDefaults(k.hUser));
    ASSERT_EQ(JOLT_REFRESH_CURRENT, k.Check());
}

struct Values {
    JOLTSETTING setting = { 0xAAAA, 0xAAAA, 0xAAAA, 0xAAAA };
    char szVSound[260], szHSound[260], szVLaunch[260], szHLaunch[260];
    DWORD dwIdle = 0xAAAA;
    Values()
    {
        lstrcpynA(szVSound, "sentinel", sizeof(szVSound));
        lstrcpynA(szHSound, "sentinel", sizeof(szHSound));
        lstrcpynA(szVLaunch, "sentinel", sizeof(szVLaunch));
        lstrcpynA(szHLaunch, "sentinel", sizeof(szHLaunch));
    }
    BOOL Read(HKEY hKey, bool bIdle = true)
    {
        return JoltReadValues(hKey, &setting, szVSound, szHSound, szVLaunch, szHLaunch,
                              bIdle ? &dwIdle : NULL);
    }
};

} // namespace

TEST(JoltStore, NewUserReceivesEveryMachineValue)
{
    tb::ResetRegistry();
    InstallStamped(Time(5));
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, std::string(kJolt) + "\\Extra", "Sub", "x"));
    CopyToUser();

    /* Every machine value, "HelpFilePath" and the install time included. */
    HKEY hMachine;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJolt, 0, KEY_READ, &hMachine));
    int nValues = 0;
    for (DWORD i = 0;; i++) {
        char szName[260];
        DWORD cch = sizeof(szName);
        if (RegEnumValueA(hMachine, i, szName, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> machine, user;
        ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, kJolt, szName, &machine));
        ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, kJolt, szName, &user)) << szName;
        EXPECT_EQ(machine, user) << szName;
        nValues++;
    }
    RegCloseKey(hMachine);
    EXPECT_EQ(9, nValues);
    std::string sub;
    EXPECT_TRUE(tb::RegGetString(HKEY_CURRENT_USER, std::string(kJolt) + "\\Extra", "Sub", &sub));

    /* The copy reads back as the defaults say. */
    Keys k;
    Values v;
    ASSERT_TRUE(v.Read(k.hUser));
    EXPECT_EQ(1u, v.setting.dwVerticalAction);
    EXPECT_EQ(2u, v.setting.dwHorizontalAction);
    EXPECT_EQ(0u, v.setting.dwVerticalSound | v.setting.dwHorizontalSound);
    EXPECT_EQ(1000u, v.dwIdle);
    EXPECT_EQ(tb::DefaultText("Jolt", "VerticalSoundPath", kInstallDir), v.szVSound);
    EXPECT_EQ(tb::DefaultText("Jolt", "HorizontalLaunchPath", kInstallDir), v.szHLaunch);
}

/* One row of the refresh matrix: how the keys differ from a current user copy. */
struct RefreshCase {
    int nLine;
    const char *pszWhat;
    std::function<void()> fnChange;
    int nExpected;
};

static void SetMachine(const char *pszName, const void *pv, DWORD cb)
{
    ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, kJolt, pszName, pv, cb));
}
static void SetUser(const char *pszName, const void *pv, DWORD cb)
{
    ASSERT_TRUE(tb::RegSetBinary(HKEY_CURRENT_USER, kJolt, pszName, pv, cb));
}

TEST(JoltStore, RefreshMatrix)
{
    const BYTE abLong[8] = { 0, 0, 1, 0, 0, 0, 0, 0 };
    const DWORD dwOther = 0x00020000;
    std::vector<RefreshCase> cases = {
        { __LINE__, "current copy", [] {}, JOLT_REFRESH_CURRENT },
        { __LINE__, "user Version missing", [] { tb::RegDeleteVal(HKEY_CURRENT_USER, kJolt, "Version"); },
          JOLT_REFRESH_COPY },
        { __LINE__, "Versions differ", [&] { SetUser("Version", &dwOther, 4); }, JOLT_REFRESH_COPY },
        { __LINE__, "user Version longer than 4 bytes", [&] { SetUser("Version", abLong, 8); },
          JOLT_REFRESH_COPY },
        { __LINE__, "machine Version missing",
          [] { tb::RegDeleteVal(HKEY_LOCAL_MACHINE, kJolt, "Version"); }, JOLT_REFRESH_BROKEN },
        { __LINE__, "machine Version missing, user key empty",
          [] {
              tb::RegDeleteVal(HKEY_LOCAL_MACHINE, kJolt, "Version");
              tb::RegDeleteTree(HKEY_CURRENT_USER, kJolt);
          },
          JOLT_REFRESH_BROKEN },
        { __LINE__, "machine Version longer than 4 bytes", [&] { SetMachine("Version", abLong, 8); },
          JOLT_REFRESH_BROKEN },
        { __LINE__, "user InstallTime missing (machine time not read)",
          [] {
              tb::RegDeleteVal(HKEY_CURRENT_USER, kJolt, "InstallTime");
              tb::RegDeleteVal(HKEY_LOCAL_MACHINE, kJolt, "InstallTime");
          },
          JOLT_REFRESH_COPY },
        { __LINE__, "machine InstallTime missing",
          [] { tb::RegDeleteVal(HKEY_LOCAL_MACHINE, kJolt, "InstallTime"); }, JOLT_REFRESH_BROKEN },
        { __LINE__, "machine InstallTime longer than 16 bytes",
          [] { BYTE ab[18] = {}; SetMachine("InstallTime", ab, sizeof(ab)); }, JOLT_REFRESH_BROKEN },
        { __LINE__, "user InstallTime longer than 16 bytes",
          [] { BYTE ab[18] = {}; SetUser("InstallTime", ab, sizeof(ab)); }, JOLT_REFRESH_COPY },
    };
    /* A new installation time differing in any one byte. */
    for (int i = 0; i < 16; i++) {
        cases.push_back({ __LINE__, "InstallTime byte differs", [i] {
                              SYSTEMTIME st = Time(5, 250);
                              ((BYTE *)&st)[i] ^= 0x40;
                              tb::StampInstallTime(st);
                          },
                          JOLT_REFRESH_COPY });
    }

    for (size_t n = 0; n < cases.size(); n++) {
        const RefreshCase &c = cases[n];
        SCOPED_TRACE(testing::Message() << "line " << c.nLine << ": " << c.pszWhat << " #" << n);
        tb::ResetRegistry();
        InstallStamped(Time(5, 250));
        CopyToUser();
        c.fnChange();
        Keys k;
        EXPECT_EQ(c.nExpected, k.Check());
    }
}

TEST(JoltStore, CompInstallTimeResults)
{
    tb::ResetRegistry();
    InstallStamped(Time(7));
    CopyToUser();
    {
        Keys k;
        int bSame = 5;
        EXPECT_EQ(JOLT_COMP_OK, CompInstallTime(k.hUser, k.hMachine, &bSame));
        EXPECT_EQ(1, bSame);
    }
    tb::StampInstallTime(Time(8));
    {
        Keys k;
        int bSame = 5;
        EXPECT_EQ(JOLT_COMP_OK, CompInstallTime(k.hUser, k.hMachine, &bSame));
        EXPECT_EQ(0, bSame);
    }
    BYTE abLong[20] = {};
    SetUser("InstallTime", abLong, sizeof(abLong));
    {
        Keys k;
        int bSame = 5;
        EXPECT_EQ(JOLT_COMP_USER_FAILED, CompInstallTime(k.hUser, k.hMachine, &bSame));
        EXPECT_EQ(0, bSame);
    }
    tb::RegDeleteVal(HKEY_CURRENT_USER, kJolt, "InstallTime");
    tb::RegDeleteVal(HKEY_LOCAL_MACHINE, kJolt, "InstallTime");
    {
        Keys k;
        int bSame = 5;
        EXPECT_EQ(JOLT_COMP_OK, CompInstallTime(k.hUser, k.hMachine, &bSame));
        EXPECT_EQ(0, bSame);
    }
    SetUser("InstallTime", abLong, 16);
    {
        Keys k;
        int bSame = 5;
        EXPECT_EQ(JOLT_COMP_MACHINE_FAILED, CompInstallTime(k.hUser, k.hMachine, &bSame));
    }
}

TEST(JoltStore, ReadStopsAtTheFirstValueThatFails)
{
    /* In reading order; each later field must keep its sentinel. */
    const char *apszOrder[] = { "JoltSetting", "VerticalSoundPath", "HorizontalSoundPath",
                                "VerticalLaunchPath", "HorizontalLaunchPath", "IdleTime" };
    for (int nMissing = 0; nMissing < 6; nMissing++) {
        SCOPED_TRACE(apszOrder[nMissing]);
        tb::ResetRegistry();
        InstallStamped(Time(1));
        CopyToUser();
        tb::RegDeleteVal(HKEY_CURRENT_USER, kJolt, apszOrder[nMissing]);

        Keys k;
        Values v;
        EXPECT_FALSE(v.Read(k.hUser));
        bool abRead[6];
        abRead[0] = v.setting.dwVerticalAction != 0xAAAA;
        abRead[1] = lstrcmpA(v.szVSound, "sentinel") != 0;
        abRead[2] = lstrcmpA(v.szHSound, "sentinel") != 0;
        abRead[3] = lstrcmpA(v.szVLaunch, "sentinel") != 0;
        abRead[4] = lstrcmpA(v.szHLaunch, "sentinel") != 0;
        abRead[5] = v.dwIdle != 0xAAAA;
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(i < nMissing, abRead[i]) << apszOrder[i];
    }

    /* The page's read leaves "IdleTime" out. */
    tb::RegDeleteVal(HKEY_CURRENT_USER, kJolt, "HorizontalLaunchPath");
    tb::RegSetString(HKEY_CURRENT_USER, kJolt, "HorizontalLaunchPath", "x");
    Keys k;
    Values v;
    EXPECT_TRUE(v.Read(k.hUser, false));
    EXPECT_EQ(0xAAAAu, v.dwIdle);
}

TEST(JoltStore, PathsUpTo259CharactersOnly)
{
    tb::ResetRegistry();
    InstallStamped(Time(1));
    CopyToUser();

    std::string s259(259, 'p'), s260(260, 'q');
    struct { const char *pszWhat; std::function<void()> fnSet; bool bOk; std::string expected; } cases[] = {
        { "259 characters", [&] { tb::RegSetString(HKEY_CURRENT_USER, kJolt, "VerticalLaunchPath", s259); },
          true, s259 },
        { "260 characters", [&] { tb::RegSetString(HKEY_CURRENT_USER, kJolt, "VerticalLaunchPath", s260); },
          false, "" },
        { "260 bytes without terminator",
          [&] { SetUser("VerticalLaunchPath", s260.data(), 260); }, false, "" },
        { "short, without terminator",
          [&] { SetUser("VerticalLaunchPath", "C:\\a.exe", 8); }, true, "C:\\a.exe" },
        { "Cyrillic in the code page",
          [&] {
              tb::RegSetString(HKEY_CURRENT_USER, kJolt, "VerticalLaunchPath",
                               tb::Ansi(u8"C:\\Программы\\Наклон.exe"));
          },
          true, tb::Ansi(u8"C:\\Программы\\Наклон.exe") },
        { "empty", [&] { tb::RegSetString(HKEY_CURRENT_USER, kJolt, "VerticalLaunchPath", ""); },
          true, "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pszWhat);
        c.fnSet();
        Keys k;
        Values v;
        EXPECT_EQ(c.bOk, v.Read(k.hUser) != FALSE);
        if (c.bOk)
            EXPECT_EQ(c.expected, v.szVLaunch);
        else
            EXPECT_STREQ("sentinel", v.szVLaunch);
    }
}

TEST(JoltStore, ShortJoltSettingReadsMissingFieldsAsZeroLongerFails)
{
    tb::ResetRegistry();
    InstallStamped(Time(1));
    CopyToUser();

    const BYTE ab[6] = { 3, 0, 0, 0, 2, 0 };
    SetUser("JoltSetting", ab, sizeof(ab));
    {
        Keys k;
        Values v;
        ASSERT_TRUE(v.Read(k.hUser));
        EXPECT_EQ(3u, v.setting.dwVerticalAction);
        EXPECT_EQ(2u, v.setting.dwHorizontalAction);
        EXPECT_EQ(0u, v.setting.dwVerticalSound);
        EXPECT_EQ(0u, v.setting.dwHorizontalSound);
    }
    const BYTE abLong[17] = { 1 };
    SetUser("JoltSetting", abLong, sizeof(abLong));
    {
        Keys k;
        Values v;
        EXPECT_FALSE(v.Read(k.hUser));
        EXPECT_EQ(0xAAAAu, v.setting.dwVerticalAction);
    }
    /* "IdleTime" of 2 bytes: the missing bytes are 0. */
    const BYTE abIdle[2] = { 0x34, 0x12 };
    SetUser("JoltSetting", ab, sizeof(ab));
    SetUser("IdleTime", abIdle, 2);
    {
        Keys k;
        Values v;
        ASSERT_TRUE(v.Read(k.hUser));
        EXPECT_EQ(0x1234u, v.dwIdle);
    }
}

TEST(JoltStore, ReinstallationResetsTheUsersValues)
{
    tb::ResetRegistry();
    InstallStamped(Time(1));
    CopyToUser();

    JOLTSETTING mine = { 3, 0, 1, 1 };
    ASSERT_TRUE(SaveJoltData(&mine, "C:\\mine.exe", "C:\\mine.wav", "C:\\other.exe", "C:\\other.wav"));
    ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, kJolt, "Private", "kept"));
    {
        /* Same installation: the user's edits stay. */
        Keys k;
        EXPECT_EQ(JOLT_REFRESH_CURRENT, k.Check());
        Values v;
        ASSERT_TRUE(v.Read(k.hUser));
        EXPECT_EQ(3u, v.setting.dwVerticalAction);
        EXPECT_STREQ("C:\\mine.exe", v.szVLaunch);
    }

    tb::StampInstallTime(Time(2)); /* reinstalled */
    Keys k;
    ASSERT_EQ(JOLT_REFRESH_COPY, k.Check());
    ASSERT_EQ(ERROR_SUCCESS, JoltCopyDefaults(k.hUser));
    EXPECT_EQ(JOLT_REFRESH_CURRENT, k.Check());
    Values v;
    ASSERT_TRUE(v.Read(k.hUser));
    EXPECT_EQ(1u, v.setting.dwVerticalAction);
    EXPECT_EQ(2u, v.setting.dwHorizontalAction);
    EXPECT_EQ(0u, v.setting.dwVerticalSound);
    EXPECT_EQ(tb::DefaultText("Jolt", "VerticalLaunchPath", kInstallDir), v.szVLaunch);
    EXPECT_EQ(tb::DefaultText("Jolt", "HorizontalSoundPath", kInstallDir), v.szHSound);
    /* Values of other names are left alone by the copy. */
    std::string kept;
    EXPECT_TRUE(tb::RegGetString(HKEY_CURRENT_USER, kJolt, "Private", &kept));
    EXPECT_EQ("kept", kept);
}

TEST(JoltStore, SaveWritesTheFivePageValuesIntoAnExistingKeyOnly)
{
    tb::ResetRegistry();
    JOLTSETTING s = { 2, 3, 1, 0 };
    EXPECT_FALSE(SaveJoltData(&s, "a", "b", "c", "d"));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_CURRENT_USER, kJolt));

    InstallStamped(Time(1));
    CopyToUser();
    ASSERT_TRUE(SaveJoltData(&s, "C:\\v.exe", "C:\\v.wav", "C:\\h.exe", tb::Ansi(u8"C:\\звук.wav").c_str()));

    std::vector<BYTE> block;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, kJolt, "JoltSetting", &block));
    const BYTE abExpected[16] = { 2, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(std::vector<BYTE>(abExpected, abExpected + 16), block);

    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kJolt, 0, KEY_READ, &hKey));
    struct { const char *pszName; std::string text; } expected[] = {
        { "VerticalLaunchPath", "C:\\v.exe" }, { "VerticalSoundPath", "C:\\v.wav" },
        { "HorizontalLaunchPath", "C:\\h.exe" }, { "HorizontalSoundPath", tb::Ansi(u8"C:\\звук.wav") },
    };
    for (const auto &e : expected) {
        char sz[260] = {};
        DWORD dwType = 0, cb = sizeof(sz);
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(hKey, e.pszName, NULL, &dwType, (BYTE *)sz, &cb));
        EXPECT_EQ((DWORD)REG_SZ, dwType) << e.pszName;
        EXPECT_EQ(e.text.size() + 1, cb) << e.pszName;
        EXPECT_EQ(e.text, sz);
    }
    /* A path longer than the readers take is cut to 259 characters, never stored unreadable. */
    ASSERT_TRUE(SaveJoltData(&s, std::string(300, 'L').c_str(), "a", "b", "c"));
    {
        Keys k;
        Values v;
        ASSERT_TRUE(v.Read(k.hUser));
        EXPECT_EQ(std::string(259, 'L'), v.szVLaunch);
    }

    /* Not the page's to write. */
    DWORD dwIdle = 0;
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, kJolt, "IdleTime", &dwIdle));
    EXPECT_EQ(1000u, dwIdle);
    RegCloseKey(hKey);
}

TEST(InstallDefaultsUnderWine, MachineValuesReadAsTheSuiteExpects)
{
    tb::ResetRegistry();
    ASSERT_TRUE(tb::InstallDefaults("C:\\Tk\\"));

    /* The Jolt machine key is readable with the store's own reader. */
    HKEY hMachine;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kJolt, 0, KEY_READ, &hMachine));
    Values v;
    EXPECT_TRUE(v.Read(hMachine));
    char szHelp[260];
    EXPECT_TRUE(JoltReadPath(hMachine, "HelpFilePath", szHelp));
    EXPECT_STREQ("C:\\Tk\\Help\\Jolt.chm", szHelp);
    DWORD dwVersion = 0;
    EXPECT_TRUE(JoltReadDword(hMachine, "Version", &dwVersion));
    RegCloseKey(hMachine);

    std::string s;
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, "PATH", &s));
    EXPECT_EQ("C:\\Tk\\Gravmon.dll", s);
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", &s));
    EXPECT_EQ("C:\\Tk\\Feedrun.exe", s);
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_PROPERTY "\\0020", "Name", &s));
    EXPECT_EQ(tb::Ansi(u8"Наклон"), s);
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_PROPERTY "\\0030", "DLLFileName", &s));
    EXPECT_EQ("C:\\Tk\\Gravcal.dll", s);

    /* An installation folder too long for the 259-character readers is refused. */
    tb::ResetRegistry();
    EXPECT_FALSE(tb::InstallDefaults("C:\\" + std::string(250, 'x')));
}
