/*
 * The Tiltfeed page end to end: Feedcfg.dll in the real console, the
 * shortcuts written and read by Wine's own shell links, and an item added
 * through the dialog started through its shortcut.
 */
#include "feedpage.h"
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"
#include "common/regpaths.h"
#include <commctrl.h>
#include <algorithm>

using fp::FeedPageTest;

namespace {

const char kTarget[] = "Tiltfeed + Feedtarget";

} // namespace

TEST_F(FeedPageTest, EmptyListRefusesEveryCommandButAddAndAnUnwritableShortcutLeavesNoKey)
{
    HWND hPage = OpenPage();
    ASSERT_TRUE(hPage != NULL);
    EXPECT_TRUE(Entries().empty());
    /* Opening the page made the shortcut folder. */
    DWORD dwAttributes = GetFileAttributesA(m_folder.c_str());
    EXPECT_TRUE(dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY));

    Press(fp::kEdit);
    ExpectBox(13);
    Press(fp::kList);
    ExpectBox(13);
    Press(fp::kDelete);
    ExpectBox(21);
    Press(fp::kCopy);
    ExpectBox(20);
    EXPECT_TRUE(tb::FindDialogWith(m_console.Pid(), fp::kBrowse) == NULL);

    /* A new item whose shortcut cannot be written (a folder has its name)
     * is refused and leaves no key. */
    ASSERT_TRUE(CreateDirectoryA(LinkPath("Tiltfeed + Paint").c_str(), NULL));
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    EXPECT_EQ(tb::Wide(fp::kAddTitle), tb::Text(m_hDialog));
    SetField(fp::kName, "Paint");
    SetField(fp::kPath, tb::BinPath("Feedtarget.exe"));
    Click(IDOK);
    ExpectBox(10);
    ASSERT_TRUE(DialogGone());
    EXPECT_TRUE(ItemKeys().empty());
}

