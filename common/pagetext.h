/*
 * Text handling of the settings pages that needs no Win32: the open-file
 * dialog's filter made from its string, and the pages' number fields.
 * Compiled into the pages and the native tests.
 */
#ifndef TILTKIT_PAGETEXT_H
#define TILTKIT_PAGETEXT_H

#include <stddef.h>
#include <stdint.h>

/*
 * Turns a comma-separated filter string ("Программы,*.exe,...,") in place
 * into the open-file dialog's form: every comma becomes a zero. cbBuffer is
 * the buffer's size; the string's own terminator and at least one more zero
 * byte must fit. Returns 0 when the buffer has no room for the closing
 * double zero (nothing is changed then), 1 otherwise.
 */
int MakeOpenFilter(char *pszFilter, size_t cbBuffer);

/*
 * A decimal number field, blanks around it allowed. Returns 1 with
 * *pdwValue set when the text is a number in [0, dwMax]; 0 otherwise
 * (*pdwValue untouched).
 */
int ParsePageNumber(const char *pszText, uint32_t dwMax, uint32_t *pdwValue);

#endif
