/*
 * Reading the opt-in settings where the runtimes keep their own values.
 * Every reader treats a missing or unreadable value as 0 (off) and limits a
 * hand-edited value to its range, so an installation without them behaves
 * as it always did.
 */
#ifndef EXTRAS_EXTRASTORE_H
#define EXTRAS_EXTRASTORE_H

#include <windows.h>
#include "extras/extrapure.h"

/* One DWORD of an open key, limited to [0, dwMax]; 0 when absent. */
DWORD ExtraReadDword(HKEY hKey, LPCSTR pszName, DWORD dwMax);

/* The dead zone and "level at front" of an open Tiltfeed item key; the
 * remembered level is cleared. */
void ExtraReadFeed(HKEY hItemKey, EXTRAFEED *pFeed);

/* The quiet time of an open Jolt key, milliseconds. */
DWORD ExtraReadQuietTime(HKEY hJoltKey);

/* The two Lockwatch settings from HKLM "...\Lockwatch". */
void ExtraReadLockwatch(DWORD *pdwThreshold, BOOL *pbHoldAlarm);

#endif
