#include "common/helpaddr.h"
#include <string.h>

#define HELPADDR_SEPARATOR "::/"

int HelpTopicAddress(const char *pszFile, const char *pszTopic, char *pszOut, size_t cchOut)
{
    size_t cchFile, cchTopic, cchSeparator;

    if (pszOut == NULL || cchOut == 0)
        return 0;
    pszOut[0] = '\0';
    if (pszFile == NULL || pszTopic == NULL || !pszFile[0] || !pszTopic[0])
        return 0;
    cchFile = strlen(pszFile);
    cchTopic = strlen(pszTopic);
    cchSeparator = sizeof(HELPADDR_SEPARATOR) - 1;
    /* Compared piece by piece, so that no sum can wrap. */
    if (cchFile >= cchOut || cchSeparator >= cchOut - cchFile ||
        cchTopic >= cchOut - cchFile - cchSeparator)
        return 0;
    memcpy(pszOut, pszFile, cchFile);
    memcpy(pszOut + cchFile, HELPADDR_SEPARATOR, cchSeparator);
    memcpy(pszOut + cchFile + cchSeparator, pszTopic, cchTopic);
    pszOut[cchFile + cchSeparator + cchTopic] = '\0';
    return 1;
}
