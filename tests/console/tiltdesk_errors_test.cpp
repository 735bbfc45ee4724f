/* Everything that keeps the console from showing its sheet: one error box
 * with the console's caption, then the end with exit code 0. */
#include "desk_fixture.h"
#include "common/regpaths.h"
#include <shlwapi.h>

#include <string>

using namespace dt;

namespace {

class DeskErrors : public DeskTest {
protected:
    void AddTwo()
    {
        Plugin p10; p10.copy = "e10"; p10.pages = 2;
        Plugin p30; p30.copy = "e30";
        Add("0010", u8"Десятый", p10);
        Add("0030", u8"Тридцатый", p30);
    }
};

TEST_F(DeskErrors, RefusedCommandLinesShowMessage8BeforeLoadingAnything)
{
    AddTwo();
    const char *const refused[] = { "0020", "0030 ", "30", "0030  1", "003a", "00300",
                                    "0030 12", "0030 x", "abcd", "0030\t1" };
    for (const char *args : refused) {
        SCOPED_TRACE(std::string("[") + args + "]");
        ASSERT_TRUE(Start(args));
        ExpectOnlyBox(tb::Wide(kBadArgument), __LINE__);
    }
    /* A key that names no plug-in is found out only after counting. */
    EXPECT_EQ("A N D", Log("e10"));
    EXPECT_EQ("A N D", Log("e30"));
}

TEST_F(DeskErrors, PageDigitNotBelowThePluginsPageCountShowsMessage10)
{
    AddTwo();
    for (const char *args : { "0030 1", "0010 2", "0010 9" }) {
        SCOPED_TRACE(args);
        ASSERT_TRUE(Start(args));
        ExpectOnlyBox(tb::Wide(kBadPage), __LINE__);
    }
}

TEST_F(DeskErrors, CommandLineIsCheckedBeforeTheEntries)
{
    ASSERT_TRUE(Start("0010 x"));
    ExpectOnlyBox(tb::Wide(kBadArgument), __LINE__);
    ASSERT_TRUE(Start("0010"));
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);
}

TEST_F(DeskErrors, NoEntryOrAnUnreadableEntryShowsMessage3)
{
    /* No "Property" key at all. */
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);

    /* Only subkeys without four-digit names. */
    Plugin p; p.copy = "x";
    std::string dll = Add("abcd", u8"Буквы", p);
    Register("00100", u8"Пять цифр", dll);
    Register("010", u8"Три цифры", dll);
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);
    EXPECT_EQ("", Log("x"));

    /* A good entry and one without "DLLFileName", then without "Name",
     * then with a "Name" longer than 259 characters. */
    Plugin good; good.copy = "good";
    Add("0010", u8"Хороший", good);
    const std::string bad = std::string(TILTKIT_REG_PROPERTY) + "\\0020";
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, bad, "Name", "bad"));
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);

    ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, bad, "Name"));
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, bad, "DLLFileName", dll));
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);

    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, bad, "Name", std::string(300, 'N')));
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kNoPluginData), __LINE__);
    EXPECT_EQ("", Log("good"));

    /* 259 characters are fine. */
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, bad, "Name", std::string(259, 'N')));
    ASSERT_TRUE(Start());
    HWND hwndSheet = WaitSheet();
    ASSERT_TRUE(hwndSheet);
    EXPECT_EQ(0, CloseSheet(hwndSheet, PSBTN_CANCEL));
}

TEST_F(DeskErrors, UnloadableLibraryShowsMessage4WithItsName)
{
    Plugin p; p.copy = "first";
    Add("0010", u8"Первый", p);
    Register("0020", u8"Пропавший модуль", m_scratch + "\\missing.dll");
    ASSERT_TRUE(Start());
    ExpectOnlyBox(With(kPluginLoad, u8"Пропавший модуль"), __LINE__);
    /* The first plug-in was counted and unloaded, never asked for pages. */
    EXPECT_EQ("A N D", Log("first"));

    /* A file that is no library at all. */
    std::string text = m_scratch + "\\notes.dll";
    HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD cb;
    WriteFile(h, "not a library", 13, &cb, NULL);
    CloseHandle(h);
    Register("0020", u8"Текст", text);
    ASSERT_TRUE(Start());
    ExpectOnlyBox(With(kPluginLoad, u8"Текст"), __LINE__);
}

TEST_F(DeskErrors, PageCountOutsideOneToTenShowsMessage5)
{
    const struct { int line; int pages; } cases[] = { { __LINE__, 0 }, { __LINE__, 11 }, { __LINE__, -1 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        tb::ResetRegistry();
        Plugin ok; ok.copy = "ok";
        Add("0010", u8"Годный", ok);
        Plugin p; p.copy = "count"; p.pages = c.pages;
        Add("0020", u8"Счётчик", p);
        ASSERT_TRUE(Start());
        ExpectOnlyBox(With(kPluginInfo, u8"Счётчик"), __LINE__);
        EXPECT_EQ("A N D", Log("count"));
        EXPECT_EQ("A N D", Log("ok"));
    }
}

TEST_F(DeskErrors, MissingExportShowsMessage5)
{
    /* Only GetPropertyPageNumber: stops after counting, at page creation. */
    Plugin ok; ok.copy = "ok"; ok.pages = 2;
    Add("0010", u8"Годный", ok);
    Plugin p; p.copy = "nocreate"; p.variant = "TestpageNoCreate.dll";
    Add("0020", u8"Без страниц", p);
    ASSERT_TRUE(Start());
    ExpectOnlyBox(With(kPluginInfo, u8"Без страниц"), __LINE__);
    EXPECT_EQ("A N D A D", Log("nocreate"));
    /* The pages made before are released before their library goes. */
    EXPECT_EQ("A N D A C0 C1 R0 R1 D", Log("ok"));

    /* Only CreatePropertyPage: stops while counting. */
    tb::ResetRegistry();
    Plugin q; q.copy = "nocount"; q.variant = "TestpageNoCount.dll";
    Add("0010", u8"Без числа", q);
    ASSERT_TRUE(Start());
    ExpectOnlyBox(With(kPluginInfo, u8"Без числа"), __LINE__);
    EXPECT_EQ("A D", Log("nocount"));
}

TEST_F(DeskErrors, NullPageShowsMessage7)
{
    Plugin p; p.copy = "holes"; p.pages = 3; p.nullPage = 1;
    Add("0010", u8"Дырявый", p);
    Plugin later; later.copy = "later";
    Add("0020", u8"Следующий", later);
    ASSERT_TRUE(Start());
    ExpectOnlyBox(With(kPluginPage, u8"Дырявый"), __LINE__);
    EXPECT_EQ("A N D A C0 C1 R0 D", Log("holes"));
    EXPECT_EQ("A N D", Log("later"));
}

TEST_F(DeskErrors, TwoHundredSixtyPagesShowMessage11)
{
    for (int i = 0; i < 26; i++) {
        char szKey[8];
        wnsprintfA(szKey, sizeof(szKey), "%04d", 200 + i);
        Plugin p; p.copy = std::string("n") + szKey; p.pages = 10;
        Add(szKey, szKey, p);
    }
    ASSERT_TRUE(Start());
    ExpectOnlyBox(tb::Wide(kTooManyPages), __LINE__);
    /* Counted only: no page was made. */
    EXPECT_EQ("A N D", Log("n0200"));
    EXPECT_EQ("A N D", Log("n0225"));
}

} // namespace
