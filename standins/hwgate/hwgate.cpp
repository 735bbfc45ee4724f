/*
 * Hwgate.DLL stand-in: answers reads (0xFE00) and writes (0xFF00) of the
 * settings 0x5E and 0x6E through the register block, status 0 in bits 8-15
 * of the EAX slot; other settings and codes get a non-zero status. State
 * and a log of every call live under HKLM HWGATE_STANDIN_KEY.
 */
#include <windows.h>
#include <stdio.h>
#include "standins/hwgate/hwgate_ctl.h"

typedef struct REGS {
    DWORD dwEdi, dwEsi, dwEbp, dwEsp, dwEbx, dwEdx, dwEcx, dwEax;
    DWORD adwReserved[9];
} REGS;
static_assert(sizeof(REGS) == 68, "register block");
static_assert(sizeof(HWGATELOGRECORD) == 32, "log record");

static DWORD GetDword(HKEY hKey, const char *pszName, DWORD dwDefault)
{
    DWORD dw = 0, cb = sizeof(dw), dwType = 0;
    if (RegQueryValueExA(hKey, pszName, NULL, &dwType, (BYTE *)&dw, &cb) != ERROR_SUCCESS ||
        dwType != REG_DWORD || cb != sizeof(dw))
        return dwDefault;
    return dw;
}

static void SetDword(HKEY hKey, const char *pszName, DWORD dw)
{
    RegSetValueExA(hKey, pszName, 0, REG_DWORD, (const BYTE *)&dw, sizeof(dw));
}

static void AppendLog(HKEY hKey, const HWGATELOGRECORD *pRecord)
{
    static HWGATELOGRECORD s_aLog[HWGATE_LOG_MAX];
    DWORD cb = sizeof(s_aLog), dwType = 0;

    if (RegQueryValueExA(hKey, HWGATE_VAL_LOG, NULL, &dwType, (BYTE *)s_aLog, &cb) != ERROR_SUCCESS ||
        dwType != REG_BINARY)
        cb = 0;
    cb -= cb % sizeof(HWGATELOGRECORD);
    if (cb / sizeof(HWGATELOGRECORD) >= HWGATE_LOG_MAX)
        return;
    s_aLog[cb / sizeof(HWGATELOGRECORD)] = *pRecord;
    cb += sizeof(HWGATELOGRECORD);
    RegSetValueExA(hKey, HWGATE_VAL_LOG, 0, REG_BINARY, (const BYTE *)s_aLog, cb);
}

extern "C" DWORD WINAPI HwgateFunction(void *pBlock)
{
    REGS *pRegs = (REGS *)pBlock;
    HWGATELOGRECORD record;
    LARGE_INTEGER li;
    HKEY hKey = NULL;
    char szName[16];
    DWORD dwFail, dwResult = 1;
    int i;

    QueryPerformanceCounter(&li);
    if (pRegs == NULL)
        return 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                        &hKey, NULL) != ERROR_SUCCESS)
        return 0;

    ZeroMemory(&record, sizeof(record));
    record.dwRequest = GetDword(hKey, HWGATE_VAL_REQUESTS, 0) + 1;
    SetDword(hKey, HWGATE_VAL_REQUESTS, record.dwRequest);
    record.dwCode = pRegs->dwEax;
    record.dwNumber = pRegs->dwEbx;
    record.dwValue = pRegs->dwEcx;
    record.llCounter = li.QuadPart;
    if (pRegs->dwEbp || pRegs->dwEsp || pRegs->dwEdx || pRegs->dwEsi || pRegs->dwEdi)
        record.dwStray = 1;
    for (i = 0; i < 9; i++)
        if (pRegs->adwReserved[i])
            record.dwStray = 1;

    dwFail = GetDword(hKey, HWGATE_VAL_FAILCOUNT, 0);
    if (dwFail != 0) {
        if (dwFail != HWGATE_FAIL_ALWAYS)
            SetDword(hKey, HWGATE_VAL_FAILCOUNT, dwFail - 1);
        record.dwFailed = 1;
        if (GetDword(hKey, HWGATE_VAL_FAILMODE, 0) == 1)
            pRegs->dwEax = (pRegs->dwEax & ~0xFF00u) | (HWGATE_STATUS_FAILED << 8);
        else
            dwResult = 0;
    } else if (pRegs->dwEbx != 0x5E && pRegs->dwEbx != 0x6E) {
        pRegs->dwEax = HWGATE_STATUS_BADSETTING << 8;
    } else {
        _snprintf(szName, sizeof(szName), HWGATE_VAL_SETTING_FMT, (unsigned)pRegs->dwEbx);
        szName[sizeof(szName) - 1] = '\0';
        if (pRegs->dwEax == 0xFE00) {
            pRegs->dwEcx = GetDword(hKey, szName, 0);
            record.dwValue = pRegs->dwEcx;
            pRegs->dwEax = 0;
        } else if (pRegs->dwEax == 0xFF00) {
            SetDword(hKey, szName, pRegs->dwEcx);
            pRegs->dwEax = 0;
        } else {
            pRegs->dwEax = HWGATE_STATUS_BADCODE << 8;
        }
    }
    AppendLog(hKey, &record);
    RegCloseKey(hKey);
    return dwResult;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    return TRUE;
}
