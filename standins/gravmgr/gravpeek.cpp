/*
 * Gravpeek.exe [COUNT [INTERVAL_MS]]: loads Gravmon.dll from the path in
 * HKLM "SOFTWARE\Zelvar\Tiltkit\Gravmon" "PATH" the way the suite does and
 * prints the angles, acceleration, raw readings and zero base COUNT times
 * (default 1), INTERVAL_MS apart (default 500), using only the exports.
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "common/gravbind.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "gravmon/gravmon.h"

#define GRAVPEEK_COUNT_MAX    100000
#define GRAVPEEK_INTERVAL_MAX 60000

struct GravpeekApi {
    PFN_GETANGLE pfnGetAngle;
    PFN_GETACCELERATION pfnGetAcceleration;
    PFN_GETIMMEDIATE pfnGetImmediate;
    PFN_GETZEROBASE pfnGetZeroBase;
};

static const char *ResultText(LONG lResult)
{
    switch (lResult) {
    case GRAVMON_E_ACCESS: return "access refused";
    case GRAVMON_E_ARGUMENT: return "bad argument";
    case GRAVMON_E_WINDOW: return "not a window";
    case GRAVMON_E_UNAVAILABLE: return "no manager";
    case GRAVMON_E_MONOPOLY: return "monopolized by another window";
    case GRAVMON_E_INACTIVE: return "manager not active";
    case GRAVMON_E_ZEROBASE: return "zero base not valid";
    }
    return "unknown";
}

static void PrintReading(const GravpeekApi *pApi, HWND hwnd, int nIndex)
{
    float fX = 0.0f, fY = 0.0f;
    WORD wX = 0, wY = 0, awZb[4] = { 0, 0, 0, 0 };
    LONG r;

    printf("#%-3d", nIndex);
    r = pApi->pfnGetAngle(&fX, &fY, hwnd);
    if (r == 0)
        printf(" angle X %6.1f Y %6.1f |", fX, fY);
    else
        printf(" angle: %ld (%s) |", (long)r, ResultText(r));
    r = pApi->pfnGetAcceleration(&fX, &fY, hwnd);
    if (r == 0)
        printf(" accel X %6.3f Y %6.3f g |", fX, fY);
    else
        printf(" accel: %ld (%s) |", (long)r, ResultText(r));
    r = pApi->pfnGetImmediate(&wX, &wY);
    if (r == 0)
        printf(" raw %4u %4u |", wX, wY);
    else
        printf(" raw: %ld (%s) |", (long)r, ResultText(r));
    r = pApi->pfnGetZeroBase(&awZb[0], &awZb[1], &awZb[2], &awZb[3]);
    if (r == 0)
        printf(" zero base %u %u %u %u\n", awZb[0], awZb[1], awZb[2], awZb[3]);
    else
        printf(" zero base: %ld (%s)\n", (long)r, ResultText(r));
    fflush(stdout);
}

int main(int argc, char **argv)
{
    GravpeekApi api;
    const GRAVMONEXPORT aExports[] = {
        GRAVMON_BIND(GRAVMON_EXPORT_GETANGLE, api.pfnGetAngle),
        GRAVMON_BIND(GRAVMON_EXPORT_GETACCELERATION, api.pfnGetAcceleration),
        GRAVMON_BIND(GRAVMON_EXPORT_GETIMMEDIATE, api.pfnGetImmediate),
        GRAVMON_BIND(GRAVMON_EXPORT_GETZEROBASE, api.pfnGetZeroBase),
    };
    HMODULE hLib = NULL;
    HWND hwnd = NULL;
    long lCount = argc > 1 ? atol(argv[1]) : 1;
    long lInterval = argc > 2 ? atol(argv[2]) : 500;
    int nExit = 1;
    long i;

    if (lCount < 1 || lCount > GRAVPEEK_COUNT_MAX || lInterval < 0 ||
        lInterval > GRAVPEEK_INTERVAL_MAX) {
        fprintf(stderr, "usage: Gravpeek [COUNT [INTERVAL_MS]]\n");
        return 2;
    }
    switch (LoadGravmon(&hLib, aExports, ARRAYSIZE(aExports), REGREAD_STRING_TYPE, NULL)) {
    case GRAVMON_LOAD_OK:
        break;
    case GRAVMON_LOAD_NOPATH:
        fprintf(stderr, "Gravpeek: HKLM\\%s \"%s\" is not set\n", TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH);
        return 1;
    default:
        fprintf(stderr, "Gravpeek: Gravmon cannot be loaded or lacks an export\n");
        goto cleanup;
    }
    /* GetAngle and GetAcceleration want an existing window of the caller. */
    hwnd = CreateWindowExA(0, "STATIC", "Gravpeek", 0, 0, 0, 0, 0, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
    if (hwnd == NULL)
        goto cleanup;
    for (i = 1; i <= lCount; i++) {
        PrintReading(&api, hwnd, (int)i);
        if (i < lCount)
            Sleep((DWORD)lInterval);
    }
    nExit = 0;
cleanup:
    if (hwnd != NULL)
        DestroyWindow(hwnd);
    if (hLib != NULL)
        FreeLibrary(hLib);
    return nExit;
}
