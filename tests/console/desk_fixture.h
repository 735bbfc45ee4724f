/*
 * Tiltdesk.exe end to end: page plug-ins made from copies of the test page
 * library (standins/testpages) in the scratch folder, each configured and
 * logging under HKCU "...\TestPages\<copy name>", registered under HKLM
 * "...\Property\<key>"; the console process, its sheet, its tabs and pages
 * read from outside, its message boxes, and screenshots.
 */
#ifndef TESTS_CONSOLE_DESK_FIXTURE_H
#define TESTS_CONSOLE_DESK_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/pagedriver.h"
#include "testbench/capture.h"

#include <string>
#include <vector>

namespace dt {

/* Russian texts of the console, UTF-8. */
extern const char *const kCaption;        /* 1 and 2 */
extern const char *const kNoPluginData;   /* 3 */
extern const char *const kPluginLoad;     /* 4, %s */
extern const char *const kPluginInfo;     /* 5, %s */
extern const char *const kNoMemory;       /* 6 */
extern const char *const kPluginPage;     /* 7, %s */
extern const char *const kBadArgument;    /* 8 */
extern const char *const kBadPage;        /* 10 */
extern const char *const kTooManyPages;   /* 11 */

/* A text with %s replaced by an argument, UTF-16. */
std::wstring With(const char *pszFormatUtf8, const std::string &argUtf8);

/* Sheet control ids and the size of the band. */
const int kIdTabControl = 0x3020;
const int kIdApplyNow = 0x3021;
const int kBandHeight = 28;

struct Plugin {
    std::string copy;        /* file name without extension, also its config key */
    int pages = 1;
    std::string title;       /* UTF-8; page k is "<title> <k>" */
    int nullPage = -1;
    std::string variant = "Testpage.dll";
};

class DeskTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /* Copies the library, writes its configuration and registers it. */
    std::string Add(const std::string &key, const std::string &nameUtf8, const Plugin &p);
    /* Registers an entry pointing at any library path. */
    void Register(const std::string &key, const std::string &nameUtf8, const std::string &dll);
    /* What a copy logged so far, for example "A N D A C0 I0 R0 D". */
    std::string Log(const std::string &copy) const;
    void ClearLog(const std::string &copy);

    /* Starts the console (args is the command-line tail). */
    bool Start(const std::string &args = "");
    /* The console's sheet, once shown. */
    HWND WaitSheet(DWORD dwTimeoutMs = 10000);
    /* Expects exactly one error box with the console's caption and this text,
     * closes it and expects the console to end with exit code 0 and no sheet. */
    void ExpectOnlyBox(const std::wstring &text, int line);
    /* Closes the sheet with a posted button press and waits for the exit. */
    long CloseSheet(HWND hwndSheet, int nButton);

    tb::Process m_desk;
    std::string m_scratch;
};

/* Reading a sheet of another process. */
std::vector<std::wstring> TabTexts(HANDLE hProcess, HWND hwndSheet);
int CurrentTab(HWND hwndSheet);
std::wstring CurrentPageTitle(HWND hwndSheet);
inline std::wstring WindowText(HWND hwnd) { return tb::Text(hwnd); }

/* Saves the screen area of a window as PNG in screenshots\console next to
 * the test program; returns the Windows path. */
inline std::string Screenshot(HWND hwnd, const std::string &name)
{
    return tb::Screenshot(hwnd, "console", name);
}

} // namespace dt

#endif