TEST_F(FeedPageTest, WithoutFeedrunsPathNoItemIsRepairedOrWritten)
{
    AddItem("Paint");
    CreateDirectoryA((m_folder.substr(0, m_folder.rfind('\\'))).c_str(), NULL);
    CreateDirectoryA(m_folder.c_str(), NULL);
    ASSERT_TRUE(tb::WriteLink(LinkPath("Paint"), tb::BinPath("Feedtarget.exe"), "Paint"));
    ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath"));
    ASSERT_TRUE(OpenPage() != NULL);
    EXPECT_TRUE(Entries().empty());

    /* Add, then Cancel: the refresh after it repairs nothing. */
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    Click(IDCANCEL);
    ASSERT_TRUE(DialogGone());
    /* Add, then OK: no shortcut without a target, so no item either. */
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    SetField(fp::kName, "Feedtarget");
    SetField(fp::kPath, tb::BinPath("Feedtarget.exe"));
    Click(IDOK);
    ExpectBox(10);
    ASSERT_TRUE(DialogGone());

    EXPECT_EQ(std::vector<std::string>{ "Paint" }, ItemKeys());
    EXPECT_EQ(tb::BinPath("Feedtarget.exe"), fp::ReadLink(LinkPath("Paint")).target);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(FeedPageTest, AddedItemStartsThroughItsShortcut)
{
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    ASSERT_EQ(1, manager.Command("tilt 0 0"));
    AddItem("Blocknot");
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(WaitEntries({ "Blocknot" }));
    EXPECT_EQ("Blocknot", Selected());

    /* The dialog starts as for a new item: mouse mode, both sliders at 10. */
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_hDialog, fp::kMouseRadio));
    EXPECT_EQ(10, (int)SendDlgItemMessageW(m_hDialog, fp::kMouseRate, TBM_GETPOS, 0, 0));
    EXPECT_EQ(10, (int)SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_GETPOS, 0, 0));
    EXPECT_EQ(30, (int)SendDlgItemMessageW(m_hDialog, fp::kMouseRate, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(20, (int)SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_GETRANGEMAX, 0, 0));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(m_hDialog, fp::kMouseRate)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_hDialog, fp::kCursorRate)));

    /* Typed name, cursor-key mode with rates 7 and 12, the path typed. */
    for (char ch : std::string("Feedtarget"))
        Type(fp::kName, ch);
    ASSERT_TRUE(tb::WaitFor([&] { return Field(fp::kName) == "Feedtarget"; })) << Field(fp::kName);
    Click(fp::kCursorRadio);
    /* Exactly the checked mode's slider is enabled. */
    auto only = [&](int idOn, int idOff) {
        return tb::WaitFor([&] {
            return IsWindowEnabled(GetDlgItem(m_hDialog, idOn)) && !IsWindowEnabled(GetDlgItem(m_hDialog, idOff));
        });
    };
    EXPECT_TRUE(only(fp::kCursorRate, fp::kMouseRate));
    Click(fp::kMouseRadio);
    EXPECT_TRUE(only(fp::kMouseRate, fp::kCursorRate));
    Click(fp::kCursorRadio);
    SendDlgItemMessageW(m_hDialog, fp::kMouseRate, TBM_SETPOS, TRUE, 7);
    SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_SETPOS, TRUE, 12);
    SetField(fp::kPath, tb::BinPath("Feedtarget.exe"));
    Screenshot(m_hDialog, "feedcfg_dialog_add");
    Click(IDOK);
    ASSERT_TRUE(DialogGone());
    ExpectNoBox();

    /* The item with its five values, listed after the first one, which
     * stays selected; the shortcut starts Feedrun with the item's name. */
    ASSERT_TRUE(WaitEntries({ "Blocknot", kTarget }));
    EXPECT_EQ("Blocknot", Selected());
    std::string s;
    EXPECT_TRUE(tb::RegGetString(HKEY_CURRENT_USER, Key(kTarget), "FileName", &s));
    EXPECT_EQ("Feedtarget.exe", s);
    EXPECT_TRUE(tb::RegGetString(HKEY_CURRENT_USER, Key(kTarget), "Path", &s));
    EXPECT_EQ(tb::BinPath("Feedtarget.exe"), s);
    for (auto value : { std::make_pair("Type", 1u), { "Mouse_Rate", 70u }, { "CursorKey_Rate", 12u } }) {
        DWORD dw = 0;
        EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key(kTarget), value.first, &dw));
        EXPECT_EQ(value.second, dw) << value.first;
    }
    fp::Link link = fp::ReadLink(LinkPath(kTarget));
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(tb::BinPath("Feedrun.exe"), link.target);
    EXPECT_EQ(kTarget, link.arguments);
    EXPECT_EQ(tb::BinPath("Feedtarget.exe"), link.icon);
    Screenshot(GetParent(m_hPage), "feedcfg_page");

    /* Started as a user starts it: the shortcut, through Wine's start. */
    tb::TargetLog log("feedcfg_target");
    tb::SetTargetEnvironment(&log, 8000);
    char szSystem[MAX_PATH] = "";
    GetSystemDirectoryA(szSystem, MAX_PATH);
    tb::Process start;
    ASSERT_TRUE(start.Start(std::string(szSystem) + "\\start.exe", "\"" + LinkPath(kTarget) + "\""));
    tb::SetTargetEnvironment(NULL);
    HWND hTarget = tb::WaitTargetWindow(15000);
    ASSERT_TRUE(hTarget != NULL);
    HWND hFeedrun = tb::WaitWindow("TiltkitTiltfeed Class", "TiltkitTiltfeed", 5000);
    ASSERT_TRUE(hFeedrun != NULL);
    EXPECT_EQ((LRESULT)(UINT_PTR)hFeedrun, manager.Command("get monopoly"));
    ASSERT_TRUE(tb::BringToFront(hTarget));
    /* Cursor-key mode at rate 12: tilted left, Left presses arrive. */
    ASSERT_EQ(1, manager.Command("tilt -45 0"));
    EXPECT_TRUE(tb::WaitFor([&] { return log.Count("key down 0x25") >= 6; }, 5000));
    ASSERT_EQ(1, manager.Command("tilt 0 0"));
    EXPECT_EQ(0u, log.Count("key down 0x27"));
    tb::KillTargets();
    EXPECT_TRUE(tb::WaitWindowGone(hFeedrun, 5000));
}

