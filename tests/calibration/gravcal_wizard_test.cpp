/*
 * The calibration wizard driven from outside the console, against the
 * manager stand-in held still (raw readings fixed) or moving (noise). A
 * measurement takes ten seconds by design, so only two tests measure.
 */
#include "calpage.h"
#include "testbench/boxcheck.h"
#include <prsht.h>

namespace {

const int kBack = 0x3023;     /* the sheet's wizard buttons */
const int kNext = 0x3024;
const int kFinish = 0x3025;
const DWORD kMeasureMs = 20000;   /* ten seconds of sampling, with room */

class CalibrationWizard : public cal::CalibrationTest {
protected:
    /* Console up on the calibration page, the wizard opened. */
    void OpenWizard()
    {
        hPage = OpenPage();
        ASSERT_NE(nullptr, hPage);
        StartWizard();
    }
    /* The start button of the page pressed, page 0 of the wizard shown. */
    void StartWizard()
    {
        tb::PostClick(hPage, cal::kStart);
        hWizard = tb::WaitDialogWith(console.Pid(), cal::kMeasure);
        ASSERT_NE(nullptr, hWizard);
        ASSERT_TRUE(tb::WaitFor([&] { return (hWizPage = tb::ShownPage(hWizard)) != NULL; }));
    }

    /* Next or Back, then the page that becomes active. */
    HWND Go(int nButton)
    {
        HWND hOld = hWizPage;
        tb::PressSheetButton(hWizard, nButton);
        tb::WaitFor([&] {
            HWND h = tb::ShownPage(hWizard);
            return h != NULL && h != hOld;
        });
        hWizPage = tb::ShownPage(hWizard);
        return hWizPage;
    }

    /* Opens the measurement dialog of the active page. */
    HWND StartMeasurement()
    {
        tb::PostClick(hWizPage, cal::kMeasure);
        HWND hMeasure = tb::WaitDialogWith(console.Pid(), cal::kMeasureText);
        EXPECT_NE(nullptr, hMeasure);
        return hMeasure;
    }

    /* A whole measurement; returns the result text shown afterwards. */
    std::wstring Measure(const char *pszShot = nullptr)
    {
        HWND hMeasure = StartMeasurement();
        if (!hMeasure)
            return L"<no dialog>";
        EXPECT_EQ(tb::Wide(u8"Измерение"), tb::ItemText(hMeasure, cal::kMeasureText));
        if (pszShot)
            Screenshot(NULL, pszShot);
        EXPECT_TRUE(tb::WaitWindowGone(hMeasure, kMeasureMs));
        tb::WaitFor([&] { return !tb::ItemText(hWizPage, cal::kResult).empty(); }, 2000);
        return tb::ItemText(hWizPage, cal::kResult);
    }

    LRESULT Get(const char *pszField) { return manager.Command(std::string("get ") + pszField); }

    HWND hPage = NULL;
    HWND hWizard = NULL;
    HWND hWizPage = NULL;
};

} // namespace

TEST_F(CalibrationWizard, FirstPageWaitsForAMeasurement)
{
    ASSERT_TRUE(manager.Start());
    OpenWizard();
    /* A wizard's title bar shows the caption of the page it shows. */
    EXPECT_EQ(tb::Wide(u8"Калибровка акселерометра"), tb::Text(hWizard));
    EXPECT_EQ(cal::InstructionsText(), tb::ItemText(hWizPage, 1004));
    EXPECT_EQ(tb::Wide(u8"Калибровать акселерометр"), tb::ItemText(hWizPage, 1005));
    EXPECT_TRUE(tb::ItemText(hWizPage, 1003).empty());
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, false));
    EXPECT_FALSE(tb::SheetButtonEnabled(hWizard, kBack));
    /* The picture is resized to the position bitmaps. */
    RECT rc;
    ASSERT_TRUE(GetClientRect(GetDlgItem(hWizPage, 1002), &rc));
    EXPECT_EQ(150, rc.right);
    EXPECT_EQ(150, rc.bottom);
    Screenshot(hWizard, "wizard_page0");
}

