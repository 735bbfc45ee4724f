/*
 * Text handling of the Tiltfeed application store and its page that needs no
 * Win32: item names, shortcut file names, the name limit, copy names, the
 * file name of a target path and the leading blanks of a typed name. Texts
 * are ANSI in the system code page; where double-byte characters matter the
 * caller passes the code page's lead-byte test. Every output is bounded by
 * the buffer size given and always terminated.
 */
#ifndef TILTFEED_FEEDNAME_H
#define TILTFEED_FEEDNAME_H

#include <stddef.h>
#include "common/namecheck.h"

/* The code page's lead-byte test is that of the character check
 * (common/namecheck.h); a null test stands for a single-byte code page. */

/* Room for a name below the shortcut folder: 242 minus the folder's length.
 * Negative for a folder of more than 242 characters (no name fits). */
#define TILTFEED_NAME_ROOM 242
int TiltfeedNameLimit(size_t cchFolder);

/* Extra characters a full name may have in edit mode, over the name limit. */
#define TILTFEED_EDIT_EXTRA 12

/* "<folder>\<name>.lnk" into pszOut. Fails, leaving pszOut empty, when the
 * whole file name with its terminator does not fit cchOut: a long name is
 * never cut into the name of another file. */
bool BuildShortcutPath(const char *pszFolder, const char *pszName, char *pszOut, size_t cchOut);

/*
 * An item name made from a format of the string table (the new-item and the
 * two copy formats): pszFormat with its first %d replaced by nNumber and its
 * first %s by pszSource ("%%" gives one %). Returns the length of the name,
 * or -1 (pszOut empty) when it does not fit cchOut with its terminator.
 */
int FormatItemName(const char *pszFormat, int nNumber, const char *pszSource,
                   char *pszOut, size_t cchOut);

/* Copy numbers tried after the unnumbered name. */
#define TILTFEED_COPY_FIRST 2
#define TILTFEED_COPY_LAST  9

/*
 * The name of copy number nCopy of pszSource: the plain format for 0 (or
 * 1), the numbered format for 2 to 9. Returns its length, or -1 (pszOut
 * empty) when that length reaches nLimit or the name does not fit cchOut.
 */
int BuildCopyName(const char *pszPlainFormat, const char *pszNumberedFormat, int nCopy,
                  const char *pszSource, int nLimit, char *pszOut, size_t cchOut);

/* The typed name without its leading blanks: ASCII spaces and, where 0x81 is
 * a lead byte, the two-byte ideographic space 0x81 0x40. Trailing blanks stay. */
const char *SkipLeadingBlanks(const char *pszName, PFNNAMECHECKLEAD pfnIsLead);

/*
 * The file name of a target path: the text after its last backslash, found
 * over at most cbScan bytes; a backslash that is the trail byte of a
 * double-byte character does not count. FALSE (pszOut empty) when there is
 * no backslash or the file name does not fit cchOut.
 */
bool SplitTargetFileName(const char *pszPath, size_t cbScan, PFNNAMECHECKLEAD pfnIsLead,
                         char *pszOut, size_t cchOut);

/* Whether the path's file name begins with "explorer" and its extension with
 * ".exe", both without regard to case: Windows Explorer, which cannot be
 * served through a shortcut of its own. */
bool IsExplorerPath(const char *pszPath, PFNNAMECHECKLEAD pfnIsLead);

#endif
