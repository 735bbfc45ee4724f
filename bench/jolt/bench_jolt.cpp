/*
 * Joltrun.exe figures, each against a floor measured in the same run:
 *  - switch application (action 2): from posting the notification to the
 *    injected Esc reaching this program's foreground window, against a bare
 *    cross-process message round trip plus this program's own SendInput of
 *    the same four keys;
 *  - run a program (action 3): from posting the notification to the started
 *    program signalling its event, against the round trip plus this
 *    program's own ShellExecuteA of the same program;
 *  - idle cost: CPU time of Joltrun over a quiet period (default 60 s;
 *    bench_jolt.exe SECONDS to change it).
 */
#include "testbench/testbench.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"
#include <shellapi.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
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

double CpuMs(HANDLE hProcess)
{
    FILETIME ftCreate, ftExit, ftKernel, ftUser;
    if (!GetProcessTimes(hProcess, &ftCreate, &ftExit, &ftKernel, &ftUser))
        return -1;
    ULARGE_INTEGER k, u;
    k.LowPart = ftKernel.dwLowDateTime;
    k.HighPart = ftKernel.dwHighDateTime;
    u.LowPart = ftUser.dwLowDateTime;
    u.HighPart = ftUser.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

} // namespace

int main(int argc, char **argv)
{
    int nIdleSeconds = argc > 1 ? atoi(argv[1]) : 60;
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

    const int nKeyRuns = 200, nLaunchRuns = 30;
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
    printf("samples: keys %u/%d, launches %u/%d\n", (unsigned)joltKeys.size(), nKeyRuns,
           (unsigned)joltLaunch.size(), nLaunchRuns);
    printf("bare cross-process round trip: median %.3f ms  p99 %.3f ms\n", sRtt.dMedian, sRtt.dP99);
    PrintRow("switch application (2)", Summarise(joltKeys), Summarise(add(localKeys, sRtt.dMedian)));
    PrintRow("run a program (3)", Summarise(joltLaunch), Summarise(add(localLaunch, sRtt.dMedian)));

    /* Idle cost: nothing is sent for the whole period. */
    double dBefore = CpuMs(runtime.Handle());
    HANDLE hSelf = GetCurrentProcess();
    FILETIME a, b, k0, u0, k1, u1;
    GetThreadTimes(GetCurrentThread(), &a, &b, &k0, &u0);
    Sleep((DWORD)nIdleSeconds * 1000);
    GetThreadTimes(GetCurrentThread(), &a, &b, &k1, &u1);
    double dAfter = CpuMs(runtime.Handle());
    (void)hSelf;
    auto ft = [](const FILETIME &f) { return ((ULONGLONG)f.dwHighDateTime << 32 | f.dwLowDateTime) / 10000.0; };
    double dFloor = (ft(k1) + ft(u1)) - (ft(k0) + ft(u0));
    double dIdle = dAfter - dBefore;
    printf("idle cost over %d s: Joltrun %.1f ms CPU; floor (a sleeping thread) %.1f ms; "
           "ratio %s\n", nIdleSeconds, dIdle, dFloor,
           dFloor > 0 ? (std::to_string(dIdle / dFloor)).c_str() : (dIdle <= 0 ? "0 (both zero)" : "n/a (floor zero)"));

    PostMessageA(hwndJolt, WM_CLOSE, 0, 0);
    runtime.Wait(5000);
    DestroyWindow(hwndKeys);
    CloseHandle(hEvent);
    tb::ResetRegistry();
    return 0;
}
