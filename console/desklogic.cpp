#include "console/desklogic.h"

static int IsAsciiDigit(unsigned char ch)
{
    return ch >= '0' && ch <= '9';
}

int IsTiltkitKeyName(const char *pszName, PFN_ISLEADBYTE pfnIsLeadByte)
{
    int i;

    if (pszName == NULL)
        return 0;
    for (i = 0; i < 4; i++) {
        unsigned char ch = (unsigned char)pszName[i];
        if (ch == '\0' || pfnIsLeadByte(ch) || !IsAsciiDigit(ch))
            return 0;
    }
    return pszName[4] == '\0';
}

uint32_t TiltkitKeyNumber(const char *pszName)
{
    uint32_t uNumber = 0;
    int i;

    for (i = 0; i < 4; i++)
        uNumber = uNumber * 10 + (uint32_t)(pszName[i] - '0');
    return uNumber;
}

void SortTiltkitEntries(TILTKITENTRY *pEntries, size_t cEntries)
{
    size_t cUnsorted = cEntries;
    TILTKITENTRY tmp;

    while (cUnsorted > 1) {
        size_t i;
        size_t iLastSwap = 0;
        for (i = 1; i < cUnsorted; i++) {
            if (pEntries[i].uKeyNumber < pEntries[i - 1].uKeyNumber) {
                tmp = pEntries[i - 1];
                pEntries[i - 1] = pEntries[i];
                pEntries[i] = tmp;
                iLastSwap = i;
            }
        }
        cUnsorted = iLastSwap;
    }
}

int ParsePageArgument(const char *pszTail, char *pszKeyName, size_t cbKeyName,
                      unsigned *puPageDigit, PFN_ISLEADBYTE pfnIsLeadByte)
{
    size_t cch = 0;
    int i;

    if (pszTail == NULL || pszKeyName == NULL || puPageDigit == NULL || cbKeyName < 5)
        return 0;

    /* Character by character; no shape that passes holds a double-byte
     * character, so the first lead byte ends the walk. At most seven
     * characters are looked at: anything longer fails anyway. */
    while (pszTail[cch] != '\0') {
        if (pfnIsLeadByte((unsigned char)pszTail[cch]) || cch == 6)
            return 0;
        cch++;
    }

    if (cch != 4 && cch != 6)
        return 0;
    for (i = 0; i < 4; i++) {
        if (!IsAsciiDigit((unsigned char)pszTail[i]))
            return 0;
    }
    if (cch == 6 && (pszTail[4] != ' ' || !IsAsciiDigit((unsigned char)pszTail[5])))
        return 0;

    for (i = 0; i < 4; i++)
        pszKeyName[i] = pszTail[i];
    pszKeyName[4] = '\0';
    *puPageDigit = cch == 6 ? (unsigned)(pszTail[5] - '0') : 0;
    return 1;
}
