/*
 * Quadlock.dll in this process: the menu item record as the host receives
 * it, the stack balance of both exports through __stdcall pointers, and
 * the resources the host and the shell read (the export table is the
 * exportcheck test's).
 */
#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include <vector>
#include "testbench/testbench.h"
#include "motionlock/quadlock.h"

static const char kItemText[] = u8"Программа Lockwatch";

class QuadlockLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hLib = LoadLibraryA(tb::BinPath("Quadlock.dll").c_str());
        ASSERT_NE((HMODULE)NULL, m_hLib);
        m_pfnGetInfo = (PFN_QUADRIX_GETMAINMENUINFO)(void *)GetProcAddress(m_hLib, "Quadrix_GetMainMenuInfo");
        m_pfnExecute = (PFN_QUADRIX_EXECUTE)(void *)GetProcAddress(m_hLib, "Quadrix_Execute");
        ASSERT_NE((PFN_QUADRIX_GETMAINMENUINFO)NULL, m_pfnGetInfo);
        ASSERT_NE((PFN_QUADRIX_EXECUTE)NULL, m_pfnExecute);
    }
    void TearDown() override
    {
        if (m_hLib)
            FreeLibrary(m_hLib);
    }
    HMODULE m_hLib = NULL;
    PFN_QUADRIX_GETMAINMENUINFO m_pfnGetInfo = NULL;
    PFN_QUADRIX_EXECUTE m_pfnExecute = NULL;
};

static DWORD Dword(const BYTE *pb)
{
    DWORD dw;
    memcpy(&dw, pb, 4);
    return dw;
}

/* Width and height of an icon's image, 0 x 0 for no icon. */
static SIZE IconSize(HICON hIcon)
{
    SIZE size = { 0, 0 };
    ICONINFO ii;
    BITMAP bm;
    if (hIcon == NULL || !GetIconInfo(hIcon, &ii))
        return size;
    if (ii.hbmColor && GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        DeleteObject(ii.hbmMask);
    return size;
}

TEST_F(QuadlockLibrary, RecordHoldsTextIconAndTheHostWords)
{
    std::vector<BYTE> rec(268 + 32, 0xCC);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(0, m_pfnGetInfo(rec.data()));

    std::wstring want = tb::Wide(kItemText);
    const WCHAR *pszText = (const WCHAR *)&rec[4];
    EXPECT_EQ(want, std::wstring(pszText, want.size()));
    EXPECT_EQ(L'\0', pszText[want.size()]) << "zero-terminated";
    for (size_t i = 4 + 2 * want.size(); i < 260; i++)
        ASSERT_EQ(0, rec[i]) << "text field after the terminator, byte " << i;
    EXPECT_EQ(0u, Dword(&rec[260]));
    EXPECT_EQ(0xFFFFFFFFu, Dword(&rec[264]));
    for (size_t i = 268; i < rec.size(); i++)
        ASSERT_EQ(0xCC, rec[i]) << "written past the record at " << i;

    HICON hIcon = (HICON)(UINT_PTR)Dword(&rec[0]);
    SIZE size = IconSize(hIcon);
    EXPECT_EQ(32, size.cx);
    EXPECT_EQ(32, size.cy);

    /* Each call hands out an icon of the host's own; the plug-in leaves
     * the earlier ones alone. */
    std::vector<BYTE> rec2(268, 0);
    EXPECT_EQ(0, m_pfnGetInfo(rec2.data()));
    HICON hIcon2 = (HICON)(UINT_PTR)Dword(&rec2[0]);
    EXPECT_NE((HICON)NULL, hIcon2);
    EXPECT_EQ(32, IconSize(hIcon).cx) << "the first icon is still valid";
    EXPECT_TRUE(DestroyIcon(hIcon2));
    EXPECT_TRUE(DestroyIcon(hIcon));
}

#ifndef _WIN64
/* Calls fn(arg) and returns how far ESP moved across the call: 0 when the
 * callee removed its argument, -4 when it left it to the caller. ESP is put
 * back either way, so a wrong convention fails the test, not the process. */
static long CallAndMeasureEsp(void *pfn, DWORD dwArg, LONG *plResult)
{
    long lMoved;
    LONG lResult;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[arg]\n\t"
        "call *%[fn]\n\t"
        "movl %%esp, %%ecx\n\t"
        "subl %%esi, %%ecx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(lResult), "=c"(lMoved)
        : [arg] "r"(dwArg), [fn] "r"(pfn)
        : "edx", "esi", "memory", "cc");
    *plResult = lResult;
    return lMoved;
}

