/*
 * The registry reader: strings bounded by their buffer and always
 * terminated, 4-byte numbers and fixed-size binary blocks. Value types are
 * not examined unless the caller asks (REGREAD_STRING_TYPE): installations
 * may have written a value either way. On any
 * failure the output is left untouched and the result says why:
 * ERROR_FILE_NOT_FOUND (no such value), ERROR_MORE_DATA (longer than the
 * buffer), ERROR_INVALID_DATA (refused by the caller's policy), or what the
 * registry returned.
 */
#ifndef TILTKIT_REGREAD_H
#define TILTKIT_REGREAD_H

#include <windows.h>

/* Policies, combined with |. */
#define REGREAD_REFUSE_FULL  0x0000 /* text filling the whole buffer unterminated: refused */
#define REGREAD_CUT_FULL     0x0001 /* ... cut to cbOut - 1 characters instead */
#define REGREAD_REFUSE_SHORT 0x0000 /* number or block shorter than asked: refused */
#define REGREAD_SHORT_ZERO   0x0002 /* ... its missing bytes read as 0 instead */
#define REGREAD_STRING_TYPE  0x0004 /* text stored other than REG_SZ or REG_EXPAND_SZ: refused */
#define REGREAD_DWORD_TYPE   0x0008 /* number or block stored other than REG_DWORD: refused */

/* A text of at most cbOut - 1 characters, terminated. */
LONG RegReadText(HKEY hKey, LPCSTR pszName, LPSTR pszOut, DWORD cbOut, DWORD dwPolicy);

/* A 4-byte number, little-endian as stored. */
LONG RegReadDword(HKEY hKey, LPCSTR pszName, DWORD *pdwOut, DWORD dwPolicy);

/* A block of exactly cb bytes (or shorter, with REGREAD_SHORT_ZERO). */
LONG RegReadBinary(HKEY hKey, LPCSTR pszName, void *pvOut, DWORD cb, DWORD dwPolicy);

/* An opt-in setting kept beside a program's own values: a REG_DWORD of four
 * bytes, limited to dwMax. Absent, of another type or size, or unreadable
 * (hKey NULL included) it is 0, the setting's "off". */
DWORD RegReadOption(HKEY hKey, LPCSTR pszName, DWORD dwMax);

/* Opens hRoot\pszSubKey for reading, reads one text value, closes the key. */
LONG RegReadTextAt(HKEY hRoot, LPCSTR pszSubKey, LPCSTR pszName, LPSTR pszOut,
                   DWORD cbOut, DWORD dwPolicy);

#endif
