/*
 * The help of the settings pages in the real console, the suite installed
 * in the build's bin folder. The help viewer is a stand-in: the test page
 * library copied as hhctrl.ocx and registered as the first page, so that
 * the pages loaded after it bind it as the viewer and it writes down what
 * they ask for (Wine's own viewer opens topics, which the Tiltfeed page's
 * test shows, but has no text popups).
 */
#include <gtest/gtest.h>
#include "testbench/pagedriver.h"
#include "testbench/jolt_defaults.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include <prsht.h>

namespace {

const char kViewerKey[] = TILTKIT_REG_ROOT "\\TestPages\\hhctrl";
/* Wine loads its own viewer for any file named hhctrl.ocx unless the
 * console is told to take the file it is given. */
const char kConsoleOverrides[] = "Software\\Wine\\AppDefaults\\Tiltdesk.exe";
/* What a window gets when F1 is pressed on it; its default handling asks
 * for help on the window (WM_HELP), which goes up to the page. */
const UINT kWmKeyF1 = 0x004D;

class PageHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        std::string bin = tb::BinPath("");
        m_bin = bin.substr(0, bin.size() - 1);   /* without its backslash */
        ASSERT_TRUE(tb::InstallDefaults(m_bin));
        tb::RegisterGravmon();
        std::string viewer = tb::ScratchDir(true) + "\\hhctrl.ocx";
        ASSERT_TRUE(CopyFileA(tb::BinPath("TestpageHelp.dll").c_str(), viewer.c_str(), FALSE));
        std::string key = std::string(TILTKIT_REG_PROPERTY) + "\\0005";
        tb::RegSetString(HKEY_LOCAL_MACHINE, key, "Name", "hhctrl");
        tb::RegSetString(HKEY_LOCAL_MACHINE, key, "DLLFileName", viewer);
        tb::RegSetString(HKEY_CURRENT_USER, std::string(kConsoleOverrides) + "\\DllOverrides", "hhctrl.ocx",
                         "native,builtin");
    }

    void TearDown() override
    {
        m_console.Kill();
        tb::ResetRegistry();
        tb::RegDeleteTree(HKEY_CURRENT_USER, kConsoleOverrides);
    }

    /* Turns the sheet to page nIndex and returns the page's window. */
    HWND TurnTo(int nIndex)
    {
        PostMessageA(m_hSheet, PSM_SETCURSEL, (WPARAM)nIndex, 0);
        HWND hPage = NULL;
        tb::WaitFor([&] {
            hPage = (HWND)SendMessageA(m_hSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
            return hPage != NULL && IsWindowVisible(hPage) &&
                   SendMessageA(m_hSheet, PSM_HWNDTOINDEX, (WPARAM)hPage, 0) == nIndex;
        });
        return hPage;
    }

    /* F1 on a window of the console, as the key arrives at it. */
    static void F1On(HWND hwnd) { PostMessageA(hwnd, kWmKeyF1, 0, 0); }

    /* Waits until the viewer has been asked for this line. */
    bool WaitAsked(const std::string &lineAnsi)
    {
        return tb::WaitFor([&] {
            std::string help;
            tb::RegGetString(HKEY_CURRENT_USER, kViewerKey, "Help", &help);
            return help.find(lineAnsi + "\n") != std::string::npos;
        }, 5000);
    }

    std::string Asked()
    {
        std::string help;
        tb::RegGetString(HKEY_CURRENT_USER, kViewerKey, "Help", &help);
        return help;
    }

    std::string m_bin;
    tb::Process m_console;
    HWND m_hSheet = NULL;
};

} // namespace

TEST_F(PageHelp, EachPageOpensItsTopicAndTheWizardShowsTheControlsText)
{
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(m_console.Start(tb::BinPath("Tiltdesk.exe")));
    ASSERT_TRUE(tb::WaitFor([&] {
        m_hSheet = tb::FindDialogWith(m_console.Pid(), 0x3020 /* the sheet's tab control */);
        return m_hSheet != NULL && IsWindowVisible(m_hSheet);
    }, 15000));

    /* The pages after the viewer's own: Tiltfeed and Jolt open the file of
     * their "HelpFilePath", the other two their file beside the library. */
    const struct { int nIndex; const char *pszAddress; } aPages[] = {
        { 1, "\\Help\\Tiltfeed.chm::/tiltfeed.htm" },
        { 2, "\\Help\\Jolt.chm::/jolt.htm" },
        { 3, "\\Help\\Gravcal.chm::/gravcal.htm" },
        { 4, "\\Help\\Extras.chm::/extras.htm" },
    };
    for (const auto &page : aPages) {
        SCOPED_TRACE(page.pszAddress);
        HWND hPage = TurnTo(page.nIndex);
        ASSERT_TRUE(hPage != NULL);
        F1On(hPage);
        EXPECT_TRUE(WaitAsked("topic " + m_bin + page.pszAddress)) << Asked();
    }
    /* F1 on the sheet's own tabs: the page shown answers. */
    tb::RegDeleteVal(HKEY_CURRENT_USER, kViewerKey, "Help");
    ASSERT_TRUE(TurnTo(2) != NULL);
    F1On(GetDlgItem(m_hSheet, 0x3020));
    EXPECT_TRUE(WaitAsked("topic " + m_bin + "\\Help\\Jolt.chm::/jolt.htm")) << Asked();
    EXPECT_EQ(0, tb::CountMessageBoxes(m_console.Pid()));

    /* The wizard's context help on its measuring button: the button's text. */
    HWND hCalPage = TurnTo(3);
    ASSERT_TRUE(hCalPage != NULL);
    ASSERT_TRUE(tb::WaitFor([&] { return IsWindowEnabled(GetDlgItem(hCalPage, 1001)) != FALSE; }));
    tb::PostClick(hCalPage, 1001);
    /* The wizard: the other top dialog of the console (a page of the sheet
     * has an item 1005 too). */
    HWND hWizard = NULL;
    ASSERT_TRUE(tb::WaitFor([&] {
        for (HWND hwnd : tb::TopDialogs(m_console.Pid())) {
            if (hwnd != m_hSheet && IsWindowVisible(hwnd))
                hWizard = hwnd;
        }
        return hWizard != NULL;
    }));
    HWND hWizPage = NULL;
    ASSERT_TRUE(tb::WaitFor([&] { return (hWizPage = tb::ShownPage(hWizard)) != NULL; }));
    F1On(GetDlgItem(hWizPage, 1005));
    EXPECT_TRUE(WaitAsked("popup " + tb::Ansi(u8"Начинает измерение. Десять секунд компьютер должен "
        u8"оставаться неподвижным в положении, показанном на рисунке; кнопка [Отмена] в окне "
        u8"\"Измерение\" прерывает его."))) << Asked();
    tb::PressSheetButton(hWizard, PSBTN_CANCEL);
    ASSERT_TRUE(tb::WaitWindowGone(hWizard));

    /* Closing the console closes the viewer's windows before letting it go. */
    PostMessageA(m_hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(0, m_console.Wait(10000));
    EXPECT_NE(std::string::npos, Asked().find("close\n"));
}
