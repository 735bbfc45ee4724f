#include "desk_fixture.h"
#include "common/regpaths.h"

#include <commctrl.h>
#include <prsht.h>
#include <shlwapi.h>
#include <stdio.h>

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
    std::string sub = std::string(TILTKIT_REG_PROPERTY) + "\\" + key;
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, sub, "Name", tb::Ansi(nameUtf8)));
    ASSERT_TRUE(tb::RegSetString(HKEY_LOCAL_MACHINE, sub, "DLLFileName", dll));
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
    return m_desk.Start(tb::BinPath("Tiltdesk.exe"), args);
}

HWND DeskTest::WaitSheet(DWORD dwTimeoutMs)
{
    HWND hwnd = tb::WaitWindow("#32770", NULL, dwTimeoutMs, m_desk.Pid());
    if (hwnd && WindowText(hwnd) != tb::Wide(kCaption))
        return NULL;
    return hwnd;
}

tb::MessageBoxInfo WaitBox(DWORD dwPid, DWORD dwTimeoutMs)
{
    /* The box window exists a moment before its texts are in: wait until
     * caption and message are both there. */
    tb::MessageBoxInfo box;
    tb::WaitFor([&] {
        HWND hwnd = tb::WaitWindow("#32770", NULL, 0, dwPid);
        HWND hwndText = hwnd ? GetDlgItem(hwnd, 0xFFFF) : NULL;
        if (!hwndText)
            return false;
        box.hwnd = hwnd;
        box.caption = WindowText(hwnd);
        box.text = WindowText(hwndText);
        return !box.caption.empty() && !box.text.empty();
    }, dwTimeoutMs);
    return box;
}

void DeskTest::ExpectOnlyBox(const std::wstring &text, int line)
{
    SCOPED_TRACE(line);
    tb::MessageBoxInfo box = WaitBox(m_desk.Pid(), 10000);
    ASSERT_TRUE(box.found());
    EXPECT_EQ(tb::Wide(kCaption), box.caption);
    EXPECT_EQ(text, box.text);
    /* The box is no sheet: it has no tab control. */
    EXPECT_EQ(NULL, GetDlgItem(box.hwnd, kIdTabControl));
    EXPECT_EQ(1, tb::CountDialogs(m_desk.Pid()));
    ASSERT_TRUE(tb::CloseMessageBox(box));
    /* A second box or a sheet would keep the console running. */
    EXPECT_EQ(0, m_desk.Wait(5000));
}

long DeskTest::CloseSheet(HWND hwndSheet, int nButton)
{
    /* From another process the press has to be posted. */
    PostMessageA(hwndSheet, PSM_PRESSBUTTON, (WPARAM)nButton, 0);
    return m_desk.Wait(5000);
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t wsz[512];
    wsz[0] = L'\0';
    /* WM_GETTEXT is carried across processes by the system. */
    SendMessageTimeoutW(hwnd, WM_GETTEXT, ARRAYSIZE(wsz), (LPARAM)wsz, SMTO_ABORTIFHUNG, 2000, NULL);
    wsz[ARRAYSIZE(wsz) - 1] = L'\0';
    return wsz;
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
    return WindowText(GetDlgItem(hwndPage, 1001));
}

static Pixels FromBitmap(HDC hdc, HBITMAP hbm, int w, int h)
{
    Pixels px;
    px.w = w;
    px.h = h;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    px.rgb.assign((size_t)w * h, 0);
    GetDIBits(hdc, hbm, 0, h, px.rgb.data(), &bmi, DIB_RGB_COLORS);
    for (DWORD &v : px.rgb)
        v &= 0x00FFFFFF;
    return px;
}

Pixels CaptureScreen(const RECT &rc)
{
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return Pixels();
    HDC hdcScreen = GetDC(NULL);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, w, h);
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);
    BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMem, hOld);
    Pixels px = FromBitmap(hdcMem, hbm, w, h);
    DeleteObject(hbm);
    DeleteDC(hdcMem);
    ReleaseDC(NULL, hdcScreen);
    return px;
}

Pixels BitmapPixels(HMODULE hModule, int id)
{
    HBITMAP hbm = (HBITMAP)LoadImageA(hModule, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    if (!hbm)
        return Pixels();
    BITMAP bm = {};
    GetObjectA(hbm, sizeof(bm), &bm);
    HDC hdc = GetDC(NULL);
    Pixels px = FromBitmap(hdc, hbm, bm.bmWidth, bm.bmHeight);
    ReleaseDC(NULL, hdc);
    DeleteObject(hbm);
    return px;
}

std::string Screenshot(HWND hwnd, const std::string &name)
{
    tb::Pump(300);   /* let the console finish painting */
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        SetRect(&rc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Pixels px = CaptureScreen(rc);
    if (px.w == 0)
        return "";

    char szDir[MAX_PATH];
    GetModuleFileNameA(NULL, szDir, MAX_PATH);
    PathRemoveFileSpecA(szDir);
    std::string dir = std::string(szDir) + "\\screenshots";
    CreateDirectoryA(dir.c_str(), NULL);
    dir += "\\console";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string path = dir + "\\" + name + ".bmp";

    int stride = (px.w * 3 + 3) & ~3;
    std::vector<BYTE> data((size_t)stride * px.h, 0);
    for (int y = 0; y < px.h; y++) {
        BYTE *row = &data[(size_t)(px.h - 1 - y) * stride];
        for (int x = 0; x < px.w; x++) {
            DWORD v = px.at(x, y);
            row[x * 3 + 0] = (BYTE)(v & 0xFF);
            row[x * 3 + 1] = (BYTE)((v >> 8) & 0xFF);
            row[x * 3 + 2] = (BYTE)((v >> 16) & 0xFF);
        }
    }
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = px.w;
    bih.biHeight = px.h;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biSizeImage = (DWORD)data.size();
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + (DWORD)data.size();
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return "";
    fwrite(&bfh, sizeof(bfh), 1, f);
    fwrite(&bih, sizeof(bih), 1, f);
    fwrite(data.data(), 1, data.size(), f);
    fclose(f);
    return path;
}

} // namespace dt
