#include "procfigures.h"
#include "testbench/testbench.h"
#include <psapi.h>
#include <winternl.h>
#include <algorithm>
#include <vector>

namespace {

typedef LONG(WINAPI *PFN_NTQUERYSYSTEMINFORMATION)(ULONG, PVOID, ULONG, PULONG);
typedef LONG(WINAPI *PFN_NTQUERYINFORMATIONPROCESS)(HANDLE, ULONG, PVOID, ULONG, PULONG);

const ULONG kSystemProcessInformation = 5;
const ULONG kSystemHandleInformation = 16;
const ULONG kProcessBasicInformation = 0;
const LONG kStatusInfoLengthMismatch = (LONG)0xC0000004;
const size_t kProcessListMax = 16u * 1024 * 1024;
#ifdef _WIN64
const DWORD kPebGdiTableOffset = 0xF8;   /* GdiSharedHandleTable in a 64-bit PEB */
#else
const DWORD kPebGdiTableOffset = 0x94;   /* GdiSharedHandleTable in a 32-bit PEB */
#endif
const size_t kGdiChunkEntries = 2048;
const size_t kGdiMaxEntries = 0x10000;

/* Which ways of counting were taken, for the report. */
bool g_bGdiTable = false, g_bWindows = false, g_bProcessList = false, g_bHandleList = false;

FARPROC NtdllProc(const char *pszName)
{
    HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
    return hNtdll ? GetProcAddress(hNtdll, pszName) : NULL;
}

bool MemoryFigures(HANDLE hProcess, RESFIGURES *p)
{
    PROCESS_MEMORY_COUNTERS_EX pmc;

    ZeroMemory(&pmc, sizeof(pmc));
    pmc.cb = sizeof(pmc);
    if (!GetProcessMemoryInfo(hProcess, (PROCESS_MEMORY_COUNTERS *)&pmc, sizeof(pmc)))
        return false;
    p->cbWorkingSet = pmc.WorkingSetSize;
    /* Before XP SP2 the record ends before PrivateUsage. */
    p->cbPrivate = pmc.cb >= sizeof(pmc) && pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return true;
}

/* One of the system's lists, grown until it fits; empty when it cannot be had. */
std::vector<unsigned char> SystemList(ULONG ulClass)
{
    PFN_NTQUERYSYSTEMINFORMATION pfnQuery =
        (PFN_NTQUERYSYSTEMINFORMATION)(void (*)(void))NtdllProc("NtQuerySystemInformation");
    std::vector<unsigned char> list(256 * 1024);

    if (!pfnQuery)
        return std::vector<unsigned char>();
    for (;;) {
        ULONG cbNeeded = 0;
        LONG lStatus = pfnQuery(ulClass, list.data(), (ULONG)list.size(), &cbNeeded);
        if (lStatus == kStatusInfoLengthMismatch && list.size() < kProcessListMax) {
            list.resize(std::max(list.size() * 2, (size_t)cbNeeded + 4096));
            continue;
        }
        if (lStatus < 0)
            return std::vector<unsigned char>();
        if (cbNeeded && cbNeeded <= list.size())
            list.resize(cbNeeded);
        return list;
    }
}

/* Wine reports no handle count of its own; its list of every open handle
 * holds the exact figure (its process list gives the size of the table). */
DWORD HandlesFromHandleList(DWORD dwPid)
{
    std::vector<unsigned char> list = SystemList(kSystemHandleInformation);
    uint32_t dwHandles = 0;

    if (list.empty() || !CountProcessHandles(list.data(), list.size(), dwPid, &dwHandles) ||
        dwHandles == 0)
        return 0;
    g_bHandleList = true;
    return dwHandles;
}

DWORD HandlesFromProcessList(DWORD dwPid)
{
    std::vector<unsigned char> list = SystemList(kSystemProcessInformation);
    uint32_t dwHandles = 0;

    if (list.empty() || !FindProcessHandleCount(list.data(), list.size(), dwPid, &dwHandles))
        return 0;
    g_bProcessList = true;
    return dwHandles;
}

DWORD HandleCount(HANDLE hProcess, DWORD dwPid)
{
    DWORD dwHandles = 0;

    /* A live process always holds handles: 0 is an answer that says nothing. */
    if (GetProcessHandleCount(hProcess, &dwHandles) && dwHandles > 0)
        return dwHandles;
    dwHandles = HandlesFromHandleList(dwPid);
    return dwHandles ? dwHandles : HandlesFromProcessList(dwPid);
}

/* The live non-stock objects of Wine's per-process GDI handle table. */
uint32_t GdiFromTable(HANDLE hProcess)
{
    PFN_NTQUERYINFORMATIONPROCESS pfnQuery =
        (PFN_NTQUERYINFORMATIONPROCESS)(void (*)(void))NtdllProc("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION pbi;
    ULONG_PTR ulTable = 0;
    SIZE_T cbRead = 0;

    ZeroMemory(&pbi, sizeof(pbi));
    if (!pfnQuery || pfnQuery(hProcess, kProcessBasicInformation, &pbi, sizeof(pbi), NULL) < 0 ||
        pbi.PebBaseAddress == NULL)
        return RESIDENT_UNKNOWN;
    if (!ReadProcessMemory(hProcess, (const BYTE *)pbi.PebBaseAddress + kPebGdiTableOffset, &ulTable,
                           sizeof(ulTable), &cbRead) || cbRead != sizeof(ulTable) || ulTable == 0)
        return RESIDENT_UNKNOWN;

    std::vector<unsigned char> chunk(kGdiChunkEntries * GDI_ENTRY_SIZE);
    size_t cLive = 0;
    for (size_t first = 0; first < kGdiMaxEntries; first += kGdiChunkEntries) {
        const BYTE *pbAt = (const BYTE *)ulTable + first * GDI_ENTRY_SIZE;
        int bNeverUsed = 0;
        if (!ReadProcessMemory(hProcess, pbAt, chunk.data(), chunk.size(), &cbRead) ||
            cbRead != chunk.size())
            return RESIDENT_UNKNOWN;
        /* The stock objects sit at fixed places: anything else is not the
         * table this count knows. */
        if (first == 0 && !IsStockGdiEntry(&chunk[GDI_FIRST_STOCK * GDI_ENTRY_SIZE]))
            return RESIDENT_UNKNOWN;
        cLive += CountLiveGdiEntries(chunk.data(), kGdiChunkEntries, &bNeverUsed);
        if (bNeverUsed)
            break;
    }
    g_bGdiTable = true;
    return (uint32_t)cLive;
}

struct WindowCount {
    DWORD dwPid;
    uint32_t n;
};

BOOL CALLBACK CountChildWindow(HWND hwnd, LPARAM lParam)
{
    ((WindowCount *)lParam)->n++;
    return TRUE;
}

void CountWindowAndChildren(HWND hwnd, WindowCount *pCount)
{
    DWORD dwPid = 0;

    GetWindowThreadProcessId(hwnd, &dwPid);
    if (dwPid != pCount->dwPid)
        return;
    pCount->n++;
    EnumChildWindows(hwnd, CountChildWindow, (LPARAM)pCount);
}

BOOL CALLBACK CountTopWindow(HWND hwnd, LPARAM lParam)
{
    CountWindowAndChildren(hwnd, (WindowCount *)lParam);
    return TRUE;
}

uint32_t UserFromWindows(DWORD dwPid)
{
    WindowCount count = { dwPid, 0 };
    HWND hwnd = NULL;

    EnumWindows(CountTopWindow, (LPARAM)&count);
    while ((hwnd = FindWindowExA(HWND_MESSAGE, hwnd, NULL, NULL)) != NULL)
        CountWindowAndChildren(hwnd, &count);
    g_bWindows = true;
    return count.n;
}

/* GetGuiResources, or the stand-in where it is not implemented. */
uint32_t GuiObjects(HANDLE hProcess, DWORD dwPid, DWORD dwKind)
{
    SetLastError(0);
    DWORD dwCount = GetGuiResources(hProcess, dwKind);
    if (dwCount != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return dwCount;
    return dwKind == GR_GDIOBJECTS ? GdiFromTable(hProcess) : UserFromWindows(dwPid);
}

} // namespace

bool MeasureProcess(HANDLE hProcess, DWORD dwPid, RESFIGURES *pFigures)
{
    RESFIGURES f;
    DWORD dwExit = 0;

    /* An ended process has no figures: its zeros would read as no growth. */
    if (!GetExitCodeProcess(hProcess, &dwExit) || dwExit != STILL_ACTIVE)
        return false;
    ZeroMemory(&f, sizeof(f));
    if (!MemoryFigures(hProcess, &f))
        return false;
    f.dwHandles = HandleCount(hProcess, dwPid);
    f.dwGdi = GuiObjects(hProcess, dwPid, GR_GDIOBJECTS);
    f.dwUser = GuiObjects(hProcess, dwPid, GR_USEROBJECTS);
    *pFigures = f;
    return true;
}

bool MeasureSettled(HANDLE hProcess, DWORD dwPid, DWORD dwSettleMs, RESFIGURES *pFigures)
{
    RESFIGURES f;
    uint64_t cbPrivateLeast = (uint64_t)-1;

    tb::Pump(dwSettleMs);
    /* Private bytes: the least of three looks, so that a passing peak (a
     * buffer of the moment) is not taken for the resident size. */
    for (int i = 0; i < 3; i++) {
        if (i > 0)
            tb::Pump(50);
        if (!MeasureProcess(hProcess, dwPid, &f))
            return false;
        cbPrivateLeast = std::min(cbPrivateLeast, f.cbPrivate);
    }
    f.cbPrivate = cbPrivateLeast;
    *pFigures = f;
    return true;
}

bool MeasureSteady(HANDLE hProcess, DWORD dwPid, DWORD dwSettleMs, RESFIGURES *pFigures)
{
    RESFIGURES last, next;

    if (!MeasureSettled(hProcess, dwPid, dwSettleMs, &last))
        return false;
    for (int i = 1; i < 5; i++) {
        if (!MeasureSettled(hProcess, dwPid, dwSettleMs, &next))
            return false;
        bool bSame = next.cbPrivate == last.cbPrivate && next.dwHandles == last.dwHandles &&
                     next.dwGdi == last.dwGdi && next.dwUser == last.dwUser;
        last = next;
        if (bSame)
            break;
    }
    *pFigures = last;
    return true;
}

std::string GuiCountSource()
{
    std::string s;
    s += g_bGdiTable ? "GDI objects: live entries of the process's GDI handle table (Wine)"
                     : "GDI objects: GetGuiResources";
    s += g_bWindows ? "; USER objects: the process's windows (Wine)" : "; USER objects: GetGuiResources";
    s += g_bHandleList     ? "; handles: the system's handle list"
         : g_bProcessList ? "; handles: the system's process list"
                          : "; handles: GetProcessHandleCount";
    return s;
}
