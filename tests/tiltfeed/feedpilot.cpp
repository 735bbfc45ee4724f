/*
 * Feedpilot.exe: drives the Tiltfeed page of a running console from the
 * command line, one step per run, and prints what the page shows (UTF-8).
 * The tour uses it to add an application without a person at the mouse.
 *
 *   Feedpilot list                    the entries of the list, the selected one marked
 *   Feedpilot fill NAME PATH [keys]   opens Add and fills the dialog (cursor-key mode with "keys")
 *   Feedpilot ok                      presses OK in the dialog; prints any message and the list
 *   Feedpilot folder                  the shortcut folder (ANSI, for the shell)
 * Exit code 0 when the step was done, 1 otherwise.
 */
#include "calibration/calui.h"
#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

namespace {

const int kList = 1000, kAdd = 1002, kPageGroup = 1013;
const int kName = 1001, kCursorRadio = 1006, kCursorRate = 1015, kPath = 1022, kBrowse = 1023;

void Print(const std::wstring &text)
{
    std::string s = tb::Utf8(text);
    fwrite(s.data(), 1, s.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

HWND Page()
{
    HWND hGroup = NULL;
    tb::WaitFor([&] {
        HWND hDlg = cal::FindDialogWith(0, kPageGroup, &hGroup);
        return hDlg != NULL && IsWindowVisible(hDlg);
    }, 15000);
    if (!hGroup)
        fprintf(stderr, "Feedpilot: no Tiltfeed page\n");
    return hGroup ? GetParent(hGroup) : NULL;
}

HWND Dialog(DWORD dwTimeoutMs)
{
    HWND hDlg = NULL;
    tb::WaitFor([&] {
        hDlg = cal::FindDialogWith(0, kBrowse);
        return hDlg != NULL && IsWindowVisible(hDlg);
    }, dwTimeoutMs);
    return hDlg;
}

int List()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    HWND hList = GetDlgItem(hPage, kList);
    LRESULT n = SendMessageW(hList, LB_GETCOUNT, 0, 0);
    LRESULT nSelected = SendMessageW(hList, LB_GETCURSEL, 0, 0);
    if (n <= 0)
        Print(L"  (the list is empty)");
    for (LRESULT i = 0; i < n; i++) {
        WCHAR sz[600] = L"";
        if (SendMessageW(hList, LB_GETTEXTLEN, i, 0) < 600)
            SendMessageW(hList, LB_GETTEXT, i, (LPARAM)sz);
        Print(std::wstring(i == nSelected ? L"  > " : L"    ") + sz);
    }
    return 0;
}

/* Arguments arrive in the ANSI code page. */
std::wstring FromAnsi(const char *psz)
{
    WCHAR wsz[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, psz, -1, wsz, MAX_PATH * 2);
    return wsz;
}

void SetText(HWND hDlg, int id, const std::wstring &text)
{
    DWORD_PTR dw = 0;
    SendMessageTimeoutW(GetDlgItem(hDlg, id), WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_NORMAL,
                        2000, &dw);
}

int Fill(const char *pszName, const char *pszPath, bool bKeys)
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    cal::Click(GetDlgItem(hPage, kAdd));
    HWND hDlg = Dialog(5000);
    if (!hDlg) {
        fprintf(stderr, "Feedpilot: the dialog did not open\n");
        return 1;
    }
    SetText(hDlg, kName, FromAnsi(pszName));
    SetText(hDlg, kPath, FromAnsi(pszPath));
    if (bKeys) {
        cal::Click(GetDlgItem(hDlg, kCursorRadio));
        tb::WaitFor([&] { return IsWindowEnabled(GetDlgItem(hDlg, kCursorRate)) != FALSE; }, 2000);
    }
    Print(L"  " + cal::Text(hDlg) + L": " + cal::ItemText(hDlg, kName) + L", " +
          cal::ItemText(hDlg, kPath));
    return 0;
}

int Ok()
{
    HWND hDlg = Dialog(2000);
    if (!hDlg) {
        fprintf(stderr, "Feedpilot: no dialog\n");
        return 1;
    }
    cal::Click(GetDlgItem(hDlg, IDOK));
    tb::WaitFor([&] { return !IsWindow(hDlg) || tb::CountMessageBoxes(0) > 0; }, 5000);
    tb::MessageBoxInfo box = tb::WaitMessageBox(0, 300);
    if (box.found()) {
        Print(L"  message: " + box.text);
        tb::CloseMessageBox(box);
    }
    if (IsWindow(hDlg)) {
        PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
        tb::WaitWindowGone(hDlg, 3000);
        return 1;
    }
    tb::Pump(300);
    return List();
}

int ShowFolder()
{
    char sz[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(NULL, sz, CSIDL_PROGRAMS, FALSE))
        return 1;
    Print(FromAnsi(sz) + L"\\Zelvar\\Tablet PC");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const char *pszStep = argc > 1 ? argv[1] : "";
    if (strcmp(pszStep, "list") == 0)
        return List();
    if (strcmp(pszStep, "fill") == 0 && argc >= 4)
        return Fill(argv[2], argv[3], argc > 4 && strcmp(argv[4], "keys") == 0);
    if (strcmp(pszStep, "ok") == 0)
        return Ok();
    if (strcmp(pszStep, "folder") == 0)
        return ShowFolder();
    fprintf(stderr, "usage: Feedpilot list|fill NAME PATH [keys]|ok|folder\n");
    return 1;
}
