/*
 * Provisio.dll under Wine, loaded into the test as the installer loads it:
 * its exports and their stack use, the installation stamp and what Joltrun
 * makes of it, closing the manager stand-in and Joltrun (and a program that
 * will not close), the Start-menu clean-up over several user profiles, and
 * the launcher-menu folder.
 */
#include "setup_fixture.h"
#include "testbench/jolt_defaults.h"
#include "testbench/manager.h"
#include "common/regpaths.h"

#include <shlobj.h>

using namespace st;

namespace {

const char kTabletFolder[] = "Zelvar\\Tablet PC";
const char kJoltClass[] = "TiltkitJolt Class";
const char kJoltTitle[] = "TiltkitJolt";

DWORD Since(DWORD dwStart)
{
    return GetTickCount() - dwStart;
}

/* A local time in 100-nanosecond units. */
ULONGLONG Ticks(const SYSTEMTIME &st)
{
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
}

class ProvisioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_lib.Loaded());
        CoInitialize(NULL);
        tb::ResetRegistry();
        m_scratch = tb::ScratchDir(true);
        m_feedrun = m_scratch + "\\Feedrun.exe";
        ASSERT_TRUE(WriteFile(m_feedrun, "MZ"));
        m_programsInside = ProgramsInsideProfile();
        ASSERT_FALSE(m_programsInside.empty()) << ProgramsFolder();
        m_root = ProfilesRoot();
        m_quadrix = ProgramFilesFolder() + "\\Zelvar\\Quadrix";
        CleanFolders();
        m_hwnd = tb::MakeWindow("setup test");
    }

    void TearDown() override
    {
        CleanFolders();
        tb::ResetRegistry();
        if (m_hwnd)
            DestroyWindow(m_hwnd);
        CoUninitialize();
    }

    void CleanFolders()
    {
        for (const char *psz : { "tkother", ".tkdot", "tkempty", "tkfile.txt" })
            RemoveTree(m_root + "\\" + psz);
        RemoveTreeLong(m_root + "\\" + LongProfileName());
        RemoveTreeLong(TabletFolder(ProfileFolder()));
        RemoveTree(ProgramsFolder() + "\\Zelvar");
        RemoveTree(ProgramFilesFolder() + "\\Zelvar");
    }

    static std::string LongProfileName() { return "tk" + std::string(200, 'p'); }

    std::string TabletFolder(const std::string &profile) const
    {
        return profile + "\\" + m_programsInside + "\\" + kTabletFolder;
    }

    void SetFeedrunPath(const std::string &value)
    {
        ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", value));
    }

    /* Starts Joltrun, waits for its window, closes it and waits for the end. */
    void RunJoltrunOnce()
    {
        tb::Process jolt;
        ASSERT_TRUE(jolt.Start(tb::BinPath("Joltrun.exe")));
        HWND hwnd = tb::WaitWindow(kJoltClass, kJoltTitle, 10000, jolt.Pid());
        ASSERT_TRUE(hwnd != NULL);
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, jolt.Wait(10000));
    }

    Provisio m_lib;
    std::string m_scratch, m_feedrun, m_programsInside, m_root, m_quadrix;
    HWND m_hwnd = NULL;
};

} // namespace

TEST_F(ProvisioTest, ExportsTakeTheirArgumentsOffTheStackAndReturnZero)
{
    EXPECT_TRUE(GetProcAddress(m_lib.hModule, "DllMain") != NULL);
    /* Nothing installed, nothing running: no export waits. */
    DWORD dwStart = GetTickCount();
#ifndef _WIN64 /* x86-64 has one calling convention */
    EXPECT_EQ(0, CallerStackPopped((void *)m_lib.pfnSetInstInfo, 0));
    EXPECT_EQ(0, CallerStackPopped((void *)m_lib.pfnCleanInstReg, 0));
    EXPECT_EQ(12, CallerStackPopped((void *)m_lib.pfnUninstInitialize, 3));
    EXPECT_EQ(12, CallerStackPopped((void *)m_lib.pfnUninstUnInitialize, 3));
#endif

    EXPECT_EQ(0, m_lib.pfnSetInstInfo());
    EXPECT_EQ(0, m_lib.pfnCleanInstReg());
    EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0x12345678, -1));
    EXPECT_EQ(0, m_lib.pfnUninstUnInitialize(m_hwnd, 1, 2));
    EXPECT_LT(Since(dwStart), 3000u);
    /* Nothing was created on the way. */
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
    EXPECT_FALSE(DirExists(m_quadrix));
}

