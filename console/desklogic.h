/*
 * Setting console logic that needs no Win32: the plug-in entry record, the
 * key-name test, the key number, the order of the entries and the command
 * line. Compiled into Tiltdesk.exe and into the native tests.
 */
#ifndef CONSOLE_DESKLOGIC_H
#define CONSOLE_DESKLOGIC_H

#include <stddef.h>
#include <stdint.h>

#define TILTDESK_KEYNAME_SIZE 8     /* four digits, a terminating zero, spare */
#define TILTDESK_TEXT_SIZE    260

/* One registered page plug-in, in the order the console fills it. */
typedef struct TILTKITENTRY {
    uint32_t uKeyNumber;                        /* the key name read as decimal */
    int32_t nPageCount;                         /* from GetPropertyPageNumber, 1-10 */
    char szKeyName[TILTDESK_KEYNAME_SIZE];      /* "0010" */
    char szDllFileName[TILTDESK_TEXT_SIZE];     /* value "DLLFileName" */
    char szName[TILTDESK_TEXT_SIZE];            /* value "Name", for error messages */
} TILTKITENTRY;

/* Tells whether a byte starts a double-byte character of the ANSI code page. */
typedef int (*PFN_ISLEADBYTE)(unsigned char ch);

/* Key-name test: exactly four characters, no double-byte lead byte, each an
 * ASCII digit. pszName must be zero-terminated. */
int IsTiltkitKeyName(const char *pszName, PFN_ISLEADBYTE pfnIsLeadByte);

/* The four digits of a name that passed the test, as a decimal number. */
uint32_t TiltkitKeyNumber(const char *pszName);

/* Orders the entries by ascending key number; entries with equal numbers
 * keep their order (exchange of adjacent pairs, later one smaller only). */
void SortTiltkitEntries(TILTKITENTRY *pEntries, size_t cEntries);

/* Splits the command-line tail: "dddd" or "dddd d". On success writes the
 * key name (cbKeyName >= 5) and the page digit (0 without one) and returns
 * nonzero; any other shape, or a double-byte character anywhere, returns 0
 * and leaves the outputs untouched. */
int ParsePageArgument(const char *pszTail, char *pszKeyName, size_t cbKeyName,
                      unsigned *puPageDigit, PFN_ISLEADBYTE pfnIsLeadByte);

#endif
