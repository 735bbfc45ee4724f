/*
 * Gravcal.dll loaded into the test: its exports, its Russian texts byte for
 * byte, its dialogs and the three position pictures.
 */
#include <gtest/gtest.h>
#include "calui.h"
#include <prsht.h>
#include <commctrl.h>

namespace {

class GravcalLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hDll = LoadLibraryA(tb::BinPath("Gravcal.dll").c_str());
        ASSERT_NE(nullptr, m_hDll) << GetLastError();
    }
    void TearDown() override
    {
        if (m_hDll)
            FreeLibrary(m_hDll);
    }
    std::wstring String(UINT id)
    {
        const wchar_t *pw = nullptr;
        int n = LoadStringW(m_hDll, id, (LPWSTR)&pw, 0);
        return n > 0 ? std::wstring(pw, n) : std::wstring();
    }
    HMODULE m_hDll = nullptr;
};

} // namespace

TEST_F(GravcalLibrary, OffersOnePageFromDialog101)
{
    typedef int (WINAPI *PFN_COUNT)(void);
    typedef HPROPSHEETPAGE (WINAPI *PFN_CREATE)(UINT);
    PFN_COUNT pfnCount = (PFN_COUNT)(void *)GetProcAddress(m_hDll, "GetPropertyPageNumber");
    PFN_CREATE pfnCreate = (PFN_CREATE)(void *)GetProcAddress(m_hDll, "CreatePropertyPage");
    ASSERT_NE(nullptr, pfnCount);
    ASSERT_NE(nullptr, pfnCreate);
    EXPECT_EQ(1, pfnCount());
    /* The index is ignored: any index gives a page. */
    for (UINT u : { 0u, 1u, 7u }) {
        HPROPSHEETPAGE hPage = pfnCreate(u);
        EXPECT_NE(nullptr, hPage) << u;
        if (hPage)
            DestroyPropertySheetPage(hPage);
    }
}

TEST_F(GravcalLibrary, RussianTextsAreExact)
{
    struct { UINT id; const char *text; } cases[] = {
        { 1, cal::kCaption }, { 2, cal::kInstallation }, { 3, cal::kCaption },
        { 4, cal::kStatusCalibrated }, { 6, cal::kStatusUncalibrated },
        { 11, cal::kInstructions }, { 12, cal::kResultGood }, { 14, cal::kResultFailed },
        { 15, cal::kResultDone }, { 16, cal::kNoData }, { 21, cal::kStatusError },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(tb::Wide(c.text), String(c.id));
    }
    /* Every text also converts to the ANSI code page without loss. */
    char sz[4096];
    for (const auto &c : cases) {
        int n = LoadStringA(m_hDll, c.id, sz, sizeof(sz));
        EXPECT_EQ(tb::Ansi(c.text), std::string(sz, n > 0 ? n : 0)) << c.id;
    }
}

TEST_F(GravcalLibrary, PositionPicturesAre150SquareWithPalette)
{
    for (int id = 105; id <= 107; id++) {
        SCOPED_TRACE(id);
        HRSRC hRes = FindResourceA(m_hDll, MAKEINTRESOURCEA(id), (LPCSTR)RT_BITMAP);
        ASSERT_NE(nullptr, hRes);
        const BITMAPINFOHEADER *pbih = (const BITMAPINFOHEADER *)LockResource(LoadResource(m_hDll, hRes));
        ASSERT_NE(nullptr, pbih);
        EXPECT_EQ(150, pbih->biWidth);
        EXPECT_EQ(150, pbih->biHeight);   /* positive: bottom-up */
        EXPECT_EQ(8, pbih->biBitCount);
        EXPECT_EQ((DWORD)BI_RGB, pbih->biCompression);
        EXPECT_TRUE(pbih->biClrUsed == 0 || pbih->biClrUsed == 256);
        /* A drawing, not a blank: the picture uses several colours. */
        const BYTE *pBits = (const BYTE *)(pbih + 1) + 256 * sizeof(RGBQUAD);
        int anSeen[256] = {};
        int nColours = 0;
        for (int i = 0; i < 152 * 150; i++)
            if (!anSeen[pBits[i]]++)
                nColours++;
        EXPECT_GT(nColours, 16);
    }
}

TEST_F(GravcalLibrary, DialogTemplatesMatchTheirUse)
{
    /* Sizes in dialog units and the controls the code relies on. */
    struct { int id; short cx, cy; int nControls; int line; } cases[] = {
        { 101, 312, 222, 3, __LINE__ }, { 102, 294, 223, 4, __LINE__ }, { 108, 196, 65, 2, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        HRSRC hRes = FindResourceA(m_hDll, MAKEINTRESOURCEA(c.id), (LPCSTR)RT_DIALOG);
        ASSERT_NE(nullptr, hRes);
        const WORD *pw = (const WORD *)LockResource(LoadResource(m_hDll, hRes));
        ASSERT_NE(nullptr, pw);
        ASSERT_EQ(1, pw[0]);          /* DLGTEMPLATEEX */
        ASSERT_EQ(0xFFFF, pw[1]);
        const BYTE *pb = (const BYTE *)pw;
        DWORD dwExStyle = *(const DWORD *)(pb + 8);
        WORD cItems = *(const WORD *)(pb + 16);
        short cx = *(const short *)(pb + 22), cy = *(const short *)(pb + 24);
        EXPECT_EQ(c.nControls, cItems);
        EXPECT_EQ(c.cx, cx);
        EXPECT_EQ(c.cy, cy);
        EXPECT_EQ(c.id == 102, (dwExStyle & WS_EX_CONTEXTHELP) != 0);
    }
}
