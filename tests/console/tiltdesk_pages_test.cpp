/* The console's sheet: which pages, in which order, opened where, how the
 * plug-ins are loaded and released, and what the sheet looks like. */
#include "desk_fixture.h"
#include "common/regpaths.h"
#include <shlwapi.h>

#include <commctrl.h>
#include <prsht.h>

using namespace dt;

namespace {

std::vector<std::wstring> Wides(const std::vector<std::string> &v)
{
    std::vector<std::wstring> w;
    for (const std::string &s : v)
        w.push_back(tb::Wide(s));
    return w;
}

class DeskPages : public DeskTest {
protected:
    /* 0030 and 0010 with values, abcd and 00100 with values too (ignored),
     * 0005 created last: four pages 0005, 0010 (two), 0030. */
    void AddMixedKeys()
    {
        Plugin p30; p30.copy = "p30"; p30.title = u8"Тридцатый";
        Plugin p10; p10.copy = "p10"; p10.title = u8"Десятый"; p10.pages = 2;
        Plugin pab; pab.copy = "pab"; pab.title = u8"Лишний";
        Plugin p05; p05.copy = "p05"; p05.title = u8"Пятый";
        Add("0030", u8"Модуль 30", p30);
        Add("0010", u8"Модуль 10", p10);
        Add("abcd", u8"Буквы", pab);
        Register("00100", u8"Пять цифр", m_scratch + "\\pab.dll");
        Add("0005", u8"Модуль 5", p05);
    }
};

TEST_F(DeskPages, AscendingKeyOrderPagesInIndexOrderOtherSubkeysIgnored)
{
    AddMixedKeys();
    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    EXPECT_EQ(Wides({ u8"Пятый 0", u8"Десятый 0", u8"Десятый 1", u8"Тридцатый 0" }),
              TabTexts(m_desk.Handle(), hwndSheet));
    EXPECT_EQ(0, CurrentTab(hwndSheet));
    EXPECT_EQ(tb::Wide(u8"Пятый 0"), CurrentPageTitle(hwndSheet));
    Screenshot(hwndSheet, "pages-in-key-order");

    /* Counted in one load, created in a second one that lasts. */
    EXPECT_EQ("A N D A C0 C1", Log("p10"));
    EXPECT_EQ("", Log("pab"));

    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskPages, StartPageFromTheCommandLine)
{
    AddMixedKeys();
    const struct { int line; const char *args; int tab; const char *title; } cases[] = {
        { __LINE__, "0030", 3, u8"Тридцатый 0" },
        { __LINE__, "0030 0", 3, u8"Тридцатый 0" },
        { __LINE__, "0010 1", 2, u8"Десятый 1" },
        { __LINE__, "0010", 1, u8"Десятый 0" },
        { __LINE__, "0005 0", 0, u8"Пятый 0" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(Start(c.args));
        HWND hwndSheet = WaitSheet();
        ASSERT_TRUE(hwndSheet);
        EXPECT_EQ(c.tab, CurrentTab(hwndSheet));
        EXPECT_EQ(tb::Wide(c.title), CurrentPageTitle(hwndSheet));
        if (c.tab == 2)
            Screenshot(hwndSheet, "start-page-0010-1");
        EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
    }
}

TEST_F(DeskPages, ThirtyPagesAndTheStartPageBehindEarlierPlugins)
{
    const char *const keys[] = { "0010", "0020", "0030" };
    for (int i = 0; i < 3; i++) {
        Plugin p; p.copy = std::string("t") + keys[i]; p.pages = 10; p.title = keys[i];
        Add(keys[i], keys[i], p);
    }
    ASSERT_TRUE(Start("0020 2"));
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    std::vector<std::wstring> tabs = TabTexts(m_desk.Handle(), hwndSheet);
    ASSERT_EQ(30u, tabs.size());
    EXPECT_EQ(L"0010 0", tabs[0]);
    EXPECT_EQ(L"0020 0", tabs[10]);
    EXPECT_EQ(L"0030 9", tabs[29]);
    EXPECT_EQ(12, CurrentTab(hwndSheet));
    EXPECT_EQ(L"0020 2", CurrentPageTitle(hwndSheet));
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskPages, TwoHundredFiftyNinePagesStillMakeASheet)
{
    /* 25 plug-ins with 10 pages and one with 9. */
    for (int i = 0; i < 26; i++) {
        char szKey[8];
        wnsprintfA(szKey, sizeof(szKey), "%04d", 100 + i);
        Plugin p; p.copy = std::string("m") + szKey; p.pages = i == 25 ? 9 : 10;
        Add(szKey, szKey, p);
    }
    ASSERT_TRUE(Start("0125 8"));
    HWND hwndSheet = WaitSheet(30000);
    ASSERT_TRUE(hwndSheet);
    EXPECT_EQ(259, (int)SendMessageW(GetDlgItem(hwndSheet, kIdTabControl), TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(258, CurrentTab(hwndSheet));
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskPages, OkAppliesThePagesAndTheSheetReleasesThemBeforeUnloading)
{
    Plugin p; p.copy = "life"; p.pages = 2; p.title = u8"Жизнь";
    Add("0010", u8"Жизнь", p);
    ASSERT_TRUE(Start("0010 1"));
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    /* Show page 0 too, so that both page windows exist. */
    SendMessageW(hwndSheet, PSM_SETCURSEL, 0, 0);
    ASSERT_TRUE(tb::WaitFor([&] { return CurrentPageTitle(hwndSheet) == tb::Wide(u8"Жизнь 0"); }));
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_OK));

    std::string log = Log("life");
    /* Counting load, page load, both pages shown and applied on OK, both
     * released by the sheet while the library is loaded, then unloaded. */
    EXPECT_EQ(0u, log.find("A N D A C0 C1 I1 I0 ")) << log;
    EXPECT_NE(std::string::npos, log.find("P0")) << log;
    EXPECT_NE(std::string::npos, log.find("P1")) << log;
    size_t r0 = log.find("R0"), r1 = log.find("R1"), d = log.rfind("D");
    ASSERT_NE(std::string::npos, r0) << log;
    ASSERT_NE(std::string::npos, r1) << log;
    EXPECT_LT(r0, d);
    EXPECT_LT(r1, d);
    EXPECT_EQ(log.size() - 1, d) << log;
}

TEST_F(DeskPages, ASecondConsoleEndsWithoutAnyWindow)
{
    Plugin p; p.copy = "one"; p.title = u8"Один";
    Add("0010", u8"Один", p);
    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);

    /* Also with a command line that would be refused: the check comes first. */
    for (const char *args : { "", "0010", "bad" }) {
        SCOPED_TRACE(args);
        tb::Process second;
        ASSERT_TRUE(second.Start(tb::BinPath("Tiltdesk.exe"), args));
        bool bWindow = false;
        DWORD dwStart = GetTickCount();
        while (second.Running() && GetTickCount() - dwStart < 5000) {
            if (tb::CountDialogs(second.Pid()) > 0)
                bWindow = true;
            tb::Pump(5);
        }
        EXPECT_EQ(0, second.Wait(1000));
        EXPECT_FALSE(bWindow);
    }
    EXPECT_TRUE(IsWindow(hwndSheet));
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));

    /* Once the first has ended, a console opens again. */
    ASSERT_TRUE(Start());
    hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskPages, CaptionNoApplyNoHelpNoContextHelp)
{
    Plugin p; p.copy = "look"; p.title = u8"Вид";
    Add("0010", u8"Вид", p);
    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    EXPECT_EQ(tb::Wide(kCaption), WindowText(hwndSheet));
    HWND hwndApply = GetDlgItem(hwndSheet, kIdApplyNow);
    EXPECT_TRUE(hwndApply == NULL || !IsWindowVisible(hwndApply));
    HWND hwndHelp = GetDlgItem(hwndSheet, IDHELP);
    EXPECT_TRUE(hwndHelp == NULL || !IsWindowVisible(hwndHelp));
    EXPECT_EQ(0, GetWindowLongA(hwndSheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    EXPECT_EQ(NULL, GetParent(hwndSheet));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwndSheet, IDOK)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwndSheet, IDCANCEL)));
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

