#include "residentcalc.h"
#include <string.h>

/* Offsets in a process record of the system's process list: the 32-bit
 * layout, and the 64-bit one for the x86-64 test build. */
#define SPI_NEXT_OFFSET   0
#ifdef _WIN64
#define SPI_PID_OFFSET    80
#define SPI_HANDLES_OFFSET 96
#define SPI_MIN_SIZE      104
#else
#define SPI_PID_OFFSET    68
#define SPI_HANDLES_OFFSET 76
#define SPI_MIN_SIZE      80
#endif

#ifdef _WIN64
#define SHI_FIRST_OFFSET  8
#define SHI_ENTRY_SIZE    24
#else
#define SHI_FIRST_OFFSET  4
#define SHI_ENTRY_SIZE    16
#endif

#define GDI_STOCK_BYTE    12
#define GDI_STOCK_BIT     0x80
#define GDI_TYPE_BYTE     14

static int64_t Growth(uint64_t ullBefore, uint64_t ullAfter)
{
    return (int64_t)(ullAfter - ullBefore);
}

static int64_t KnownGrowth(uint32_t dwBefore, uint32_t dwAfter)
{
    if (dwBefore == RESIDENT_UNKNOWN || dwAfter == RESIDENT_UNKNOWN)
        return 0;
    return (int64_t)dwAfter - (int64_t)dwBefore;
}

unsigned JudgeSoak(const RESFIGURES *pBefore, const RESFIGURES *pAfter, uint64_t cbPrivateLimit,
                   RESGROWTH *pGrowth)
{
    unsigned uLeaks = 0;

    pGrowth->llPrivate = Growth(pBefore->cbPrivate, pAfter->cbPrivate);
    pGrowth->llHandles = (int64_t)pAfter->dwHandles - (int64_t)pBefore->dwHandles;
    pGrowth->llGdi = KnownGrowth(pBefore->dwGdi, pAfter->dwGdi);
    pGrowth->llUser = KnownGrowth(pBefore->dwUser, pAfter->dwUser);

    if (pGrowth->llPrivate > 0 && (uint64_t)pGrowth->llPrivate > cbPrivateLimit)
        uLeaks |= RESLEAK_PRIVATE;
    if (pGrowth->llHandles > 0)
        uLeaks |= RESLEAK_HANDLES;
    if (pGrowth->llGdi > 0)
        uLeaks |= RESLEAK_GDI;
    if (pGrowth->llUser > 0)
        uLeaks |= RESLEAK_USER;
    return uLeaks;
}

static uint32_t ReadU32(const unsigned char *pb)
{
    uint32_t dw;

    memcpy(&dw, pb, sizeof(dw));
    return dw;
}

int FindProcessHandleCount(const unsigned char *pbList, size_t cbList, uint32_t dwPid,
                           uint32_t *pdwHandles)
{
    size_t ofs = 0;

    for (;;) {
        uint32_t dwNext;

        if (cbList < SPI_MIN_SIZE || ofs > cbList - SPI_MIN_SIZE)
            return 0;
        if (ReadU32(pbList + ofs + SPI_PID_OFFSET) == dwPid) {
            *pdwHandles = ReadU32(pbList + ofs + SPI_HANDLES_OFFSET);
            return 1;
        }
        dwNext = ReadU32(pbList + ofs + SPI_NEXT_OFFSET);
        /* A record shorter than its own fields would walk in place. */
        if (dwNext == 0 || dwNext < SPI_MIN_SIZE || dwNext > cbList - ofs)
            return 0;
        ofs += dwNext;
    }
}

int CountProcessHandles(const unsigned char *pbList, size_t cbList, uint32_t dwPid,
                        uint32_t *pdwHandles)
{
    uint32_t cEntries, i, n = 0;

    if (cbList < SHI_FIRST_OFFSET)
        return 0;
    cEntries = ReadU32(pbList);
    if (cEntries > (cbList - SHI_FIRST_OFFSET) / SHI_ENTRY_SIZE)
        return 0;
    for (i = 0; i < cEntries; i++) {
        if (ReadU32(pbList + SHI_FIRST_OFFSET + (size_t)i * SHI_ENTRY_SIZE) == dwPid)
            n++;
    }
    *pdwHandles = n;
    return 1;
}

size_t CountLiveGdiEntries(const unsigned char *pbEntries, size_t cEntries, int *pbNeverUsed)
{
    size_t cLive = 0;
    size_t i;
    size_t b;

    *pbNeverUsed = 1;
    for (i = 0; i < cEntries; i++) {
        const unsigned char *pbEntry = pbEntries + i * GDI_ENTRY_SIZE;

        for (b = 0; b < GDI_ENTRY_SIZE && *pbNeverUsed; b++) {
            if (pbEntry[b] != 0)
                *pbNeverUsed = 0;
        }
        if (pbEntry[GDI_TYPE_BYTE] != 0 && !(pbEntry[GDI_STOCK_BYTE] & GDI_STOCK_BIT))
            cLive++;
    }
    return cLive;
}

int IsStockGdiEntry(const unsigned char *pbEntry)
{
    return pbEntry[GDI_TYPE_BYTE] != 0 && (pbEntry[GDI_STOCK_BYTE] & GDI_STOCK_BIT) != 0;
}
