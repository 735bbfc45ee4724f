#include "common/pagetext.h"
#include <string.h>

int MakeOpenFilter(char *pszFilter, size_t cbBuffer)
{
    size_t cch;
    size_t i;

    if (pszFilter == NULL || cbBuffer < 2)
        return 0;
    cch = strnlen(pszFilter, cbBuffer);
    if (cch + 2 > cbBuffer)
        return 0;
    pszFilter[cch + 1] = '\0';
    for (i = 0; i < cch; i++) {
        if (pszFilter[i] == ',')
            pszFilter[i] = '\0';
    }
    return 1;
}

int ParsePageNumber(const char *pszText, uint32_t dwMax, uint32_t *pdwValue)
{
    const char *p = pszText;
    uint64_t qw = 0;
    int nDigits = 0;

    while (*p == ' ' || *p == '\t')
        p++;
    for (; *p >= '0' && *p <= '9'; p++) {
        qw = qw * 10 + (uint64_t)(*p - '0');
        if (qw > dwMax)
            return 0;
        nDigits++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p || !nDigits)
        return 0;
    *pdwValue = (uint32_t)qw;
    return 1;
}
