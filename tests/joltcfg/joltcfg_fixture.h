/*
 * The Jolt page inside the real console: the installed defaults with the
 * test's own Jolt values, Joltcfg.dll registered as the console's only page,
 * the console process and the page read and driven from outside (messages
 * that a user's clicks and keys would cause), the per-user values read back,
 * and a running Joltrun whose program starts are logged by copies of
 * Joltmark ("vert.exe", "horz.exe").
 */
#ifndef TESTS_JOLTCFG_FIXTURE_H
#define TESTS_JOLTCFG_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "testbench/pagedriver.h"

#include <string>
#include <vector>

namespace jc {

/* Control ids of the page. */
enum {
    kVSound = 1000, kVLaunch = 1001, kHSound = 1002, kHLaunch = 1003,
    kVCheck = 1005, kHCheck = 1006, kVAction = 1008, kVSoundBrowse = 1009,
    kVLaunchBrowse = 1010, kHAction = 1011, kHSoundBrowse = 1012, kHLaunchBrowse = 1013,
};

/* Russian texts of the page, UTF-8. */
extern const char *const kCaption;        /* 2 */
extern const char *const kBroken;         /* 3 */
extern const char *const kRegOpen;        /* 4 */
extern const char *const kBadChars;       /* 6 with its argument put in */
extern const char *const kNoVProgram;     /* 10 */
extern const char *const kNoHProgram;     /* 11 */
extern const char *const kNoVSound;       /* 12 */
extern const char *const kNoHSound;       /* 13 */
extern const char *const kRegData;        /* 15 */

/* Stored Jolt values; a launch path without a backslash names a program copy. */
struct Values {
    DWORD dwVAction = 1, dwHAction = 2, dwVSound = 0, dwHSound = 0;
    std::string vLaunch = "vert", hLaunch = "horz";
    std::string vSound = "C:\\v.wav", hSound = "C:\\h.wav";
    DWORD dwIdle = 200;
};

/* The per-user values as the registry holds them now. */
struct Stored {
    std::vector<BYTE> setting;
    std::string vLaunch, hLaunch, vSound, hSound;
    bool operator==(const Stored &o) const
    {
        return setting == o.setting && vLaunch == o.vLaunch && hLaunch == o.hLaunch &&
               vSound == o.vSound && hSound == o.hSound;
    }
};
void PrintTo(const Stored &s, std::ostream *os);

class JoltPageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /* A fresh registry: the installed defaults, stamped now, and the Jolt
     * page registered as the console's only page. */
    void InstallSuite();
    /* Writes the values into the machine key (into the user's key: bUser,
     * together with the machine's "Version" and "InstallTime", so that the
     * user's copy counts as current). */
    void WriteValues(const Values &v, bool bUser = false);
    std::string Program(const std::string &name) const { return m_dir + "\\" + name + ".exe"; }
    Stored ReadStored() const;

    /* Starts the console and waits for the Jolt page (NULL if none shows). */
    HWND OpenPage(DWORD dwTimeoutMs = 10000);
    /* Waits for the page after the error boxes of its start were handled. */
    HWND WaitPage(DWORD dwTimeoutMs = 10000) { return m_hPage = tb::WaitPageWith(m_desk.Pid(), kVAction, dwTimeoutMs); }
    HWND Sheet() const { return GetParent(m_hPage); }
    HWND Item(int id) const { return GetDlgItem(m_hPage, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Ticked(int id) const { return tb::Ticked(m_hPage, id); }
    int Selection(int idCombo) const { return tb::ComboSelection(m_hPage, idCombo); }
    std::vector<std::wstring> ComboItems(int idCombo) const { return tb::ComboEntries(m_hPage, idCombo); }
    std::wstring Text(int id) const { return tb::ItemText(m_hPage, id); }

    /* A user's choice in an action combo: selection, then its notification. */
    void Choose(int idCombo, int nIndex) { tb::ChooseEntry(m_hPage, idCombo, nIndex); }
    /* A user's click on a check box. */
    void Click(int idButton) { tb::SendClick(m_hPage, idButton); }
    /* Sets an edit's text as a paste of the whole text would (checked by the page). */
    void SetText(int id, const std::string &textUtf8) { tb::SetItemText(m_hPage, id, tb::Wide(textUtf8)); }
    /* Types one character at a caret position; posted, as a box may follow. */
    void TypeChar(int id, int nCaret, wchar_t ch) { tb::TypeChar(m_hPage, id, ch, nCaret); }
    DWORD Caret(int id) const { return tb::Caret(m_hPage, id); }

    /* OK of the sheet (posted); returns once the console ended or a box is shown. */
    void PressOk();
    /* Cancel: the console ends without saving. */
    void Cancel();
    /* Expects a box with the page's caption and this text, and closes it. */
    void ExpectBox(const char *pszTextUtf8, int line);
    /* The console has ended (exit code 0). */
    bool WaitConsoleEnded(DWORD dwTimeoutMs = 8000) { return m_desk.Wait(dwTimeoutMs) == 0; }

    /* Joltrun against the manager stand-in. */
    bool StartRuntime();
    std::vector<std::string> Runs() const;
    bool WaitRuns(size_t n, DWORD dwTimeoutMs = 5000) const;

    /* The sheet as screenshots\\joltcfg\\<name>.png next to the test program. */
    std::string Screenshot(const std::string &name) { return tb::Screenshot(Sheet(), "joltcfg", name); }

    std::string m_dir;
    tb::Process m_desk;
    tb::Process m_runtime;
    tb::Manager m_manager;
    HWND m_hPage = NULL;
    HWND m_hwndRuntime = NULL;
};

} // namespace jc

#endif
