/*
 * What the resident programs cost, and whether anything grows while they
 * run. Every figure is read from outside the process (procfigures.h).
 *
 * Resident cost, each against the floor measured in the same run
 * (Benchfloor.exe: a hidden window and a message loop, built as the
 * deliverables are): private bytes, working set, handles, GDI and USER
 * objects of Joltrun idle as installed, Feedrun serving an application in
 * front, and Lockwatch armed (its own code in Benchguard.exe, the lock
 * taken as granted because Wine cannot lock).
 *
 * Soaks, each after a warm-up, growth from the end of the warm-up to the end:
 *  - Joltrun: quick-tilt notifications (vertical: switch application with a
 *    sound, the shortest rest; horizontal: nothing) and settings
 *    notifications, each after a change of the stored values that sets or
 *    clears the quiet time (so its input watch comes and goes);
 *  - Feedrun: ticks in mouse mode, then in a new run in key mode, the
 *    application coming to the front and leaving meanwhile;
 *  - Lockwatch: alarm / resume / unlock cycles in one Benchguard.exe;
 *  - Tiltdesk: the console opened with its four pages, each page shown, and
 *    closed, again and again in one Benchdesk.exe (Tiltdesk's own code).
 * Goal: no growth in handles, GDI and USER objects, at most 64 KB in
 * private bytes. A leak, or a soak that cannot run, fails the benchmark.
 *
 * Argument "short": a tenth of each count, for trying the benchmark out.
 */
#include "procfigures.h"
#include "residentcalc.h"
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "testbench/jolt_defaults.h"
#include "testbench/tiltfeed_target.h"
#include "hwgate_standin.h"
#include "common/regpaths.h"
#include "jolt/joltstore.h"
#include "motionlock/lockwatch.h"
#include "tiltfeed/feedrun.h"
#include <commctrl.h>
#include <prsht.h>
#include <algorithm>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const uint64_t kPrivateGrowthLimit = 64 * 1024;
const DWORD kResidentSettleMs = 2000;   /* before a resident figure */
const DWORD kSoakSettleMs = 500;        /* before each soak measurement */
const DWORD kArmMs = 350;               /* the guard's first readings after the lock */
const DWORD kSendTimeoutMs = 10000;
const double kPrivateGoal = 1.5;
const char kItem[] = "Tiltfeed + Resident";
const char kGuardEvent[] = "TiltkitBenchguardNext";
const char kDeskEvent[] = "TiltkitBenchdeskNext";

struct Counts {
    int nTilts, nSettings;          /* Joltrun */
    int nTicks, nFronts;            /* Feedrun, per mode */
    int nGuardRuns;                 /* Lockwatch */
    int nConsoles;                  /* Tiltdesk */
};

const Counts kSoak = { 20000, 200, 6000, 100, 100, 50 };
const Counts kWarmUp = { 1000, 10, 300, 5, 3, 3 };

struct Resident {
    const char *pszName;
    RESFIGURES f;
    bool bHave;
};

struct Soak {
    std::string name, work;
    RESFIGURES before, after;
    bool bRan;
    std::string trouble;
};

Counts Scaled(const Counts &c, int nDivisor)
{
    Counts s = c;
    if (nDivisor > 1) {
        s.nTilts = std::max(1, c.nTilts / nDivisor);
        s.nSettings = std::max(1, c.nSettings / nDivisor);
        s.nTicks = std::max(1, c.nTicks / nDivisor);
        s.nFronts = std::max(1, c.nFronts / nDivisor);
        s.nGuardRuns = std::max(1, c.nGuardRuns / nDivisor);
        s.nConsoles = std::max(1, c.nConsoles / nDivisor);
    }
    return s;
}

bool Send(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR dwResult;
    return SendMessageTimeoutA(hwnd, uMsg, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &dwResult) != 0;
}

