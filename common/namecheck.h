/*
 * The file-name character check of the settings pages' edit fields, with no
 * Win32 in it. A text the user has just changed is walked together with the
 * field's last accepted text, character by character (a double-byte
 * character of the ANSI code page counts as one). A character of the new
 * text is refused when it is not a double-byte lead byte, differs from the
 * accepted text's character at the same position (or lies beyond that
 * text's end), and is one of the forbidden characters. Characters that were
 * already accepted keep their place without being refused again.
 *
 * The code page enters through its lead-byte test: on Windows a wrapper of
 * IsDBCSLeadByte, in the native tests NameCheckLeadByte932 or
 * NameCheckNoLeadByte.
 */
#ifndef TILTKIT_NAMECHECK_H
#define TILTKIT_NAMECHECK_H

/* Forbidden in a path: backslash and colon are allowed. */
#define NAMECHECK_PATH_CHARS  "|\"<>/?*"
/* Forbidden in an item name: the path set plus backslash and colon. */
#define NAMECHECK_NAME_CHARS  "|\"<>/?*\\:"
/* The path set as the pages' message shows it. */
#define NAMECHECK_PATH_SHOWN  "| \" < > / ? *"
/* The name set as the pages' message shows it. */
#define NAMECHECK_NAME_SHOWN  "\\ : | \" < > / ? *"

/* Nonzero when bChar starts a double-byte character of the code page. */
typedef int (*PFNNAMECHECKLEAD)(unsigned char bChar);

/* Code page 932 (Shift JIS): lead bytes 0x81-0x9F and 0xE0-0xFC. */
int NameCheckLeadByte932(unsigned char bChar);
/* A single-byte code page such as 1251: no lead bytes. */
int NameCheckNoLeadByte(unsigned char bChar);

/*
 * Byte offset in pszNew of the first refused character, or -1 when nothing
 * is refused. pszAccepted may be NULL (treated as empty); pszForbidden is
 * NAMECHECK_PATH_CHARS, NAMECHECK_NAME_CHARS or any other set of single-byte
 * characters; pfnIsLead NULL means no lead bytes. A lead byte followed by the
 * terminating zero counts as one character and ends the walk.
 */
int NameCheckFindRefused(const char *pszNew, const char *pszAccepted,
                         const char *pszForbidden, PFNNAMECHECKLEAD pfnIsLead);

#ifdef _WIN32
#include <windows.h>
/* The system code page's lead-byte test, for the walks above. */
static inline int NameCheckLeadByteAcp(unsigned char bChar)
{
    return IsDBCSLeadByte(bChar) ? 1 : 0;
}
#endif

#endif
