/*
 * The launcher-menu plug-in's logic that needs no Win32: the menu item
 * record it fills for the host, and the path of Lockwatch.exe next to the
 * host's program file. Compiled into Quadlock.dll, the launcher host
 * stand-in and the native tests. Text is UTF-16, as the host's.
 */
#ifndef MOTIONLOCK_QUADMENU_H
#define MOTIONLOCK_QUADMENU_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
typedef wchar_t QCHAR;
#else
typedef char16_t QCHAR;
#endif

/* The menu item record, offsets from its start. */
#define QUADMENU_OFS_ICON       0       /* 32-bit icon handle */
#define QUADMENU_OFS_TEXT       4       /* item text, zero-terminated */
#define QUADMENU_CCH_TEXT       128     /* wide characters of the text field */
#define QUADMENU_OFS_RESERVED1  260     /* host's word: always 0 */
#define QUADMENU_OFS_RESERVED2  264     /* host's word: always -1 */
#define QUADMENU_CB_RECORD      268

/* The runtime's program file, expected in the host program's folder. */
#define QUADMENU_LOCKWATCH_EXE  "Lockwatch.exe"

/*
 * Fills all 268 bytes of a record: the icon handle at 0, the text at 4 cut
 * to 127 characters and terminated, the rest of the text field zero, 0 at
 * 260 and 0xFFFFFFFF at 264, all little-endian. A null text writes an empty
 * item. The record may lie at any address.
 */
void FillMenuRecord(unsigned char *pbRecord, uint32_t dwIcon, const QCHAR *pszText);

/*
 * Drive and directory of pszHostPath (everything up to its last backslash
 * or slash, or the drive of "C:host.exe") followed by "Lockwatch.exe".
 * Returns 1 with the path in pszOut, or 0 with pszOut empty when it does
 * not fit in cchOut characters with its terminator, or when the host path
 * has neither a directory nor a drive (no folder to look in).
 */
int BuildLockwatchPath(QCHAR *pszOut, size_t cchOut, const QCHAR *pszHostPath);

#endif