TEST_F(FeedPageTest, RefreshRepairsDeletedRetargetedAndBrokenItems)
{
    AddItem("Deleted");
    AddItem("Retargeted");
    AddItem("Broken");
    AddItem("Valid");
    tb::RegDeleteVal(HKEY_CURRENT_USER, Key("Broken"), "CursorKey_Rate");
    CreateDirectoryA((m_folder.substr(0, m_folder.rfind('\\'))).c_str(), NULL);
    CreateDirectoryA(m_folder.c_str(), NULL);
    ASSERT_TRUE(fp::WriteLink(LinkPath("Retargeted"), "C:\\windows\\notepad.exe", "Retargeted"));
    ASSERT_TRUE(fp::WriteLink(LinkPath("Broken"), tb::BinPath("Feedrun.exe"), "Broken"));
    ASSERT_TRUE(fp::WriteLink(LinkPath("Valid"), tb::BinPath("FEEDRUN.EXE"), "VALID"));
    /* An item whose shortcut cannot be written: a folder has its file name. */
    AddItem("Blocked");
    ASSERT_TRUE(CreateDirectoryA(LinkPath("Blocked").c_str(), NULL));
    /* A key with a name too long for an item. */
    std::string longName(300, 'L');
    AddItem(longName);
    bool bLongKey = ItemExists(longName);
    /* A readable item whose shortcut file name would pass 259 characters:
     * no shortcut under a shortened name, the item kept. */
    size_t cchWide = 270 - m_folder.size() - 5;   /* ten past the limit... */
    ASSERT_LE(cchWide + 33, 259u);                 /* ...with a key path that fits */
    std::string wide(cchWide, 'W');
    AddItem(wide);
    ASSERT_TRUE(ItemExists(wide));

    /* Without the help file value the page lists nothing and touches nothing. */
    tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "HelpFilePath");
    ASSERT_TRUE(OpenPage() != NULL);
    tb::Pump(300);
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(ItemExists("Broken"));
    EXPECT_FALSE(fp::ReadLink(LinkPath("Deleted")).loaded);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_console.Pid()));
    m_console.Kill();

    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "HelpFilePath", "C:\\nowhere.chm");
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 3; }));
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::string>{ "Deleted", "Retargeted", "Valid" }), entries);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_console.Pid()));
    /* Repaired: new shortcuts for the first two; the valid one (equal but
     * for letter case) untouched. */
    for (const char *name : { "Deleted", "Retargeted" }) {
        SCOPED_TRACE(name);
        fp::Link link = fp::ReadLink(LinkPath(name));
        EXPECT_TRUE(link.loaded);
        EXPECT_EQ(tb::BinPath("Feedrun.exe"), link.target);
        EXPECT_EQ(name, link.arguments);
    }
    EXPECT_EQ("VALID", fp::ReadLink(LinkPath("Valid")).arguments);
    /* The broken item's key is gone, its shortcut stays; the blocked item is
     * only left out, its key kept; the over-long key is gone. */
    EXPECT_FALSE(ItemExists("Broken"));
    EXPECT_TRUE(fp::ReadLink(LinkPath("Broken")).loaded);
    EXPECT_TRUE(ItemExists("Blocked"));
    if (bLongKey) {
        EXPECT_FALSE(ItemExists(longName));
    }
    EXPECT_TRUE(ItemExists(wide));
    EXPECT_EQ((std::vector<std::string>{ "Blocked.lnk", "Broken.lnk", "Deleted.lnk", "Retargeted.lnk",
                                         "Valid.lnk" }), tb::ListFolder(m_folder));
    /* The horizontal extent follows the widest name. */
    EXPECT_GT((int)SendDlgItemMessageW(m_hPage, fp::kList, LB_GETHORIZONTALEXTENT, 0, 0), 2);

    /* A broken item earlier in registry order does not lose the selection
     * that a command asks for again. */
    AddItem("A broken");
    tb::RegDeleteVal(HKEY_CURRENT_USER, Key("A broken"), "Path");
    ASSERT_TRUE(Select("Valid"));
    Press(fp::kEdit);
    ASSERT_TRUE(WaitDialog() != NULL);
    EXPECT_EQ(tb::Wide(fp::kEditTitle), tb::Text(m_hDialog));
    Click(IDCANCEL);
    ASSERT_TRUE(DialogGone());
    ASSERT_TRUE(tb::WaitFor([&] { return !ItemExists("A broken"); }));
    EXPECT_EQ("Valid", Selected());
    EXPECT_EQ(3u, Entries().size());
}

