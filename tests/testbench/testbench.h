/*
 * Helpers for the tests that run under Wine: the built binaries, child
 * processes tied to the test, windows and message boxes, registry set-up,
 * and the accelerometer manager stand-in.
 */
#ifndef TESTBENCH_H
#define TESTBENCH_H

#include <windows.h>
#include <string>
#include <vector>

namespace tb {

/* Full Windows path of a built binary ("Gravmon.dll"), from TILTKIT_BIN. */
std::string BinPath(const std::string &name);
/* A scratch folder for this test program (created, emptied on request). */
std::string ScratchDir(bool bEmpty = false);

/* Converts between UTF-8 (test sources) and UTF-16 / the ANSI code page. */
std::wstring Wide(const std::string &utf8);
std::string Utf8(const std::wstring &w);
std::string Ansi(const std::string &utf8);   /* UTF-8 -> code page 1251 */
std::wstring FromAnsi(const std::string &ansi);

/* A child process in a kill-on-close job: ends with the test at the latest. */
class Process {
public:
    Process();
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    /* commandLine is ANSI; the working folder defaults to the exe's folder. */
    bool Start(const std::string &exe, const std::string &args = "",
               const std::string &workDir = "");
    bool Running() const;
    /* Waits for the exit; returns the exit code, or -1 on time-out. */
    long Wait(DWORD dwTimeoutMs = 10000);
    void Kill();
    DWORD Pid() const { return m_dwPid; }
    HANDLE Handle() const { return m_hProcess; }

private:
    HANDLE m_hJob;
    HANDLE m_hProcess;
    DWORD m_dwPid;
};

/* Waits for a top-level window; null class or title match any. */
HWND WaitWindow(const char *pszClass, const char *pszTitle, DWORD dwTimeoutMs = 5000,
                DWORD dwPid = 0);
bool WaitWindowGone(HWND hwnd, DWORD dwTimeoutMs = 5000);

/* A message box (a visible #32770 with a static text) shown by a process
 * (0: by any). */
struct MessageBoxInfo {
    HWND hwnd = NULL;
    std::wstring caption;
    std::wstring text;
    bool found() const { return hwnd != NULL; }
};
/* Waits for a box whose caption and text are both set; other dialogs of the
 * process (sheets, wizards) are passed over. */
MessageBoxInfo WaitMessageBox(DWORD dwPid, DWORD dwTimeoutMs = 5000);
/* Counts the message boxes of a process now, filled or not. */
int CountMessageBoxes(DWORD dwPid);
/* Presses a button of the box (IDOK by default) and waits until it is gone. */
bool CloseMessageBox(const MessageBoxInfo &box, int idButton = IDOK);
/* The top-level dialogs (#32770) of a process (0: of any) now, the topmost
 * first, and their count. */
std::vector<HWND> TopDialogs(DWORD dwPid);
int CountDialogs(DWORD dwPid);

/* Registry: the whole "SOFTWARE\Zelvar\Tiltkit" tree of both roots. */
void ResetRegistry();
bool RegSetString(HKEY hRoot, const std::string &key, const std::string &value,
                  const std::string &data);
bool RegSetDword(HKEY hRoot, const std::string &key, const std::string &value, DWORD dw);
bool RegSetBinary(HKEY hRoot, const std::string &key, const std::string &value,
                  const void *pv, DWORD cb);
bool RegGetString(HKEY hRoot, const std::string &key, const std::string &value,
                  std::string *pData);
bool RegGetDword(HKEY hRoot, const std::string &key, const std::string &value, DWORD *pdw);
bool RegGetBinary(HKEY hRoot, const std::string &key, const std::string &value,
                  std::vector<BYTE> *pData);
bool RegDeleteVal(HKEY hRoot, const std::string &key, const std::string &value);
bool RegKeyExists(HKEY hRoot, const std::string &key);
bool RegDeleteTree(HKEY hRoot, const std::string &key);
/* HKLM "...\Gravmon" "PATH" pointing at the built Gravmon.dll (or another path). */
void RegisterGravmon(const std::string &path = "");

/* Pumps this thread's messages for a while (windows owned by the test). */
void Pump(DWORD dwMs);
/* Polls pred every few ms until it holds or the time is up. */
template <class F> bool WaitFor(F pred, DWORD dwTimeoutMs = 5000)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        if (pred())
            return true;
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Pump(5);
    }
}

/* A hidden top-level window of the test's own, for calls that need one. */
HWND MakeWindow(const char *pszTitle = "testbench window");

} // namespace tb

#endif
