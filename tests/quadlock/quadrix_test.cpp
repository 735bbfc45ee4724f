/*
 * The launcher host stand-in with Quadlock.dll: the item starts the
 * Lockwatch.exe of the host's folder, never the one beside the plug-in, and
 * fails quietly when there is none; the tray menu lists every plug-in of
 * the host's folder and runs the picked one.
 *
 * The host folder's Lockwatch.exe is Joltmark.exe under that name: it logs
 * its own file name to joltmark.log in its folder and signals
 * "TiltkitJoltmarkEvent". The build folder that the plug-in is loaded from
 * holds the real Lockwatch.exe, so a start from the wrong folder shows.
 */
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "testbench/testbench.h"
#include "motionlock/lockwatch.h"
#include "standins/quadrix/quadrix.h"

static const char kItemText[] = u8"Программа Lockwatch";

class QuadrixHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_host = tb::ScratchDir(true) + "\\host";
        ASSERT_TRUE(CreateDirectoryA(tb::ScratchDir().c_str(), NULL) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(CreateDirectoryA(m_host.c_str(), NULL));
        ASSERT_TRUE(Copy("Quadrix.exe", "Quadrix.exe"));
        m_hMarked = CreateEventA(NULL, TRUE, FALSE, "TiltkitJoltmarkEvent");
        ASSERT_NE((HANDLE)NULL, m_hMarked);
    }
    void TearDown() override
    {
        m_proc.Kill();
        if (m_hMarked)
            CloseHandle(m_hMarked);
        HWND hwnd = FindWindowA(LOCKWATCH_CLASS, LOCKWATCH_TITLE);
        EXPECT_EQ((HWND)NULL, hwnd) << "the Lockwatch.exe of the build folder was started";
    }
    bool Copy(const char *pszBuilt, const char *pszAs)
    {
        return CopyFileA(tb::BinPath(pszBuilt).c_str(), (m_host + "\\" + pszAs).c_str(), FALSE) != 0;
    }
    std::string Read(const char *pszName)
    {
        std::ifstream in(m_host + "\\" + pszName, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    /* Quadrix.exe ARGS /log out.txt; its exit code (-1 on time-out). */
    long RunHost(const std::string &args)
    {
        if (!m_proc.Start(m_host + "\\Quadrix.exe", args + " /log \"" + m_host + "\\out.txt\""))
            return -2;
        long lExit = m_proc.Wait(10000);
        EXPECT_EQ(0, tb::CountDialogs(m_proc.Pid())) << "the host and plug-in show nothing";
        return lExit;
    }
    bool Marked(DWORD dwMs = 5000) { return WaitForSingleObject(m_hMarked, dwMs) == WAIT_OBJECT_0; }

    std::string m_host;
    HANDLE m_hMarked = NULL;
    tb::Process m_proc;
};

TEST_F(QuadrixHost, ItemStartsLockwatchFromTheHostFolderNotThePluginFolder)
{
    ASSERT_TRUE(Copy("Joltmark.exe", "Lockwatch.exe"));
    std::string plugin = tb::BinPath("Quadlock.dll");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tb::BinPath("Lockwatch.exe").c_str()))
        << "the plug-in's own folder holds a Lockwatch.exe too";

    EXPECT_EQ(QUADRIX_EXIT_DONE, RunHost("/run \"" + plugin + "\""));
    ASSERT_TRUE(Marked()) << "no Lockwatch.exe started from the host folder";
    EXPECT_EQ(0u, Read("joltmark.log").find("Lockwatch.exe ")) << Read("joltmark.log");

    /* The record itself is QuadlockLibrary's; here the host's view of the item. */
    std::string out = Read("out.txt");
    EXPECT_NE(std::string::npos, out.find(std::string("text: ") + kItemText + "\r\n")) << out;
    EXPECT_NE(std::string::npos, out.find("execute: 0\r\n")) << out;

    tb::Pump(500);  /* time for a wrong start to show its window */
}

