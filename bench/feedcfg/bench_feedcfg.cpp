/*
 * The Tiltfeed page's list refresh with ten items, each a registry read and
 * a shortcut load (the shortcuts are valid, so nothing is written), against
 * the floor of the same bare registry reads (the enumeration of the item
 * keys and each item's five values) and IPersistFile::Load calls made in
 * the same run: once with one link object for all ten loads, once with a
 * new link object per load, as the refresh makes them.
 * Argument: number of refreshes measured (default 500).
 */
#include "testbench/testbench.h"
#include "tiltfeed/feedstore.h"
#include "tiltfeed/feedcfg_res.h"
#include "common/regpaths.h"
#include <shlobj.h>
#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

const int kItems = 10;

double Now()
{
    LARGE_INTEGER li, f;
    QueryPerformanceCounter(&li);
    QueryPerformanceFrequency(&f);
    return (double)li.QuadPart / (double)f.QuadPart;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string ItemName(int i)
{
    return "Tiltfeed + Bench " + std::to_string(i);
}

/* What the refresh must do for one item at the least: its five values. */
bool ReadItem(const std::string &name)
{
    HKEY hKey;
    std::string key = std::string(TILTKIT_REG_TILTFEED) + "\\" + name;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    char sz[TILTKIT_TEXT_MAX];
    DWORD dw, cb;
    bool bOk = true;
    for (const char *pszText : { "FileName", "Path" }) {
        cb = sizeof(sz);
        bOk = bOk && RegQueryValueExA(hKey, pszText, NULL, NULL, (BYTE *)sz, &cb) == ERROR_SUCCESS;
    }
    for (const char *pszNumber : { "Type", "Mouse_Rate", "CursorKey_Rate" }) {
        cb = sizeof(dw);
        bOk = bOk && RegQueryValueExA(hKey, pszNumber, NULL, NULL, (BYTE *)&dw, &cb) == ERROR_SUCCESS;
    }
    RegCloseKey(hKey);
    return bOk;
}

/* ...and its shortcut: Load, then the target and arguments compared. */
bool LoadLink(IShellLinkA *psl, IPersistFile *ppf, const std::wstring &path)
{
    char szTarget[TILTKIT_TEXT_MAX], szArgs[TILTKIT_TEXT_MAX];
    if (FAILED(ppf->Load(path.c_str(), STGM_READ)))
        return false;
    psl->GetPath(szTarget, TILTKIT_TEXT_MAX, NULL, SLGP_UNCPRIORITY);
    psl->GetArguments(szArgs, TILTKIT_TEXT_MAX);
    return true;
}

/* The names of the items: the enumeration no list can do without. */
int EnumerateItems()
{
    HKEY hKey;
    char sz[520];
    int n = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TILTKIT_REG_TILTFEED, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    for (;;) {
        DWORD cch = sizeof(sz);
        if (RegEnumKeyExA(hKey, (DWORD)n, sz, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        n++;
    }
    RegCloseKey(hKey);
    return n;
}

bool FloorPass(const std::vector<std::wstring> &links, bool bObjectPerLoad)
{
    IShellLinkA *psl = NULL;
    IPersistFile *ppf = NULL;
    bool bOk = EnumerateItems() == kItems;
    for (int i = 0; i < kItems && bOk; i++) {
        bOk = ReadItem(ItemName(i));
        if (psl == NULL) {
            bOk = bOk && SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER,
                                                    IID_IShellLinkA, (void **)&psl)) &&
                  SUCCEEDED(psl->QueryInterface(IID_IPersistFile, (void **)&ppf));
        }
        bOk = bOk && LoadLink(psl, ppf, links[i]);
        if (bObjectPerLoad || !bOk) {
            if (ppf)
                ppf->Release();
            if (psl)
                psl->Release();
            ppf = NULL;
            psl = NULL;
        }
    }
    if (ppf)
        ppf->Release();
    if (psl)
        psl->Release();
    return bOk;
}

} // namespace

