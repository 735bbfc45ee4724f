/*
 * Shared state of the Hwgate stand-in (Hwgate.DLL in the system directory).
 * The library is loaded and freed for every hardware operation, so what it
 * keeps lives in a registry key of its own, where a test can also read what
 * was written and tell it to fail or to forget its settings.
 */
#ifndef HWGATE_CTL_H
#define HWGATE_CTL_H

#define HWGATE_STANDIN_KEY     "SOFTWARE\\Zelvar\\HwgateStandin"

/* DWORD values */
#define HWGATE_VAL_SETTING_FMT "Setting%02X"    /* "Setting5E", "Setting6E": current value */
#define HWGATE_VAL_REQUESTS    "Requests"       /* calls of HwgateFunction */
#define HWGATE_VAL_FAILCOUNT   "FailCount"      /* calls still to fail; 0xFFFFFFFF = all */
#define HWGATE_VAL_FAILMODE    "FailMode"       /* 0: return 0; 1: return 1, status 0x86 */
/* REG_BINARY: one HWGATELOGRECORD per call, at most HWGATE_LOG_MAX */
#define HWGATE_VAL_LOG         "Log"

#define HWGATE_FAIL_ALWAYS     0xFFFFFFFFu
#define HWGATE_STATUS_FAILED   0x86u
#define HWGATE_STATUS_BADSETTING 0x01u
#define HWGATE_STATUS_BADCODE  0x80u
#define HWGATE_LOG_MAX         256

#pragma pack(push, 4)
typedef struct HWGATELOGRECORD {
    unsigned long dwRequest;    /* 1-based call number */
    unsigned long dwCode;       /* EAX slot as passed */
    unsigned long dwNumber;     /* EBX slot */
    unsigned long dwValue;      /* ECX slot as passed (writes) or as answered (reads) */
    unsigned long dwStray;      /* 1 when a slot that must be 0 was not */
    unsigned long dwFailed;     /* 1 when the call was told to fail */
    long long llCounter;        /* QueryPerformanceCounter at the call */
} HWGATELOGRECORD;
#pragma pack(pop)

#endif
