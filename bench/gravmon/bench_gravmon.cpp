/*
 * Per-call cost of every Gravmon export against the manager stand-in,
 * divided by a floor measured in the same run: the same named-object opens,
 * samples, mutex waits and closes and the same open/map/unmap/close of the
 * block, done by hand without the library. Floor and call are measured in
 * short alternating blocks, so that drift of a busy machine hits both; the
 * figure is the median of the per-block ratios.
 */
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <functional>
#include <vector>

#include "gravmon/ManagerChannel.h"
#include "gravmon/gravmon.h"
#include "testbench/manager.h"
#include "testbench/testbench.h"

namespace {

const int BLOCKS = 41;
const int CALLS_PER_BLOCK = 30;
const UINT g_uMsgUpdateRawData = RegisterWindowMessageA(GRAVMON_MSG_UPDATERAWDATA);
volatile LONG g_lSink;

double NowUs()
{
    static LARGE_INTEGER s_freq;
    LARGE_INTEGER now;
    if (!s_freq.QuadPart)
        QueryPerformanceFrequency(&s_freq);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1e6 / (double)s_freq.QuadPart;
}

/* The bare work of the channel, step by step. */
void SampleEvent(const char *pszName)
{
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, pszName);
    if (h) {
        g_lSink += WaitForSingleObject(h, 0);
        CloseHandle(h);
    }
}

void LockUnlock()
{
    HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, GRAVMON_ACCESSMUTEX);
    if (h) {
        WaitForSingleObject(h, GRAVMON_MUTEX_TIMEOUT);
        ReleaseMutex(h);
        CloseHandle(h);
    }
}

/* One accessor: optional validity sample, the allow sample, the mutex. */
void Accessor(bool bValidity)
{
    if (bValidity)
        SampleEvent(GRAVMON_VALIDEVENT);
    SampleEvent(GRAVMON_ALLOWEVENT);
    LockUnlock();
}

template <class F> void WithMapping(bool bReadOnly, F body)
{
    DWORD dwAccess = bReadOnly ? FILE_MAP_READ : FILE_MAP_WRITE;
    HANDLE hMapping = OpenFileMappingA(dwAccess, FALSE, GRAVMON_SHAREMEMORY);
    void *pv = hMapping ? MapViewOfFile(hMapping, dwAccess, 0, 0, 0) : NULL;
    body();
    if (pv)
        UnmapViewOfFile(pv);
    if (hMapping)
        CloseHandle(hMapping);
}

void FloorReadPair(HWND hwnd)
{
    g_lSink += IsWindow(hwnd);
    WithMapping(true, [] {
        Accessor(false);   /* ReadActive */
        Accessor(false);   /* ReadMonopolyWindow */
        Accessor(true);    /* ReadAngle / ReadAcceleration */
    });
}

void FloorImmediate()
{
    WithMapping(true, [] {
        Accessor(false);
        HWND hwndManager = FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
        if (hwndManager)
            SendMessageA(hwndManager, g_uMsgUpdateRawData, 0, 0);
        Accessor(false);
    });
}

void FloorZeroBase()
{
    WithMapping(true, [] {
        Accessor(false);
        Accessor(true);
    });
}

void FloorSetZeroBase()
{
    WithMapping(false, [] {
        Accessor(false);
        Accessor(false);
        HANDLE h = OpenEventA(EVENT_MODIFY_STATE, FALSE, GRAVMON_UPDATEDEVENT);
        if (h) {
            ResetEvent(h);
            CloseHandle(h);
        }
    });
}

void FloorMonopolyCall(HWND hwnd)
{
    g_lSink += IsWindow(hwnd);
    WithMapping(false, [] {
        Accessor(false);   /* ReadActive */
        Accessor(false);   /* ReadMonopolyWindow */
        Accessor(false);   /* WriteMonopolyWindow */
    });
}

double BlockUs(const std::function<void()> &fn)
{
    double dStart = NowUs();
    for (int i = 0; i < CALLS_PER_BLOCK; i++)
        fn();
    return (NowUs() - dStart) / CALLS_PER_BLOCK;
}

