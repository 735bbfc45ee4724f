/*
 * The Tiltfeed page in the real console: Feedcfg.dll registered as the
 * console's plug-in, the machine-wide Tiltfeed values, the shortcut folder
 * emptied, items in the registry, the page and its add/edit dialog driven
 * from outside, and the shortcuts read back through the shell's own links.
 */
#ifndef TESTS_TILTFEED_FEEDPAGE_H
#define TESTS_TILTFEED_FEEDPAGE_H

#include <gtest/gtest.h>
#include "testbench/pagedriver.h"
#include "testbench/shellfiles.h"
#include <string>
#include <vector>

namespace fp {

/* Russian texts of Feedcfg.dll, UTF-8. */
extern const char *const kCaption;      /* 4 */
extern const char *const kEditTitle;    /* 3 */
extern const char *const kAddTitle;     /* the dialog template's caption */
extern const char *const kText[38];     /* message texts by string id; null where none */

/* Control ids of the page and the dialog. */
enum {
    kList = 1000, kAdd = 1002, kDelete = 1003, kEdit = 1004, kCopy = 1005, kPageGroup = 1013,
    kName = 1001, kCursorRadio = 1006, kMouseRadio = 1009, kMouseRate = 1014,
    kCursorRate = 1015, kPath = 1022, kBrowse = 1023,
};

/* Shortcuts as the shell reads them; WriteLink writes a foreign one. */
using tb::Link;
using tb::ReadLink;
using tb::WriteLink;

class FeedPageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /* Item key and shortcut file of an item named in UTF-8. */
    std::string Key(const std::string &nameUtf8) const;
    std::string LinkPath(const std::string &nameUtf8) const;
    /* Writes an item for Feedtarget.exe. */
    void AddItem(const std::string &nameUtf8, DWORD dwType = 0, DWORD dwMouseRate = 100,
                 DWORD dwKeyRate = 10);
    bool ItemExists(const std::string &nameUtf8) const;
    /* Names of the item keys below the per-user key, UTF-8, in registry order. */
    std::vector<std::string> ItemKeys() const;

    /* Starts the console and waits for the Tiltfeed page. */
    HWND OpenPage();
    /* The entries of the list and the selected one (UTF-8, "" for none). */
    std::vector<std::string> Entries() const;
    std::string Selected() const;
    bool Select(const std::string &nameUtf8);
    /* Presses a page button (or double-clicks the list for kList). */
    void Press(int id);
    /* Waits until the list shows exactly these entries. */
    bool WaitEntries(const std::vector<std::string> &want, DWORD dwTimeoutMs = 5000);

    /* The add/edit dialog, once shown. */
    HWND WaitDialog(DWORD dwTimeoutMs = 5000);
    bool DialogGone(DWORD dwTimeoutMs = 5000);
    /* Sets a field's text (its change is checked as typed text is). */
    void SetField(int id, const std::string &textUtf8);
    /* Types one character at the caret, placed at nCaret first (-1: end). */
    void Type(int id, char ch, int nCaret = -1);
    std::string Field(int id) const;
    void Click(int id);   /* a button of the dialog */
    /* A window as screenshots\tiltfeed\<name>.png next to the test program. */
    std::string Screenshot(HWND hwnd, const std::string &name);

    /* Expects one Tiltfeed box with the text of string id (argument put in
     * for %s), answers it with idButton and waits until it is gone. */
    void ExpectBox(int id, const std::string &argUtf8 = "", int idButton = IDOK);
    /* No box of the console now. */
    void ExpectNoBox();

    tb::Process m_console;
    HWND m_hPage = NULL;
    HWND m_hDialog = NULL;
    std::string m_folder;   /* the shortcut folder, ANSI */
    int m_nLimit = 0;       /* the name limit */
};

} // namespace fp

#endif
