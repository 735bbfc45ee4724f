/*
 * The one message-box expectation of the Wine tests: a box of a process,
 * its caption and text byte for byte (UTF-8 in the test sources), its owner,
 * and whether it is the only dialog the process shows.
 */
#ifndef TESTBENCH_BOXCHECK_H
#define TESTBENCH_BOXCHECK_H

#include <gtest/gtest.h>
#include "testbench/testbench.h"

namespace tb {

/* As hwndOwner: the owner is not checked. */
extern const HWND kAnyOwner;

/* A box found by WaitMessageBox: found at all, caption (NULL: any) and text,
 * and owner. */
::testing::AssertionResult IsMessageBox(const MessageBoxInfo &box, const char *pszCaption,
                                        const char *pszText, HWND hwndOwner = kAnyOwner);

/* Waits for a box of the process, checks it as IsMessageBox does and, with
 * bOnlyDialog, that the process shows no other dialog; then presses OK. */
::testing::AssertionResult AnswerMessageBox(DWORD dwPid, const char *pszCaption, const char *pszText,
                                            HWND hwndOwner = kAnyOwner, bool bOnlyDialog = true,
                                            DWORD dwTimeoutMs = 10000);

} // namespace tb

#endif
