/*
 * The "Дополнительно" page in Tiltdesk.exe: the stored values it shows, the
 * values it writes on OK (only those the user changed), a wrong number that
 * keeps the sheet open, and the settings notification to Joltrun's window.
 */
#include <gtest/gtest.h>
#include "testbench/boxcheck.h"
#include "testbench/pagedriver.h"
#include "common/regpaths.h"
#include "jolt/joltstore.h"
#include "motionlock/lockstore.h"
#include "tiltfeed/feeditem.h"
#include <commctrl.h>
#include <prsht.h>

namespace {

const int kQuiet = 1000, kItem = 1002, kDeadZone = 1003, kLevel = 1005, kThreshold = 1006,
          kHold = 1008, kAutoRotate = 1009;

std::string ItemKey(const std::string &item)
{
    return std::string(TILTKIT_REG_TILTFEED) + "\\" + item;
}

/* Stands in for Joltrun's window and counts its settings notifications. */
UINT g_uMsgConfigChanged;
int g_nConfigChanged;

LRESULT CALLBACK FakeJoltProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == g_uMsgConfigChanged && uMsg != 0)
        g_nConfigChanged++;
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

class ExtrasPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        tb::RegisterPage("0040", u8"Дополнительно", tb::BinPath("Tiltextra.dll"));
    }
    void TearDown() override
    {
        if (console.Running())
            console.Kill();
        if (hwndJolt)
            DestroyWindow(hwndJolt);
        tb::ResetRegistry();
    }
    HWND Page()
    {
        HWND hPage = tb::WaitPageWith(console.Pid(), kItem);
        /* The list is filled last when the page starts. */
        tb::WaitFor([&] { return SendDlgItemMessageA(hPage, kItem, CB_GETCOUNT, 0, 0) > 0; });
        tb::Pump(100);
        return hPage;
    }
    std::wstring Text(HWND hPage, int id) { return tb::ItemText(hPage, id); }
    void SetText(HWND hPage, int id, const char *psz) { tb::SetItemText(hPage, id, tb::Wide(psz)); }
    bool Checked(HWND hPage, int id) { return tb::Ticked(hPage, id); }
    /* As the user types it over the selected field. */
    void Type(HWND hPage, int id, const char *psz) { tb::TypeText(hPage, id, psz); }
    void Click(HWND hPage, int id) { tb::SendClick(hPage, id); }
    void Choose(HWND hPage, int nIndex) { tb::ChooseEntry(hPage, kItem, nIndex); }
    void PressOk(HWND hPage) { tb::PressSheetButton(GetParent(hPage), PSBTN_OK); }
    void MakeFakeJolt()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FakeJoltProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "TiltkitJolt Class";
        RegisterClassA(&wc);
        g_uMsgConfigChanged = RegisterWindowMessageA("JoltConfigChangedNotify");
        g_nConfigChanged = 0;
        hwndJolt = CreateWindowExA(WS_EX_TOOLWINDOW, "TiltkitJolt Class", "TiltkitJolt",
                                   WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
        ASSERT_NE(nullptr, hwndJolt);
    }
    DWORD Dword(HKEY hRoot, const std::string &key, const char *pszValue, DWORD dwMissing = 0xFFFFFFFF)
    {
        DWORD dw = dwMissing;
        tb::RegGetDword(hRoot, key, pszValue, &dw);
        return dw;
    }

    tb::Process console;
    HWND hwndJolt = NULL;
};

} // namespace

TEST_F(ExtrasPage, ShowsTheStoredValuesAndWritesOnlyWhatTheUserChanged)
{
    tb::RegSetString(HKEY_CURRENT_USER, ItemKey("Beta"), "Path", "C:\\beta.exe");
    tb::RegSetString(HKEY_CURRENT_USER, ItemKey("Alpha"), "Path", "C:\\alpha.exe");
    tb::RegSetDword(HKEY_CURRENT_USER, ItemKey("Alpha"), FEEDITEM_VAL_DEADZONE, 3);
    tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, 250);
    tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_MOVETHRESHOLD, 100);
    MakeFakeJolt();

    ASSERT_TRUE(console.Start(tb::BinPath("Tiltdesk.exe")));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(L"250", Text(hPage, kQuiet));
    EXPECT_EQ(L"Alpha", Text(hPage, kItem));
    EXPECT_EQ(L"3", Text(hPage, kDeadZone));
    EXPECT_FALSE(Checked(hPage, kLevel));
    EXPECT_EQ(L"100", Text(hPage, kThreshold));
    EXPECT_FALSE(Checked(hPage, kHold));
    EXPECT_FALSE(Checked(hPage, kAutoRotate));
    EXPECT_EQ(tb::Wide(u8"Дополнительно"), tb::Text(hPage));
    EXPECT_FALSE(tb::Screenshot(GetParent(hPage), "extras", "extras_page").empty());

    /* Quiet time, the screen's rotation, the second item's two settings,
     * the held alarm. */
    SetText(hPage, kQuiet, "500");
    Click(hPage, kAutoRotate);
    Choose(hPage, 1);
    EXPECT_EQ(L"Beta", Text(hPage, kItem));
    EXPECT_EQ(L"0", Text(hPage, kDeadZone));
    SetText(hPage, kDeadZone, "7");
    Click(hPage, kLevel);
    Click(hPage, kHold);
    /* Back to the first item and again: each keeps its own values. */
    Choose(hPage, 0);
    EXPECT_EQ(L"3", Text(hPage, kDeadZone));
    Choose(hPage, 1);
    EXPECT_EQ(L"7", Text(hPage, kDeadZone));
    EXPECT_TRUE(Checked(hPage, kLevel));

    PressOk(hPage);
    EXPECT_EQ(0, console.Wait(10000));
    tb::Pump(100);
    EXPECT_EQ(500u, Dword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME));
    EXPECT_EQ(1u, Dword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE));
    EXPECT_EQ(1, g_nConfigChanged) << "one notification for both";
    EXPECT_EQ(7u, Dword(HKEY_CURRENT_USER, ItemKey("Beta"), FEEDITEM_VAL_DEADZONE));
    EXPECT_EQ(1u, Dword(HKEY_CURRENT_USER, ItemKey("Beta"), FEEDITEM_VAL_LEVELATFRONT));
    EXPECT_EQ(3u, Dword(HKEY_CURRENT_USER, ItemKey("Alpha"), FEEDITEM_VAL_DEADZONE));
    EXPECT_EQ(0xFFFFFFFFu, Dword(HKEY_CURRENT_USER, ItemKey("Alpha"), FEEDITEM_VAL_LEVELATFRONT));
    EXPECT_EQ(100u, Dword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_MOVETHRESHOLD));
    EXPECT_EQ(1u, Dword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_HOLDALARM));
}