TEST_F(FeedPageTest, CopySeriesToTheTenthCopy)
{
    const std::string src = "Tiltfeed + Paint";
    AddItem(src, 1, 150, 4);
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(WaitEntries({ src }));

    std::vector<std::string> names = { src, u8"Копия " + src };
    for (int n = 2; n <= 9; n++)
        names.push_back(u8"Копия (" + std::to_string(n) + ") " + src);
    for (size_t i = 1; i < names.size(); i++) {
        SCOPED_TRACE(names[i]);
        ASSERT_TRUE(Select(src));
        Press(fp::kCopy);
        /* The source stays selected after each copy. */
        ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == i + 1; }))
            << tb::Utf8(tb::WaitMessageBox(m_console.Pid(), 100).text);
        EXPECT_EQ(src, Selected());
        ASSERT_TRUE(ItemExists(names[i]));
        DWORD dw = 0;
        EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key(names[i]), "Mouse_Rate", &dw));
        EXPECT_EQ(150u, dw);
        /* The copied shortcut was rewritten for the copy by the refresh. */
        EXPECT_EQ(tb::Ansi(names[i]), fp::ReadLink(LinkPath(names[i])).arguments);
    }
    ExpectNoBox();
    std::vector<std::string> sorted = Entries();
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::string> want = names;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(want, sorted);

    /* Ten items: Copy and Add refuse. */
    Press(fp::kCopy);
    ExpectBox(5);
    Press(fp::kAdd);
    ExpectBox(5);
    EXPECT_TRUE(tb::FindDialogWith(m_console.Pid(), fp::kBrowse) == NULL);

    /* Delete asks first: No keeps the item, Yes removes key and shortcut. */
    const std::string nine = names[9];
    ASSERT_TRUE(Select(nine));
    Press(fp::kDelete);
    ExpectBox(12, nine, IDNO);
    tb::Pump(300);
    EXPECT_TRUE(ItemExists(nine));
    EXPECT_EQ(10u, Entries().size());
    ASSERT_TRUE(Select(nine));
    Press(fp::kDelete);
    ExpectBox(12, nine, IDYES);
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 9; }));
    EXPECT_FALSE(ItemExists(nine));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LinkPath(nine).c_str()));
    /* Nine items: Add opens the dialog again. */
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    Click(IDCANCEL);
    ASSERT_TRUE(DialogGone());

    /* Every copy name taken while the list holds nine: the ninth name's
     * item exists but cannot get its shortcut, so it is kept, not listed. */
    AddItem(nine);
    ASSERT_TRUE(CreateDirectoryA(LinkPath(nine).c_str(), NULL));
    ASSERT_TRUE(Select(src));
    Press(fp::kCopy);
    ExpectBox(23);
    tb::Pump(300);
    EXPECT_EQ(9u, Entries().size());
    EXPECT_TRUE(ItemExists(nine));
    EXPECT_EQ(10u, ItemKeys().size());
}

TEST_F(FeedPageTest, CopyNameAtTheLimitIsRefusedBeforeAnyKey)
{
    /* "Копия " adds six characters: a source of limit - 6 reaches it. */
    std::string longSrc(m_nLimit - 6, 'p');
    std::string fits(m_nLimit - 7, 'f');
    AddItem(longSrc);
    AddItem(fits);
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 2; }));
    ASSERT_TRUE(Select(longSrc));
    Press(fp::kCopy);
    ExpectBox(28);
    tb::Pump(200);
    EXPECT_EQ(2u, ItemKeys().size());
    ASSERT_TRUE(Select(fits));
    Press(fp::kCopy);
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 3; }));
    EXPECT_TRUE(ItemExists(u8"Копия " + fits));
    /* Its numbered name would be four characters longer: refused, no key. */
    ASSERT_TRUE(Select(fits));
    Press(fp::kCopy);
    ExpectBox(28);
    tb::Pump(200);
    EXPECT_EQ(3u, ItemKeys().size());
}

