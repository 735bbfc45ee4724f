/*
 * The address of a topic inside a compiled help file, "<file>::/<topic>",
 * built into a caller's buffer with no Win32 in it. Nothing is cut: an
 * address that does not fit is refused, so that the viewer is never handed
 * a shortened file name.
 */
#ifndef TILTKIT_HELPADDR_H
#define TILTKIT_HELPADDR_H

#include <stddef.h>

/*
 * "<file>::/<topic>" into pszOut (cchOut bytes with the terminator).
 * Returns 0 and leaves pszOut empty (when it has room for that) if the file
 * or the topic is missing or empty, or the address does not fit.
 */
int HelpTopicAddress(const char *pszFile, const char *pszTopic, char *pszOut, size_t cchOut);

#endif
