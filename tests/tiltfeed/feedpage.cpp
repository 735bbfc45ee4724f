#include "feedpage.h"
#include "testbench/boxcheck.h"
#include "testbench/tiltfeed_target.h"
#include "common/regpaths.h"
#include <objbase.h>
#include <shlobj.h>

namespace fp {

const char *const kCaption = u8"Программы акселерометра Zelvar - Tiltfeed";
const char *const kEditTitle = u8"Изменение Tiltfeed";
const char *const kAddTitle = u8"Добавление Tiltfeed";

const char *const kText[38] = {
    nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 5 */ u8"Невозможно зарегистрировать дополнительные приложения, использующие Tiltfeed, поскольку уже зарегистрировано максимальное число приложений.  Удалите из списка ненужные приложения.",
    /* 6 */ u8"В названии приложения нельзя использовать следующие символы:\n%s",
    /* 7 */ u8"Не введен путь исполняемого файла. ",
    /* 8 */ u8"Не введено название приложения.",
    /* 9 */ u8"Введенное название приложения уже используется.  Выберите другое название.",
    /* 10 */ u8"Не удается создать файл ярлыка.",
    nullptr,
    /* 12 */ u8"Удалить \"%s\"?",
    /* 13 */ u8"Изменение невозможно, поскольку приложение, использующее Tiltfeed, еще не зарегистрировано. Зарегистрируйте приложение.",
    /* 14 */ u8"В имени файла нельзя использовать следующие символы:\n%s",
    /* 15 */ u8"Файл не найден.",
    /* 16 */ u8"Недопустимое имя файла.",
    /* 17 */ u8"Настройка Tiltfeed была неправильно сохранена в реестре.",
    nullptr, nullptr,
    /* 20 */ u8"Создание копии невозможно, поскольку приложение, использующее Tiltfeed, еще не зарегистрировано. \n",
    /* 21 */ u8"Удаление невозможно, поскольку приложение, использующее Tiltfeed, еще не зарегистрировано.",
    nullptr,
    /* 23 */ u8"Не удалось выполнить копирование.",
    nullptr, nullptr, nullptr, nullptr,
    /* 28 */ u8"Не удалось создать копию названия, поскольку длина выбранного названия приложения слишком большая.",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 36 */ u8"Выберите другую строку символов, поскольку введена слишком длинная строка символов.",
    /* 37 */ u8"Невозможно использовать это приложение с помощью Tiltfeed.",
};

void FeedPageTest::SetUp()
{
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    tb::ResetRegistry();
    tb::KillTargets();
    tb::RegisterGravmon();
    tb::RegisterPage("0010", u8"Программа Tiltfeed", tb::BinPath("Feedcfg.dll"));
    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", tb::BinPath("Feedrun.exe"));
    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "HelpFilePath",
                     tb::BinPath("Help\\Tiltfeed.chm"));

    char szPrograms[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(NULL, szPrograms, CSIDL_PROGRAMS, TRUE));
    m_folder = std::string(szPrograms) + "\\Zelvar\\Tablet PC";
    tb::RemoveTree(m_folder);
    m_nLimit = 242 - (int)m_folder.size();
}

void FeedPageTest::TearDown()
{
    m_console.Kill();
    tb::KillTargets();
    tb::ResetRegistry();
    tb::RemoveTree(m_folder);
    CoUninitialize();
}

std::string FeedPageTest::Key(const std::string &nameUtf8) const
{
    return std::string(TILTKIT_REG_TILTFEED) + "\\" + tb::Ansi(nameUtf8);
}

std::string FeedPageTest::LinkPath(const std::string &nameUtf8) const
{
    return m_folder + "\\" + tb::Ansi(nameUtf8) + ".lnk";
}

void FeedPageTest::AddItem(const std::string &nameUtf8, DWORD dwType, DWORD dwMouseRate,
                           DWORD dwKeyRate)
{
    std::string key = Key(nameUtf8);
    std::string path = tb::BinPath("Feedtarget.exe");
    tb::RegSetString(HKEY_CURRENT_USER, key, "FileName", "Feedtarget.exe");
    tb::RegSetString(HKEY_CURRENT_USER, key, "Path", path);
    tb::RegSetDword(HKEY_CURRENT_USER, key, "Type", dwType);
    tb::RegSetDword(HKEY_CURRENT_USER, key, "Mouse_Rate", dwMouseRate);
    tb::RegSetDword(HKEY_CURRENT_USER, key, "CursorKey_Rate", dwKeyRate);
}

