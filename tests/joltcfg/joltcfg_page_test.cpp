/* The Jolt page shows the stored values and follows the user's input. */
#include "joltcfg_fixture.h"
#include "console/pageplugin.h"
#include "common/regpaths.h"
#include <commctrl.h>
#include <prsht.h>
#include "testbench/capture.h"
#include <shlobj.h>

using namespace jc;

namespace {

/* Each row: the ids whose controls must be enabled (1) or disabled (0). */
void ExpectStates(HWND hPage, const std::vector<std::pair<int, bool>> &want, int line)
{
    SCOPED_TRACE(testing::Message() << "states of line " << line);
    for (const auto &w : want)
        EXPECT_EQ(w.second, IsWindowEnabled(GetDlgItem(hPage, w.first)) != FALSE) << "control " << w.first;
}

} // namespace

TEST_F(JoltPageTest, StoredValuesAreShownWithTheirEnabledStates)
{
    Values v;
    v.dwVAction = 3;
    v.dwVSound = 1;
    v.dwHAction = 0;
    v.dwHSound = 1;
    v.hSound = u8"C:\\Мультимедиа\\звук.wav";
    WriteValues(v);
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));

    const std::vector<std::wstring> items = {
        tb::Wide(u8"Ничего"), tb::Wide(u8" Отобразить главное меню"),
        tb::Wide(u8" Изменение приложения"), tb::Wide(u8" Выполнение указанной программы") };
    EXPECT_EQ(items, ComboItems(kVAction));
    EXPECT_EQ(items, ComboItems(kHAction));
    EXPECT_EQ(3, Selection(kVAction));
    EXPECT_EQ(0, Selection(kHAction));
    /* The new user's copy came from the machine key. */
    EXPECT_EQ(tb::Wide(Program("vert")), Text(kVLaunch));
    EXPECT_EQ(tb::Wide(Program("horz")), Text(kHLaunch));
    EXPECT_EQ(tb::Wide("C:\\v.wav"), Text(kVSound));
    EXPECT_EQ(tb::Wide(v.hSound), Text(kHSound));
    EXPECT_TRUE(Ticked(kVCheck));
    EXPECT_TRUE(Ticked(kHCheck)); /* ticked, though its direction does nothing */
    ExpectStates(m_hPage, { { kVAction, true }, { kVLaunch, true }, { kVLaunchBrowse, true },
                            { kVCheck, true }, { kVSound, true }, { kVSoundBrowse, true },
                            { kHAction, true }, { kHLaunch, false }, { kHLaunchBrowse, false },
                            { kHCheck, false }, { kHSound, false }, { kHSoundBrowse, false } },
                 __LINE__);
    /* The tab shows the page's caption. */
    EXPECT_EQ(tb::Wide(u8"Наклон"), tb::Text(m_hPage));

    /* The tab key walks the page's input controls in this order. */
    std::vector<int> order;
    for (HWND h = GetWindow(m_hPage, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP)
            order.push_back(GetDlgCtrlID(h));
    }
    EXPECT_EQ((std::vector<int>{ kVAction, kVLaunch, kVLaunchBrowse, kVCheck, kVSound, kVSoundBrowse,
                                 kHAction, kHLaunch, kHLaunchBrowse, kHCheck, kHSound, kHSoundBrowse }),
              order);
    EXPECT_FALSE(Screenshot("jolt_page").empty());
    Cancel();
    /* Cancel saves nothing beyond the copy of the defaults. */
    EXPECT_EQ((std::vector<BYTE>{ 3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0 }), ReadStored().setting);
}

