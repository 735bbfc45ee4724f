/*
 * Joltpilot.exe: drives the Jolt page of a running console from the command
 * line, one step per run, and prints what the page shows (UTF-8). The tour
 * uses it to change a Jolt action without a person at the mouse.
 *
 *   Joltpilot show              the actions, paths and sound boxes shown
 *   Joltpilot action v|h N      chooses action N (0-3) for a direction
 *   Joltpilot program v|h PATH  types a program path for a direction
 *   Joltpilot ok                presses OK and waits until the console is gone
 * Exit code 0 when the step was done, 1 otherwise.
 */
#include "testbench/pagedriver.h"
#include "jolt/resource.h"
#include <prsht.h>
#include <stdio.h>
#include <string.h>

static std::wstring ComboText(HWND hPage, int id)
{
    std::vector<std::wstring> entries = tb::ComboEntries(hPage, id);
    int nSel = tb::ComboSelection(hPage, id);
    if (nSel < 0 || nSel >= (int)entries.size())
        return L"(none)";
    return std::to_wstring(nSel) + L":" + entries[nSel];
}

static int Show(HWND hPage)
{
    struct { const wchar_t *pszName; int idAction, idProgram, idCheck, idSound; } dirs[] = {
        { L"forward/backward", IDC_VACTION, IDC_VLAUNCH_PATH, IDC_VSOUND_CHECK, IDC_VSOUND_PATH },
        { L"left/right", IDC_HACTION, IDC_HLAUNCH_PATH, IDC_HSOUND_CHECK, IDC_HSOUND_PATH },
    };
    for (const auto &d : dirs) {
        tb::PrintLine(std::wstring(d.pszName) + L": action " + ComboText(hPage, d.idAction));
        tb::PrintLine(L"  program " + tb::ItemText(hPage, d.idProgram) +
                      (IsWindowEnabled(GetDlgItem(hPage, d.idProgram)) ? L"" : L" (disabled)"));
        tb::PrintLine(std::wstring(L"  sound ") + (tb::Ticked(hPage, d.idCheck) ? L"[x] " : L"[ ] ") +
                      tb::ItemText(hPage, d.idSound));
    }
    return 0;
}

static int Direction(const char *psz, int idVertical, int idHorizontal)
{
    if (strcmp(psz, "v") == 0)
        return idVertical;
    if (strcmp(psz, "h") == 0)
        return idHorizontal;
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: Joltpilot show | action v|h N | program v|h PATH | ok\n");
        return 2;
    }
    HWND hPage = tb::WaitPageWith(0, IDC_VACTION, 15000);
    if (!hPage) {
        fprintf(stderr, "Joltpilot: no Jolt page\n");
        return 1;
    }
    if (strcmp(argv[1], "show") == 0)
        return Show(hPage);
    if (strcmp(argv[1], "action") == 0 && argc == 4) {
        int id = Direction(argv[2], IDC_VACTION, IDC_HACTION);
        int n = atoi(argv[3]);
        if (!id || n < 0 || n > 3)
            return 2;
        tb::ChooseEntry(hPage, id, n);
        tb::PrintLine(L"chosen: " + ComboText(hPage, id));
        return 0;
    }
    if (strcmp(argv[1], "program") == 0 && argc == 4) {
        int id = Direction(argv[2], IDC_VLAUNCH_PATH, IDC_HLAUNCH_PATH);
        if (!id)
            return 2;
        /* The path arrives in the code page; the edit shows it as text. */
        tb::SetItemText(hPage, id, tb::FromAnsi(argv[3]));
        tb::PrintLine(L"program: " + tb::ItemText(hPage, id));
        return 0;
    }
    if (strcmp(argv[1], "ok") == 0) {
        HWND hSheet = GetParent(hPage);
        tb::PressSheetButton(hSheet, PSBTN_OK);
        if (!tb::WaitWindowGone(hSheet, 8000)) {
            fprintf(stderr, "Joltpilot: the console stays open (a box of the page?)\n");
            return 1;
        }
        printf("OK pressed, the console closed\n");
        return 0;
    }
    return 2;
}