TEST_F(ProvisioTest, SetInstInfoStampsTheMachineKeysThatExist)
{
    std::vector<BYTE> stamp;
    /* Before the installation wrote its keys: nothing is created. */
    m_lib.pfnSetInstInfo();
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT));

    /* The Jolt key alone. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version", 1));
    m_lib.pfnSetInstInfo();
    EXPECT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime", &stamp));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED));

    /* Both keys: the same local time, as 16 bytes of a SYSTEMTIME. */
    SetFeedrunPath(m_feedrun);
    SYSTEMTIME stBefore;
    GetLocalTime(&stBefore);
    m_lib.pfnSetInstInfo();
    std::vector<BYTE> jolt, feed;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime", &jolt));
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "InstallTime", &feed));
    ASSERT_EQ(16u, jolt.size());
    EXPECT_EQ(jolt, feed);
    SYSTEMTIME stStamp;
    memcpy(&stStamp, jolt.data(), sizeof(stStamp));
    double dSeconds = (double)(LONGLONG)(Ticks(stStamp) - Ticks(stBefore)) / 1e7;
    EXPECT_GE(dSeconds, 0.0);
    EXPECT_LT(dSeconds, 5.0);
    /* The other values of the keys are left alone. */
    std::string path;
    EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", &path));
    EXPECT_EQ(m_feedrun, path);
}

TEST_F(ProvisioTest, ANewStampMakesJoltrunResetTheUsersSettings)
{
    ASSERT_TRUE(tb::InstallDefaults(m_scratch));
    m_lib.pfnSetInstInfo();
    /* The user's first start copies the defaults. */
    RunJoltrunOnce();
    std::vector<BYTE> machineSetting, userSetting;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "JoltSetting", &machineSetting));
    ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", &userSetting));
    EXPECT_EQ(machineSetting, userSetting);

    /* The user's own choice survives further starts (which values come
     * back with a new stamp is the Jolt store's test). */
    const BYTE abMine[16] = { 3, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0 };
    ASSERT_TRUE(tb::RegSetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", abMine, 16));
    RunJoltrunOnce();
    ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", &userSetting));
    EXPECT_EQ(std::vector<BYTE>(abMine, abMine + 16), userSetting);

    /* A reinstallation stamps a new time: the next start brings the defaults back. */
    Sleep(20);
    m_lib.pfnSetInstInfo();
    RunJoltrunOnce();
    ASSERT_TRUE(tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", &userSetting));
    EXPECT_EQ(machineSetting, userSetting);
}

TEST_F(ProvisioTest, CleanInstRegClosesManagerAndJoltrunAndDeletesTheMachineTree)
{
    ASSERT_TRUE(tb::InstallDefaults(m_scratch));
    m_lib.pfnSetInstInfo();
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    tb::Process jolt;
    ASSERT_TRUE(jolt.Start(tb::BinPath("Joltrun.exe")));
    ASSERT_TRUE(tb::WaitWindow(kJoltClass, kJoltTitle, 10000, jolt.Pid()) != NULL);
    ASSERT_TRUE(tb::WaitFor([] { return tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT); }));

    DWORD dwStart = GetTickCount();
    EXPECT_EQ(0, m_lib.pfnCleanInstReg());
    /* Both processes have ended when the call returns: no later wait needed. */
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manager.Proc().Handle(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(jolt.Handle(), 0));
    EXPECT_LT(Since(dwStart), 8000u);
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
    /* The users' settings are theirs. */
    EXPECT_TRUE(tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));
}