int main(int argc, char **argv)
{
    int nRuns = argc > 1 ? atoi(argv[1]) : 500;
    if (nRuns < 10)
        nRuns = 10;
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    tb::ResetRegistry();

    /* The store's texts come from the library's own string table. */
    g_hFeedcfgInstance = LoadLibraryExA(tb::BinPath("Feedcfg.dll").c_str(), NULL,
                                        LOAD_LIBRARY_AS_DATAFILE);
    if (g_hFeedcfgInstance == NULL) {
        printf("Feedcfg.dll not found\n");
        return 1;
    }
    std::string feedrun = tb::BinPath("Feedrun.exe");
    tb::RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, "FeedrunPath", feedrun);
    for (int i = 0; i < kItems; i++)
        tb::RegSetString(HKEY_CURRENT_USER, std::string(TILTKIT_REG_TILTFEED) + "\\" + ItemName(i),
                         "FileName", "Feedtarget.exe");
    for (int i = 0; i < kItems; i++) {
        std::string key = std::string(TILTKIT_REG_TILTFEED) + "\\" + ItemName(i);
        tb::RegSetString(HKEY_CURRENT_USER, key, "Path", tb::BinPath("Feedtarget.exe"));
        tb::RegSetDword(HKEY_CURRENT_USER, key, "Type", 0);
        tb::RegSetDword(HKEY_CURRENT_USER, key, "Mouse_Rate", 100);
        tb::RegSetDword(HKEY_CURRENT_USER, key, "CursorKey_Rate", 10);
    }

    /* A page stand-in: a window with the list box the refresh fills. */
    HWND hPage = tb::MakeWindow("bench page");
    HWND hList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL,
                                 0, 0, 200, 200, hPage, (HMENU)(INT_PTR)IDC_APPLIST, NULL, NULL);
    SendMessageA(hList, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);

    /* The folder as the page makes it when it opens; the first refresh
     * writes the ten shortcuts, the measured ones only read them. */
    char szFolder[TILTKIT_TEXT_MAX];
    if (!GetShortcutFolder(hPage, szFolder)) {
        printf("no shortcut folder\n");
        return 1;
    }
    SHCreateDirectoryExA(hPage, szFolder, NULL);
    if (SetFeedApptoListbox(hPage, "", feedrun.c_str()) != (UINT)kItems) {
        printf("the first refresh did not list the %d items\n", kItems);
        return 1;
    }
    std::vector<std::wstring> links;
    for (int i = 0; i < kItems; i++)
        links.push_back(tb::Wide(std::string(szFolder) + "\\" + ItemName(i) + ".lnk"));
    WIN32_FILE_ATTRIBUTE_DATA before, after;
    GetFileAttributesExW(links[0].c_str(), GetFileExInfoStandard, &before);

    /* Measured in turns, so that a busy moment of the machine weighs on
     * both sides; the figure is the median of the per-turn ratios. */
    std::vector<double> refresh, floorShared, floorPerLoad, ratioShared, ratioPerLoad;
    for (int run = 0; run < nRuns + 5; run++) {
        double t0 = Now();
        UINT n = SetFeedApptoListbox(hPage, ItemName(3).c_str(), feedrun.c_str());
        double t1 = Now();
        bool bShared = FloorPass(links, false);
        double t2 = Now();
        bool bPerLoad = FloorPass(links, true);
        double t3 = Now();
        if (n != (UINT)kItems || !bShared || !bPerLoad) {
            printf("run %d failed (%u items listed)\n", run, n);
            return 1;
        }
        if (run < 5)
            continue;   /* warm-up */
        refresh.push_back(t1 - t0);
        floorShared.push_back(t2 - t1);
        floorPerLoad.push_back(t3 - t2);
        ratioShared.push_back((t1 - t0) / (t2 - t1));
        ratioPerLoad.push_back((t1 - t0) / (t3 - t2));
    }
    GetFileAttributesExW(links[0].c_str(), GetFileExInfoStandard, &after);
    bool bRewritten = CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime) != 0;

    double dRefresh = Median(refresh) * 1000.0;
    double dShared = Median(floorShared) * 1000.0;
    double dPerLoad = Median(floorPerLoad) * 1000.0;
    printf("list refresh, %d items: median %.3f ms over %d runs%s\n", kItems, dRefresh, nRuns,
           bRewritten ? " (shortcuts were rewritten!)" : "");
    printf("floor, enumeration + %d items' registry reads + IPersistFile::Load, one link object: median %.3f ms -> ratio %.2f\n",
           kItems, dShared, Median(ratioShared));
    printf("floor, enumeration + %d items' registry reads + IPersistFile::Load, a link object each: median %.3f ms -> ratio %.2f\n",
           kItems, dPerLoad, Median(ratioPerLoad));
    printf("goal: at most 1.30 against the floor\n");

    DestroyWindow(hPage);
    for (const std::wstring &link : links)
        DeleteFileW(link.c_str());
    FreeLibrary(g_hFeedcfgInstance);
    tb::ResetRegistry();
    CoUninitialize();
    return 0;
}
