/*
 * The resident benchmark's arithmetic and record reading, free of Win32 so
 * that it also runs natively: the verdict on a soak's growth, the process
 * records of the system's process list, and the entries of a GDI handle
 * table as Wine lays it out in each process.
 */
#ifndef BENCH_RESIDENTCALC_H
#define BENCH_RESIDENTCALC_H

#include <stddef.h>
#include <stdint.h>

/* A figure that could not be had on this system. */
#define RESIDENT_UNKNOWN 0xFFFFFFFFu

/* What one process costs at one moment. */
typedef struct RESFIGURES {
    uint64_t cbPrivate;       /* private bytes */
    uint64_t cbWorkingSet;
    uint32_t dwHandles;       /* kernel handles */
    uint32_t dwGdi;           /* GDI objects, or RESIDENT_UNKNOWN */
    uint32_t dwUser;          /* USER objects, or RESIDENT_UNKNOWN */
} RESFIGURES;

/* Growth from the end of the warm-up to the end of a soak. */
typedef struct RESGROWTH {
    int64_t llPrivate;
    int64_t llHandles;
    int64_t llGdi;            /* 0 when either figure is unknown */
    int64_t llUser;
} RESGROWTH;

#define RESLEAK_PRIVATE 0x1u
#define RESLEAK_HANDLES 0x2u
#define RESLEAK_GDI     0x4u
#define RESLEAK_USER    0x8u

/* Fills the growth and returns the leaks found: any growth in handles, GDI
 * or USER objects, or private bytes grown by more than cbPrivateLimit.
 * A figure that shrank is no leak; an unknown one is not judged. */
unsigned JudgeSoak(const RESFIGURES *pBefore, const RESFIGURES *pAfter, uint64_t cbPrivateLimit,
                   RESGROWTH *pGrowth);

/* The system's process list (32-bit records, each starting with the offset
 * of the next, 0 for the last): the handle count of process dwPid. Returns
 * 0 when the process is not listed or the list runs past cbList. */
int FindProcessHandleCount(const unsigned char *pbList, size_t cbList, uint32_t dwPid,
                           uint32_t *pdwHandles);

/* The system's handle list: a 32-bit count, then from the pointer size on
 * one record per open handle (16 bytes, 24 in the x86-64 build), the owner
 * process first. Returns 0 when the list runs past cbList. */
int CountProcessHandles(const unsigned char *pbList, size_t cbList, uint32_t dwPid,
                        uint32_t *pdwHandles);

/* Wine's GDI handle table: entries of 24 bytes, the type in byte 14 (0 for
 * a free entry) and the stock flag in the top bit of byte 12. */
#define GDI_ENTRY_SIZE   24
#define GDI_FIRST_STOCK  32     /* index of the first stock object */

/* Counts the live objects that are not stock objects among cEntries
 * entries; *pbNeverUsed is set when every byte of them is 0 (the part of
 * the table that was never handed out). */
size_t CountLiveGdiEntries(const unsigned char *pbEntries, size_t cEntries, int *pbNeverUsed);

/* The entry is a live stock object: the table is laid out as expected. */
int IsStockGdiEntry(const unsigned char *pbEntry);

#endif
