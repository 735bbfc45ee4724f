/*
 * Helpers of the Tiltfeed tests and benchmarks: items in the registry, the
 * test application Feedtarget.exe and its input log, and Feedrun itself.
 */
#ifndef TESTBENCH_TILTFEED_TARGET_H
#define TESTBENCH_TILTFEED_TARGET_H

#include "testbench/testbench.h"
#include <string>
#include <vector>

namespace tb {

std::string TiltfeedItemKey(const std::string &item);
/* Writes the five values of an item; path is the target's executable. */
void WriteTiltfeedItem(const std::string &item, const std::string &path, DWORD dwType,
                       DWORD dwMouseRate = 100, DWORD dwCursorKeyRate = 10);

/* The log Feedtarget.exe appends to; a fresh, empty file per object. */
class TargetLog {
public:
    struct Event {
        LONGLONG qpc;
        std::string text;
    };
    explicit TargetLog(const std::string &name);
    const std::string &Path() const { return m_path; }
    std::vector<Event> Events() const;
    /* Texts of the events whose text starts with prefix, the prefix cut off. */
    std::vector<std::string> With(const std::string &prefix) const;
    size_t Count(const std::string &prefix) const { return With(prefix).size(); }
    bool Has(const std::string &prefix) const { return Count(prefix) > 0; }

private:
    std::string m_path;
};

/* Names the log (and optional exit or busy time) in this process's
 * environment; Feedrun and the target it starts inherit it. */
void SetTargetEnvironment(const TargetLog *pLog, DWORD dwExitMs = 0, DWORD dwBusyMs = 0);

/* Windows of the started programs. */
HWND WaitTargetWindow(DWORD dwTimeoutMs = 10000);
HWND WaitFeedrunWindow(DWORD dwPid, DWORD dwTimeoutMs = 10000);
DWORD WindowPid(HWND hwnd);
/* Ends every Feedtarget.exe still running (end of a test). */
void KillTargets();
/* Makes a window of this or another process the foreground window. */
bool BringToFront(HWND hwnd);

/* Feedrun.exe started with an item name as its whole tail. */
bool StartFeedrun(Process &proc, const std::string &item);

/* Feedturn.exe (beside the test programs): Feedrun's own code, with the
 * screen's orientation (DMDO_*) taken from HKCU kTurnedScreenKey value
 * kTurnedScreenValue whenever it asks, as Wine's display cannot be turned.
 * Started like Feedrun. */
extern const char kTurnedScreenKey[];
extern const char kTurnedScreenValue[];
bool StartFeedturn(Process &proc, const std::string &item);

} // namespace tb

#endif
