/*
 * The accelerometer manager stand-in, started and driven by a test.
 */
#ifndef TESTBENCH_MANAGER_H
#define TESTBENCH_MANAGER_H

#include "testbench/testbench.h"

namespace tb {

/* One command of the control channel to the manager window hwnd (NULL: the
 * running manager's window); GRAVMGR_RESULT_ERROR when it cannot be sent. */
LRESULT ManagerCommand(HWND hwnd, const std::string &cmd, DWORD dwTimeoutMs = 10000);

/* A line of a tour program's commentary: seconds since the first line, then
 * the text, flushed at once. */
void Say(const char *pszFormat, ...) __attribute__((format(printf, 1, 2)));

class Manager {
public:
    ~Manager() { Stop(); }
    /* Starts Gravmgr.exe hidden with extra arguments and waits for its window. */
    bool Start(const std::string &args = "");
    /* Sends WM_CLOSE and waits for the process to end (kills it after 5 s). */
    void Stop();
    /* One command of the control channel; returns its result. */
    LRESULT Command(const std::string &cmd);
    HWND Window() const { return m_hwnd; }
    Process &Proc() { return m_proc; }

private:
    Process m_proc;
    HWND m_hwnd = NULL;
};

} // namespace tb

#endif