TEST_F(ExtrasPage, OkWithoutChangesLeavesTheRegistryAsTheInstallationLeftIt)
{
    MakeFakeJolt();
    ASSERT_TRUE(console.Start(tb::BinPath("Tiltdesk.exe")));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(L"0", Text(hPage, kQuiet));
    EXPECT_EQ(L"0", Text(hPage, kThreshold));
    /* No Tiltfeed item: the list says so and the item fields are off. */
    EXPECT_EQ(tb::Wide(u8"(нет приложений Tiltfeed)"), Text(hPage, kItem));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, kItem)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, kDeadZone)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hPage, kLevel)));

    PressOk(hPage);
    EXPECT_EQ(0, console.Wait(10000));
    tb::Pump(100);
    EXPECT_FALSE(tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH));
    EXPECT_EQ(0, g_nConfigChanged);
}

TEST_F(ExtrasPage, ANumberOutOfRangeIsRefusedAndNothingIsWritten)
{
    ASSERT_TRUE(console.Start(tb::BinPath("Tiltdesk.exe")));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    /* The field takes five digits; 5000 is beyond 1000 thousandths of g. */
    Type(hPage, kThreshold, "5000");
    SetText(hPage, kQuiet, "300");
    EXPECT_EQ(L"5000", Text(hPage, kThreshold));
    EXPECT_EQ(L"300", Text(hPage, kQuiet));
    PressOk(hPage);
    ASSERT_TRUE(tb::AnswerMessageBox(console.Pid(), u8"Программы акселерометра Zelvar - Дополнительно",
                                     u8"Порог перемещения должен быть числом от 0 до 1000 тысячных долей g.",
                                     tb::kAnyOwner, false, 5000));
    tb::Pump(200);
    EXPECT_TRUE(console.Running());
    EXPECT_FALSE(tb::RegKeyExists(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_CURRENT_USER, TILTKIT_REG_JOLT));

    /* Put right, OK saves both. */
    SetText(hPage, kThreshold, "1000");
    PressOk(hPage);
    EXPECT_EQ(0, console.Wait(10000));
    EXPECT_EQ(1000u, Dword(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_MOVETHRESHOLD));
    EXPECT_EQ(300u, Dword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME));
}

TEST_F(ExtrasPage, AnItemDeletedMeanwhileAndAValueWrittenAsTextDoNotStopOk)
{
    tb::RegSetDword(HKEY_CURRENT_USER, ItemKey("Alpha"), FEEDITEM_VAL_DEADZONE, 3);
    tb::RegSetDword(HKEY_CURRENT_USER, ItemKey("Beta"), FEEDITEM_VAL_DEADZONE, 0);
    /* Written by hand as text: no threshold at all, not a huge one. */
    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_MOVETHRESHOLD, "250");
    ASSERT_TRUE(console.Start(tb::BinPath("Tiltdesk.exe")));
    HWND hPage = Page();
    ASSERT_NE(nullptr, hPage);
    EXPECT_EQ(L"0", Text(hPage, kThreshold));

    /* A change on Beta, which the Tiltfeed page then deletes: OK saves the
     * rest and makes no key for Beta again. */
    Choose(hPage, 1);
    Type(hPage, kDeadZone, "7");
    Choose(hPage, 0);
    ASSERT_TRUE(tb::RegDeleteTree(HKEY_CURRENT_USER, ItemKey("Beta")));
    PressOk(hPage);
    EXPECT_EQ(0, console.Wait(10000));
    EXPECT_EQ(0, tb::CountMessageBoxes(console.Pid()));
    EXPECT_FALSE(tb::RegKeyExists(HKEY_CURRENT_USER, ItemKey("Beta")));
    EXPECT_EQ(3u, Dword(HKEY_CURRENT_USER, ItemKey("Alpha"), FEEDITEM_VAL_DEADZONE));
}