TEST_F(ProvisioTest, AManagerThatIgnoresCloseCostsOneWaitAndKeepsRunning)
{
    ASSERT_TRUE(tb::InstallDefaults(m_scratch));
    m_lib.pfnSetInstInfo();
    tb::Process holdout;
    ASSERT_TRUE(holdout.Start(tb::BinPath("Holdout.exe"), "GravmonWindowClass GravmonWindowName"));
    HWND hwndHoldout = tb::WaitWindow("GravmonWindowClass", "GravmonWindowName", 10000, holdout.Pid());
    ASSERT_TRUE(hwndHoldout != NULL);
    tb::Process jolt;
    ASSERT_TRUE(jolt.Start(tb::BinPath("Joltrun.exe")));
    ASSERT_TRUE(tb::WaitWindow(kJoltClass, kJoltTitle, 10000, jolt.Pid()) != NULL);

    DWORD dwStart = GetTickCount();
    EXPECT_EQ(0, m_lib.pfnCleanInstReg());
    DWORD dwElapsed = Since(dwStart);
    /* Ten seconds for the manager, then Joltrun closes at once. */
    EXPECT_GE(dwElapsed, 9900u);
    EXPECT_LT(dwElapsed, 14000u);
    EXPECT_TRUE(holdout.Running());
    EXPECT_TRUE(IsWindow(hwndHoldout));
    EXPECT_EQ(1, (int)GetWindowLongPtrA(hwndHoldout, GWLP_USERDATA)) << "WM_CLOSE posted once";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(jolt.Handle(), 0));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
}

TEST_F(ProvisioTest, StartMenuCleanUpDeletesFeedrunLinksOfEveryProfileOnly)
{
    /* The recorded path differs in letter case from the links' targets. */
    std::string upper = m_feedrun;
    CharUpperBuffA(&upper[0], (DWORD)upper.size());
    ASSERT_NE(m_feedrun, upper);
    SetFeedrunPath(upper);
    std::string lower = m_feedrun;
    CharLowerBuffA(&lower[0], (DWORD)lower.size());

    /* Latin file names: without a Russian locale on the Unix side, Wine
     * cannot create files with Cyrillic names. The arguments are Russian. */
    const std::string game = "Game";
    const std::string gameArgs = tb::Ansi(u8"Игра");
    std::vector<std::string> folders = { TabletFolder(ProfileFolder()),
                                         TabletFolder(m_root + "\\tkother") };
    for (const std::string &dir : folders) {
        SCOPED_TRACE(dir);
        ASSERT_TRUE(MakeDirs(dir + "\\sub"));
        ASSERT_TRUE(WriteLink(dir + "\\" + game + ".lnk", m_feedrun, gameArgs));
        ASSERT_TRUE(WriteLink(dir + "\\lower.lnk", lower, "x"));
        ASSERT_TRUE(WriteLink(dir + "\\Notepad.lnk", "C:\\windows\\notepad.exe"));
        ASSERT_TRUE(WriteLink(dir + "\\sub\\Inner.lnk", m_feedrun, "inner"));
        ASSERT_TRUE(WriteFile(dir + "\\readme.txt", "notes"));
        ASSERT_TRUE(WriteFile(dir + "\\fake.lnk", "not a link"));
        ASSERT_EQ(m_feedrun, ReadLink(dir + "\\" + game + ".lnk").target);
    }
    /* A profile whose name starts with a dot is passed over; one without a
     * Start menu and a plain file among the profiles are harmless. */
    std::string dotted = TabletFolder(m_root + "\\.tkdot");
    ASSERT_TRUE(MakeDirs(dotted));
    ASSERT_TRUE(WriteLink(dotted + "\\a.lnk", m_feedrun));
    ASSERT_TRUE(MakeDirs(m_root + "\\tkempty"));
    ASSERT_TRUE(WriteFile(m_root + "\\tkfile.txt"));
    /* Feedrun links outside the Tiltfeed folder are not Tiltfeed's. */
    std::string elsewhere = ProgramsFolder() + "\\Zelvar\\Other";
    ASSERT_TRUE(MakeDirs(elsewhere));
    ASSERT_TRUE(WriteLink(elsewhere + "\\x.lnk", m_feedrun));

    EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0, 0));

    for (const std::string &dir : folders) {
        SCOPED_TRACE(dir);
        EXPECT_EQ((std::vector<std::string>{ "Notepad.lnk", "fake.lnk", "readme.txt", "sub" }),
                  ListFolder(dir));
        EXPECT_TRUE(FileExists(dir + "\\sub\\Inner.lnk"));
    }
    EXPECT_TRUE(FileExists(dotted + "\\a.lnk"));
    EXPECT_TRUE(FileExists(elsewhere + "\\x.lnk"));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
}

