/*
 * TiltkitSetup.exe under Wine, silent (/S), as an administrator would run
 * it: what an installation leaves (files and help files in their places,
 * every machine value of the defaults table, the installation stamp,
 * shortcuts, the uninstall entry, Joltrun running, a console with its
 * pages), what a reinstallation does to a user's Jolt settings, and what the
 * uninstaller removes and keeps.
 */
#include "setup_fixture.h"
#include "testbench/jolt_defaults.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include "setup/defaults.h"

#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <memory>

using namespace st;

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tiltkit";
const char kJoltClass[] = "TiltkitJolt Class";
const char kJoltTitle[] = "TiltkitJolt";
const char kConsoleCaption[] = u8"Консоль настройки программ акселерометра Zelvar";

/* The deliverables and where the installation puts them. */
const char *const kMainFiles[] = { "Gravmon.dll", "Feedrun.exe", "Feedcfg.dll", "Joltrun.exe",
                                   "Joltcfg.dll", "Tiltdesk.exe", "Gravcal.dll", "Provisio.dll",
                                   "Tiltextra.dll" };
const char *const kQuadrixFiles[] = { "Lockwatch.exe", "Quadlock.dll" };
const char *const kPageLibraries[] = { "Feedcfg.dll", "Joltcfg.dll", "Gravcal.dll", "Tiltextra.dll" };

bool Built(const std::string &name)
{
    return FileExists(tb::BinPath(name));
}

DWORD FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow
                                                                             : (DWORD)-1;
}

DWORD ValueType(HKEY hRoot, const std::string &key, const std::string &name)
{
    HKEY hKey;
    DWORD dwType = REG_NONE;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return REG_NONE;
    if (RegQueryValueExA(hKey, name.c_str(), NULL, &dwType, NULL, NULL) != ERROR_SUCCESS)
        dwType = REG_NONE;
    RegCloseKey(hKey);
    return dwType;
}

/* "A.B.C.D" of a binary's version resource. */
std::string FileVersion(const std::string &path)
{
    DWORD dwHandle = 0;
    DWORD cb = GetFileVersionInfoSizeA(path.c_str(), &dwHandle);
    if (!cb)
        return "";
    std::vector<BYTE> data(cb);
    VS_FIXEDFILEINFO *pInfo = NULL;
    UINT cbInfo = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, cb, data.data()) ||
        !VerQueryValueA(data.data(), "\\", (void **)&pInfo, &cbInfo) || !pInfo)
        return "";
    char sz[64];
    snprintf(sz, sizeof(sz), "%u.%u.%u.%u", (unsigned)HIWORD(pInfo->dwFileVersionMS),
             (unsigned)LOWORD(pInfo->dwFileVersionMS), (unsigned)HIWORD(pInfo->dwFileVersionLS),
             (unsigned)LOWORD(pInfo->dwFileVersionLS));
    return sz;
}

/* The console's sheet, once shown. */
HWND WaitSheet(DWORD dwPid, DWORD dwTimeoutMs)
{
    HWND hwnd = NULL;
    tb::WaitFor([&] {
        hwnd = tb::WaitWindow("#32770", tb::Ansi(kConsoleCaption).c_str(), 50, dwPid);
        return hwnd != NULL && IsWindowVisible(hwnd);
    }, dwTimeoutMs);
    return hwnd;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(NULL);
        m_setup = tb::BinPath("TiltkitSetup.exe");
        ASSERT_TRUE(FileExists(m_setup)) << "the installer is built with makensis (Debian package nsis)";
        m_zelvar = ProgramFilesFolder() + "\\Zelvar";
        m_installDir = m_zelvar + "\\Tiltkit";
        m_quadrix = m_zelvar + "\\Quadrix";
        m_menu = Special(CSIDL_COMMON_PROGRAMS) + "\\Zelvar";
        m_startupLink = Special(CSIDL_COMMON_STARTUP) + "\\Tiltkit Jolt.lnk";
        m_tablet = ProgramsFolder() + "\\Zelvar\\Tablet PC";
        m_otherTablet = ProfilesRoot() + "\\tkother\\" + ProgramsInsideProfile() + "\\Zelvar\\Tablet PC";
        Clean();
    }

    void TearDown() override
    {
        m_job.reset();
        Clean();
        CoUninitialize();
    }

    void Clean()
    {
        HWND hwnd = FindWindowA(kJoltClass, kJoltTitle);
        if (hwnd) {
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            tb::WaitWindowGone(hwnd, 5000);
        }
        tb::ResetRegistry();
        tb::RegDeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        RemoveTree(m_zelvar);
        RemoveTree(m_menu);
        RemoveTree(ProgramsFolder() + "\\Zelvar");
        RemoveTree(ProfilesRoot() + "\\tkother");
        DeleteFileA(m_startupLink.c_str());
        m_job.reset(new Job);
    }

    /* Runs the installer silently and waits for it; its exit code. */
    long Install()
    {
        if (!m_job->Start(m_setup, "/S"))
            return -2;
        return m_job->WaitLast(60000);
    }

    /* The Joltrun that the installation started, once it has its window. */
    HWND WaitJoltrun()
    {
        return tb::WaitWindow(kJoltClass, kJoltTitle, 10000);
    }

    std::unique_ptr<Job> m_job;
    std::string m_setup, m_zelvar, m_installDir, m_quadrix, m_menu, m_startupLink;
    std::string m_tablet, m_otherTablet;
};

} // namespace

