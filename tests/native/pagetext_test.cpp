/* The pages' text handling: the open-file filter and the number fields. */
#include <gtest/gtest.h>
#include "common/pagetext.h"

#include <string.h>
#include <string>
#include <vector>

TEST(PageText, OpenFilterCommasBecomeZerosWithADoubleZeroAtTheEnd)
{
    char sz[128] = u8"Звуковые файлы(*.wav),*.wav,Все файлы (*.*),*.*,";
    size_t cch = strlen(sz);
    memset(sz + cch + 1, 'X', sizeof(sz) - cch - 1);
    ASSERT_EQ(1, MakeOpenFilter(sz, sizeof(sz)));
    const char *p = sz;
    std::vector<std::string> parts;
    while (*p) {
        parts.push_back(p);
        p += strlen(p) + 1;
    }
    EXPECT_EQ((std::vector<std::string>{ u8"Звуковые файлы(*.wav)", "*.wav", u8"Все файлы (*.*)", "*.*" }),
              parts);

    /* Without a closing comma the buffer still ends in two zeros. */
    char szOpen[8] = "a,b";
    memset(szOpen + 4, 'X', 4);
    ASSERT_EQ(1, MakeOpenFilter(szOpen, sizeof(szOpen)));
    EXPECT_EQ(0, memcmp(szOpen, "a\0b\0\0", 5));

    /* No room for the second zero: refused, unchanged. */
    char szFull[4] = { 'a', ',', 'b', '\0' };
    EXPECT_EQ(0, MakeOpenFilter(szFull, sizeof(szFull)));
    EXPECT_EQ(',', szFull[1]);
}

TEST(PageText, NumberFieldsAcceptDigitsWithinTheirRangeOnly)
{
    struct { const char *text; uint32_t max; int ok; uint32_t value; } cases[] = {
        { "0", 45, 1, 0 },
        { " 45 ", 45, 1, 45 },
        { "046", 45, 0, 0 },
        { "46", 45, 0, 0 },
        { "", 45, 0, 0 },
        { "  ", 45, 0, 0 },
        { "-1", 45, 0, 0 },
        { "+5", 45, 0, 0 },
        { "5 5", 45, 0, 0 },
        { "1e3", 10000, 0, 0 },
        { "99999999999999999999", 0xFFFFFFFFu, 0, 0 },
        { "4294967295", 0xFFFFFFFFu, 1, 0xFFFFFFFFu },
        { "10000", 10000, 1, 10000 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t dw = 77;
        EXPECT_EQ(c.ok, ParsePageNumber(c.text, c.max, &dw));
        EXPECT_EQ(c.ok ? c.value : 77u, dw);
    }
}
