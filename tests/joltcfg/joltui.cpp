#include "joltui.h"
#include "testbench/testbench.h"

namespace jc {

struct FindPageCtx {
    DWORD dwPid;
    HWND hPage;
};

static BOOL CALLBACK FindPageProc(HWND hwnd, LPARAM lParam)
{
    FindPageCtx *ctx = (FindPageCtx *)lParam;
    DWORD dwPid = 0;
    char szClass[16] = "";
    GetWindowThreadProcessId(hwnd, &dwPid);
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    if ((ctx->dwPid && dwPid != ctx->dwPid) || lstrcmpA(szClass, "#32770") != 0 ||
        !IsWindowVisible(hwnd))
        return TRUE;
    /* The sheet holds the page, the page holds both action combos. */
    for (HWND hChild = GetWindow(hwnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (GetDlgItem(hChild, kVAction) && GetDlgItem(hChild, kHAction) && IsWindowVisible(hChild)) {
            ctx->hPage = hChild;
            return FALSE;
        }
    }
    return TRUE;
}

HWND WaitJoltPage(DWORD dwPid, DWORD dwTimeoutMs)
{
    FindPageCtx ctx = { dwPid, NULL };
    tb::WaitFor([&] {
        EnumWindows(FindPageProc, (LPARAM)&ctx);
        return ctx.hPage != NULL;
    }, dwTimeoutMs);
    return ctx.hPage;
}

std::wstring ItemText(HWND hPage, int id)
{
    wchar_t wsz[512] = L"";
    SendMessageW(GetDlgItem(hPage, id), WM_GETTEXT, ARRAYSIZE(wsz), (LPARAM)wsz);
    return wsz;
}

void ChooseAction(HWND hPage, int idCombo, int nIndex)
{
    HWND hCombo = GetDlgItem(hPage, idCombo);
    SendMessageA(hCombo, CB_SETCURSEL, nIndex, 0);
    SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(idCombo, CBN_SELCHANGE), (LPARAM)hCombo);
}

void SetItemText(HWND hPage, int id, const std::wstring &text)
{
    SendMessageW(GetDlgItem(hPage, id), WM_SETTEXT, 0, (LPARAM)text.c_str());
}

} // namespace jc
