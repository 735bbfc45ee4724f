#include "desk_fixture.h"
#include "testbench/boxcheck.h"
#include "common/regpaths.h"

#include <commctrl.h>
#include <prsht.h>

namespace dt {

const char *const kCaption = u8"Консоль настройки программ акселерометра Zelvar";
const char *const kNoPluginData = u8"Не удалось получить данные о настройке программ акселерометра Zelvar.";
const char *const kPluginLoad = u8"Не удалось загрузить подключаемый модуль %s для настройки акселерометра.";
const char *const kPluginInfo = u8"Не удалось получить данные о подключаемом модуле настройки акселерометра %s.";
const char *const kNoMemory = u8"Сбой памяти.";
const char *const kPluginPage = u8"Не удалось получить данные страницы из подключаемого модуля %s для настройки акселерометра для отображения на листе свойств.";
const char *const kBadArgument = u8"Указан неверный параметр командной строки.";
const char *const kBadPage = u8"В параметре командной строки указана неверная страница.";
const char *const kTooManyPages = u8"Не удалось отобразить лист свойств, поскольку превышено ограничение для числа страниц.";

static const char kTestPagesKey[] = TILTKIT_REG_ROOT "\\TestPages";

std::wstring With(const char *pszFormatUtf8, const std::string &argUtf8)
{
    std::string s = pszFormatUtf8;
    size_t pos = s.find("%s");
    if (pos != std::string::npos)
        s.replace(pos, 2, argUtf8);
    return tb::Wide(s);
}

void DeskTest::SetUp()
{
    tb::ResetRegistry();
    m_scratch = tb::ScratchDir(true);
}

void DeskTest::TearDown()
{
    m_desk.Kill();
    tb::ResetRegistry();
}

void DeskTest::Register(const std::string &key, const std::string &nameUtf8, const std::string &dll)
{
    ASSERT_TRUE(tb::RegisterPage(key, nameUtf8, dll));
}

std::string DeskTest::Add(const std::string &key, const std::string &nameUtf8, const Plugin &p)
{
    std::string path = m_scratch + "\\" + p.copy + ".dll";
    EXPECT_TRUE(CopyFileA(tb::BinPath(p.variant).c_str(), path.c_str(), FALSE)) << path;
    std::string cfg = std::string(kTestPagesKey) + "\\" + p.copy;
    tb::RegSetDword(HKEY_CURRENT_USER, cfg, "Pages", (DWORD)p.pages);
    tb::RegSetString(HKEY_CURRENT_USER, cfg, "Title", tb::Ansi(p.title.empty() ? p.copy : p.title));
    if (p.nullPage >= 0)
        tb::RegSetDword(HKEY_CURRENT_USER, cfg, "NullPage", (DWORD)p.nullPage);
    Register(key, nameUtf8, path);
    return path;
}

std::string DeskTest::Log(const std::string &copy) const
{
    std::string log;
    tb::RegGetString(HKEY_CURRENT_USER, std::string(kTestPagesKey) + "\\" + copy, "Log", &log);
    return log;
}

void DeskTest::ClearLog(const std::string &copy)
{
    tb::RegDeleteVal(HKEY_CURRENT_USER, std::string(kTestPagesKey) + "\\" + copy, "Log");
}

bool DeskTest::Start(const std::string &args)
{
    return tb::StartConsole(m_desk, args);
}

HWND DeskTest::WaitSheet(DWORD dwTimeoutMs)
{
    HWND hwnd = tb::WaitWindow("#32770", NULL, dwTimeoutMs, m_desk.Pid());
    if (hwnd && WindowText(hwnd) != tb::Wide(kCaption))
        return NULL;
    return hwnd;
}

void DeskTest::ExpectOnlyBox(const std::wstring &text, int line)
{
    SCOPED_TRACE(line);
    /* The only dialog: no sheet behind the box. */
    ASSERT_TRUE(tb::AnswerMessageBox(m_desk.Pid(), kCaption, tb::Utf8(text).c_str()));
    /* A second box or a sheet would keep the console running. */
    EXPECT_EQ(0, m_desk.Wait(5000));
}

long DeskTest::CloseSheet(HWND hwndSheet, int nButton)
{
    tb::PressSheetButton(hwndSheet, nButton);
    return m_desk.Wait(5000);
}

std::vector<std::wstring> TabTexts(HANDLE hProcess, HWND hwndSheet)
{
    std::vector<std::wstring> texts;
    HWND hwndTab = GetDlgItem(hwndSheet, kIdTabControl);
    if (!hwndTab)
        return texts;
    /* TCM_GETITEM carries a pointer: the record lives in the console. */
    const SIZE_T cb = sizeof(TCITEMW) + 256 * sizeof(wchar_t);
    BYTE *pRemote = (BYTE *)VirtualAllocEx(hProcess, NULL, cb, MEM_COMMIT, PAGE_READWRITE);
    if (!pRemote)
        return texts;
    int cTabs = (int)SendMessageW(hwndTab, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < cTabs; i++) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (LPWSTR)(pRemote + sizeof(TCITEMW));
        item.cchTextMax = 256;
        wchar_t wsz[256] = {};
        WriteProcessMemory(hProcess, pRemote, &item, sizeof(item), NULL);
        WriteProcessMemory(hProcess, pRemote + sizeof(TCITEMW), wsz, sizeof(wsz), NULL);
        SendMessageW(hwndTab, TCM_GETITEMW, i, (LPARAM)pRemote);
        ReadProcessMemory(hProcess, pRemote, &item, sizeof(item), NULL);
        ReadProcessMemory(hProcess, item.pszText, wsz, sizeof(wsz), NULL);
        wsz[255] = L'\0';
        texts.push_back(wsz);
    }
    VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    return texts;
}

int CurrentTab(HWND hwndSheet)
{
    return (int)SendMessageW(GetDlgItem(hwndSheet, kIdTabControl), TCM_GETCURSEL, 0, 0);
}

std::wstring CurrentPageTitle(HWND hwndSheet)
{
    HWND hwndPage = (HWND)SendMessageW(hwndSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    if (!hwndPage)
        return L"";
    return tb::ItemText(hwndPage, 1001);
}

} // namespace dt
