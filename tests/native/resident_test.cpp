#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include "bench/resident/residentcalc.h"

namespace {

RESFIGURES Figures(uint64_t cbPrivate, uint32_t dwHandles, uint32_t dwGdi, uint32_t dwUser)
{
    RESFIGURES f;
    f.cbPrivate = cbPrivate;
    f.cbWorkingSet = 0;
    f.dwHandles = dwHandles;
    f.dwGdi = dwGdi;
    f.dwUser = dwUser;
    return f;
}

/* A process list of 32-bit records: pid and handle count at their places,
 * each record cbRecord long, the last one's next offset 0. */
std::vector<unsigned char> ProcessList(const std::vector<std::pair<uint32_t, uint32_t>> &procs,
                                       uint32_t cbRecord = 184)
{
    std::vector<unsigned char> list(procs.size() * cbRecord, 0xCC);
    for (size_t i = 0; i < procs.size(); i++) {
        unsigned char *p = &list[i * cbRecord];
        uint32_t dwNext = i + 1 < procs.size() ? cbRecord : 0;
        memcpy(p + 0, &dwNext, 4);
        memcpy(p + 68, &procs[i].first, 4);
        memcpy(p + 76, &procs[i].second, 4);
    }
    return list;
}

void SetEntry(std::vector<unsigned char> &table, size_t i, unsigned char type, bool bStock,
              unsigned char generation = 1)
{
    unsigned char *p = &table[i * GDI_ENTRY_SIZE];
    p[0] = 0x40;                        /* an object address */
    p[12] = (unsigned char)((bStock ? 0x80 : 0) | (type & 0x7F));
    p[13] = generation;
    p[14] = type;
}

} // namespace

TEST(SoakVerdict, AnyGrowthOfHandlesGdiOrUserObjectsIsALeak)
{
    RESGROWTH g;
    RESFIGURES before = Figures(1000000, 40, 30, 5);

    EXPECT_EQ(0u, JudgeSoak(&before, &before, 65536, &g));
    EXPECT_EQ(0, g.llHandles);

    RESFIGURES after = Figures(1000000, 41, 30, 5);
    EXPECT_EQ(RESLEAK_HANDLES, JudgeSoak(&before, &after, 65536, &g));
    EXPECT_EQ(1, g.llHandles);
    after = Figures(1000000, 40, 31, 6);
    EXPECT_EQ(RESLEAK_GDI | RESLEAK_USER, JudgeSoak(&before, &after, 65536, &g));
    EXPECT_EQ(1, g.llGdi);
    EXPECT_EQ(1, g.llUser);

    /* Fewer objects at the end is no leak, and its growth is negative. */
    after = Figures(900000, 38, 29, 4);
    EXPECT_EQ(0u, JudgeSoak(&before, &after, 65536, &g));
    EXPECT_EQ(-100000, g.llPrivate);
    EXPECT_EQ(-2, g.llHandles);
}

TEST(SoakVerdict, PrivateBytesMayGrowUpToTheLimitOnly)
{
    RESGROWTH g;
    RESFIGURES before = Figures(3u * 1024 * 1024, 40, 30, 5);
    RESFIGURES after = before;

    after.cbPrivate = before.cbPrivate + 65536;
    EXPECT_EQ(0u, JudgeSoak(&before, &after, 65536, &g));
    EXPECT_EQ(65536, g.llPrivate);
    after.cbPrivate = before.cbPrivate + 65537;
    EXPECT_EQ(RESLEAK_PRIVATE, JudgeSoak(&before, &after, 65536, &g));
    /* Far above 4 GB the growth is still read as growth. */
    before.cbPrivate = 0x100000000ull;
    after.cbPrivate = 0x100000000ull + 0x20000;
    EXPECT_EQ(RESLEAK_PRIVATE, JudgeSoak(&before, &after, 65536, &g));
}

TEST(SoakVerdict, UnknownGuiFiguresAreNotJudged)
{
    RESGROWTH g;
    RESFIGURES before = Figures(1000, 40, RESIDENT_UNKNOWN, 5);
    RESFIGURES after = Figures(1000, 40, 12, RESIDENT_UNKNOWN);

    EXPECT_EQ(0u, JudgeSoak(&before, &after, 65536, &g));
    EXPECT_EQ(0, g.llGdi);
    EXPECT_EQ(0, g.llUser);
}

