/*
 * Joltrun.exe figures, each against a floor measured in the same run:
 *  - switch application (action 2): from posting the notification to the
 *    injected Esc reaching this program's foreground window, against a bare
 *    cross-process message round trip plus this program's own SendInput of
 *    the same four keys;
 *  - run a program (action 3): from posting the notification to the started
 *    program signalling its event, against the round trip plus this
 *    program's own ShellExecuteA of the same program;
 *  - idle cost: CPU time of Joltrun over a quiet period, against an idle
 *    GUI process beside it;
 *  - automatic screen rotation on, the computer lying flat: CPU time of
 *    Joltrun sampling the tilt, against a process beside it that makes the
 *    same two bare GetAngle calls a second (goal at most 1.2 times).
 * Arguments: seconds of each CPU run (default 60); "cpu" leaves out the
 * latencies. The CPU time is the host's count for each process.
 */
#include "testbench/testbench.h"
#include "testbench/hostcpu.h"
#include "testbench/jolt_defaults.h"
#include "testbench/manager.h"
#include "common/regpaths.h"
#include "gravmon/gravmon.h"
#include "jolt/joltstore.h"
#include <shellapi.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

LARGE_INTEGER g_freq;
volatile LONGLONG g_llEscAt;

double Ms(LONGLONG llTicks)
{
    return (double)llTicks * 1000.0 / (double)g_freq.QuadPart;
}

LONGLONG Now()
{
    LARGE_INTEGER li;
    QueryPerformanceCounter(&li);
    return li.QuadPart;
}

LRESULT CALLBACK KeyProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (wParam == VK_ESCAPE && !g_llEscAt)
            g_llEscAt = Now();
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

struct Stats {
    double dMedian, dP99;
};

Stats Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    Stats s = { 0, 0 };
    if (v.empty())
        return s;
    s.dMedian = v[v.size() / 2];
    s.dP99 = v[std::min(v.size() - 1, (size_t)(v.size() * 0.99))];
    return s;
}

bool WaitEsc(DWORD dwTimeoutMs)
{
    return tb::WaitFor([] { return g_llEscAt != 0; }, dwTimeoutMs);
}

