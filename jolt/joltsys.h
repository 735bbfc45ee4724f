/*
 * The system calls behind Joltrun's actions, called through one table so
 * that the effects that cannot be observed from outside (the sound, the
 * Start menu, a turned screen) can be checked in-process. The table holds
 * the real functions.
 */
#ifndef JOLT_JOLTSYS_H
#define JOLT_JOLTSYS_H

#include <windows.h>

typedef struct JOLTSYSTEM {
    LRESULT (WINAPI *pfnSendMessageA)(HWND, UINT, WPARAM, LPARAM);
    UINT (WINAPI *pfnSendInput)(UINT, LPINPUT, int);
    HINSTANCE (WINAPI *pfnShellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    BOOL (WINAPI *pfnPlaySoundA)(LPCSTR, HMODULE, DWORD);
    UINT_PTR (WINAPI *pfnSetTimer)(HWND, UINT_PTR, UINT, TIMERPROC);
    /* only with a quiet time: the input watch's low-level hooks */
    HHOOK (WINAPI *pfnSetWindowsHookExA)(int, HOOKPROC, HINSTANCE, DWORD);
    BOOL (WINAPI *pfnUnhookWindowsHookEx)(HHOOK);
    /* only with automatic screen rotation */
    BOOL (WINAPI *pfnEnumDisplaySettingsA)(LPCSTR, DWORD, DEVMODEA *);
    LONG (WINAPI *pfnChangeDisplaySettingsExA)(LPCSTR, DEVMODEA *, HWND, DWORD, LPVOID);
} JOLTSYSTEM;

extern JOLTSYSTEM g_JoltSystem;

#endif
