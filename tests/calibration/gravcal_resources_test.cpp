/*
 * Gravcal.dll loaded into the test: its exports and the three position
 * pictures (the texts and dialogs are checked where the console shows them).
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
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