struct Row {
    const char *pszName;
    std::function<void()> call;
    std::function<void()> floor;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class T> T Bind(HMODULE h, const char *pszName)
{
    return (T)(void (*)(void))GetProcAddress(h, pszName);
}

} // namespace

int main()
{
    tb::ResetRegistry();
    tb::Manager manager;
    if (!manager.Start()) {
        printf("bench_gravmon: the manager stand-in did not start\n");
        return 1;
    }
    HMODULE hLib = LoadLibraryA(tb::BinPath("Gravmon.dll").c_str());
    if (!hLib) {
        printf("bench_gravmon: Gravmon.dll not found\n");
        return 1;
    }
    auto pfnGetAcceleration = Bind<PFN_GETACCELERATION>(hLib, "GetAcceleration");
    auto pfnGetAngle = Bind<PFN_GETANGLE>(hLib, "GetAngle");
    auto pfnGetImmediate = Bind<PFN_GETIMMEDIATE>(hLib, "GetImmediate");
    auto pfnGetZeroBase = Bind<PFN_GETZEROBASE>(hLib, "GetZeroBase");
    auto pfnSetZeroBase = Bind<PFN_SETZEROBASE>(hLib, "SetZeroBase");
    auto pfnMonopolize = Bind<PFN_MONOPOLIZE>(hLib, "Monopolize");
    auto pfnUnmonopolize = Bind<PFN_UNMONOPOLIZE>(hLib, "Unmonopolize");
    HWND hwnd = tb::MakeWindow("bench gravmon");
    manager.Command("tilt 12 -7");

    float fX, fY;
    WORD w[4];
    bool bAllOk = true;
    auto check = [&](LONG r) { if (r != 0) bAllOk = false; };
    std::vector<Row> rows = {
        { "GetAngle", [&] { check(pfnGetAngle(&fX, &fY, hwnd)); }, [&] { FloorReadPair(hwnd); } },
        { "GetAcceleration", [&] { check(pfnGetAcceleration(&fX, &fY, hwnd)); },
          [&] { FloorReadPair(hwnd); } },
        { "GetImmediate", [&] { check(pfnGetImmediate(&w[0], &w[1])); }, [] { FloorImmediate(); } },
        { "GetZeroBase", [&] { check(pfnGetZeroBase(&w[0], &w[1], &w[2], &w[3])); },
          [] { FloorZeroBase(); } },
        { "SetZeroBase", [&] { check(pfnSetZeroBase(512, 512, 614, 614)); }, [] { FloorSetZeroBase(); } },
        { "Monopolize+Unmonopolize", [&] { check(pfnMonopolize(hwnd)); check(pfnUnmonopolize(hwnd)); },
          [&] { FloorMonopolyCall(hwnd); FloorMonopolyCall(hwnd); } },
    };

    printf("%-26s %12s %12s %8s\n", "export", "call (us)", "floor (us)", "ratio");
    double dAngleRatio = 0;
    for (const Row &row : rows) {
        std::vector<double> calls, floors, ratios;
        BlockUs(row.call);   /* warm up */
        BlockUs(row.floor);
        for (int b = 0; b < BLOCKS; b++) {
            floors.push_back(BlockUs(row.floor));
            calls.push_back(BlockUs(row.call));
            ratios.push_back(calls.back() / floors.back());
        }
        double dCall = Median(calls), dFloor = Median(floors);
        double dRatio = Median(ratios);
        if (row.pszName == rows[0].pszName)
            dAngleRatio = dRatio;
        printf("%-26s %12.1f %12.1f %7.2fx\n", row.pszName, dCall, dFloor, dRatio);
    }
    printf("GetAngle goal: at most 1.25x of its floor: %s (%.2fx)\n",
           dAngleRatio <= 1.25 ? "met" : "NOT met", dAngleRatio);
    if (!bAllOk)
        printf("note: some calls did not return 0\n");
    DestroyWindow(hwnd);
    FreeLibrary(hLib);
    manager.Stop();
    return bAllOk ? 0 : 1;
}
