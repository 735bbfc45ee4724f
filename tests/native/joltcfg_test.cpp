#include <gtest/gtest.h>
#include "jolt/joltcfgpure.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string &list, size_t cbMax, PFNNAMECHECKLEAD pfnIsLead)
{
    JOLTCFGPIECE aPieces[8];
    int n = JoltSplitList(list.c_str(), cbMax, pfnIsLead, aPieces, 8);
    std::vector<std::string> items;
    for (int i = 0; i < n && i < 8; i++)
        items.push_back(list.substr(aPieces[i].ibStart, aPieces[i].cb));
    return items;
}

int LeadFF(unsigned char b) { return b == 0xFF; }

} // namespace

TEST(JoltActionList, ItemsKeepTheirLeadingBlankAndTheTailIsDropped)
{
    const std::string list =
        u8"Ничего, Отобразить главное меню, Изменение приложения, Выполнение указанной программы,";
    EXPECT_EQ((std::vector<std::string>{ u8"Ничего", u8" Отобразить главное меню",
                                         u8" Изменение приложения",
                                         u8" Выполнение указанной программы" }),
              Split(list, JOLTCFG_LIST_SCAN_MAX, NameCheckNoLeadByte));
    EXPECT_EQ((std::vector<std::string>{ "a", "", " b" }),
              Split("a,, b,tail without comma", 1024, NULL));
    EXPECT_TRUE(Split("no comma at all", 1024, NULL).empty());
    EXPECT_TRUE(Split("", 1024, NULL).empty());
}

TEST(JoltActionList, DoubleByteCharactersAreOneUnitAndTheScanIsBounded)
{
    /* Shift JIS items with trail bytes '\' and '|'. */
    const std::string sj = "\x83\x5C\x83\x7C,\x95\x5C,";
    EXPECT_EQ((std::vector<std::string>{ "\x83\x5C\x83\x7C", "\x95\x5C" }),
              Split(sj, 1024, NameCheckLeadByte932));
    /* A code page whose trail byte may be a comma: that comma ends nothing. */
    EXPECT_EQ((std::vector<std::string>{ "a\xFF,b" }), Split("a\xFF,b,", 1024, LeadFF));
    EXPECT_EQ((std::vector<std::string>{ "a\xFF", "b" }), Split("a\xFF,b,", 1024, NULL));
    /* Only cbMax bytes are scanned: a comma beyond them is not seen, nor is
     * a trail byte beyond them taken with its lead byte. */
    EXPECT_EQ((std::vector<std::string>{ "ab" }), Split("ab,cd,", 4, NULL));
    EXPECT_TRUE(Split("ab\xFF,", 3, LeadFF).empty());
    /* More items than room: all are counted, the room is filled. */
    JOLTCFGPIECE aOne[1];
    EXPECT_EQ(3, JoltSplitList("x,y,z,", 1024, NULL, aOne, 1));
    EXPECT_EQ(0u, aOne[0].ibStart);
    EXPECT_EQ(1u, aOne[0].cb);
}

TEST(JoltPageRules, EnabledControlsPerActionAndSoundTick)
{
    struct { long nAction; int bTicked; int bProgram, bCheck, bSound; int line; } cases[] = {
        { 0, 0, 0, 0, 0, __LINE__ },
        { 0, 1, 0, 0, 0, __LINE__ },  /* the tick stays, the controls are off */
        { 1, 0, 0, 1, 0, __LINE__ },
        { 1, 1, 0, 1, 1, __LINE__ },
        { 2, 1, 0, 1, 1, __LINE__ },
        { 3, 0, 1, 1, 0, __LINE__ },
        { 3, 1, 1, 1, 1, __LINE__ },
        { 7, 1, 0, 1, 1, __LINE__ },  /* a stored code beyond the list */
        { -1, 0, 0, 1, 0, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        JOLTCFGSTATE s = { 9, 9, 9 };
        JoltControlState(c.nAction, c.bTicked, &s);
        EXPECT_EQ(c.bProgram, s.bProgram);
        EXPECT_EQ(c.bCheck, s.bCheck);
        EXPECT_EQ(c.bSound, s.bSound);
    }
}

TEST(JoltPageRules, DirectionCheck)
{
    struct { long nAction; int bTicked; size_t cchProgram, cchSound; int nResult; int line; } cases[] = {
        { 0, 1, 0, 0, JOLTCFG_VALID, __LINE__ },        /* action 0: whatever the rest holds */
        { 3, 0, 0, 5, JOLTCFG_NO_PROGRAM, __LINE__ },
        { 3, 1, 0, 0, JOLTCFG_NO_PROGRAM, __LINE__ },   /* the program is looked at first */
        { 3, 1, 1, 0, JOLTCFG_NO_SOUND, __LINE__ },     /* one blank is a program */
        { 3, 1, 1, 1, JOLTCFG_VALID, __LINE__ },
        { 1, 0, 0, 0, JOLTCFG_VALID, __LINE__ },        /* no program needed */
        { 2, 1, 0, 0, JOLTCFG_NO_SOUND, __LINE__ },
        { -1, 1, 0, 0, JOLTCFG_NO_SOUND, __LINE__ },    /* no selection */
        { -1, 0, 0, 0, JOLTCFG_VALID, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.nResult, JoltCheckDirection(c.nAction, c.bTicked, c.cchProgram, c.cchSound));
    }
}
