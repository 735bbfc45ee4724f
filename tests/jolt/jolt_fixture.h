/*
 * Joltrun.exe end to end: the installed defaults with the test's own Jolt
 * values, two copies of the test program Joltmark ("vert.exe" for the
 * vertical launch path, "horz.exe" for the horizontal one) whose runs are
 * read back from their log, the runtime process and its window, and a
 * foreground window of the test that records the keys it receives.
 */
#ifndef TESTS_JOLT_FIXTURE_H
#define TESTS_JOLT_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"

#include <functional>
#include <string>
#include <vector>

namespace jt {

/* Direction codes as the manager sends them (direction byte in bits 8-15). */
const WORD kVertical = 0x0100;
const WORD kHorizontal = 0x0200;

struct JoltValues {
    DWORD dwVAction = 3, dwHAction = 3, dwVSound = 0, dwHSound = 0;
    DWORD dwIdle = 300;
    std::string vLaunch = "vert", hLaunch = "horz"; /* names of the test program copies */
    std::string vSound = "C:\\v.wav", hSound = "C:\\h.wav";
};

/* One key seen by the recording window. */
struct KeyEvent {
    UINT uMsg;
    WPARAM vk;
    DWORD dwTime;
};

class JoltrunTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /* Writes the Jolt values into the machine key (HKCU: bUser). */
    void WriteValues(const JoltValues &v, bool bUser = false);
    /* The Windows path of a program copy in the scratch folder ("vert" -> ...\vert.exe). */
    std::string Program(const std::string &name) const;
    /* Starts Joltrun.exe and waits for its window. */
    bool StartRuntime();
    /* Sends a notification and waits until the runtime has handled it. */
    bool Notify(WORD wCode);
    /* Posts a notification (for handlers that show a box). */
    void PostNotify(WORD wCode);
    /* Posts "JoltConfigChangedNotify" and waits until it is handled. */
    bool Reload();

    /* The program copies that ran, in order ("vert.exe", ...). */
    std::vector<std::string> Runs() const;
    bool WaitRuns(size_t n, DWORD dwTimeoutMs = 5000) const;
    /*
     * Sends with send() until count() grows, again after each dwRetryMs
     * without growth: notifications that arrive while the runtime is not
     * armed are dropped, so this waits for the idle timer to re-arm it. A
     * retry period shorter than a program start may act twice. The
     * milliseconds it took, or -1.
     */
    long RepeatUntil(const std::function<void()> &send, const std::function<size_t()> &count,
                     DWORD dwRetryMs, DWORD dwTimeoutMs = 5000);
    /* The horizontal probe, until one more horizontal run appears. */
    long ProbeUntilArmed(DWORD dwTimeoutMs = 5000);
    /* A notification sent until the re-armed runtime acts on it (a retry
     * only after a second without a run). */
    bool NotifyWhenArmed(WORD wCode);
    size_t HorizontalRuns() const;

    /* A foreground window of the test that records Alt and Esc keys. */
    HWND MakeKeyWindow();
    std::vector<KeyEvent> Keys() const;

    std::string m_dir;
    tb::Process m_runtime;
    HWND m_hwnd = NULL;
    UINT m_uMsgNotify = 0;
    UINT m_uMsgConfig = 0;
    HWND m_hwndKeys = NULL;
};

} // namespace jt

#endif
