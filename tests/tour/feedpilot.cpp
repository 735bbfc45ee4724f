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
#include "testbench/pagedriver.h"
#include "tiltfeed/feedcfg_res.h"
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

namespace {

HWND Page()
{
    HWND hPage = tb::WaitPageWith(0, IDC_PAGE_GROUP, 15000);
    if (!hPage)
        fprintf(stderr, "Feedpilot: no Tiltfeed page\n");
    return hPage;
}

int List()
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    std::vector<std::wstring> entries = tb::ListEntries(hPage, IDC_APPLIST);
    int nSelected = tb::ListSelection(hPage, IDC_APPLIST);
    if (entries.empty())
        tb::PrintLine(L"  (the list is empty)");
    for (size_t i = 0; i < entries.size(); i++)
        tb::PrintLine(std::wstring((int)i == nSelected ? L"  > " : L"    ") + entries[i]);
    return 0;
}

int Fill(const char *pszName, const char *pszPath, bool bKeys)
{
    HWND hPage = Page();
    if (!hPage)
        return 1;
    tb::PostClick(hPage, IDC_ADD);
    HWND hDlg = tb::WaitDialogWith(0, IDC_BROWSE);
    if (!hDlg) {
        fprintf(stderr, "Feedpilot: the dialog did not open\n");
        return 1;
    }
    /* Arguments arrive in the ANSI code page. */
    tb::SetItemText(hDlg, IDC_NAME, tb::FromAnsi(pszName), 2000);
    tb::SetItemText(hDlg, IDC_PATH, tb::FromAnsi(pszPath), 2000);
    if (bKeys) {
        tb::PostClick(hDlg, IDC_CURSOR_RADIO);
        tb::WaitFor([&] { return IsWindowEnabled(GetDlgItem(hDlg, IDC_CURSOR_RATE)) != FALSE; }, 2000);
    }
    tb::PrintLine(L"  " + tb::Text(hDlg) + L": " + tb::ItemText(hDlg, IDC_NAME) + L", " +
                  tb::ItemText(hDlg, IDC_PATH));
    return 0;
}

int Ok()
{
    HWND hDlg = tb::WaitDialogWith(0, IDC_BROWSE, 2000);
    if (!hDlg) {
        fprintf(stderr, "Feedpilot: no dialog\n");
        return 1;
    }
    tb::PostClick(hDlg, IDOK);
    tb::WaitFor([&] { return !IsWindow(hDlg) || tb::CountMessageBoxes(0) > 0; }, 5000);
    tb::MessageBoxInfo box = tb::WaitMessageBox(0, 300);
    if (box.found()) {
        tb::PrintLine(L"  message: " + box.text);
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
    tb::PrintLine(tb::FromAnsi(sz) + L"\\Zelvar\\Tablet PC");
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
