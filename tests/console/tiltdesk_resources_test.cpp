/* The console's resources: the text no end-to-end test can bring up, the
 * band bitmaps and icon sizes, and the manifest for the visual-style controls. */
#include "desk_fixture.h"

#include <string>

using namespace dt;

namespace {

struct DeskModule {
    HMODULE h = LoadLibraryExA(tb::BinPath("Tiltdesk.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ~DeskModule() { if (h) FreeLibrary(h); }
};

TEST(DeskResources, TheMemoryFailureTextIsTheRussianText)
{
    /* The console's other texts are checked in the boxes that show them;
     * this one needs an allocation that fails. */
    DeskModule m;
    ASSERT_TRUE(m.h);
    wchar_t wsz[512];
    int n = LoadStringW(m.h, 6, wsz, 512);
    EXPECT_EQ(tb::Wide(kNoMemory), std::wstring(wsz, n > 0 ? n : 0));
}

TEST(DeskResources, BandBitmapsAndIconSizes)
{
    DeskModule m;
    ASSERT_TRUE(m.h);
    const struct { int id, w, h; } bitmaps[] = { { 102, 250, 28 }, { 103, 1, 28 }, { 104, 80, 28 } };
    for (const auto &b : bitmaps) {
        HBITMAP hbm = (HBITMAP)LoadImageA(m.h, MAKEINTRESOURCEA(b.id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
        ASSERT_TRUE(hbm) << b.id;
        BITMAP bm = {};
        GetObjectA(hbm, sizeof(bm), &bm);
        EXPECT_EQ(b.w, bm.bmWidth) << b.id;
        EXPECT_EQ(b.h, bm.bmHeight) << b.id;
        DeleteObject(hbm);
    }
    /* The band joins without a seam: the images' inner edges match the strip. */
    tb::Pixels left = tb::BitmapPixels(m.h, 102), fill = tb::BitmapPixels(m.h, 103), right = tb::BitmapPixels(m.h, 104);
    for (int y = 0; y < 28; y++) {
        EXPECT_EQ(fill.at(0, y), left.at(249, y)) << y;
        EXPECT_EQ(fill.at(0, y), right.at(0, y)) << y;
    }

    HRSRC hrsrc = FindResourceA(m.h, MAKEINTRESOURCEA(105), (LPCSTR)RT_GROUP_ICON);
    ASSERT_TRUE(hrsrc);
    const BYTE *pb = (const BYTE *)LockResource(LoadResource(m.h, hrsrc));
    ASSERT_TRUE(pb);
    int cIcons = pb[4] | (pb[5] << 8);
    std::vector<int> sizes;
    for (int i = 0; i < cIcons; i++)
        sizes.push_back(pb[6 + 14 * i] == 0 ? 256 : pb[6 + 14 * i]);
    EXPECT_EQ((std::vector<int>{ 48, 32, 16 }), sizes);
}

TEST(DeskResources, ManifestAsksForCommonControlsSix)
{
    DeskModule m;
    ASSERT_TRUE(m.h);
    HRSRC hrsrc = FindResourceA(m.h, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(hrsrc);
    const char *p = (const char *)LockResource(LoadResource(m.h, hrsrc));
    std::string manifest(p, SizeofResource(m.h, hrsrc));
    for (const char *part : { "name=\"Tiltdesk.exe\"", "type=\"win32\"", "processorArchitecture=\"X86\"",
                              "version=\"1.0.0.0\"", "<description>Tiltdesk</description>",
                              "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"" })
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

} // namespace
