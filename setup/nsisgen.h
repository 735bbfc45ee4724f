/*
 * Turns the defaults table of setup/defaults.h into lines of the NSIS
 * installer script, so that the installer writes the values of that one
 * table and carries no copy of its own. Runs on the build machine
 * (nsisgen_main.cpp) and in the native unit tests.
 */
#ifndef SETUP_NSISGEN_H
#define SETUP_NSISGEN_H

#include <stddef.h>
#include "setup/defaults.h"

/* The installer's variables put in for the folders of the table. */
#define NSISGEN_INSTDIR "$INSTDIR"
#define NSISGEN_WINDIR  "$WINDIR"

/* Room for one quoted text or one line of the script. */
#define NSISGEN_LINE_MAX 2048

/*
 * Writes pszText as the inside of an NSIS string in double quotes: "$"
 * becomes "$$", a double quote "$\"", line breaks and tabs "$\r", "$\n",
 * "$\t"; "%INSTALLDIR%" and "%WINDIR%" become the installer's variables.
 * Returns 0 (pszOut empty) when the result does not fit.
 */
int NsisQuoteDefault(const char *pszText, char *pszOut, size_t cbOut);

/*
 * One registry-writing command for a value of the table below
 * HKLM "SOFTWARE\Zelvar\Tiltkit", without a line break. Returns 0 (pszOut
 * empty) for a value whose number or bytes do not decode, an unknown type,
 * or a line that does not fit.
 */
int NsisDefaultLine(const TKDEFAULTVALUE *pValue, char *pszOut, size_t cbOut);

/*
 * The longest installation folder, in characters, for which every text of
 * the table stays within 259 characters; characters of the table's own
 * texts count as one each (they are UTF-8). 259 when no text names the folder.
 */
size_t NsisInstallDirRoom(const TKDEFAULTVALUE *pValues, size_t nValues);

/*
 * For a page plug-in key ("Property\NNNN"): the index of its "DLLFileName"
 * value in the table, or -1 (other keys, or no such value).
 */
int NsisPluginLibraryIndex(const TKDEFAULTVALUE *pValues, size_t nValues, const char *pszKey);

#endif