TEST_F(JoltPageTest, OtherCodesAndFlagsAndTheUsersChoicesSetTheControls)
{
    Values v;
    v.dwVAction = 2;
    v.dwVSound = 2;      /* not 1: not ticked, sound controls off */
    v.dwHAction = 7;     /* no such item: no selection */
    v.dwHSound = 1;
    WriteValues(v);
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ(2, Selection(kVAction));
    EXPECT_EQ(-1, Selection(kHAction));
    EXPECT_FALSE(Ticked(kVCheck));
    ExpectStates(m_hPage, { { kVLaunch, false }, { kVLaunchBrowse, false }, { kVCheck, true },
                            { kVSound, false }, { kVSoundBrowse, false },
                            { kHLaunch, false }, { kHLaunchBrowse, false }, { kHCheck, true },
                            { kHSound, true }, { kHSoundBrowse, true } },
                 __LINE__);

    Choose(kVAction, 3);
    ExpectStates(m_hPage, { { kVLaunch, true }, { kVLaunchBrowse, true }, { kVCheck, true },
                            { kVSound, false } }, __LINE__);
    Click(kVCheck);
    EXPECT_TRUE(Ticked(kVCheck));
    ExpectStates(m_hPage, { { kVSound, true }, { kVSoundBrowse, true } }, __LINE__);
    Choose(kVAction, 0);
    ExpectStates(m_hPage, { { kVLaunch, false }, { kVLaunchBrowse, false }, { kVCheck, false },
                            { kVSound, false }, { kVSoundBrowse, false } }, __LINE__);
    EXPECT_TRUE(Ticked(kVCheck)); /* the tick stays */
    Choose(kVAction, 1);
    ExpectStates(m_hPage, { { kVLaunch, false }, { kVCheck, true }, { kVSound, true },
                            { kVSoundBrowse, true } }, __LINE__);
    Click(kVCheck);
    ExpectStates(m_hPage, { { kVSound, false }, { kVSoundBrowse, false } }, __LINE__);
    /* Each rule touches only its own direction. */
    ExpectStates(m_hPage, { { kHLaunch, false }, { kHCheck, true }, { kHSound, true } }, __LINE__);
    Choose(kHAction, 0);
    ExpectStates(m_hPage, { { kHCheck, false }, { kHSound, false }, { kVCheck, true } }, __LINE__);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
    Cancel();
}

TEST_F(JoltPageTest, RefusedCharactersAreTakenBackWithTheCaretInPlace)
{
    Values v;
    v.dwVAction = 3;
    v.vLaunch = "C:\\a|b.exe"; /* stored with a character the page refuses */
    v.dwHAction = 3;
    v.hLaunch = "";
    WriteValues(v);
    ASSERT_NE(nullptr, OpenPage());
    EXPECT_EQ(tb::Wide("C:\\a|b.exe"), Text(kVLaunch)); /* shown as stored */

    /* A double quote typed into the empty field: refused, the field stays empty. */
    TypeChar(kHLaunch, 0, L'"');
    ExpectBox(kBadChars, __LINE__);
    EXPECT_EQ(L"", Text(kHLaunch));
    EXPECT_EQ(0u, Caret(kHLaunch));

    /* Editing after the stored bar is accepted ... */
    TypeChar(kVLaunch, 6, L'c');
    ASSERT_TRUE(tb::WaitFor([&] { return Text(kVLaunch) == L"C:\\a|bc.exe"; }, 3000));
    /* ... a forbidden character typed in the middle is taken back, the caret
     * stays where it was typed ... */
    TypeChar(kVLaunch, 3, L'*');
    ExpectBox(kBadChars, __LINE__);
    EXPECT_EQ(L"C:\\a|bc.exe", Text(kVLaunch));
    EXPECT_EQ(3u, Caret(kVLaunch));
    /* ... and so is any edit that moves the stored bar. */
    TypeChar(kVLaunch, 0, L'x');
    ExpectBox(kBadChars, __LINE__);
    EXPECT_EQ(L"C:\\a|bc.exe", Text(kVLaunch));
    EXPECT_EQ(0u, Caret(kVLaunch));
    /* Deleting the first character moves it too; the caret goes to the start. */
    TypeChar(kVLaunch, 1, L'\b');
    ExpectBox(kBadChars, __LINE__);
    EXPECT_EQ(L"C:\\a|bc.exe", Text(kVLaunch));
    EXPECT_EQ(0u, Caret(kVLaunch));
    /* Backslash, colon and Cyrillic letters are welcome; the next check runs
     * as before (nothing left pending from the refusals). */
    SetText(kHLaunch, u8"D:\\Программы\\игра.exe");
    EXPECT_EQ(tb::Wide(u8"D:\\Программы\\игра.exe"), Text(kHLaunch));
    TypeChar(kHLaunch, 2, L'?');
    ExpectBox(kBadChars, __LINE__);
    EXPECT_EQ(tb::Wide(u8"D:\\Программы\\игра.exe"), Text(kHLaunch));
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));

    /* The accepted texts are what OK saves. */
    PressOk();
    ASSERT_TRUE(WaitConsoleEnded());
    Stored s = ReadStored();
    EXPECT_EQ("C:\\a|bc.exe", s.vLaunch);
    EXPECT_EQ(tb::Ansi(u8"D:\\Программы\\игра.exe"), s.hLaunch);
}

