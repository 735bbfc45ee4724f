#include "testbench/pagedriver.h"
#include "testbench/capture.h"
#include "common/regpaths.h"
#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>

namespace tb {

bool RegisterPage(const std::string &key, const std::string &nameUtf8, const std::string &dllPath)
{
    std::string sub = std::string(TILTKIT_REG_PROPERTY) + "\\" + key;
    return RegSetString(HKEY_LOCAL_MACHINE, sub, "Name", Ansi(nameUtf8)) &&
           RegSetString(HKEY_LOCAL_MACHINE, sub, "DLLFileName", dllPath);
}

bool StartConsole(Process &console, const std::string &args)
{
    return console.Start(BinPath("Tiltdesk.exe"), args);
}

struct FindItemCtx {
    int id;
    bool bShownOnly;
    HWND hwndItem;
};

static BOOL CALLBACK FindItemProc(HWND hwnd, LPARAM lParam)
{
    FindItemCtx *ctx = (FindItemCtx *)lParam;
    if (GetDlgCtrlID(hwnd) != ctx->id || (ctx->bShownOnly && !IsWindowVisible(hwnd)))
        return TRUE;
    ctx->hwndItem = hwnd;
    return FALSE;
}

static HWND FindDescendant(HWND hwndTop, int id, bool bShownOnly)
{
    FindItemCtx ctx = { id, bShownOnly, NULL };
    EnumChildWindows(hwndTop, FindItemProc, (LPARAM)&ctx);
    return ctx.hwndItem;
}

HWND FindDialogWith(DWORD dwPid, int idItem, HWND *phwndItem)
{
    for (HWND hwnd : TopDialogs(dwPid)) {
        HWND hwndItem = FindDescendant(hwnd, idItem, false);
        if (hwndItem != NULL) {
            if (phwndItem)
                *phwndItem = hwndItem;
            return hwnd;
        }
    }
    if (phwndItem)
        *phwndItem = NULL;
    return NULL;
}

HWND WaitDialogWith(DWORD dwPid, int idItem, DWORD dwTimeoutMs)
{
    HWND hwnd = NULL;
    WaitFor([&] {
        hwnd = FindDialogWith(dwPid, idItem);
        return hwnd != NULL && IsWindowVisible(hwnd);
    }, dwTimeoutMs);
    return hwnd != NULL && IsWindowVisible(hwnd) ? hwnd : NULL;
}

HWND WaitPageWith(DWORD dwPid, int idItem, DWORD dwTimeoutMs)
{
    HWND hPage = NULL;
    WaitFor([&] {
        HWND hwndItem = NULL;
        HWND hwnd = FindDialogWith(dwPid, idItem, &hwndItem);
        hPage = hwndItem ? GetParent(hwndItem) : NULL;
        return hwnd != NULL && IsWindowVisible(hwnd) && hPage != NULL && IsWindowVisible(hPage);
    }, dwTimeoutMs);
    return hPage != NULL && IsWindowVisible(hPage) ? hPage : NULL;
}

HWND ShownPage(HWND hwndSheet)
{
    HWND hPage = (HWND)SendMessageW(hwndSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    return hPage != NULL && IsWindowVisible(hPage) ? hPage : NULL;
}

HWND WaitFileDialog(DWORD dwPid, const std::string &titleUtf8, HWND hwndExcept, DWORD dwTimeoutMs)
{
    std::wstring title = Wide(titleUtf8);
    HWND hwndFound = NULL;
    WaitFor([&] {
        for (HWND hwnd : TopDialogs(dwPid)) {
            wchar_t wsz[128] = L"";
            GetWindowTextW(hwnd, wsz, ARRAYSIZE(wsz));
            if (hwnd != hwndExcept && IsWindowVisible(hwnd) && title == wsz) {
                hwndFound = hwnd;
                return true;
            }
        }
        return false;
    }, dwTimeoutMs);
    return hwndFound;
}

bool EnterFileName(HWND hFileDialog, const std::wstring &name)
{
    /* The file name box: a combo box, or an edit in the older layout. */
    HWND hName = GetDlgItem(hFileDialog, 0x47C);
    if (hName == NULL || !IsWindowVisible(hName))
        hName = GetDlgItem(hFileDialog, 0x480);
    if (hName == NULL)
        return false;
    SendMessageW(hName, WM_SETTEXT, 0, (LPARAM)name.c_str());
    PostClick(hFileDialog, IDOK);
    return true;
}

bool Settle(HWND hwnd, DWORD dwTimeoutMs)
{
    DWORD_PTR dwResult = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, dwTimeoutMs, &dwResult) != 0;
}

std::wstring Text(HWND hwnd)
{
    std::vector<wchar_t> buf(8192, L'\0');
    DWORD_PTR n = 0;
    if (!hwnd || !SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), (LPARAM)buf.data(),
                                      SMTO_NORMAL, 5000, &n))
        return L"<no answer>";
    return std::wstring(buf.data(), n);
}

std::wstring ItemText(HWND hDlg, int id)
{
    return Text(GetDlgItem(hDlg, id));
}

bool WaitItemText(HWND hDlg, int id, const std::wstring &want, DWORD dwTimeoutMs)
{
    return WaitFor([&] { return ItemText(hDlg, id) == want; }, dwTimeoutMs);
}