TEST_F(InstallerTest, InstallationPlacesFilesWritesEveryDefaultAndTheConsoleOpens)
{
    ASSERT_EQ(0, Install());

    /* Files: each built deliverable in its folder, byte for byte the build's. */
    for (const char *psz : kMainFiles) {
        SCOPED_TRACE(psz);
        if (!Built(psz)) {
            EXPECT_FALSE(FileExists(m_installDir + "\\" + psz));
            continue;
        }
        EXPECT_EQ(FileSize(tb::BinPath(psz)), FileSize(m_installDir + "\\" + psz));
    }
    for (const char *psz : kQuadrixFiles) {
        SCOPED_TRACE(psz);
        EXPECT_EQ(Built(psz), FileExists(m_quadrix + "\\" + psz));
        EXPECT_FALSE(FileExists(m_installDir + "\\" + psz));
    }
    EXPECT_TRUE(FileExists(m_installDir + "\\Uninstall.exe"));

    /* Every machine value is the table's, with the installation folder put in;
     * a page's entry exists exactly when its library was installed. */
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        const TKDEFAULTVALUE &d = g_aTiltkitDefaults[i];
        std::string key = std::string(TILTKIT_REG_ROOT) + "\\" + d.pszKey;
        SCOPED_TRACE(key + " " + d.pszName);
        if (std::string(d.pszKey).compare(0, 9, "Property\\") == 0) {
            std::string dll = tb::DefaultText(d.pszKey, "DLLFileName", m_installDir);
            if (!FileExists(dll)) {
                EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, key));
                continue;
            }
        }
        EXPECT_EQ((DWORD)d.nType, ValueType(HKEY_LOCAL_MACHINE, key, d.pszName));
        if (d.nType == TKDEF_SZ) {
            std::string text;
            EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, key, d.pszName, &text));
            EXPECT_EQ(tb::DefaultText(d.pszKey, d.pszName, m_installDir), text);
        } else if (d.nType == TKDEF_DWORD) {
            uint32_t dwWant = 0;
            DWORD dwHave = 0;
            ASSERT_TRUE(TkParseDword(d.pszData, &dwWant));
            EXPECT_TRUE(tb::RegGetDword(HKEY_LOCAL_MACHINE, key, d.pszName, &dwHave));
            EXPECT_EQ(dwWant, dwHave);
        } else {
            uint8_t ab[64];
            size_t cb = 0;
            std::vector<BYTE> have;
            ASSERT_TRUE(TkParseHex(d.pszData, ab, sizeof(ab), &cb));
            EXPECT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, key, d.pszName, &have));
            EXPECT_EQ(std::vector<BYTE>(ab, ab + cb), have);
        }
    }
    /* The paths of the Gravmon entry and of Feedrun lead to the installed files. */
    std::string gravmon, feedrun;
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, "PATH", &gravmon));
    EXPECT_TRUE(FileExists(gravmon));
    ASSERT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", &feedrun));
    EXPECT_TRUE(FileExists(feedrun));
    /* The help files: where the "HelpFilePath" values point, and beside
     * them those of the pages that find theirs by their own folder. */
    for (const char *pszKey : { TILTKIT_REG_TILTFEED, TILTKIT_REG_JOLT }) {
        std::string help;
        EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, pszKey, "HelpFilePath", &help));
        EXPECT_TRUE(FileExists(help)) << help;
    }
    for (const char *psz : { "Tiltfeed.chm", "Jolt.chm", "Gravcal.chm", "Extras.chm" }) {
        std::string name = std::string("Help\\") + psz;
        EXPECT_EQ(FileSize(tb::BinPath(name)), FileSize(m_installDir + "\\" + name)) << psz;
    }

    /* The installation time, stamped once the keys were there. */
    std::vector<BYTE> feedStamp, joltStamp;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "InstallTime", &feedStamp));
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime", &joltStamp));
    EXPECT_EQ(16u, joltStamp.size());
    EXPECT_EQ(feedStamp, joltStamp);

    /* Shortcuts: the console in the Start menu, Joltrun at every logon. */
    EXPECT_EQ(m_installDir + "\\Tiltdesk.exe", ReadLink(m_menu + "\\Tiltkit.lnk").target);
    EXPECT_EQ(m_installDir + "\\Joltrun.exe", ReadLink(m_startupLink).target);

    /* The uninstall entry carries the version the binaries were built with. */
    std::string version, uninstall, name;
    EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", &version));
    EXPECT_EQ(FileVersion(m_installDir + "\\Tiltdesk.exe"), version);
    EXPECT_FALSE(version.empty());
    EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", &uninstall));
    EXPECT_EQ("\"" + m_installDir + "\\Uninstall.exe\"", uninstall);
    EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", &name));
    EXPECT_FALSE(name.empty());

    /* Joltrun runs at once and has given this user the defaults. */
    EXPECT_TRUE(WaitJoltrun() != NULL);
    EXPECT_TRUE(tb::WaitFor([] { return tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT); }));

    /* The installed console opens with one page per installed page library. */
    int nPages = 0;
    for (const char *psz : kPageLibraries)
        nPages += FileExists(m_installDir + "\\" + psz) ? 1 : 0;
    if (Built("Feedcfg.dll") && Built("Joltcfg.dll") && Built("Gravcal.dll") && Built("Tiltextra.dll")) {
        EXPECT_EQ(4, nPages);
    }
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    DWORD dwDesk = 0;
    ASSERT_TRUE(m_job->Start(m_installDir + "\\Tiltdesk.exe", "", &dwDesk));
    HWND hwndSheet = WaitSheet(dwDesk, 15000);
    ASSERT_TRUE(hwndSheet != NULL);
    HWND hwndTab = (HWND)SendMessageA(hwndSheet, PSM_GETTABCONTROL, 0, 0);
    ASSERT_TRUE(hwndTab != NULL);
    EXPECT_EQ(nPages, (int)SendMessageA(hwndTab, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0, tb::CountMessageBoxes(dwDesk));
    PostMessageA(hwndSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(0, m_job->WaitLast(10000));
}

TEST_F(InstallerTest, ReinstallationGivesAUserTheJoltDefaultsBack)
{
    ASSERT_EQ(0, Install());
    HWND hwndFirst = WaitJoltrun();
    ASSERT_TRUE(hwndFirst != NULL);
    ASSERT_TRUE(tb::WaitFor([] { return tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT); }));
    std::vector<BYTE> machineSetting;
    ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "JoltSetting", &machineSetting));

    /* The user's own choice (that every Jolt value comes back with a new
     * stamp is the Jolt store's test; here: the installer stamps anew). */
    const BYTE abMine[16] = { 3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(tb::RegSetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", abMine, 16));

    /* Reinstalling over the running Joltrun: it is closed, replaced and started again. */
    Sleep(20);
    ASSERT_EQ(0, Install());
    EXPECT_FALSE(IsWindow(hwndFirst));
    HWND hwndSecond = WaitJoltrun();
    EXPECT_TRUE(hwndSecond != NULL);
    EXPECT_NE(hwndFirst, hwndSecond);

    std::vector<BYTE> userSetting;
    EXPECT_TRUE(tb::WaitFor([&] {
        return tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", &userSetting) &&
               userSetting == machineSetting;
    }, 10000));
}

TEST_F(InstallerTest, UninstallationRemovesTheInstallationAndKeepsUsersSettings)
{
    ASSERT_EQ(0, Install());
    ASSERT_TRUE(WaitJoltrun() != NULL);
    ASSERT_TRUE(tb::WaitFor([] { return tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT); }));
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());

    /* Tiltfeed items of two users: shortcuts to the installed Feedrun, and one
     * shortcut of the other user's to something else. */
    std::string feedrun = m_installDir + "\\Feedrun.exe";
    ASSERT_TRUE(MakeDirs(m_tablet));
    ASSERT_TRUE(WriteLink(m_tablet + "\\Game.lnk", feedrun, "Game"));
    ASSERT_TRUE(WriteLink(m_tablet + "\\Viewer.lnk", feedrun, "Viewer"));
    ASSERT_TRUE(MakeDirs(m_otherTablet));
    ASSERT_TRUE(WriteLink(m_otherTablet + "\\Game.lnk", feedrun, "Game"));
    ASSERT_TRUE(WriteLink(m_otherTablet + "\\Notepad.lnk", "C:\\windows\\notepad.exe"));
    ASSERT_TRUE(tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED "\\Game", "Path", "C:\\game.exe"));

    ASSERT_TRUE(m_job->Start(m_installDir + "\\Uninstall.exe", "/S"));
    /* The uninstaller runs a copy of itself and ends at once; the job holds them all. */
    ASSERT_TRUE(m_job->WaitEmpty(60000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manager.Proc().Handle(), 0)) << "manager closed";

    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(DirExists(m_installDir));
    EXPECT_FALSE(DirExists(m_quadrix));
    EXPECT_FALSE(DirExists(m_zelvar));
    EXPECT_FALSE(DirExists(m_menu));
    EXPECT_FALSE(FileExists(m_startupLink));
    /* Every Tiltfeed shortcut is gone; this user's emptied folder with it. */
    EXPECT_FALSE(DirExists(ProgramsFolder() + "\\Zelvar"));
    EXPECT_EQ((std::vector<std::string>{ "Notepad.lnk" }), ListFolder(m_otherTablet));
    /* What belongs to the users stays. */
    EXPECT_TRUE(tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));
    std::string path;
    EXPECT_TRUE(tb::RegGetString(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED "\\Game", "Path", &path));
}