TEST(HandleList, CountsTheRecordsOfTheProcessAndRefusesAShortList)
{
    /* Three handles of 0x2A4, one of 8, in 16-byte records after the count. */
    const uint32_t aPids[] = { 0x2A4, 8, 0x2A4, 0x2A4 };
    std::vector<unsigned char> list(4 + 16 * 4, 0xCC);
    uint32_t cEntries = 4;
    memcpy(list.data(), &cEntries, 4);
    for (size_t i = 0; i < 4; i++)
        memcpy(&list[4 + 16 * i], &aPids[i], 4);
    uint32_t dw = 0;

    ASSERT_TRUE(CountProcessHandles(list.data(), list.size(), 0x2A4, &dw));
    EXPECT_EQ(3u, dw);
    ASSERT_TRUE(CountProcessHandles(list.data(), list.size(), 0x2A8, &dw));
    EXPECT_EQ(0u, dw);
    dw = 0xDEADBEEF;
    EXPECT_FALSE(CountProcessHandles(list.data(), list.size() - 1, 0x2A4, &dw));
    EXPECT_EQ(0xDEADBEEFu, dw) << "a count past the list's end is no answer";
}

TEST(ProcessList, FindsTheHandleCountOfTheProcess)
{
    std::vector<unsigned char> list = ProcessList({ { 0, 0 }, { 8, 120 }, { 0x2A4, 37 } });
    uint32_t dw = 0xDEADBEEF;

    ASSERT_TRUE(FindProcessHandleCount(list.data(), list.size(), 0x2A4, &dw));
    EXPECT_EQ(37u, dw);
    ASSERT_TRUE(FindProcessHandleCount(list.data(), list.size(), 8, &dw));
    EXPECT_EQ(120u, dw);

    dw = 0xDEADBEEF;
    EXPECT_FALSE(FindProcessHandleCount(list.data(), list.size(), 0x2A8, &dw));
    EXPECT_EQ(0xDEADBEEFu, dw) << "a process that is not listed leaves the count alone";
}

TEST(ProcessList, AListThatRunsPastItsBufferIsRefused)
{
    uint32_t dw = 0xDEADBEEF;
    std::vector<unsigned char> list = ProcessList({ { 4, 10 }, { 8, 20 } });

    /* Cut inside the second record: its pid lies beyond the buffer. */
    EXPECT_FALSE(FindProcessHandleCount(list.data(), 184 + 70, 8, &dw));
    /* A next offset beyond the end, and one that would stay in place. */
    uint32_t dwBad = 0x10000;
    memcpy(&list[0], &dwBad, 4);
    EXPECT_FALSE(FindProcessHandleCount(list.data(), list.size(), 8, &dw));
    dwBad = 4;
    memcpy(&list[0], &dwBad, 4);
    EXPECT_FALSE(FindProcessHandleCount(list.data(), list.size(), 8, &dw));
    EXPECT_FALSE(FindProcessHandleCount(list.data(), 40, 4, &dw)) << "shorter than one record";
    EXPECT_EQ(0xDEADBEEFu, dw);
}

TEST(GdiTable, CountsLiveObjectsThatAreNotStockObjects)
{
    std::vector<unsigned char> table(64 * GDI_ENTRY_SIZE, 0);
    int bNeverUsed = -1;

    EXPECT_EQ(0u, CountLiveGdiEntries(table.data(), 64, &bNeverUsed));
    EXPECT_EQ(1, bNeverUsed);

    SetEntry(table, GDI_FIRST_STOCK, 0x10, true);        /* a stock brush */
    SetEntry(table, GDI_FIRST_STOCK + 1, 0x10, false);   /* a brush of the program */
    SetEntry(table, GDI_FIRST_STOCK + 2, 0x01, false);   /* a DC */
    SetEntry(table, GDI_FIRST_STOCK + 3, 0, false, 4);   /* freed: type 0, used before */
    EXPECT_EQ(2u, CountLiveGdiEntries(table.data(), 64, &bNeverUsed));
    EXPECT_EQ(0, bNeverUsed);
    EXPECT_TRUE(IsStockGdiEntry(&table[GDI_FIRST_STOCK * GDI_ENTRY_SIZE]));
    EXPECT_FALSE(IsStockGdiEntry(&table[(GDI_FIRST_STOCK + 1) * GDI_ENTRY_SIZE]));
    EXPECT_FALSE(IsStockGdiEntry(&table[0])) << "a table without stock objects is not Wine's";

    /* A freed entry alone still counts as handed out. */
    int bTailNeverUsed = -1;
    EXPECT_EQ(0u, CountLiveGdiEntries(&table[(GDI_FIRST_STOCK + 3) * GDI_ENTRY_SIZE], 1, &bTailNeverUsed));
    EXPECT_EQ(0, bTailNeverUsed);
}
