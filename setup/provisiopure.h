/*
 * Setup support logic that needs no Win32: splitting the Start-menu Programs
 * path into the profiles root and the part inside one profile, joining
 * paths without ever cutting them short, and telling the launcher-menu
 * folder's motion-security files from other content. Compiled into
 * Provisio and the native unit tests.
 */
#ifndef SETUP_PROVISIOPURE_H
#define SETUP_PROVISIOPURE_H

#include <stddef.h>

/* 1 when the byte starts a double-byte character of the code page in use. */
typedef int (*PFNISLEADBYTE)(unsigned char b);

/*
 * Splits a Programs path such as
 * "C:\Documents and Settings\user\Start Menu\Programs" into the profiles
 * root, the text before its second backslash ("C:\Documents and Settings"),
 * and the relative part, the text after its third backslash
 * ("Start Menu\Programs"). A double-byte character is one unit: its second
 * byte is never taken for a backslash. Returns 0, with both outputs empty,
 * when the path has fewer than three backslashes or a part does not fit
 * its buffer with the terminator.
 */
int ProvisioSplitProgramsPath(const char *pszPath, PFNISLEADBYTE pfnIsLeadByte,
                              char *pszRoot, size_t cbRoot,
                              char *pszRelative, size_t cbRelative);

/*
 * Joins nParts texts with single backslashes into pszOut. Returns 0, with
 * pszOut empty, when the result does not fit into cbOut bytes with its
 * terminator: an over-long path is never cut into another file's name.
 */
int ProvisioJoinPath(char *pszOut, size_t cbOut, const char *const *ppszParts, int nParts);

/* 1 for the names "." and "..", which every folder search returns. */
int ProvisioIsDotEntry(const char *pszName);

/* 1 when a search entry is to be passed over by the profile and shortcut walks: a name beginning with ".". */
int ProvisioIsHiddenEntry(const char *pszName);

/* What an entry of the launcher-menu folder is. */
#define PROVISIO_ENTRY_SKIP   0 /* "." or ".." */
#define PROVISIO_ENTRY_MOTION 1 /* "Lockwatch.exe" or "Quadlock.dll", any letter case */
#define PROVISIO_ENTRY_OTHER  2 /* any other file, or any folder */

int ProvisioQuadrixEntry(const char *pszName, int bDirectory);

/* The two motion-security files, in the order they are deleted. */
#define PROVISIO_LOCKWATCH_FILE "Lockwatch.exe"
#define PROVISIO_QUADLOCK_FILE  "Quadlock.dll"

#endif