/* The host's load average (Wine maps the host's file system to Z:). */
std::string HostLoad()
{
    HANDLE h = CreateFileA("Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    char sz[128] = "";
    DWORD cb = 0;
    if (h == INVALID_HANDLE_VALUE)
        return "not known";
    ReadFile(h, sz, sizeof(sz) - 1, &cb, NULL);
    CloseHandle(h);
    sz[cb] = '\0';
    std::string s(sz);
    size_t pos = 0;
    for (int i = 0; i < 3 && pos != std::string::npos; i++)
        pos = s.find(' ', pos + 1);
    return pos == std::string::npos ? s : s.substr(0, pos);
}

/* ---- Joltrun ------------------------------------------------------------ */

bool JoltSettingsChanged(HWND hwnd, UINT uConfig, int i)
{
    /* Every other change sets a quiet time: the input watch comes and goes. */
    tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_QUIETTIME, (i & 1) ? 20 : 0);
    return Send(hwnd, uConfig, 0, 0) && IsWindow(hwnd);
}

/* Tilts alternate vertical (acted on unless resting) and horizontal
 * (nothing to do); the settings changes are spread among them. */
bool JoltTilts(HWND hwnd, int nTilts, int nSettings)
{
    UINT uNotify = RegisterWindowMessageA(GRAVMON_MSG_NOTIFYEVENT);
    UINT uConfig = RegisterWindowMessageA("JoltConfigChangedNotify");
    int nEvery = nSettings > 0 ? std::max(1, nTilts / nSettings) : nTilts + 1;
    int nChanged = 0;

    for (int i = 0; i < nTilts; i++) {
        if (!Send(hwnd, uNotify, (i & 1) ? 0x0201 : 0x0101, 0))
            return false;
        /* Now and then the rest of a millisecond is over before the next one. */
        if (i % 20 == 19)
            tb::Pump(12);
        if (i % nEvery == nEvery - 1 && nChanged < nSettings) {
            if (!JoltSettingsChanged(hwnd, uConfig, nChanged))
                return false;
            nChanged++;
        }
    }
    return true;
}

void RunJolt(const Counts &soak, const Counts &warm, Resident *pIdle, Soak *pSoak)
{
    pSoak->name = "Joltrun";
    pSoak->work = std::to_string(soak.nTilts) + " quick tilts, " + std::to_string(soak.nSettings) +
                  " settings notifications";
    tb::Process jolt;
    if (!jolt.Start(tb::BinPath("Joltrun.exe"))) {
        pSoak->trouble = "Joltrun.exe did not start";
        return;
    }
    HWND hwnd = tb::WaitWindow("TiltkitJolt Class", "TiltkitJolt", 10000, jolt.Pid());
    if (!hwnd || !Send(hwnd, WM_NULL, 0, 0)) {
        pSoak->trouble = "Joltrun.exe has no window";
        return;
    }
    pIdle->bHave = MeasureSettled(jolt.Handle(), jolt.Pid(), kResidentSettleMs, &pIdle->f);

    /* Vertical: switch application and play a sound (a file that is not
     * there: the call is made, nothing is heard); horizontal: nothing. */
    DWORD adwSetting[4] = { 2, 0, 1, 0 };
    tb::RegSetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_SETTING, adwSetting, sizeof(adwSetting));
    tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_IDLETIME, 1);
    tb::RegSetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_VSOUNDPATH,
                     tb::ScratchDir() + "\\absent.wav");

    if (!JoltSettingsChanged(hwnd, RegisterWindowMessageA("JoltConfigChangedNotify"), 0) ||
        !JoltTilts(hwnd, warm.nTilts, warm.nSettings) ||
        !MeasureSteady(jolt.Handle(), jolt.Pid(), kSoakSettleMs, &pSoak->before) ||
        !JoltTilts(hwnd, soak.nTilts, soak.nSettings) ||
        !MeasureSettled(jolt.Handle(), jolt.Pid(), kSoakSettleMs, &pSoak->after)) {
        pSoak->trouble = "Joltrun stopped answering";
        return;
    }
    pSoak->bRan = true;
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    jolt.Wait(5000);
}

/* ---- Feedrun ------------------------------------------------------------ */

struct Serving {
    tb::Process feedrun;
    HWND hwndFeed = NULL;
    HWND hwndTarget = NULL;
};