TEST_F(InstallerTest, AFileThatCannotBeReplacedFailsTheSilentInstallation)
{
    ASSERT_EQ(0, Install());
    /* A program of the suite holds its library open, as a running console would. */
    std::string held = m_installDir + "\\Gravmon.dll";
    HANDLE hHeld = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    long lExit = Install();
    CloseHandle(hHeld);
    EXPECT_NE(0, lExit) << "never reported as a success";
    EXPECT_NE(-1, lExit) << "the installer ended";
    /* Released, the next attempt succeeds. */
    EXPECT_EQ(0, Install());
}

TEST_F(InstallerTest, AFolderThatWouldMakePathsTooLongIsRefused)
{
    /* "C:\" and 240 characters: with "\Help\Tiltfeed.chm" a path of 261. */
    std::string longDir = "C:\\" + std::string(240, 'd');
    ASSERT_TRUE(m_job->Start(m_setup, "/S /D=" + longDir));
    long lExit = m_job->WaitLast(60000);
    EXPECT_NE(0, lExit);
    EXPECT_NE(-1, lExit);
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ExistsLong(longDir + "\\Gravmon.dll"));
    RemoveTreeLong(longDir);

    /* One character shorter than the room the defaults leave is fine. */
    std::string fits = "C:\\" + std::string(237, 'd');
    ASSERT_TRUE(m_job->Start(m_setup, "/S /D=" + fits));
    EXPECT_EQ(0, m_job->WaitLast(60000));
    std::string help;
    EXPECT_TRUE(tb::RegGetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "HelpFilePath", &help));
    EXPECT_LE(help.size(), 259u);
    /* The uninstaller of that installation takes it away again. */
    ASSERT_TRUE(m_job->Start(fits + "\\Uninstall.exe", "/S"));
    EXPECT_TRUE(m_job->WaitEmpty(60000));
    EXPECT_FALSE(DirExists(fits));
    RemoveTreeLong(fits);
}
