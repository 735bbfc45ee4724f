/*
 * The file-name character check shared by the settings pages.
 */
#include "common/namecheck.h"

#include <string.h>

int NameCheckLeadByte932(unsigned char bChar)
{
    return (bChar >= 0x81 && bChar <= 0x9F) || (bChar >= 0xE0 && bChar <= 0xFC);
}

int NameCheckNoLeadByte(unsigned char bChar)
{
    (void)bChar;
    return 0;
}

/* Length in bytes of the character at psz: 2 for a complete double-byte one. */
static int CharBytes(const char *psz, PFNNAMECHECKLEAD pfnIsLead)
{
    if (pfnIsLead != NULL && pfnIsLead((unsigned char)psz[0]) && psz[1] != '\0')
        return 2;
    return 1;
}

int NameCheckFindRefused(const char *pszNew, const char *pszAccepted,
                         const char *pszForbidden, PFNNAMECHECKLEAD pfnIsLead)
{
    const char *pszOld = pszAccepted != NULL ? pszAccepted : "";
    const char *pszNext = pszNew;

    if (pszNew == NULL || pszForbidden == NULL)
        return -1;
    while (*pszNext != '\0') {
        unsigned char bChar = (unsigned char)*pszNext;
        int cbNew;

        if (pfnIsLead != NULL && pfnIsLead(bChar)) {
            /* A lead byte is never refused; with its trail byte it is one unit. */
            cbNew = pszNext[1] != '\0' ? 2 : 1;
        } else {
            cbNew = 1;
            if (bChar != 0 && strchr(pszForbidden, (char)bChar) != NULL) {
                /* Refused unless the accepted text holds the same single
                 * character at this position. */
                if (*pszOld == '\0' || CharBytes(pszOld, pfnIsLead) != 1 ||
                    *pszOld != (char)bChar)
                    return (int)(pszNext - pszNew);
            }
        }
        pszNext += cbNew;
        if (*pszOld != '\0')
            pszOld += CharBytes(pszOld, pfnIsLead);
    }
    return -1;
}
