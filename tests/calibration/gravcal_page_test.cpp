/*
 * The calibration page inside the real console, against the manager
 * stand-in: the zero-base status and what the page does without a manager.
 */
#include "calpage.h"
#include "testbench/boxcheck.h"
#include "common/regpaths.h"
#include <commctrl.h>

namespace {

class CalibrationPage : public cal::CalibrationTest {
protected:
    void StartConsole() { ASSERT_TRUE(tb::StartConsole(console)); }
    HWND Page() { return WaitPage(); }
    bool StartEnabled(HWND hPage) { return IsWindowEnabled(GetDlgItem(hPage, cal::kStart)) != FALSE; }
};

} // namespace

TEST_F(CalibrationPage, ValidZeroBaseShowsCalibratedStatus)
{
    ASSERT_TRUE(manager.Start());
    StartConsole();
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(tb::Wide(cal::kStatusCalibrated), tb::ItemText(hPage, 1000));
    EXPECT_EQ(tb::Wide(u8"Начать калибровку"), tb::ItemText(hPage, 1001));
    EXPECT_TRUE(StartEnabled(hPage));
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));
    /* The plug-in contributes exactly one page to the sheet. */
    HWND hTab = FindWindowExA(GetParent(hPage), NULL, "SysTabControl32", NULL);
    ASSERT_NE(nullptr, hTab);
    EXPECT_EQ(1, (int)SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(Screenshot(GetParent(hPage), "calibration_page").empty());
}

TEST_F(CalibrationPage, InvalidZeroBaseShowsUncalibratedStatus)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("invalid"));
    StartConsole();
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(tb::Wide(cal::kStatusUncalibrated), tb::ItemText(hPage, 1000));
    EXPECT_TRUE(StartEnabled(hPage));
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));
}

TEST_F(CalibrationPage, NoManagerShowsOneBoxAndDisablesTheWizard)
{
    StartConsole();
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kNoData, tb::kAnyOwner, false));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(cal::StatusErrorText(), tb::ItemText(hPage, 1000));
    EXPECT_FALSE(StartEnabled(hPage));
    tb::Pump(300);
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));
    Screenshot(GetParent(hPage), "calibration_page_no_manager");
}

TEST_F(CalibrationPage, MissingGravmonEntryReportsDamagedInstallation)
{
    tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON);
    ASSERT_TRUE(manager.Start());
    StartConsole();
    /* First the damaged installation, then no data from the manager. */
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kInstallation, tb::kAnyOwner, false));
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kNoData, tb::kAnyOwner, false));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(cal::StatusErrorText(), tb::ItemText(hPage, 1000));
    EXPECT_FALSE(StartEnabled(hPage));
}

TEST_F(CalibrationPage, UnloadableGravmonReportsNoData)
{
    tb::RegisterGravmon("C:\\nowhere\\Gravmon.dll");
    ASSERT_TRUE(manager.Start());
    StartConsole();
    /* The load failure and the status each report no data. */
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kNoData, tb::kAnyOwner, false));
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kNoData, tb::kAnyOwner, false));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_FALSE(StartEnabled(hPage));
}
