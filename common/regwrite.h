/*
 * The registry writers beside the reader: a text as REG_SZ with its
 * terminator counted, a number as REG_DWORD, and one number into a key that
 * is opened (or created) for the write alone. Each returns what the
 * registry returned.
 */
#ifndef TILTKIT_REGWRITE_H
#define TILTKIT_REGWRITE_H

#include <windows.h>

LONG RegWriteText(HKEY hKey, LPCSTR pszName, LPCSTR pszText);
LONG RegWriteDword(HKEY hKey, LPCSTR pszName, DWORD dwValue);

/* Writes one REG_DWORD into hRoot\pszSubKey. With bCreate the key is made
 * when missing; without it a missing key fails (ERROR_FILE_NOT_FOUND), so a
 * value is never written into a key that was removed meanwhile. */
LONG RegWriteDwordAt(HKEY hRoot, LPCSTR pszSubKey, BOOL bCreate, LPCSTR pszName, DWORD dwValue);

#endif
