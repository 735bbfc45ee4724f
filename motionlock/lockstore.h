/*
 * Lockwatch's opt-in settings, machine-wide DWORDs beside "BeepSound" in
 * HKLM "SOFTWARE\Zelvar\Tiltkit\Lockwatch": a movement threshold and the
 * held alarm. Read by Lockwatch when it starts, written by the page
 * "Дополнительно"; absent or 0 they are off and Lockwatch guards as always.
 */
#ifndef MOTIONLOCK_LOCKSTORE_H
#define MOTIONLOCK_LOCKSTORE_H

#include <windows.h>

#define LOCKWATCH_VAL_MOVETHRESHOLD "ExtraMoveThreshold"  /* thousandths of g */
#define LOCKWATCH_VAL_HOLDALARM     "ExtraHoldAlarm"      /* 0 or 1 */

/* Largest movement threshold; a larger stored value counts as this. */
#define LOCKWATCH_MAX_MOVETHRESHOLD 1000u

/* How often the held alarm looks at the speaker, milliseconds. */
#define LOCKWATCH_HOLD_PERIOD 1000

/* Both settings; a value that is missing, not a REG_DWORD or unreadable is
 * off, a larger threshold than allowed counts as the largest. */
void ReadLockwatchOptions(DWORD *pdwMoveThreshold, BOOL *pbHoldAlarm);

/* Writes one of them (the key is made when missing); what the registry
 * returned, ERROR_ACCESS_DENIED for a user without the right. */
LONG SaveLockwatchOption(LPCSTR pszName, DWORD dwValue);

#endif