TEST_F(JoltPageTest, PathsLongerThan259CharactersCannotBeEntered)
{
    Values v;
    v.dwVAction = 3;
    WriteValues(v);
    ASSERT_NE(nullptr, OpenPage());
    for (int id : { kVLaunch, kVSound, kHLaunch, kHSound }) {
        SCOPED_TRACE(id);
        EXPECT_EQ(259, (int)SendMessageA(Item(id), EM_GETLIMITTEXT, 0, 0));
    }
    Cancel();
}

TEST_F(JoltPageTest, BrowseStartsInTheProgramsAndTheMultimediaFolders)
{
    wchar_t wszPrograms[MAX_PATH] = L"";
    wchar_t wszWindows[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetSpecialFolderPathW(NULL, wszPrograms, CSIDL_PROGRAMS, TRUE));
    ASSERT_TRUE(GetWindowsDirectoryW(wszWindows, MAX_PATH));
    std::wstring media = std::wstring(wszWindows) + L"\\" + tb::Wide(u8"Мультимедиа");
    CreateDirectoryW(media.c_str(), NULL);
    std::wstring program = std::wstring(wszPrograms) + L"\\jolttest.exe";
    std::wstring sound = media + L"\\jolttest.wav";
    ASSERT_TRUE(CopyFileW(tb::Wide(tb::BinPath("Joltmark.exe")).c_str(), program.c_str(), FALSE));
    HANDLE hFile = CreateFileW(sound.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    CloseHandle(hFile);

    Values v;
    v.dwVAction = 3;
    v.dwHSound = 1;
    WriteValues(v);
    ASSERT_NE(nullptr, OpenPage());

    struct { int idButton, idEdit; const char *pszTyped; std::wstring want;
             std::vector<std::wstring> filter; } cases[] = {
        { kVLaunchBrowse, kVLaunch, "jolttest.exe", program,
          { tb::Wide(u8"Программы"), tb::Wide(u8"Все файлы(*.*)") } },
        { kHSoundBrowse, kHSound, "jolttest.wav", sound,
          { tb::Wide(u8"Звуковые файлы(*.wav)"), tb::Wide(u8"Все файлы (*.*)") } },
    };
    /* The open-file dialog: titled as the page, owned by it. */
    auto openDialog = [&](int idButton) {
        tb::PostClick(m_hPage, idButton);
        return tb::WaitFileDialog(m_desk.Pid(), u8"Наклон", Sheet(), 8000);
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.idButton);
        HWND hDlg = openDialog(c.idButton);
        ASSERT_NE(nullptr, hDlg);
        tb::Pump(300);
        /* The file types, first one chosen. */
        const int kTypes = 0x470 /* cmb1 */;
        ASSERT_NE(nullptr, GetDlgItem(hDlg, kTypes));
        EXPECT_EQ(c.filter, tb::ComboEntries(hDlg, kTypes));
        EXPECT_EQ(0, tb::ComboSelection(hDlg, kTypes));
        /* A bare file name: the dialog's starting folder completes it.
         * Known difference: Wine's dialog reports a name typed without its
         * extension as a missing file ("Файл не существует") instead of
         * adding the default extension, so the name carries its extension. */
        ASSERT_TRUE(tb::EnterFileName(hDlg, tb::Wide(c.pszTyped)));
        ASSERT_TRUE(tb::WaitWindowGone(hDlg, 5000));
        ASSERT_TRUE(tb::WaitFor([&] {
            return lstrcmpiW(Text(c.idEdit).c_str(), c.want.c_str()) == 0;
        }, 3000))
            << tb::Utf8(Text(c.idEdit));
    }
    /* Cancelling the dialog leaves the field as it is. */
    std::wstring before = Text(kVLaunch);
    HWND hDlg = openDialog(kVLaunchBrowse);
    ASSERT_NE(nullptr, hDlg);
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDCANCEL));
    ASSERT_TRUE(tb::WaitWindowGone(hDlg, 5000));
    tb::Pump(200);
    EXPECT_EQ(before, Text(kVLaunch));
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
    Cancel();
    DeleteFileW(program.c_str());
    DeleteFileW(sound.c_str());
}

