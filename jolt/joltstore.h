/*
 * The Jolt settings store: the machine-wide defaults and each user's working
 * copy below "SOFTWARE\Zelvar\Tiltkit\Jolt", the defaults refresh that keeps
 * the user's copy in step with the installation, and the reading and writing
 * of the values. Shared by Joltrun and Joltcfg; neither shows anything here.
 */
#ifndef JOLT_JOLTSTORE_H
#define JOLT_JOLTSTORE_H

#include <windows.h>
#include "common/regpaths.h"
#include "common/regread.h"
#include "jolt/joltpure.h"

#define JOLT_VAL_VERSION        "Version"
#define JOLT_VAL_INSTALLTIME    "InstallTime"
#define JOLT_VAL_SETTING        "JoltSetting"
#define JOLT_VAL_VLAUNCHPATH    "VerticalLaunchPath"
#define JOLT_VAL_HLAUNCHPATH    "HorizontalLaunchPath"
#define JOLT_VAL_VSOUNDPATH     "VerticalSoundPath"
#define JOLT_VAL_HSOUNDPATH     "HorizontalSoundPath"
#define JOLT_VAL_IDLETIME       "IdleTime"
#define JOLT_VAL_HELPFILEPATH   "HelpFilePath"
/* Opt-in, a DWORD beside the user's own values: milliseconds after the
 * user's last key or mouse input during which quick tilts are dropped. */
#define JOLT_VAL_QUIETTIME      "ExtraQuietTime"
/* Opt-in, a DWORD beside the user's own values: anything but 0 turns the
 * screen as the computer is held upright (jolt/autorotate.h). */
#define JOLT_VAL_AUTOROTATE     "ExtraAutoRotate"

/* How the other programs find a running Joltrun and tell it about new
 * settings. */
#define JOLTRUN_MUTEX             "TiltkitJoltMutex"
#define JOLTRUN_WINDOWCLASS       "TiltkitJolt Class"
#define JOLTRUN_WINDOWNAME        "TiltkitJolt"
#define JOLTRUN_MSG_CONFIGCHANGED "JoltConfigChangedNotify"

/* "JoltConfigChangedNotify", registered once per module before its entry
 * point runs. */
extern UINT g_uMsgJoltConfigChanged;

/* Access of the per-user key: KEY_READ | KEY_WRITE (0x2001F). */
#define JOLT_USER_ACCESS (KEY_READ | KEY_WRITE)

/* The Jolt values are read by common/regread.h with their types unexamined:
 * installations may have written them either way. Numbers and blocks
 * shorter than their size read with the missing bytes 0 (JOLT_READ_BLOCK);
 * longer ones fail. */
#define JOLT_READ_BLOCK REGREAD_SHORT_ZERO

/* Reads a 4-byte value; a shorter one reads with its missing bytes 0. */
BOOL JoltReadDword(HKEY hKey, LPCSTR pszName, DWORD *pdwValue);

/*
 * Reads a text value of at most 259 characters into a 260-byte buffer and
 * terminates it. Fails, leaving the buffer untouched, when the value is
 * missing or longer.
 */
BOOL JoltReadPath(HKEY hKey, LPCSTR pszName, char szPath[TILTKIT_TEXT_MAX]);

/*
 * Defaults refresh. JOLT_REFRESH_BROKEN (-1): the machine key's "Version"
 * (or, with equal versions, its "InstallTime") cannot be read;
 * JOLT_REFRESH_COPY (2): the user's copy is missing or from another
 * installation; JOLT_REFRESH_CURRENT (0): the user's copy is current.
 */
int CheckJoltVersion(HKEY hMachineKey, HKEY hUserKey);
/* 0, 6 (user time unreadable) or 8 (machine time unreadable); *pbSame 1 when equal. */
int CompInstallTime(HKEY hUserKey, HKEY hMachineKey, int *pbSame);

/* Copies every value and subkey of the machine key into the open user key. */
LONG JoltCopyDefaults(HKEY hUserKey);

/*
 * Reads the Jolt values from the open per-user key in stored order:
 * "JoltSetting", the vertical and horizontal sound paths, the vertical and
 * horizontal launch paths, and "IdleTime" when pdwIdleTime is not NULL.
 * Stops at the first value that cannot be read; the fields read before it
 * keep their new values, the others stay untouched.
 */
BOOL JoltReadValues(HKEY hUserKey, JOLTSETTING *pSetting,
                    char szVerticalSound[TILTKIT_TEXT_MAX],
                    char szHorizontalSound[TILTKIT_TEXT_MAX],
                    char szVerticalLaunch[TILTKIT_TEXT_MAX],
                    char szHorizontalLaunch[TILTKIT_TEXT_MAX],
                    DWORD *pdwIdleTime);

/*
 * Writes the values the settings page edits into the existing per-user key:
 * "JoltSetting", then the vertical launch and sound paths, then the
 * horizontal ones. Every write is attempted; TRUE when all succeeded.
 */
BOOL SaveJoltData(const JOLTSETTING *pSetting, LPCSTR pszVerticalLaunch,
                  LPCSTR pszVerticalSound, LPCSTR pszHorizontalLaunch,
                  LPCSTR pszHorizontalSound);

/* The quiet time of an open per-user key, limited to JOLT_MAX_QUIETTIME;
 * absent, of another type than REG_DWORD or unreadable: 0 (off). */
DWORD JoltReadQuietTime(HKEY hUserKey);
/* Writes the quiet time into the per-user key (made when missing). */
LONG JoltSaveQuietTime(DWORD dwQuietTime);

/* Automatic screen rotation of an open per-user key: TRUE when on; absent,
 * of another type than REG_DWORD or unreadable: off. */
BOOL JoltReadAutoRotate(HKEY hUserKey);
/* Writes it as 0 or 1 into the per-user key (made when missing). */
LONG JoltSaveAutoRotate(BOOL bOn);

/* The running Joltrun's window, or NULL. */
HWND FindJoltrun(void);
/* Posts "JoltConfigChangedNotify" to that window (NULL: nothing to tell). */
BOOL TellJoltrun(HWND hwndJoltrun);

#endif
