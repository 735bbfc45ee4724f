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
#include "joltui.h"
#include "testbench/testbench.h"
#include <prsht.h>
#include <stdio.h>
#include <string.h>

using namespace jc;

static void Print(const std::string &label, const std::wstring &text)
{
    printf("%s%s\n", label.c_str(), tb::Utf8(text).c_str());
}

static std::wstring ComboText(HWND hPage, int id)
{
    HWND hCombo = GetDlgItem(hPage, id);
    int nSel = (int)SendMessageW(hCombo, CB_GETCURSEL, 0, 0);
    wchar_t wsz[260] = L"";
    if (nSel < 0 || SendMessageW(hCombo, CB_GETLBTEXTLEN, nSel, 0) >= 260)
        return L"(none)";
    SendMessageW(hCombo, CB_GETLBTEXT, nSel, (LPARAM)wsz);
    return std::to_wstring(nSel) + L":" + wsz;
}

static int Show(HWND hPage)
{
    struct { const char *pszName; int idAction, idProgram, idCheck, idSound; } dirs[] = {
        { "forward/backward", kVAction, kVLaunch, kVCheck, kVSound },
        { "left/right", kHAction, kHLaunch, kHCheck, kHSound },
    };
    for (const auto &d : dirs) {
        bool bTicked = SendMessageA(GetDlgItem(hPage, d.idCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
        Print(std::string(d.pszName) + ": action ", ComboText(hPage, d.idAction));
        Print("  program ", ItemText(hPage, d.idProgram) +
              (IsWindowEnabled(GetDlgItem(hPage, d.idProgram)) ? L"" : L" (disabled)"));
        Print(std::string("  sound ") + (bTicked ? "[x] " : "[ ] "), ItemText(hPage, d.idSound));
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
    HWND hPage = WaitJoltPage(0, 15000);
    if (!hPage) {
        fprintf(stderr, "Joltpilot: no Jolt page\n");
        return 1;
    }
    if (strcmp(argv[1], "show") == 0)
        return Show(hPage);
    if (strcmp(argv[1], "action") == 0 && argc == 4) {
        int id = Direction(argv[2], kVAction, kHAction);
        int n = atoi(argv[3]);
        if (!id || n < 0 || n > 3)
            return 2;
        ChooseAction(hPage, id, n);
        Print("chosen: ", ComboText(hPage, id));
        return 0;
    }
    if (strcmp(argv[1], "program") == 0 && argc == 4) {
        int id = Direction(argv[2], kVLaunch, kHLaunch);
        if (!id)
            return 2;
        /* The path arrives in the code page; the edit shows it as text. */
        wchar_t wsz[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, argv[3], -1, wsz, MAX_PATH);
        SetItemText(hPage, id, wsz);
        Print("program: ", ItemText(hPage, id));
        return 0;
    }
    if (strcmp(argv[1], "ok") == 0) {
        HWND hSheet = GetParent(hPage);
        DWORD dwPid = 0;
        GetWindowThreadProcessId(hSheet, &dwPid);
        PostMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        if (!tb::WaitWindowGone(hSheet, 8000)) {
            fprintf(stderr, "Joltpilot: the console stays open (a box of the page?)\n");
            return 1;
        }
        printf("OK pressed, the console closed\n");
        return 0;
    }
    return 2;
}