TEST_F(QuadrixHost, MissingLockwatchFailsWithMinusOneAndNoMessage)
{
    EXPECT_EQ(QUADRIX_EXIT_FAILED, RunHost("/run \"" + tb::BinPath("Quadlock.dll") + "\""));
    std::string out = Read("out.txt");
    EXPECT_NE(std::string::npos, out.find("execute: -1\r\n")) << out;
    EXPECT_FALSE(Marked(200));

    /* A plug-in loaded by its bare name from the host's folder: the same. */
    ASSERT_TRUE(CopyFileA(tb::BinPath("Quadlock.dll").c_str(), (m_host + "\\Quadlock.dll").c_str(), FALSE));
    EXPECT_EQ(QUADRIX_EXIT_FAILED, RunHost("/run Quadlock.dll"));
    EXPECT_NE(std::string::npos, Read("out.txt").find("execute: -1\r\n"));
    EXPECT_FALSE(Marked(200));
}

TEST_F(QuadrixHost, NotAPluginIsRefused)
{
    EXPECT_EQ(QUADRIX_EXIT_NOPLUGIN, RunHost("/run \"" + tb::BinPath("Gravmon.dll") + "\""));
    EXPECT_EQ(QUADRIX_EXIT_NOPLUGIN, RunHost("/run nowhere.dll"));
    EXPECT_EQ(QUADRIX_EXIT_USAGE, RunHost("/frobnicate"));
}

TEST_F(QuadrixHost, TrayMenuListsEveryPluginOfItsFolderAndRunsThePick)
{
    ASSERT_TRUE(Copy("Joltmark.exe", "Lockwatch.exe"));
    ASSERT_TRUE(Copy("Quadlock.dll", "Quadlock.dll"));
    ASSERT_TRUE(Copy("Quadlock.dll", "Quadlock2.dll"));
    ASSERT_TRUE(Copy("Gravmon.dll", "Gravmon.dll"));       /* a library, not a plug-in */

    EXPECT_EQ(0, RunHost("/list"));
    std::string out = Read("out.txt");
    EXPECT_EQ(0u, out.find("items: 2\r\n")) << out;
    EXPECT_NE(std::string::npos, out.find("\\host\\Quadlock.dll\r\n")) << out;
    EXPECT_NE(std::string::npos, out.find("\\host\\Quadlock2.dll\r\n")) << out;
    EXPECT_EQ(std::string::npos, out.find("Gravmon")) << out;

    ASSERT_TRUE(m_proc.Start(m_host + "\\Quadrix.exe"));
    HWND hwnd = tb::WaitWindow(QUADRIX_CLASS, QUADRIX_TITLE, 5000, m_proc.Pid());
    ASSERT_NE((HWND)NULL, hwnd);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    /* A second host ends at once and leaves the first alone. */
    tb::Process second;
    ASSERT_TRUE(second.Start(m_host + "\\Quadrix.exe"));
    EXPECT_EQ(0, second.Wait(5000));
    EXPECT_TRUE(m_proc.Running());

    /* A click on the tray icon, as the shell reports it: the menu opens. */
    ASSERT_TRUE(PostMessageA(hwnd, QUADRIX_WM_TRAY, QUADRIX_TRAY_ID, WM_LBUTTONUP));
    HWND hwndMenu = tb::WaitWindow("#32768", NULL, 5000, m_proc.Pid());
    ASSERT_NE((HWND)NULL, hwndMenu);
    ASSERT_TRUE(tb::WaitFor([&] { return IsWindowVisible(hwndMenu) != FALSE; }));
    RECT rc;
    GetWindowRect(hwndMenu, &rc);
    EXPECT_GE(rc.bottom - rc.top, 2 * 36) << "two items with 32-pixel icons";

    /* The first item, by keyboard. */
    EXPECT_FALSE(Marked(0));
    PostMessageA(hwndMenu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(hwndMenu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Marked()) << "the pick did not start Lockwatch.exe";
    EXPECT_TRUE(tb::WaitWindowGone(hwndMenu));
    EXPECT_EQ(0, tb::CountDialogs(m_proc.Pid()));

    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, m_proc.Wait(5000));
}