static LONG __cdecl LeavesItsArgument(DWORD dw) { return (LONG)dw + 1; }
static LONG __stdcall RemovesItsArgument(DWORD dw) { return (LONG)dw + 2; }

#endif

TEST_F(QuadlockLibrary, BothExportsRemoveTheirOneArgument)
{
#ifdef _WIN64
    GTEST_SKIP() << "the host's calling convention and its 32-bit record are matters of the 32-bit build";
#else
    /* The measurement tells the two conventions apart. */
    LONG lCheck = 0;
    EXPECT_EQ(-4, CallAndMeasureEsp((void *)LeavesItsArgument, 40, &lCheck));
    EXPECT_EQ(41, lCheck);
    EXPECT_EQ(0, CallAndMeasureEsp((void *)RemovesItsArgument, 40, &lCheck));
    EXPECT_EQ(42, lCheck);

    std::vector<BYTE> rec(268, 0);
    LONG lResult = 99;
    EXPECT_EQ(0, CallAndMeasureEsp((void *)m_pfnGetInfo, (DWORD)(UINT_PTR)rec.data(), &lResult));
    EXPECT_EQ(0, lResult);
    EXPECT_EQ(0xFFFFFFFFu, Dword(&rec[264]));
    DestroyIcon((HICON)(UINT_PTR)Dword(&rec[0]));

    /* This test program is the host here: its folder holds no Lockwatch.exe,
     * so the item fails, quietly. */
    lResult = 99;
    EXPECT_EQ(0, CallAndMeasureEsp((void *)m_pfnExecute, 0x12345678, &lResult));
    EXPECT_EQ(-1, lResult);
    EXPECT_EQ(0, tb::CountDialogs(GetCurrentProcessId()));

    /* And through the typed pointer the host uses. */
    EXPECT_EQ(-1, m_pfnExecute(0));
#endif
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
#pragma pack(pop)

TEST_F(QuadlockLibrary, IconGroupHasBothSizesInBothDepthsAndTheVersionNamesTheModule)
{
    HRSRC hRes = FindResourceA(m_hLib, MAKEINTRESOURCEA(104), (LPCSTR)RT_GROUP_ICON);
    ASSERT_NE((HRSRC)NULL, hRes);
    const BYTE *pb = (const BYTE *)LockResource(LoadResource(m_hLib, hRes));
    ASSERT_NE((const BYTE *)NULL, pb);
    WORD wCount;
    memcpy(&wCount, pb + 4, 2);
    std::vector<std::pair<int, int>> got;
    for (WORD i = 0; i < wCount; i++) {
        GroupIconEntry e;
        memcpy(&e, pb + 6 + i * sizeof(e), sizeof(e));
        got.push_back({ e.bWidth, e.wBitCount });
    }
    std::sort(got.begin(), got.end());
    std::vector<std::pair<int, int>> want = { { 32, 8 }, { 32, 32 }, { 48, 8 }, { 48, 32 } };
    EXPECT_EQ(want, got);

    /* The 48-pixel image is the one the shell shows for large icons. */
    HICON hBig = (HICON)LoadImageW(m_hLib, MAKEINTRESOURCEW(104), IMAGE_ICON, 48, 48, 0);
    EXPECT_EQ(48, IconSize(hBig).cx);
    if (hBig)
        DestroyIcon(hBig);

    std::string path = tb::BinPath("Quadlock.dll");
    DWORD dwHandle = 0;
    DWORD cb = GetFileVersionInfoSizeA(path.c_str(), &dwHandle);
    ASSERT_GT(cb, 0u);
    std::vector<BYTE> ver(cb);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, cb, ver.data()));
    WCHAR *pszName = NULL;
    UINT cch = 0;
    ASSERT_TRUE(VerQueryValueW(ver.data(), L"\\StringFileInfo\\041904E3\\OriginalFilename",
                               (void **)&pszName, &cch));
    EXPECT_EQ(std::wstring(L"Quadlock.dll"), std::wstring(pszName));
}