TEST_F(FeedPageTest, EditRenamesAndKeepsItemsWhoseShortcutCannotBeWritten)
{
    AddItem("Paint", 0, 100, 10);
    AddItem("Other", 1, 50, 5);
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 2; }));

    /* The dialog shows the item's values in edit mode. */
    ASSERT_TRUE(Select("Other"));
    Press(fp::kList);
    ASSERT_TRUE(WaitDialog() != NULL);
    EXPECT_EQ(tb::Wide(fp::kEditTitle), tb::Text(m_hDialog));
    EXPECT_EQ("Other", Field(fp::kName));
    EXPECT_EQ(tb::BinPath("Feedtarget.exe"), Field(fp::kPath));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_hDialog, fp::kCursorRadio));
    EXPECT_EQ(5, (int)SendDlgItemMessageW(m_hDialog, fp::kMouseRate, TBM_GETPOS, 0, 0));
    EXPECT_EQ(5, (int)SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_GETPOS, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_hDialog, fp::kMouseRate)));
    Screenshot(m_hDialog, "feedcfg_dialog_edit");

    /* Same name in other letter case: the item is updated in place. */
    SetField(fp::kName, "OTHER");
    SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_SETPOS, TRUE, 20);
    Click(IDOK);
    ASSERT_TRUE(DialogGone());
    ExpectNoBox();
    DWORD dw = 0;
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key("Other"), "CursorKey_Rate", &dw));
    EXPECT_EQ(20u, dw);
    EXPECT_EQ(2u, ItemKeys().size());
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 2; }));

    /* A new name: the new item is made, the old one goes with its
     * shortcut, and the new name is selected. The item's own values that
     * the dialog does not show go along. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, Key("Paint"), "ExtraDeadZone", 10));
    ASSERT_TRUE(Select("Paint"));
    Press(fp::kEdit);
    ASSERT_TRUE(WaitDialog() != NULL);
    SetField(fp::kName, "  Paint 2");
    Click(IDOK);
    ASSERT_TRUE(DialogGone());
    ExpectNoBox();
    ASSERT_TRUE(tb::WaitFor([&] { return !ItemExists("Paint"); }));
    EXPECT_TRUE(ItemExists("Paint 2"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LinkPath("Paint").c_str()));
    EXPECT_EQ("Paint 2", fp::ReadLink(LinkPath("Paint 2")).arguments);
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key("Paint 2"), "ExtraDeadZone", &dw));
    EXPECT_EQ(10u, dw);
    ASSERT_TRUE(tb::WaitFor([&] { return Selected() == "Paint 2"; }));

    /* Saved under its own name while its shortcut cannot be written (a
     * folder took the shortcut's name meanwhile): the store says so and the
     * item keeps what it had. */
    ASSERT_TRUE(Select("Paint 2"));
    Press(fp::kEdit);
    ASSERT_TRUE(WaitDialog() != NULL);
    ASSERT_TRUE(DeleteFileA(LinkPath("Paint 2").c_str()));
    ASSERT_TRUE(CreateDirectoryA(LinkPath("Paint 2").c_str(), NULL));
    Click(fp::kCursorRadio);
    SendDlgItemMessageW(m_hDialog, fp::kCursorRate, TBM_SETPOS, TRUE, 3);
    Click(IDOK);
    ExpectBox(10);
    ASSERT_TRUE(DialogGone());
    EXPECT_TRUE(ItemExists("Paint 2"));
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key("Paint 2"), "Type", &dw));
    EXPECT_EQ(0u, dw);
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, Key("Paint 2"), "CursorKey_Rate", &dw));
    EXPECT_EQ(10u, dw);
    /* Not listed while it has no shortcut, listed again once it can have one. */
    ASSERT_TRUE(tb::WaitFor([&] { return Entries().size() == 1; }));
    ASSERT_TRUE(RemoveDirectoryA(LinkPath("Paint 2").c_str()));

    /* Cancel after changes: nothing saved, the selection stays. */
    ASSERT_TRUE(Select("Other"));
    Press(fp::kEdit);
    ASSERT_TRUE(WaitDialog() != NULL);
    SetField(fp::kName, "Renamed");
    Click(IDCANCEL);
    ASSERT_TRUE(DialogGone());
    tb::Pump(200);
    EXPECT_FALSE(ItemExists("Renamed"));
    EXPECT_EQ("Other", Selected());
    EXPECT_EQ(2u, Entries().size());
}

