/*
 * Text handling of the runtime that needs no Win32: the command-line tail,
 * the item's registry key path and the target's working folder. All outputs
 * are bounded by the buffer size given and always terminated.
 */
#ifndef TILTFEED_FEEDCMD_H
#define TILTFEED_FEEDCMD_H

#include <stddef.h>

/* The tail of a full command line: the program name (quoted or not) and the
 * blanks after it are skipped; the rest is returned verbatim. */
const char *SkipProgramName(const char *pszCmdLine);

/* "<pszRoot>\<pszItem>" into pszOut. Fails, leaving pszOut empty, when
 * length(item) + length(root) + 2 exceeds cchOut. */
bool BuildItemKeyPath(const char *pszRoot, const char *pszItem, char *pszOut, size_t cchOut);

/* The folder of an executable path with its trailing backslash: the drive
 * ("C:") followed by the directory. Empty when the path names no folder. */
void BuildWorkDir(const char *pszPath, char *pszOut, size_t cchOut);

/* The command line that starts the target. A path with a blank (and not
 * already quoted) is quoted: TARGET_QUOTED, and the caller passes the path
 * itself as the application name, so that no shorter path made of its
 * first words ("C:\Program.exe") is ever tried. Any other path is copied
 * unchanged (TARGET_AS_IS) and starts exactly as a bare command line.
 * TARGET_TOO_LONG, with an empty output, when it does not fit in cchOut. */
enum { TARGET_TOO_LONG = -1, TARGET_AS_IS = 0, TARGET_QUOTED = 1 };
int BuildTargetCommandLine(const char *pszPath, char *pszOut, size_t cchOut);

#endif