TEST_F(CalibrationWizard, CancelledMeasurementAndWizardWriteNothing)
{
    ASSERT_TRUE(manager.Start());
    LRESULT lAdopted = Get("adopted");
    OpenWizard();
    HWND hMeasure = StartMeasurement();
    ASSERT_NE(nullptr, hMeasure);
    Screenshot(NULL, "wizard_measuring");
    tb::PostClick(hMeasure, IDCANCEL);
    ASSERT_TRUE(tb::WaitWindowGone(hMeasure));
    EXPECT_TRUE(tb::WaitItemText(hWizPage, 1003, tb::Wide(cal::kResultFailed)));
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, false));

    tb::PressSheetButton(hWizard, PSBTN_CANCEL);
    ASSERT_TRUE(tb::WaitWindowGone(hWizard));
    tb::Pump(200);
    EXPECT_EQ(lAdopted, Get("adopted"));
    EXPECT_EQ(512, Get("zb0"));
    EXPECT_EQ(614, Get("zb3"));
    EXPECT_EQ(tb::Wide(cal::kStatusCalibrated), tb::ItemText(hPage, 1000));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hPage, 1001)));
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));
}

TEST_F(CalibrationWizard, MovingComputerFailsTheMeasurement)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("noise 40"));
    OpenWizard();
    EXPECT_EQ(tb::Wide(cal::kResultFailed), Measure());
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, false));
    Screenshot(hWizard, "wizard_failed");
    tb::PressSheetButton(hWizard, PSBTN_CANCEL);
    EXPECT_TRUE(tb::WaitWindowGone(hWizard));
}

TEST_F(CalibrationWizard, ThreeStillPositionsStoreTheZeroBase)
{
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("invalid"));
    LRESULT lAdopted = Get("adopted");
    OpenWizard();
    EXPECT_EQ(tb::Wide(cal::kStatusUncalibrated), tb::ItemText(hPage, 1000));

    /* Page 0: on its stand. */
    ASSERT_EQ(1, manager.Command("raw 520 505"));
    EXPECT_EQ(tb::Wide(cal::kResultGood), Measure("wizard_measuring_level"));
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, true));

    /* Page 1: Back returns to a page that stays measured. */
    HWND hPage0 = hWizPage;
    ASSERT_NE(hPage0, Go(PSBTN_NEXT));
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, false));
    EXPECT_TRUE(tb::SheetButtonEnabled(hWizard, kBack));
    ASSERT_EQ(hPage0, Go(PSBTN_BACK));
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, true));
    Go(PSBTN_NEXT);
    ASSERT_EQ(1, manager.Command("raw 630 505"));
    EXPECT_EQ(tb::Wide(cal::kResultGood), Measure());
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kNext, true));
    Screenshot(hWizard, "wizard_page1");

    /* Page 2: tipped forward; Finish waits for the measurement. */
    Go(PSBTN_NEXT);
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kFinish, false));
    ASSERT_EQ(1, manager.Command("raw 520 400"));
    EXPECT_EQ(tb::Wide(cal::kResultDone), Measure());
    EXPECT_TRUE(tb::WaitSheetButton(hWizard, kFinish, true));
    Screenshot(hWizard, "wizard_page2");

    /* A manager that does not take the words: the page says so and the
     * wizard stays open with its measurements. */
    ASSERT_EQ(1, manager.Command("serve 0"));
    tb::PressSheetButton(hWizard, PSBTN_FINISH);
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), cal::kCaption, cal::kNoData, tb::kAnyOwner, false));
    EXPECT_TRUE(IsWindow(hWizard));
    EXPECT_EQ(lAdopted, Get("adopted"));

    /* Serving again, Finish stores what was measured. */
    ASSERT_EQ(1, manager.Command("serve 1"));
    tb::PressSheetButton(hWizard, PSBTN_FINISH);
    ASSERT_TRUE(tb::WaitWindowGone(hWizard));
    EXPECT_TRUE(tb::WaitFor([&] { return Get("adopted") == lAdopted + 1; }));
    EXPECT_EQ(520, Get("zb0"));
    EXPECT_EQ(505, Get("zb1"));
    EXPECT_EQ(630, Get("zb2"));
    EXPECT_EQ(400, Get("zb3"));
    /* The page tells the new state. */
    EXPECT_TRUE(tb::WaitItemText(hPage, 1000, tb::Wide(cal::kStatusCalibrated)));
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));

    /* The next run of the wizard starts with nothing measured. */
    StartWizard();
    EXPECT_TRUE(tb::WaitItemText(hWizPage, cal::kInstructionsBox, cal::InstructionsText()));
    tb::Pump(300);
    EXPECT_FALSE(tb::SheetButtonEnabled(hWizard, kNext));
    EXPECT_TRUE(tb::ItemText(hWizPage, cal::kResult).empty());
    tb::PressSheetButton(hWizard, PSBTN_CANCEL);
    EXPECT_TRUE(tb::WaitWindowGone(hWizard));
}