bool Serve(Serving &s, DWORD dwType)
{
    tb::KillTargets();
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), dwType, 100, 10);
    tb::SetTargetEnvironment(NULL);
    if (!tb::StartFeedrun(s.feedrun, kItem))
        return false;
    s.hwndFeed = tb::WaitFeedrunWindow(s.feedrun.Pid());
    s.hwndTarget = tb::WaitTargetWindow();
    return s.hwndFeed && s.hwndTarget && tb::BringToFront(s.hwndTarget);
}

void EndServing(Serving &s)
{
    if (s.hwndTarget)
        PostMessageA(s.hwndTarget, WM_CLOSE, 0, 0);
    if (s.feedrun.Wait(10000) < 0)
        s.feedrun.Kill();
    tb::KillTargets();
}

/* Ticks sent as the tick timer sends them; the application leaves the
 * front and comes back nFronts times, evenly spread, and is in front at
 * the end. Returns false when Feedrun stops answering; *pnMissed counts
 * the changes of the front that did not happen. */
bool FeedTicks(const Serving &s, HWND hwndOwn, int nTicks, int nFronts, int *pnMissed)
{
    int nSwitches = 2 * nFronts;
    int nEvery = std::max(1, nTicks / (nSwitches + 1));
    int nDone = 0;

    for (int i = 0; i < nTicks; i++) {
        if (!Send(s.hwndFeed, WM_TIMER, TILTFEED_TIMER_ID, 0))
            return false;
        if (i % nEvery == nEvery - 1 && nDone < nSwitches) {
            bool bTargetNext = (nDone & 1) != 0;
            if (!tb::BringToFront(bTargetNext ? s.hwndTarget : hwndOwn))
                (*pnMissed)++;
            nDone++;
        }
    }
    while (nDone < nSwitches) {
        if (!tb::BringToFront((nDone & 1) ? s.hwndTarget : hwndOwn))
            (*pnMissed)++;
        nDone++;
    }
    return true;
}

void FeedSoak(Serving &s, HWND hwndOwn, const Counts &soak, const Counts &warm, Soak *pSoak)
{
    int nMissed = 0;

    if (!FeedTicks(s, hwndOwn, warm.nTicks, warm.nFronts, &nMissed) ||
        !MeasureSteady(s.feedrun.Handle(), s.feedrun.Pid(), kSoakSettleMs, &pSoak->before) ||
        !FeedTicks(s, hwndOwn, soak.nTicks, soak.nFronts, &nMissed) ||
        !MeasureSettled(s.feedrun.Handle(), s.feedrun.Pid(), kSoakSettleMs, &pSoak->after)) {
        pSoak->trouble = "Feedrun stopped answering";
        return;
    }
    if (nMissed > 0)
        pSoak->work += " (" + std::to_string(nMissed) + " changes of the front did not happen)";
    pSoak->bRan = true;
}

void RunFeed(tb::Manager &manager, HWND hwndOwn, const Counts &soak, const Counts &warm,
             Resident *pServing, Soak *pMouse, Soak *pKeys)
{
    std::string work = std::to_string(soak.nTicks) + " ticks, the application " +
                       std::to_string(soak.nFronts) + " times to the front and away";
    pMouse->name = "Feedrun, mouse";
    pKeys->name = "Feedrun, keys";
    pMouse->work = pKeys->work = work;
    manager.Command("tilt 20 10");

    {
        Serving s;
        if (!Serve(s, 0)) {
            pMouse->trouble = "Feedrun did not serve its application";
        } else {
            pServing->bHave = MeasureSettled(s.feedrun.Handle(), s.feedrun.Pid(), kResidentSettleMs,
                                             &pServing->f);
            FeedSoak(s, hwndOwn, soak, warm, pMouse);
        }
        EndServing(s);
    }
    {
        Serving s;
        if (!Serve(s, 1))
            pKeys->trouble = "Feedrun did not serve its application";
        else
            FeedSoak(s, hwndOwn, soak, warm, pKeys);
        EndServing(s);
    }
    manager.Command("still");
}