TEST_F(FeedPageTest, DialogRefusals)
{
    AddItem("Tiltfeed + Used");
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(WaitEntries({ "Tiltfeed + Used" }));
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);

    /* The live check: a forbidden character typed into the name is taken
     * out again, the caret one place back. */
    SetField(fp::kName, "Paint");
    Type(fp::kName, '|', 3);
    ExpectBox(6, "\\ : | \" < > / ? *");
    EXPECT_EQ("Paint", Field(fp::kName));
    DWORD dwStart = 0, dwEnd = 0;
    SendDlgItemMessageW(m_hDialog, fp::kName, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    EXPECT_EQ(3u, dwStart);
    EXPECT_EQ(3u, dwEnd);
    Type(fp::kName, ':');
    ExpectBox(6, "\\ : | \" < > / ? *");
    /* Backslash and colon are allowed in the path, the seven others not. */
    SetField(fp::kPath, "C:\\x");
    ExpectNoBox();
    Type(fp::kPath, '*');
    ExpectBox(14, "| \" < > / ? *");
    EXPECT_EQ("C:\\x", Field(fp::kPath));

    std::string tooLong(m_nLimit, 'n');
    std::string feedtarget = tb::BinPath("Feedtarget.exe");
    std::string folder = feedtarget.substr(0, feedtarget.rfind('\\'));
    struct Row {
        const char *what;
        std::string name, path;
        int message;
    } rows[] = {
        { "empty name", "", feedtarget, 8 },
        { "blanks only", "   ", feedtarget, 8 },
        { "name at the limit", tooLong, feedtarget, 36 },
        { "name of another item", "Used", feedtarget, 9 },
        { "leading blanks, then the name of another item", "  Used", feedtarget, 9 },
        { "empty path", "Paint", "", 7 },
        { "no such file", "Paint", folder + "\\nothing.exe", 15 },
        { "a folder", "Paint", folder, 15 },
        { "no backslash", "Paint", "Feedtarget.exe", 16 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        SetField(fp::kName, row.name);
        SetField(fp::kPath, row.path);
        Click(IDOK);
        ExpectBox(row.message);
        /* The dialog stays open with the fields as typed. */
        EXPECT_TRUE(IsWindow(m_hDialog));
        EXPECT_EQ(row.name, Field(fp::kName));
    }
    EXPECT_EQ(1u, ItemKeys().size());

    /* Windows Explorer: warned about, kept, and saved. */
    char szWindows[MAX_PATH] = "";
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    SetField(fp::kName, "Explorer");
    SetField(fp::kPath, std::string(szWindows) + "\\explorer.exe");
    ExpectBox(37);
    EXPECT_EQ(std::string(szWindows) + "\\explorer.exe", Field(fp::kPath));
    Click(IDOK);
    ASSERT_TRUE(DialogGone());
    EXPECT_TRUE(ItemExists("Tiltfeed + Explorer"));
}

TEST_F(FeedPageTest, EditModeAllowsTwelveMoreCharacters)
{
    AddItem("Short");
    ASSERT_TRUE(OpenPage() != NULL);
    ASSERT_TRUE(WaitEntries({ "Short" }));
    Press(fp::kEdit);
    ASSERT_TRUE(WaitDialog() != NULL);
    SetField(fp::kName, std::string(m_nLimit + 12, 'e'));
    Click(IDOK);
    ExpectBox(36);
    std::string longest(m_nLimit + 11, 'e');
    SetField(fp::kName, longest);
    Click(IDOK);
    ASSERT_TRUE(DialogGone());
    ExpectNoBox();
    EXPECT_TRUE(ItemExists(longest));
    EXPECT_FALSE(ItemExists("Short"));
    EXPECT_EQ(longest, fp::ReadLink(LinkPath(longest)).arguments);
    ASSERT_TRUE(WaitEntries({ longest }));
}


TEST_F(FeedPageTest, BrowseChoosesTheProgram)
{
    ASSERT_TRUE(OpenPage() != NULL);
    Press(fp::kAdd);
    ASSERT_TRUE(WaitDialog() != NULL);
    SetField(fp::kPath, "C:\\before");

    /* The system's open-file dialog with the page's title; Cancel changes
     * nothing. */
    auto waitOpen = [&]() { return tb::WaitFileDialog(m_console.Pid(), u8"Программа Tiltfeed"); };
    Click(fp::kBrowse);
    HWND hOpen = waitOpen();
    ASSERT_TRUE(hOpen != NULL);
    PostMessageW(hOpen, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(tb::WaitWindowGone(hOpen));
    EXPECT_EQ("C:\\before", Field(fp::kPath));

    /* A program chosen by its full name lands in the path field. */
    Click(fp::kBrowse);
    hOpen = waitOpen();
    ASSERT_TRUE(hOpen != NULL);
    ASSERT_TRUE(tb::EnterFileName(hOpen, tb::Wide(tb::BinPath("Feedtarget.exe"))));
    ASSERT_TRUE(tb::WaitWindowGone(hOpen));
    EXPECT_TRUE(tb::WaitFor([&] { return Field(fp::kPath) == tb::BinPath("Feedtarget.exe"); }))
        << Field(fp::kPath);
    Click(IDCANCEL);
    EXPECT_TRUE(DialogGone());
}

namespace {

/* F1 typed as a user types it: into the window in front. */
void PressF1()
{
    INPUT aInput[2];
    ZeroMemory(aInput, sizeof(aInput));
    for (int i = 0; i < 2; i++) {
        aInput[i].type = INPUT_KEYBOARD;
        aInput[i].ki.wVk = VK_F1;
        aInput[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, aInput, sizeof(INPUT));
}

/* The console started with the page in front and F1 pressed on it; the help
 * window it opened, or NULL when none came within the time. */
HWND PressF1OnPage(HWND hPage, DWORD dwPid, DWORD dwTimeoutMs)
{
    HWND hSheet = GetParent(hPage);
    EXPECT_TRUE(tb::WaitFor([&] { return GetForegroundWindow() == hSheet; }));
    PressF1();
    return tb::WaitWindow("HH Parent", NULL, dwTimeoutMs, dwPid);
}

} // namespace

TEST_F(FeedPageTest, F1OpensThePagesHelpTopicAndNothingWithoutTheViewer)
{
    /* Without the help viewer nothing happens and nothing is said. */
    const std::string overrides = "Software\\Wine\\AppDefaults\\Tiltdesk.exe";
    tb::RegSetString(HKEY_CURRENT_USER, overrides + "\\DllOverrides", "hhctrl.ocx", "");
    HWND hPage = OpenPage();
    ASSERT_TRUE(hPage != NULL);
    EXPECT_TRUE(PressF1OnPage(hPage, m_console.Pid(), 3000) == NULL);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_console.Pid()));
    m_console.Kill();
    tb::RegDeleteTree(HKEY_CURRENT_USER, overrides);

    /* With it, a help window titled as the page's topic. */
    hPage = OpenPage();
    ASSERT_TRUE(hPage != NULL);
    HWND hHelp = PressF1OnPage(hPage, m_console.Pid(), 15000);
    ASSERT_TRUE(hHelp != NULL);
    EXPECT_TRUE(tb::WaitFor([&] { return IsWindowVisible(hHelp); }));
    EXPECT_EQ(tb::Wide(u8"Программа Tiltfeed"), tb::Text(hHelp));
    tb::Screenshot(NULL, "tiltfeed", "feedcfg_help");

    /* The console closes with the help window open, and takes it along. */
    PostMessageA(GetParent(hPage), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(0, m_console.Wait(10000));
    EXPECT_FALSE(IsWindow(hHelp));
}