/* The same pages in a sheet of the test's own, without the band. */
struct PlainSheet {
    HMODULE hModule = NULL;
    HWND hwnd = NULL;
    ~PlainSheet()
    {
        if (hwnd)
            DestroyWindow(hwnd);
        tb::Pump(50);
        if (hModule)
            FreeLibrary(hModule);
    }
};

TEST_F(DeskPages, BandMakesTheSheetTwentyEightPixelsTallerAndMovesTheContentDown)
{
    Plugin p; p.copy = "band"; p.pages = 2; p.title = u8"Полоса";
    Add("0010", u8"Полоса", p);
    Plugin q = p; q.copy = "plain";
    std::string plainPath = Add("0020", u8"Без полосы", q);
    tb::RegDeleteTree(HKEY_LOCAL_MACHINE, std::string(TILTKIT_REG_PROPERTY) + "\\0020");

    PlainSheet plain;
    plain.hModule = LoadLibraryA(plainPath.c_str());
    ASSERT_TRUE(plain.hModule);
    typedef HPROPSHEETPAGE (WINAPI *PFN_CREATE)(UINT);
    PFN_CREATE pfnCreate = (PFN_CREATE)(void (*)(void))GetProcAddress(plain.hModule, "CreatePropertyPage");
    ASSERT_TRUE(pfnCreate);
    HPROPSHEETPAGE ahPages[2] = { pfnCreate(0), pfnCreate(1) };
    ASSERT_TRUE(ahPages[0] && ahPages[1]);
    std::wstring caption = tb::Wide(kCaption);
    std::string captionAnsi = tb::Ansi(kCaption);
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_MODELESS;
    psh.hInstance = GetModuleHandleA(NULL);
    psh.pszCaption = captionAnsi.c_str();
    psh.nPages = 2;
    psh.phpage = ahPages;
    plain.hwnd = (HWND)PropertySheetA(&psh);
    ASSERT_TRUE(plain.hwnd);

    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    tb::Pump(100);

    RECT rcDesk, rcPlain;
    GetWindowRect(hwndSheet, &rcDesk);
    GetWindowRect(plain.hwnd, &rcPlain);
    EXPECT_EQ(rcPlain.right - rcPlain.left, rcDesk.right - rcDesk.left);
    EXPECT_EQ(rcPlain.bottom - rcPlain.top + kBandHeight, rcDesk.bottom - rcDesk.top);

    /* Every control sits 28 pixels lower in the client area. */
    for (int id : { kIdTabControl, IDOK, IDCANCEL }) {
        SCOPED_TRACE(id);
        RECT rcA, rcB;
        GetWindowRect(GetDlgItem(hwndSheet, id), &rcA);
        GetWindowRect(GetDlgItem(plain.hwnd, id), &rcB);
        POINT ptA = { rcA.left, rcA.top }, ptB = { rcB.left, rcB.top };
        ScreenToClient(hwndSheet, &ptA);
        ScreenToClient(plain.hwnd, &ptB);
        EXPECT_EQ(ptB.x, ptA.x);
        EXPECT_EQ(ptB.y + kBandHeight, ptA.y);
    }
    /* And so does the page, also one shown later. */
    for (int page : { 0, 1 }) {
        SendMessageW(hwndSheet, PSM_SETCURSEL, page, 0);
        SendMessageW(plain.hwnd, PSM_SETCURSEL, page, 0);
        tb::Pump(50);
        HWND hwndA = (HWND)SendMessageW(hwndSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        HWND hwndB = (HWND)SendMessageW(plain.hwnd, PSM_GETCURRENTPAGEHWND, 0, 0);
        RECT rcA, rcB;
        GetWindowRect(hwndA, &rcA);
        GetWindowRect(hwndB, &rcB);
        POINT ptA = { rcA.left, rcA.top }, ptB = { rcB.left, rcB.top };
        ScreenToClient(hwndSheet, &ptA);
        ScreenToClient(plain.hwnd, &ptB);
        EXPECT_EQ(ptB.y + kBandHeight, ptA.y) << page;
        EXPECT_EQ(rcB.bottom - rcB.top, rcA.bottom - rcA.top) << page;
    }
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskPages, BandIsPaintedFromTheThreeBitmapsAcrossTheClientWidth)
{
    Plugin p; p.copy = "paint"; p.title = u8"Краски";
    Add("0010", u8"Краски", p);

    HMODULE hDesk = LoadLibraryExA(tb::BinPath("Tiltdesk.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hDesk);
    tb::Pixels left = tb::BitmapPixels(hDesk, 102), fill = tb::BitmapPixels(hDesk, 103), right = tb::BitmapPixels(hDesk, 104);
    FreeLibrary(hDesk);
    ASSERT_EQ(250, left.w);
    ASSERT_EQ(1, fill.w);
    ASSERT_EQ(80, right.w);

    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    RECT rcClient;
    GetClientRect(hwndSheet, &rcClient);
    POINT pt = { 0, 0 };
    ClientToScreen(hwndSheet, &pt);
    RECT rcBand = { pt.x, pt.y, pt.x + rcClient.right, pt.y + kBandHeight };
    const int cx = rcClient.right;
    ASSERT_GT(cx, 250 + 80);

    auto mismatches = [&](const tb::Pixels &band) {
        int n = 0;
        for (int y = 0; y < kBandHeight; y++) {
            for (int x = 0; x < cx; x++) {
                DWORD want;
                if (x < 250)
                    want = left.at(x, y);
                else if (x >= cx - 80)
                    want = right.at(x - (cx - 80), y);
                else
                    want = fill.at(0, y);
                if (band.at(x, y) != want)
                    n++;
            }
        }
        return n;
    };
    tb::Pixels band;
    tb::WaitFor([&] { band = tb::CaptureScreen(rcBand); return mismatches(band) == 0; }, 3000);
    EXPECT_EQ(0, mismatches(band));

    /* Repainted after being covered. */
    HWND hwndCover = tb::MakeWindow("cover");
    SetWindowPos(hwndCover, HWND_TOPMOST, rcBand.left, rcBand.top, cx, kBandHeight, SWP_SHOWWINDOW);
    tb::Pump(100);
    DestroyWindow(hwndCover);
    tb::WaitFor([&] { band = tb::CaptureScreen(rcBand); return mismatches(band) == 0; }, 3000);
    EXPECT_EQ(0, mismatches(band));
    Screenshot(hwndSheet, "header-band");
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

} // namespace