TEST_F(ProvisioTest, AnEmptyOrMissingFeedrunPathDeletesNoShortcut)
{
    std::string dir = TabletFolder(ProfileFolder());
    struct { int line; const char *what; bool bValue; } cases[] = {
        { __LINE__, "empty value", true },
        { __LINE__, "no value", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        tb::ResetRegistry();
        if (c.bValue)
            SetFeedrunPath("");
        else
            ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "HelpFilePath", "x"));
        ASSERT_TRUE(MakeDirs(dir));
        ASSERT_TRUE(WriteLink(dir + "\\game.lnk", m_feedrun, "game"));
        ASSERT_TRUE(WriteFile(dir + "\\fake.lnk", "not a link"));
        ASSERT_TRUE(WriteFile(dir + "\\empty.lnk", ""));
        ASSERT_EQ("", ReadLink(dir + "\\fake.lnk").target);

        EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0, 0));
        EXPECT_EQ((std::vector<std::string>{ "empty.lnk", "fake.lnk", "game.lnk" }), ListFolder(dir));
        EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
    }
}

TEST_F(ProvisioTest, PathsBeyond259CharactersAreSkippedNotCut)
{
    SetFeedrunPath(m_feedrun);
    /* In this user's folder: one link whose full path is too long. */
    std::string dir = TabletFolder(ProfileFolder());
    ASSERT_TRUE(MakeDirs(dir));
    ASSERT_LT(dir.size(), 200u);
    std::string longName = std::string(256 - dir.size(), 'L') + ".lnk";
    ASSERT_TRUE(WriteLink(dir + "\\tmp.lnk", m_feedrun));
    ASSERT_TRUE(MoveLong(dir + "\\tmp.lnk", dir + "\\" + longName));
    ASSERT_GT(dir.size() + 1 + longName.size(), 259u);
    /* The first 259 characters of that path name another file, which stays. */
    std::string cut = (dir + "\\" + longName).substr(0, 259);
    ASSERT_TRUE(WriteFile(cut, "someone else's"));
    ASSERT_TRUE(WriteLink(dir + "\\ok.lnk", m_feedrun));

    /* A profile whose Tiltfeed folder lies beyond 259 characters. */
    std::string deep = TabletFolder(m_root + "\\" + LongProfileName());
    ASSERT_GT(deep.size(), 259u);
    ASSERT_TRUE(MakeDirsLong(deep));
    ASSERT_TRUE(WriteLink(dir + "\\tmp.lnk", m_feedrun));
    ASSERT_TRUE(MoveLong(dir + "\\tmp.lnk", deep + "\\deep.lnk"));

    EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0, 0));
    EXPECT_TRUE(ExistsLong(dir + "\\" + longName));
    EXPECT_TRUE(FileExists(cut));
    EXPECT_FALSE(FileExists(dir + "\\ok.lnk"));
    EXPECT_TRUE(ExistsLong(deep + "\\deep.lnk"));
}