bool Ticked(HWND hDlg, int id)
{
    return SendDlgItemMessageW(hDlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

DWORD Caret(HWND hDlg, int id)
{
    /* Start and end of the selection come back in the result. */
    DWORD dw = (DWORD)SendDlgItemMessageW(hDlg, id, EM_GETSEL, 0, 0);
    return LOWORD(dw) == HIWORD(dw) ? LOWORD(dw) : 0xFFFFFFFF;
}

/* The entries of a list or combo box: its count, length and text messages. */
static std::vector<std::wstring> Entries(HWND hwnd, UINT uCount, UINT uLength, UINT uText)
{
    std::vector<std::wstring> entries;
    int n = (int)SendMessageW(hwnd, uCount, 0, 0);
    for (int i = 0; i < n; i++) {
        int cch = (int)SendMessageW(hwnd, uLength, i, 0);
        if (cch < 0)
            break;
        std::vector<wchar_t> buf(cch + 1, L'\0');
        SendMessageW(hwnd, uText, i, (LPARAM)buf.data());
        entries.push_back(buf.data());
    }
    return entries;
}

std::vector<std::wstring> ListEntries(HWND hDlg, int idList)
{
    return Entries(GetDlgItem(hDlg, idList), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> ComboEntries(HWND hDlg, int idCombo)
{
    return Entries(GetDlgItem(hDlg, idCombo), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ListSelection(HWND hDlg, int idList)
{
    return (int)SendDlgItemMessageW(hDlg, idList, LB_GETCURSEL, 0, 0);
}

int ComboSelection(HWND hDlg, int idCombo)
{
    return (int)SendDlgItemMessageW(hDlg, idCombo, CB_GETCURSEL, 0, 0);
}

void PostClick(HWND hDlg, int id)
{
    PostMessageA(GetDlgItem(hDlg, id), BM_CLICK, 0, 0);
}

void SendClick(HWND hDlg, int id)
{
    SendDlgItemMessageA(hDlg, id, BM_CLICK, 0, 0);
}

bool SetItemText(HWND hDlg, int id, const std::wstring &text, DWORD dwTimeoutMs)
{
    DWORD_PTR dwResult = 0;
    return SendMessageTimeoutW(GetDlgItem(hDlg, id), WM_SETTEXT, 0, (LPARAM)text.c_str(),
                               SMTO_NORMAL, dwTimeoutMs, &dwResult) != 0;
}

void TypeChar(HWND hDlg, int id, wchar_t ch, int nCaret)
{
    HWND hEdit = GetDlgItem(hDlg, id);
    if (nCaret < 0)
        nCaret = (int)SendMessageW(hEdit, WM_GETTEXTLENGTH, 0, 0);
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutW(hEdit, EM_SETSEL, nCaret, nCaret, SMTO_NORMAL, 2000, &dwResult);
    PostMessageW(hEdit, WM_CHAR, ch, 1);
}

void TypeText(HWND hDlg, int id, const std::string &text)
{
    HWND hEdit = GetDlgItem(hDlg, id);
    SendMessageW(hEdit, EM_SETSEL, 0, -1);
    for (wchar_t ch : Wide(text))
        SendMessageW(hEdit, WM_CHAR, ch, 1);
}

void ChooseEntry(HWND hDlg, int idCombo, int nIndex)
{
    HWND hCombo = GetDlgItem(hDlg, idCombo);
    SendMessageW(hCombo, CB_SETCURSEL, nIndex, 0);
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(idCombo, CBN_SELCHANGE), (LPARAM)hCombo);
}

bool SelectListEntry(HWND hDlg, int idList, const std::wstring &entry)
{
    std::vector<std::wstring> entries = ListEntries(hDlg, idList);
    for (size_t i = 0; i < entries.size(); i++) {
        if (entries[i] == entry)
            return SendDlgItemMessageW(hDlg, idList, LB_SETCURSEL, i, 0) == (LRESULT)i;
    }
    return false;
}

void PressSheetButton(HWND hwndSheet, int nButton)
{
    PostMessageA(hwndSheet, PSM_PRESSBUTTON, nButton, 0);
}

bool SheetButtonEnabled(HWND hwndSheet, int idButton)
{
    HWND hwnd = GetDlgItem(hwndSheet, idButton);
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

bool WaitSheetButton(HWND hwndSheet, int idButton, bool bEnabled, DWORD dwTimeoutMs)
{
    /* A page posts its button state: give the sheet a moment to apply it. */
    return WaitFor([&] { return SheetButtonEnabled(hwndSheet, idButton) == bEnabled; }, dwTimeoutMs);
}

std::string Screenshot(HWND hwnd, const std::string &folder, const std::string &name)
{
    char szExe[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szExe, MAX_PATH);
    std::string dir = szExe;
    dir = dir.substr(0, dir.find_last_of('\\')) + "\\screenshots\\" + folder;
    return SaveScreenshot(hwnd, dir, name);
}

void PrintLine(const std::wstring &text)
{
    std::string line;
    for (char c : Utf8(text))
        if (c != '\r')
            line += c;
    line += '\n';
    fwrite(line.data(), 1, line.size(), stdout);
    fflush(stdout);
}

} // namespace tb
