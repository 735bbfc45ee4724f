/*
 * Provisio.dll: setup support, loaded and called by the installation
 * program. It shows nothing and its results are constant.
 *
 *   SetInstInfo         stamps "InstallTime" into the Tiltfeed and Jolt
 *                       machine keys that exist (after the defaults are written)
 *   CleanInstReg        closes the accelerometer manager and Joltrun and
 *                       deletes the machine tree
 *   UninstInitialize    the uninstallation clean-up: closes both programs,
 *                       deletes every user's Tiltfeed shortcuts, the machine
 *                       tree and the motion-security files of the launcher menu
 *   UninstUnInitialize  nothing
 */
#ifndef SETUP_PROVISIO_H
#define SETUP_PROVISIO_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI SetInstInfo(void);
int WINAPI CleanInstReg(void);
int WINAPI UninstInitialize(HWND hwndDlg, int nReserved1, int nReserved2);
int WINAPI UninstUnInitialize(HWND hwndDlg, int nReserved1, int nReserved2);

typedef int(WINAPI *PFNSETINSTINFO)(void);
typedef int(WINAPI *PFNCLEANINSTREG)(void);
typedef int(WINAPI *PFNUNINSTINITIALIZE)(HWND, int, int);
typedef int(WINAPI *PFNUNINSTUNINITIALIZE)(HWND, int, int);

#ifdef __cplusplus
}
#endif

/* How long Provisio waits for a program it asked to close. */
#define PROVISIO_CLOSE_WAIT_MS 10000

#define PROVISIO_VAL_INSTALLTIME "InstallTime"
#define PROVISIO_VAL_FEEDRUNPATH "FeedrunPath"

#endif