/* ---- Lockwatch ---------------------------------------------------------- */

bool AlarmSounded()
{
    for (const HWGATELOGRECORD &r : mltest::HwgateLog()) {
        if (r.dwCode == 0xFF00 && r.dwNumber == 0x5E && r.dwValue != 0)
            return true;
    }
    return false;
}

/* One guard run: locked, armed, moved (the alarm), resumed, unlocked. The
 * armed figures are taken when pArmed is given. */
bool GuardRun(tb::Manager &manager, const tb::Process &host, HANDLE hNext, Resident *pArmed,
              std::string *pTrouble)
{
    SetEvent(hNext);
    HWND hwnd = tb::WaitWindow(LOCKWATCH_CLASS, LOCKWATCH_TITLE, 10000, host.Pid());
    if (!hwnd) {
        *pTrouble = "the guard's window did not come";
        return false;
    }
    if (!tb::WaitFor([&] { return manager.Command("get override") == (LRESULT)(ULONG_PTR)hwnd; },
                     10000)) {
        *pTrouble = "the guard did not take the readings";
        return false;
    }
    tb::Pump(kArmMs);
    if (pArmed)
        pArmed->bHave = MeasureSettled(host.Handle(), host.Pid(), kResidentSettleMs, &pArmed->f);

    tb::RegDeleteVal(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, HWGATE_VAL_LOG);
    manager.Command("move");
    if (!tb::WaitFor(AlarmSounded, 10000)) {
        *pTrouble = "no alarm after a move";
        return false;
    }
    if (!Send(hwnd, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0)) {
        *pTrouble = "the guard did not take the resume";
        return false;
    }
    Send(hwnd, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    if (!tb::WaitWindowGone(hwnd, 10000) ||
        !tb::WaitFor([&] { return manager.Command("get override") == 0; }, 5000)) {
        *pTrouble = "the unlock did not end the guard";
        return false;
    }
    return true;
}

bool GuardRuns(tb::Manager &manager, const tb::Process &host, HANDLE hNext, int nRuns,
               std::string *pTrouble)
{
    for (int i = 0; i < nRuns; i++) {
        if (!GuardRun(manager, host, hNext, NULL, pTrouble))
            return false;
    }
    return true;
}

void RunGuard(tb::Manager &manager, const Counts &soak, const Counts &warm, Resident *pArmed,
              Soak *pSoak)
{
    pSoak->name = "Lockwatch";
    pSoak->work = std::to_string(soak.nGuardRuns) + " alarm / resume / unlock cycles in one process";
    mltest::HwgateReset();
    HANDLE hNext = CreateEventA(NULL, FALSE, FALSE, kGuardEvent);
    tb::Process host;
    if (hNext == NULL ||
        !host.Start(tb::BinPath("Benchguard.exe"), std::to_string(1 + warm.nGuardRuns + soak.nGuardRuns))) {
        pSoak->trouble = "Benchguard.exe did not start";
    } else if (GuardRun(manager, host, hNext, pArmed, &pSoak->trouble) &&
               GuardRuns(manager, host, hNext, warm.nGuardRuns, &pSoak->trouble) &&
               MeasureSteady(host.Handle(), host.Pid(), kSoakSettleMs, &pSoak->before) &&
               GuardRuns(manager, host, hNext, soak.nGuardRuns, &pSoak->trouble) &&
               MeasureSettled(host.Handle(), host.Pid(), kSoakSettleMs, &pSoak->after)) {
        pSoak->bRan = true;
        SetEvent(hNext);   /* measured after the last run: the host may end */
        host.Wait(5000);
    }
    if (hNext)
        CloseHandle(hNext);
    mltest::HwgateReset();
}

/* ---- Tiltdesk ----------------------------------------------------------- */

struct SheetFind {
    DWORD dwPid;
    HWND hwnd;
};

BOOL CALLBACK FindSheetProc(HWND hwnd, LPARAM lParam)
{
    SheetFind *p = (SheetFind *)lParam;
    DWORD dwPid = 0;
    char szClass[32];

    GetWindowThreadProcessId(hwnd, &dwPid);
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    if (dwPid == p->dwPid && lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hwnd) &&
        FindWindowExA(hwnd, NULL, WC_TABCONTROLA, NULL) != NULL) {
        p->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitSheet(DWORD dwPid, DWORD dwTimeoutMs)
{
    SheetFind find = { dwPid, NULL };
    tb::WaitFor([&] {
        EnumWindows(FindSheetProc, (LPARAM)&find);
        return find.hwnd != NULL;
    }, dwTimeoutMs);
    return find.hwnd;
}

/* One console: every page shown once, then Cancel. */
bool ConsoleRun(const tb::Process &host, HANDLE hNext, int *pcPages, std::string *pTrouble)
{
    SetEvent(hNext);
    HWND hwndSheet = WaitSheet(host.Pid(), 20000);
    if (!hwndSheet) {
        tb::MessageBoxInfo box = tb::WaitMessageBox(host.Pid(), 0);
        *pTrouble = box.found() ? "the console said \"" + tb::Utf8(box.text) + "\""
                                : std::string("the console did not open");
        return false;
    }
    DWORD_PTR dwTab = 0, dwCount = 0;
    SendMessageTimeoutA(hwndSheet, PSM_GETTABCONTROL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &dwTab);
    if (dwTab)
        SendMessageTimeoutA((HWND)dwTab, TCM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &dwCount);
    int cPages = (int)dwCount;
    *pcPages = cPages;
    for (int i = 0; i < cPages; i++) {
        Send(hwndSheet, PSM_SETCURSEL, (WPARAM)i, 0);
        tb::Pump(50);
    }
    PostMessageA(hwndSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    if (!tb::WaitWindowGone(hwndSheet, 10000)) {
        *pTrouble = "the console did not close";
        return false;
    }
    return true;
}

bool ConsoleRuns(const tb::Process &host, HANDLE hNext, int nRuns, int *pcPages, std::string *pTrouble)
{
    for (int i = 0; i < nRuns; i++) {
        if (!ConsoleRun(host, hNext, pcPages, pTrouble))
            return false;
    }
    return true;
}

void RunDesk(const Counts &soak, const Counts &warm, Soak *pSoak)
{
    int cPages = 0;

    pSoak->name = "Tiltdesk";
    HANDLE hNext = CreateEventA(NULL, FALSE, FALSE, kDeskEvent);
    tb::Process host;
    if (hNext == NULL ||
        !host.Start(tb::BinPath("Benchdesk.exe"), std::to_string(warm.nConsoles + soak.nConsoles))) {
        pSoak->trouble = "Benchdesk.exe did not start";
    } else if (ConsoleRuns(host, hNext, warm.nConsoles, &cPages, &pSoak->trouble) &&
               MeasureSteady(host.Handle(), host.Pid(), kSoakSettleMs, &pSoak->before) &&
               ConsoleRuns(host, hNext, soak.nConsoles, &cPages, &pSoak->trouble) &&
               MeasureSettled(host.Handle(), host.Pid(), kSoakSettleMs, &pSoak->after)) {
        pSoak->bRan = true;
        SetEvent(hNext);   /* measured after the last run: the host may end */
        host.Wait(5000);
    }
    pSoak->work = "the console opened and closed " + std::to_string(soak.nConsoles) + " times, " +
                  std::to_string(cPages) + " pages shown each time, in one process";
    if (hNext)
        CloseHandle(hNext);
}

/* ---- Report ------------------------------------------------------------- */

std::string Kb(uint64_t cb)
{
    return std::to_string((unsigned long long)((cb + 512) / 1024)) + " KB";
}

std::string Ratio(double dValue, double dFloor)
{
    char sz[32];
    if (dFloor <= 0)
        return "n/a";
    _snprintf(sz, sizeof(sz), "%.2fx", dValue / dFloor);
    sz[sizeof(sz) - 1] = '\0';
    return sz;
}

std::string Count(uint32_t dw)
{
    return dw == RESIDENT_UNKNOWN ? std::string("n/a") : std::to_string((unsigned long)dw);
}

std::string Signed(int64_t ll)
{
    return (ll >= 0 ? "+" : "") + std::to_string((long long)ll);
}

std::string Beyond(uint32_t dw, uint32_t dwFloor)
{
    if (dw == RESIDENT_UNKNOWN || dwFloor == RESIDENT_UNKNOWN)
        return "n/a";
    return Signed((int64_t)dw - (int64_t)dwFloor);
}

void PrintResident(const Resident &floor, const std::vector<Resident> &rows)
{
    printf("\nResident cost, each against the floor measured in this run "
           "(Benchfloor.exe: a hidden window and a message loop)\n");
    printf("%-18s %22s %22s %16s %14s %14s\n", "", "private bytes", "working set", "handles",
           "GDI objects", "USER objects");
    if (!floor.bHave) {
        printf("  the floor could not be measured: no ratios\n");
        return;
    }
    printf("%-18s %22s %22s %16s %14s %14s\n", "floor", Kb(floor.f.cbPrivate).c_str(),
           Kb(floor.f.cbWorkingSet).c_str(), Count(floor.f.dwHandles).c_str(),
           Count(floor.f.dwGdi).c_str(), Count(floor.f.dwUser).c_str());
    for (const Resident &r : rows) {
        if (!r.bHave) {
            printf("%-18s not measured\n", r.pszName);
            continue;
        }
        std::string priv = Kb(r.f.cbPrivate) + " " + Ratio((double)r.f.cbPrivate, (double)floor.f.cbPrivate);
        std::string ws = Kb(r.f.cbWorkingSet) + " " + Ratio((double)r.f.cbWorkingSet, (double)floor.f.cbWorkingSet);
        std::string handles = Count(r.f.dwHandles) + " " + Ratio(r.f.dwHandles, floor.f.dwHandles);
        std::string gdi = Count(r.f.dwGdi) + " " + Beyond(r.f.dwGdi, floor.f.dwGdi);
        std::string user = Count(r.f.dwUser) + " " + Beyond(r.f.dwUser, floor.f.dwUser);
        printf("%-18s %22s %22s %16s %14s %14s\n", r.pszName, priv.c_str(), ws.c_str(),
               handles.c_str(), gdi.c_str(), user.c_str());
    }
    for (const Resident &r : rows) {
        if (!r.bHave)
            continue;
        double dRatio = floor.f.cbPrivate ? (double)r.f.cbPrivate / (double)floor.f.cbPrivate : 0;
        bool bGdiKnown = r.f.dwGdi != RESIDENT_UNKNOWN && floor.f.dwGdi != RESIDENT_UNKNOWN;
        printf("goal %-13s private bytes at most %.1fx the floor: %s (%.2fx); GDI objects beyond "
               "the floor's: %s (%s)\n",
               r.pszName, kPrivateGoal, dRatio <= kPrivateGoal ? "met" : "NOT met", dRatio,
               Beyond(r.f.dwGdi, floor.f.dwGdi).c_str(),
               !bGdiKnown ? "not known" : r.f.dwGdi <= floor.f.dwGdi ? "met" : "NOT met");
    }
    printf("(%s)\n", GuiCountSource().c_str());
}

/* Prints the soak's growth; returns false on a leak or a soak that did not run. */
bool PrintSoak(const Soak &s)
{
    printf("\nSoak %s: %s\n", s.name.c_str(), s.work.c_str());
    if (!s.bRan) {
        printf("*** SOAK FAILED: %s did not run to its end: %s ***\n", s.name.c_str(),
               s.trouble.c_str());
        return false;
    }
    RESGROWTH g;
    unsigned uLeaks = JudgeSoak(&s.before, &s.after, kPrivateGrowthLimit, &g);
    printf("  growth after the warm-up: private bytes %s bytes (%s to %s, limit +64 KB), "
           "handles %s (%s to %s), GDI objects %s (%s to %s), USER objects %s (%s to %s)\n",
           Signed(g.llPrivate).c_str(), Kb(s.before.cbPrivate).c_str(), Kb(s.after.cbPrivate).c_str(),
           Signed(g.llHandles).c_str(), Count(s.before.dwHandles).c_str(), Count(s.after.dwHandles).c_str(),
           Signed(g.llGdi).c_str(), Count(s.before.dwGdi).c_str(), Count(s.after.dwGdi).c_str(),
           Signed(g.llUser).c_str(), Count(s.before.dwUser).c_str(), Count(s.after.dwUser).c_str());
    if (uLeaks == 0) {
        printf("  no growth beyond the goal\n");
        return true;
    }
    static const struct { unsigned u; const char *psz; } s_aNames[] = {
        { RESLEAK_PRIVATE, "private bytes grew by more than 64 KB" },
        { RESLEAK_HANDLES, "handles grew" },
        { RESLEAK_GDI, "GDI objects grew" },
        { RESLEAK_USER, "USER objects grew" },
    };
    for (const auto &n : s_aNames) {
        if (uLeaks & n.u)
            printf("*** LEAK in %s: %s ***\n", s.name.c_str(), n.psz);
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    int nDivisor = argc > 1 && strcmp(argv[1], "short") == 0 ? 10 : 1;
    Counts soak = Scaled(kSoak, nDivisor);
    Counts warm = Scaled(kWarmUp, nDivisor);
    DWORD dwStart = GetTickCount();

    setvbuf(stdout, NULL, _IONBF, 0);
    printf("host load average at the start: %s\n", HostLoad().c_str());
    tb::ResetRegistry();
    mltest::HwgateReset();
    if (!tb::InstallDefaults(tb::BinPath(""))) {
        printf("*** set-up failed: the installation defaults were not written ***\n");
        return 1;
    }
    tb::RegisterGravmon();
    HWND hwndOwn = tb::MakeWindow("resident bench");

    Resident floor = { "floor", {}, false };
    Resident joltIdle = { "Joltrun idle", {}, false };
    Resident feedServing = { "Feedrun serving", {}, false };
    Resident guardArmed = { "Lockwatch armed", {}, false };
    Soak joltSoak = {}, mouseSoak = {}, keySoak = {}, guardSoak = {}, deskSoak = {};

    {
        tb::Process floorProc;
        if (floorProc.Start(tb::BinPath("Benchfloor.exe")) &&
            tb::WaitWindow("TiltkitBenchfloor Class", NULL, 10000, floorProc.Pid()))
            floor.bHave = MeasureSettled(floorProc.Handle(), floorProc.Pid(), kResidentSettleMs, &floor.f);
    }
    printf("floor measured; Joltrun...\n");
    RunJolt(soak, warm, &joltIdle, &joltSoak);

    tb::Manager manager;
    if (!manager.Start()) {
        printf("*** the manager stand-in did not start ***\n");
        return 1;
    }
    printf("Feedrun...\n");
    RunFeed(manager, hwndOwn, soak, warm, &feedServing, &mouseSoak, &keySoak);
    printf("Lockwatch...\n");
    RunGuard(manager, soak, warm, &guardArmed, &guardSoak);
    printf("Tiltdesk...\n");
    /* The Tiltfeed page would make a shortcut for the item left by the
     * Feedrun soaks: the console opens on the items as installed. */
    tb::RegDeleteTree(HKEY_CURRENT_USER, tb::TiltfeedItemKey(kItem));
    RunDesk(soak, warm, &deskSoak);
    manager.Stop();

    PrintResident(floor, { joltIdle, feedServing, guardArmed });
    bool bOk = true;
    for (const Soak *p : { &joltSoak, &mouseSoak, &keySoak, &guardSoak, &deskSoak })
        bOk = PrintSoak(*p) && bOk;

    printf("\nhost load average at the end: %s; %lu s in all\n", HostLoad().c_str(),
           (GetTickCount() - dwStart) / 1000);
    DestroyWindow(hwndOwn);
    tb::KillTargets();
    tb::ResetRegistry();
    if (!bOk) {
        printf("\n*** bench_resident FAILED: a leak or a soak that did not run (above) ***\n");
        return 1;
    }
    printf("\nbench_resident: no leak\n");
    return 0;
}
