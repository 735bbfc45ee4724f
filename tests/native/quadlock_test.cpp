#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "motionlock/quadmenu.h"

static std::u16string Path(const std::u16string &host, size_t cchOut = 260, int *pnOk = nullptr)
{
    std::vector<char16_t> out(cchOut + 4, u'#');
    int n = BuildLockwatchPath(out.data(), cchOut, host.c_str());
    if (pnOk)
        *pnOk = n;
    for (size_t i = cchOut; i < out.size(); i++)
        EXPECT_EQ(u'#', out[i]) << "written past the buffer at " << i;
    return n ? std::u16string(out.data()) : (out[0] == 0 ? u"" : u"<not emptied>");
}

static uint32_t Dword(const unsigned char *pb)
{
    return pb[0] | (pb[1] << 8) | (pb[2] << 16) | ((uint32_t)pb[3] << 24);
}

TEST(LockwatchPath, BesideTheHostProgramWhateverItsName)
{
    struct { std::u16string host, want; int line; } cases[] = {
        { u"C:\\Tools\\Menu\\host.exe", u"C:\\Tools\\Menu\\Lockwatch.exe", __LINE__ },
        { u"C:\\Program Files\\Zelvar\\Quadrix\\Quadrix.exe",
          u"C:\\Program Files\\Zelvar\\Quadrix\\Lockwatch.exe", __LINE__ },
        { u"C:\\host.exe", u"C:\\Lockwatch.exe", __LINE__ },
        { u"\\\\server\\share\\menu\\h.exe", u"\\\\server\\share\\menu\\Lockwatch.exe", __LINE__ },
        { u"C:/Tools/menu.exe", u"C:/Tools/Lockwatch.exe", __LINE__ },
        { u"C:host.exe", u"C:Lockwatch.exe", __LINE__ },
        { u"C:\\Меню\\Пуск.exe", u"C:\\Меню\\Lockwatch.exe", __LINE__ },
        { u"C:\\Tools.v2\\host", u"C:\\Tools.v2\\Lockwatch.exe", __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        int nOk = 0;
        EXPECT_TRUE(Path(c.host, 260, &nOk) == c.want);
        EXPECT_EQ(1, nOk);
    }
}

TEST(LockwatchPath, NoFolderOrNoRoomFailsWithAnEmptyBuffer)
{
    int nOk = 1;
    EXPECT_TRUE(Path(u"host.exe", 260, &nOk).empty()) << "a bare name has no folder";
    EXPECT_EQ(0, nOk);
    EXPECT_TRUE(Path(u"", 260, &nOk).empty());
    EXPECT_EQ(0, nOk);

    /* "C:\" + 13 characters + terminator: 17 fit exactly, 16 do not. */
    EXPECT_TRUE(Path(u"C:\\h.exe", 17, &nOk) == u"C:\\Lockwatch.exe");
    EXPECT_EQ(1, nOk);
    EXPECT_TRUE(Path(u"C:\\h.exe", 16, &nOk).empty());
    EXPECT_EQ(0, nOk);

    /* A deep host folder: never a cut path that would name another file. */
    std::u16string deep = u"C:\\" + std::u16string(250, u'd') + u"\\h.exe";
    EXPECT_TRUE(Path(deep, 260, &nOk).empty());
    EXPECT_EQ(0, nOk);

    char16_t c = u'#';
    EXPECT_EQ(0, BuildLockwatchPath(&c, 0, u"C:\\h.exe")) << "an empty buffer is not touched";
    EXPECT_EQ(u'#', c);
    char16_t out[8] = { u'x' };
    EXPECT_EQ(0, BuildLockwatchPath(out, 8, nullptr));
    EXPECT_EQ(0, out[0]);
}

TEST(MenuRecord, FillsAll268BytesAndNothingAfter)
{
    std::vector<unsigned char> rec(300, 0xCC);
    const char16_t text[] = u"Программа Lockwatch";
    FillMenuRecord(rec.data(), 0x12345678u, text);

    EXPECT_EQ(0x12345678u, Dword(&rec[0]));
    EXPECT_EQ(0x78, rec[0]) << "little-endian";
    size_t n = sizeof(text) / 2 - 1;
    for (size_t i = 0; i < n; i++)
        ASSERT_EQ((uint16_t)text[i], rec[4 + 2 * i] | (rec[5 + 2 * i] << 8)) << i;
    for (size_t i = 4 + 2 * n; i < 260; i++)
        ASSERT_EQ(0, rec[i]) << "terminator and rest of the text field at " << i;
    EXPECT_EQ(0u, Dword(&rec[260]));
    EXPECT_EQ(0xFFFFFFFFu, Dword(&rec[264]));
    for (size_t i = 268; i < rec.size(); i++)
        ASSERT_EQ(0xCC, rec[i]) << "past the record at " << i;
}

TEST(MenuRecord, LongTextIsCutInsideItsFieldAndNullIconOrTextAllowed)
{
    std::vector<unsigned char> rec(268 + 8, 0xCC);
    std::u16string longText(300, u'Ж');
    FillMenuRecord(rec.data() + 1, 0, longText.c_str());     /* any alignment */
    unsigned char *p = rec.data() + 1;
    EXPECT_EQ(0u, Dword(p));
    for (size_t i = 0; i < 127; i++)
        ASSERT_EQ(0x0416, p[4 + 2 * i] | (p[5 + 2 * i] << 8)) << i;
    EXPECT_EQ(0, p[258]);
    EXPECT_EQ(0, p[259]) << "the 128th character is the terminator";
    EXPECT_EQ(0u, Dword(p + 260));
    EXPECT_EQ(0xFFFFFFFFu, Dword(p + 264));
    EXPECT_EQ(0xCC, rec[0]);
    EXPECT_EQ(0xCC, rec[269]);

    std::vector<unsigned char> empty(268, 0xCC);
    FillMenuRecord(empty.data(), 7, nullptr);
    EXPECT_EQ(7u, Dword(&empty[0]));
    for (size_t i = 4; i < 260; i++)
        ASSERT_EQ(0, empty[i]);
    EXPECT_EQ(0xFFFFFFFFu, Dword(&empty[264]));
}