void SendAltEsc()
{
    INPUT ai[4] = {};
    const WORD awVk[4] = { VK_MENU, VK_ESCAPE, VK_ESCAPE, VK_MENU };
    for (int i = 0; i < 4; i++) {
        ai[i].type = INPUT_KEYBOARD;
        ai[i].ki.wVk = awVk[i];
        ai[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        ai[i].ki.dwExtraInfo = (ULONG_PTR)GetMessageExtraInfo();
    }
    SendInput(4, ai, sizeof(INPUT));
}

void PrintRow(const char *pszWhat, const Stats &s, const Stats &floor)
{
    printf("%-28s median %7.2f ms  p99 %7.2f ms | floor median %7.2f ms  p99 %7.2f ms | "
           "ratio median %.2f  p99 %.2f\n",
           pszWhat, s.dMedian, s.dP99, floor.dMedian, floor.dP99,
           floor.dMedian > 0 ? s.dMedian / floor.dMedian : 0.0,
           floor.dP99 > 0 ? s.dP99 / floor.dP99 : 0.0);
}

/* The floor process: a hidden window and nCalls bare GetAngle calls a
 * second (0: none), until it is ended. */
int RunFloor(int nCalls)
{
    HWND hwnd = tb::MakeWindow("bench floor");
    HMODULE hGravmon = LoadLibraryA(tb::BinPath("Gravmon.dll").c_str());
    PFN_GETANGLE pfnGetAngle =
        hGravmon ? (PFN_GETANGLE)(void *)GetProcAddress(hGravmon, GRAVMON_EXPORT_GETANGLE) : NULL;
    if (hwnd == NULL || pfnGetAngle == NULL)
        return 1;
    for (;;) {
        float fX, fY;
        Sleep(nCalls > 0 ? 1000 / nCalls : INFINITE);
        pfnGetAngle(&fX, &fY, hwnd);
    }
}

/* CPU seconds of Joltrun and of a floor process started beside it, over
 * the same nSeconds. */
bool SideBySide(const char *pszFloorArgs, int nSeconds, double *pdJolt, double *pdFloor)
{
    char szSelf[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szSelf, MAX_PATH);
    tb::Process floor;
    if (!floor.Start(szSelf, pszFloorArgs) || !tb::WaitWindow(NULL, "bench floor", 30000, floor.Pid()))
        return false;
    tb::Pump(1000);
    std::string joltPid = tb::FindHostPid("Joltrun.exe");
    std::string floorPid = tb::FindHostPid(std::string("bench_jolt.exe ") + pszFloorArgs);
    double j0 = tb::HostCpuSeconds(joltPid), f0 = tb::HostCpuSeconds(floorPid);
    Sleep((DWORD)nSeconds * 1000);
    double j1 = tb::HostCpuSeconds(joltPid), f1 = tb::HostCpuSeconds(floorPid);
    floor.Kill();
    if (j0 < 0 || f0 < 0 || j1 < 0 || f1 < 0)
        return false;
    *pdJolt = j1 - j0;
    *pdFloor = f1 - f0;
    return true;
}

void PrintCpu(const char *pszWhat, int nSeconds, double dJolt, const char *pszFloor, double dFloor,
              const char *pszGoal)
{
    printf("%s, %d s: Joltrun %.3f ms CPU; floor (%s) %.3f ms; ratio ", pszWhat, nSeconds,
           dJolt * 1000, pszFloor, dFloor * 1000);
    if (dFloor > 0)
        printf("%.2f%s\n", dJolt / dFloor, pszGoal);
    else
        printf("%s\n", dJolt <= 0 ? "0 (both zero)" : "n/a (floor zero)");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && strcmp(argv[1], "/floor") == 0)
        return RunFloor(atoi(argv[2]));
    int nCpuSeconds = argc > 1 ? atoi(argv[1]) : 60;
    bool bLatency = !(argc > 2 && strcmp(argv[2], "cpu") == 0);
    QueryPerformanceFrequency(&g_freq);

    tb::ResetRegistry();
    std::string dir = tb::ScratchDir(true);
    std::string mark = dir + "\\mark.exe";
    if (!CopyFileA(tb::BinPath("Joltmark.exe").c_str(), mark.c_str(), FALSE) ||
        !tb::InstallDefaults(tb::BinPath(""))) {
        printf("set-up failed\n");
        return 1;
    }
    /* Vertical: switch application; horizontal: run the program. Shortest rest. */
    DWORD adw[4] = { 2, 3, 0, 0 };
    tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "JoltSetting", adw, sizeof(adw));
    tb::RegSetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "IdleTime", 1);
    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "HorizontalLaunchPath", mark);

    HANDLE hEvent = CreateEventA(NULL, FALSE, FALSE, "TiltkitJoltmarkEvent");
    tb::Process runtime;
    if (!runtime.Start(tb::BinPath("Joltrun.exe"))) {
        printf("Joltrun.exe did not start\n");
        return 1;
    }
    HWND hwndJolt = tb::WaitWindow("TiltkitJolt Class", "TiltkitJolt", 10000, runtime.Pid());
    UINT uNotify = RegisterWindowMessageA("GravmonNotifyEvent");
    DWORD_PTR dw;
    if (!hwndJolt || !SendMessageTimeoutA(hwndJolt, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dw)) {
        printf("Joltrun.exe has no window\n");
        return 1;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeyProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "BenchJoltKeys";
    RegisterClassA(&wc);
    HWND hwndKeys = CreateWindowA("BenchJoltKeys", "bench keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 200, 100, NULL, NULL, wc.hInstance, NULL);
    SetForegroundWindow(hwndKeys);
    SetFocus(hwndKeys);
    tb::Pump(100);

    const int nKeyRuns = bLatency ? 200 : 0, nLaunchRuns = bLatency ? 30 : 0;
    std::vector<double> rtt, localKeys, joltKeys, localLaunch, joltLaunch;

    for (int i = 0; i < nKeyRuns; i++) {
        LONGLONG t0 = Now();
        SendMessageTimeoutA(hwndJolt, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dw);
        rtt.push_back(Ms(Now() - t0));

        g_llEscAt = 0;
        t0 = Now();
        SendAltEsc();
        if (WaitEsc(2000))
            localKeys.push_back(Ms(g_llEscAt - t0));

        tb::Pump(15); /* the runtime's 1 ms rest is over */
        g_llEscAt = 0;
        t0 = Now();
        PostMessageA(hwndJolt, uNotify, 0x0100, 0);
        if (WaitEsc(2000))
            joltKeys.push_back(Ms(g_llEscAt - t0));
        tb::Pump(15);
    }

    for (int i = 0; i < nLaunchRuns; i++) {
        ResetEvent(hEvent);
        LONGLONG t0 = Now();
        ShellExecuteA(NULL, "open", mark.c_str(), NULL, NULL, SW_SHOWNORMAL);
        if (WaitForSingleObject(hEvent, 10000) == WAIT_OBJECT_0)
            localLaunch.push_back(Ms(Now() - t0));

        Sleep(20);
        ResetEvent(hEvent);
        t0 = Now();
        PostMessageA(hwndJolt, uNotify, 0x0200, 0);
        if (WaitForSingleObject(hEvent, 10000) == WAIT_OBJECT_0)
            joltLaunch.push_back(Ms(Now() - t0));
        Sleep(20);
    }

    Stats sRtt = Summarise(rtt);
    auto add = [](std::vector<double> a, double d) {
        for (double &x : a)
            x += d;
        return a;
    };
    if (bLatency) {
        printf("samples: keys %u/%d, launches %u/%d\n", (unsigned)joltKeys.size(), nKeyRuns,
               (unsigned)joltLaunch.size(), nLaunchRuns);
        printf("bare cross-process round trip: median %.3f ms  p99 %.3f ms\n", sRtt.dMedian, sRtt.dP99);
        PrintRow("switch application (2)", Summarise(joltKeys), Summarise(add(localKeys, sRtt.dMedian)));
        PrintRow("run a program (3)", Summarise(joltLaunch), Summarise(add(localLaunch, sRtt.dMedian)));
    }

    /* Idle cost, automatic rotation off as installed: nothing is sent for
     * the whole period. */
    double dJolt = 0, dFloor = 0;
    if (SideBySide("/floor 0", nCpuSeconds, &dJolt, &dFloor))
        PrintCpu("idle, rotation off", nCpuSeconds, dJolt, "an idle GUI process", dFloor, "");
    else
        printf("idle: process times not readable from the host\n");

    /* Automatic rotation on, lying flat: Joltrun samples twice a second and
     * never turns anything. */
    tb::Manager manager;
    if (!manager.Start() || manager.Command("tilt 0 0") != 1) {
        printf("rotation: the manager stand-in did not start\n");
    } else {
        tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, 1);
        SendMessageTimeoutA(hwndJolt, RegisterWindowMessageA(JOLTRUN_MSG_CONFIGCHANGED), 0, 0,
                            SMTO_NORMAL, 5000, &dw);
        if (SideBySide("/floor 2", nCpuSeconds, &dJolt, &dFloor))
            PrintCpu("rotation on, lying flat", nCpuSeconds, dJolt, "2 bare GetAngle calls a second",
                     dFloor, " (goal <= 1.2)");
        else
            printf("rotation: process times not readable from the host\n");
        manager.Stop();
    }

    PostMessageA(hwndJolt, WM_CLOSE, 0, 0);
    runtime.Wait(5000);
    DestroyWindow(hwndKeys);
    CloseHandle(hEvent);
    tb::ResetRegistry();
    return 0;
}