TEST_F(ProvisioTest, LauncherFolderGoesOnlyWhenItHoldsNothingButTheMotionFiles)
{
    struct Case {
        int line;
        std::vector<std::string> files, dirs;
        bool bFolderGone;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        { __LINE__, { "Quadlock.dll" }, {}, true, {} },
        { __LINE__, { "Lockwatch.exe", "Quadlock.dll" }, {}, true, {} },
        { __LINE__, { "LOCKWATCH.EXE" }, {}, true, {} },
        { __LINE__, { "Lockwatch.exe", "Quadlock.dll", "Other.dll" }, {}, false, { "Other.dll" } },
        { __LINE__, { "Quadlock.dll" }, { "plugins" }, false, { "plugins" } },
        { __LINE__, { "Quadlock.dll", "plugins\\Quadlock.dll" }, { "plugins" }, false, { "plugins" } },
        /* A file of the user's is kept even when its name starts with a dot. */
        { __LINE__, { "Quadlock.dll", ".settings" }, {}, false, { ".settings" } },
        { __LINE__, {}, {}, false, {} },
        { __LINE__, { "Other.dll" }, {}, false, { "Other.dll" } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        RemoveTree(m_quadrix);
        ASSERT_TRUE(MakeDirs(m_quadrix));
        for (const std::string &d : c.dirs)
            ASSERT_TRUE(MakeDirs(m_quadrix + "\\" + d));
        for (const std::string &f : c.files)
            ASSERT_TRUE(WriteFile(m_quadrix + "\\" + f));

        EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0, 0));
        EXPECT_EQ(!c.bFolderGone, DirExists(m_quadrix));
        if (!c.bFolderGone) {
            EXPECT_EQ(c.left, ListFolder(m_quadrix));
        }
        for (const std::string &f : c.files) {
            if (f.find('\\') != std::string::npos) {
                EXPECT_TRUE(FileExists(m_quadrix + "\\" + f)) << "files of a subfolder stay";
            }
        }
        EXPECT_TRUE(DirExists(ProgramFilesFolder() + "\\Zelvar"));
    }
    /* The launcher host still has the plug-in loaded: the folder cannot go,
     * and the clean-up says nothing and returns. */
    RemoveTree(m_quadrix);
    ASSERT_TRUE(MakeDirs(m_quadrix));
    ASSERT_TRUE(WriteFile(m_quadrix + "\\Quadlock.dll"));
    HANDLE hHeld = CreateFileA((m_quadrix + "\\Quadlock.dll").c_str(), GENERIC_READ,
                               FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    struct Call {
        PFNUNINSTINITIALIZE pfn;
        HWND hwnd;
        static DWORD WINAPI Run(void *pv)
        {
            Call *pCall = (Call *)pv;
            return (DWORD)pCall->pfn(pCall->hwnd, 0, 0);
        }
    } call = { m_lib.pfnUninstInitialize, m_hwnd };
    HANDLE hThread = CreateThread(NULL, 0, Call::Run, &call, 0, NULL);
    ASSERT_TRUE(hThread != NULL);
    bool bReturned = tb::WaitFor([&] { return WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0; }, 10000);
    EXPECT_TRUE(bReturned) << "a box would wait for a person";
    EXPECT_EQ(0, tb::CountMessageBoxes(GetCurrentProcessId()));
    if (!bReturned) {
        tb::MessageBoxInfo box = tb::WaitMessageBox(GetCurrentProcessId(), 1000);
        if (box.found())
            tb::CloseMessageBox(box);
    }
    WaitForSingleObject(hThread, 10000);
    CloseHandle(hThread);
    CloseHandle(hHeld);
    EXPECT_TRUE(FileExists(m_quadrix + "\\Quadlock.dll"));

    /* No folder at all: nothing to do. */
    RemoveTree(m_quadrix);
    EXPECT_EQ(0, m_lib.pfnUninstInitialize(m_hwnd, 0, 0));
    EXPECT_FALSE(DirExists(m_quadrix));
}
