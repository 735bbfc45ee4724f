#include "testbench/boxcheck.h"

namespace tb {

const HWND kAnyOwner = (HWND)(LONG_PTR)-1;

::testing::AssertionResult IsMessageBox(const MessageBoxInfo &box, const char *pszCaption,
                                        const char *pszText, HWND hwndOwner)
{
    if (!box.found())
        return ::testing::AssertionFailure() << "no message box";
    if (pszCaption != NULL && box.caption != Wide(pszCaption))
        return ::testing::AssertionFailure() << "caption \"" << Utf8(box.caption)
                                             << "\", expected \"" << pszCaption << "\"";
    if (pszText != NULL && box.text != Wide(pszText))
        return ::testing::AssertionFailure() << "text \"" << Utf8(box.text)
                                             << "\", expected \"" << pszText << "\"";
    if (hwndOwner != kAnyOwner && GetWindow(box.hwnd, GW_OWNER) != hwndOwner)
        return ::testing::AssertionFailure() << "owner " << (void *)GetWindow(box.hwnd, GW_OWNER)
                                             << ", expected " << (void *)hwndOwner;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AnswerMessageBox(DWORD dwPid, const char *pszCaption, const char *pszText,
                                            HWND hwndOwner, bool bOnlyDialog, DWORD dwTimeoutMs)
{
    MessageBoxInfo box = WaitMessageBox(dwPid, dwTimeoutMs);
    ::testing::AssertionResult result = IsMessageBox(box, pszCaption, pszText, hwndOwner);
    int nDialogs = box.found() ? CountDialogs(dwPid) : 0;

    if (result && bOnlyDialog && nDialogs != 1)
        result = ::testing::AssertionFailure() << nDialogs << " dialogs open with the box";
    if (box.found() && !CloseMessageBox(box) && result)
        result = ::testing::AssertionFailure() << "the box did not close";
    return result;
}

} // namespace tb
