/*
 * The few platform calls of Lockwatch that a test of its logic needs to
 * stand in for (the workstation lock, the sound, the retry pauses, and the
 * binding of outside entry points). The program uses the real functions;
 * a test that compiles Lockwatch's sources into itself may replace them.
 */
#ifndef MOTIONLOCK_LOCKPLATFORM_H
#define MOTIONLOCK_LOCKPLATFORM_H

#include <windows.h>

typedef struct LOCKWATCHPLATFORM {
    BOOL (WINAPI *pfnLockWorkStation)(void);
    BOOL (WINAPI *pfnPlaySoundA)(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
    VOID (WINAPI *pfnSleep)(DWORD dwMilliseconds);
    FARPROC (WINAPI *pfnGetProcAddress)(HMODULE hModule, LPCSTR pszProcName);
} LOCKWATCHPLATFORM;

extern LOCKWATCHPLATFORM g_LockwatchPlatform;

/* Puts the real functions back. */
void ResetLockwatchPlatform(void);

#endif