bool FeedPageTest::ItemExists(const std::string &nameUtf8) const
{
    return tb::RegKeyExists(HKEY_CURRENT_USER, Key(nameUtf8));
}

std::vector<std::string> FeedPageTest::ItemKeys() const
{
    std::vector<std::string> names;
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    char sz[600];
    for (DWORD i = 0;; i++) {
        DWORD cch = sizeof(sz);
        if (RegEnumKeyExA(hKey, i, sz, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(tb::Utf8(tb::FromAnsi(sz)));
    }
    RegCloseKey(hKey);
    return names;
}

HWND FeedPageTest::OpenPage()
{
    EXPECT_TRUE(tb::StartConsole(m_console));
    m_hPage = tb::WaitPageWith(m_console.Pid(), kPageGroup, 15000);
    EXPECT_TRUE(m_hPage != NULL);
    return m_hPage;
}

std::vector<std::string> FeedPageTest::Entries() const
{
    std::vector<std::string> entries;
    for (const std::wstring &entry : tb::ListEntries(m_hPage, kList))
        entries.push_back(tb::Utf8(entry));
    return entries;
}

std::string FeedPageTest::Selected() const
{
    int i = tb::ListSelection(m_hPage, kList);
    std::vector<std::string> entries = Entries();
    return i >= 0 && i < (int)entries.size() ? entries[i] : "";
}

bool FeedPageTest::Select(const std::string &nameUtf8)
{
    return tb::SelectListEntry(m_hPage, kList, tb::Wide(nameUtf8));
}

void FeedPageTest::Press(int id)
{
    if (id == kList)
        PostMessageA(m_hPage, WM_COMMAND, MAKEWPARAM(kList, LBN_DBLCLK),
                     (LPARAM)GetDlgItem(m_hPage, kList));
    else
        tb::PostClick(m_hPage, id);
}

bool FeedPageTest::WaitEntries(const std::vector<std::string> &want, DWORD dwTimeoutMs)
{
    return tb::WaitFor([&] { return Entries() == want; }, dwTimeoutMs);
}

HWND FeedPageTest::WaitDialog(DWORD dwTimeoutMs)
{
    return m_hDialog = tb::WaitDialogWith(m_console.Pid(), kBrowse, dwTimeoutMs);
}

bool FeedPageTest::DialogGone(DWORD dwTimeoutMs)
{
    if (m_hDialog != NULL && !tb::WaitWindowGone(m_hDialog, dwTimeoutMs))
        return false;
    /* The page refreshes its list once the dialog has returned: a message
     * answered by the page's thread means that refresh is over, so a test
     * that changes items next does not race it. */
    if (m_hPage != NULL)
        tb::Settle(m_hPage, dwTimeoutMs);
    return true;
}

void FeedPageTest::SetField(int id, const std::string &textUtf8)
{
    /* A box the check shows keeps the sender waiting: do not wait long. */
    tb::SetItemText(m_hDialog, id, tb::Wide(textUtf8), 500);
}

void FeedPageTest::Type(int id, char ch, int nCaret)
{
    std::string before = Field(id);
    tb::TypeChar(m_hDialog, id, (wchar_t)(unsigned char)ch, nCaret);
    /* Typed when the text changed, or refused when the check's box is up. */
    tb::WaitFor([&] { return Field(id) != before || tb::CountMessageBoxes(m_console.Pid()) > 0; }, 2000);
}

std::string FeedPageTest::Field(int id) const
{
    return tb::Utf8(tb::ItemText(m_hDialog, id));
}

void FeedPageTest::Click(int id)
{
    tb::PostClick(m_hDialog, id);
}

std::string FeedPageTest::Screenshot(HWND hwnd, const std::string &name)
{
    return tb::Screenshot(hwnd, "tiltfeed", name);
}

void FeedPageTest::ExpectBox(int id, const std::string &argUtf8, int idButton)
{
    SCOPED_TRACE(testing::Message() << "message " << id);
    std::string text = kText[id];
    size_t pos = text.find("%s");
    if (pos != std::string::npos)
        text.replace(pos, 2, argUtf8);
    tb::MessageBoxInfo box = tb::WaitMessageBox(m_console.Pid(), 10000);
    EXPECT_TRUE(tb::IsMessageBox(box, kCaption, text.c_str()));
    EXPECT_TRUE(tb::CloseMessageBox(box, idButton));
}

void FeedPageTest::ExpectNoBox()
{
    tb::Pump(200);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_console.Pid()));
}

} // namespace fp
