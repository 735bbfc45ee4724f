#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

#include "console/desklogic.h"

namespace {

int NoLeadBytes(unsigned char)
{
    return 0;
}

/* A double-byte code page (lead bytes as in code page 932). */
int ShiftJisLeadBytes(unsigned char ch)
{
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

struct ParseCase {
    int line;
    const char *tail;
    bool ok;
    const char *key;
    unsigned page;
};

TEST(ConsolePageArgument, AcceptsKeyAndKeyWithPageDigit)
{
    const ParseCase cases[] = {
        { __LINE__, "0010", true, "0010", 0 },
        { __LINE__, "0030 0", true, "0030", 0 },
        { __LINE__, "0030 1", true, "0030", 1 },
        { __LINE__, "9999 9", true, "9999", 9 },
        { __LINE__, "0000", true, "0000", 0 },
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.line);
        char szKey[TILTDESK_KEYNAME_SIZE] = "guard";
        unsigned uPage = 77;
        ASSERT_TRUE(ParsePageArgument(c.tail, szKey, sizeof(szKey), &uPage, NoLeadBytes));
        EXPECT_STREQ(c.key, szKey);
        EXPECT_EQ(c.page, uPage);
    }
}

TEST(ConsolePageArgument, RefusesEveryOtherShapeAndLeavesOutputs)
{
    const char *const refused[] = {
        "", "30", "003", "00300", "0030 ", "0030  1", " 0030", "0030 12", "0030 x",
        "003a", "abcd", "0030\t1", "0030_1", "0030 1 ", "00 30", "+030", "-030",
        "0030\x31", /* "00301": five digits */
        "\xb9\xb9\xb9\xb9",  /* non-ASCII digits */
        "0030 \xb9",
    };
    for (const char *tail : refused) {
        SCOPED_TRACE(std::string("[") + tail + "]");
        char szKey[TILTDESK_KEYNAME_SIZE] = "guard";
        unsigned uPage = 77;
        EXPECT_FALSE(ParsePageArgument(tail, szKey, sizeof(szKey), &uPage, NoLeadBytes));
        EXPECT_STREQ("guard", szKey);
        EXPECT_EQ(77u, uPage);
    }
}

TEST(ConsolePageArgument, RefusesDoubleByteCharactersAnywhere)
{
    /* 0x82 0x4F is one double-byte character (a full-width zero) whose
     * trail byte is an ASCII letter. */
    const char *const tails[] = { ("\x82\x4f" "010"), "00\x82\x4f", "0010 \x82\x4f", "0010\x82\x4f" };
    for (const char *tail : tails) {
        char szKey[TILTDESK_KEYNAME_SIZE] = "guard";
        unsigned uPage = 77;
        EXPECT_FALSE(ParsePageArgument(tail, szKey, sizeof(szKey), &uPage, ShiftJisLeadBytes));
        EXPECT_STREQ("guard", szKey);
    }
    /* Plain digits pass under a double-byte code page as well. */
    char szKey[TILTDESK_KEYNAME_SIZE];
    unsigned uPage;
    EXPECT_TRUE(ParsePageArgument("0010 9", szKey, sizeof(szKey), &uPage, ShiftJisLeadBytes));
}

TEST(ConsolePageArgument, NeedsRoomForTheKeyName)
{
    char szKey[4];
    unsigned uPage = 0;
    EXPECT_FALSE(ParsePageArgument("0010", szKey, sizeof(szKey), &uPage, NoLeadBytes));
    EXPECT_FALSE(ParsePageArgument(nullptr, szKey, sizeof(szKey), &uPage, NoLeadBytes));

    /* Exactly five bytes suffice; nothing past the terminator is written. */
    char abBuffer[8];
    memset(abBuffer, 0x5a, sizeof(abBuffer));
    ASSERT_TRUE(ParsePageArgument("1234 5", abBuffer, 5, &uPage, NoLeadBytes));
    EXPECT_STREQ("1234", abBuffer);
    EXPECT_EQ(0x5a, abBuffer[5]);
}

TEST(ConsoleKeyName, ExactlyFourAsciiDigits)
{
    EXPECT_TRUE(IsTiltkitKeyName("0010", NoLeadBytes));
    EXPECT_TRUE(IsTiltkitKeyName("9999", NoLeadBytes));
    const char *const bad[] = { "", "001", "00100", "abcd", "001a", "0 10", "0010 ",
                                "\xb9\xb9\xb9\xb9", "Property" };
    for (const char *name : bad)
        EXPECT_FALSE(IsTiltkitKeyName(name, NoLeadBytes)) << name;
    EXPECT_FALSE(IsTiltkitKeyName(nullptr, NoLeadBytes));
    EXPECT_FALSE(IsTiltkitKeyName(("\x82\x4f" "01"), ShiftJisLeadBytes));
}

TEST(ConsoleKeyName, NumberIsTheDecimalValue)
{
    EXPECT_EQ(10u, TiltkitKeyNumber("0010"));
    EXPECT_EQ(30u, TiltkitKeyNumber("0030"));
    EXPECT_EQ(5u, TiltkitKeyNumber("0005"));
    EXPECT_EQ(1234u, TiltkitKeyNumber("1234"));
    EXPECT_EQ(9999u, TiltkitKeyNumber("9999"));
    EXPECT_EQ(0u, TiltkitKeyNumber("0000"));
}

TILTKITENTRY Entry(uint32_t uNumber, const char *pszName)
{
    TILTKITENTRY e;
    memset(&e, 0, sizeof(e));
    e.uKeyNumber = uNumber;
    strncpy(e.szName, pszName, sizeof(e.szName) - 1);
    return e;
}

std::vector<std::string> Names(const std::vector<TILTKITENTRY> &v)
{
    std::vector<std::string> names;
    for (const TILTKITENTRY &e : v)
        names.push_back(e.szName);
    return names;
}

TEST(ConsoleEntryOrder, AscendingKeyNumberWhateverTheRegistryOrder)
{
    std::vector<TILTKITENTRY> v = { Entry(30, "c"), Entry(10, "b"), Entry(5, "a"), Entry(9999, "d") };
    SortTiltkitEntries(v.data(), v.size());
    EXPECT_EQ((std::vector<std::string>{ "a", "b", "c", "d" }), Names(v));

    std::vector<TILTKITENTRY> w = { Entry(4, "d"), Entry(3, "c"), Entry(2, "b"), Entry(1, "a"), Entry(0, "z") };
    SortTiltkitEntries(w.data(), w.size());
    EXPECT_EQ((std::vector<std::string>{ "z", "a", "b", "c", "d" }), Names(w));
}

TEST(ConsoleEntryOrder, EqualNumbersKeepTheirOrderAndWholeEntriesMove)
{
    /* "0010" and a second "0010" cannot both exist, but the sort must not
     * reorder equal keys: it exchanges only when the later one is smaller. */
    std::vector<TILTKITENTRY> v = { Entry(20, "x1"), Entry(10, "y1"), Entry(20, "x2"), Entry(10, "y2") };
    v[1].nPageCount = 7;
    strncpy(v[1].szDllFileName, "C:\\y1.dll", sizeof(v[1].szDllFileName) - 1);
    SortTiltkitEntries(v.data(), v.size());
    EXPECT_EQ((std::vector<std::string>{ "y1", "y2", "x1", "x2" }), Names(v));
    EXPECT_EQ(7, v[0].nPageCount);
    EXPECT_STREQ("C:\\y1.dll", v[0].szDllFileName);

    SortTiltkitEntries(v.data(), 0);
    SortTiltkitEntries(nullptr, 0);
    std::vector<TILTKITENTRY> one = { Entry(1, "only") };
    SortTiltkitEntries(one.data(), 1);
    EXPECT_EQ("only", Names(one)[0]);
}

} // namespace