TEST_F(JoltPageTest, InvalidInputKeepsThePageWhenAnotherTabIsChosen)
{
    Values v;
    v.dwVAction = 3;
    v.vLaunch = "";
    WriteValues(v);
    std::string key = std::string(TILTKIT_REG_PROPERTY) + "\\0030";
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, key, "Name", "Test"));
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, key, "DLLFileName", tb::BinPath("Testpage.dll")));
    ASSERT_NE(nullptr, OpenPage());
    HWND hTab = GetDlgItem(Sheet(), 0x3020);
    ASSERT_NE(nullptr, hTab);
    EXPECT_EQ(2, (int)SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0));

    /* Leaving the page with a missing program: refused, the page stays. */
    PostMessageA(Sheet(), PSM_SETCURSEL, 1, 0);
    ExpectBox(kNoVProgram, __LINE__);
    tb::Pump(200);
    EXPECT_EQ(0, (int)SendMessageW(hTab, TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(IsWindowVisible(m_hPage));

    /* With a program the other page can be chosen; OK there saves this one. */
    SetText(kVLaunch, Program("vert"));
    PostMessageA(Sheet(), PSM_SETCURSEL, 1, 0);
    EXPECT_TRUE(tb::WaitFor([&] { return SendMessageW(hTab, TCM_GETCURSEL, 0, 0) == 1; }, 3000));
    EXPECT_EQ(0, tb::CountMessageBoxes(m_desk.Pid()));
    PressOk();
    ASSERT_TRUE(WaitConsoleEnded());
    EXPECT_EQ(Program("vert"), ReadStored().vLaunch);
}

TEST(JoltcfgLibrary, OffersOnePageAndSurvivesReloading)
{
    for (int nLoad = 0; nLoad < 2; nLoad++) {
        HMODULE hLib = LoadLibraryA(tb::BinPath("Joltcfg.dll").c_str());
        ASSERT_NE(nullptr, hLib);
        auto pfnCount = (PFN_GETPROPERTYPAGENUMBER)(void *)GetProcAddress(hLib, "GetPropertyPageNumber");
        auto pfnCreate = (PFN_CREATEPROPERTYPAGE)(void *)GetProcAddress(hLib, "CreatePropertyPage");
        ASSERT_NE(nullptr, pfnCount);
        ASSERT_NE(nullptr, pfnCreate);
        EXPECT_EQ(1, pfnCount());
        /* The index is not looked at. */
        for (UINT uIndex : { 0u, 5u }) {
            HPROPSHEETPAGE hPage = pfnCreate(uIndex);
            EXPECT_NE(nullptr, hPage);
            if (hPage)
                DestroyPropertySheetPage(hPage);
        }
        FreeLibrary(hLib);
    }
}
