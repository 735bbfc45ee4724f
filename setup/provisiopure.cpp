#include "setup/provisiopure.h"

#include <string.h>

static void ClearOutputs(char *pszFirst, size_t cbFirst, char *pszSecond, size_t cbSecond)
{
    if (cbFirst)
        pszFirst[0] = '\0';
    if (cbSecond)
        pszSecond[0] = '\0';
}

int ProvisioSplitProgramsPath(const char *pszPath, PFNISLEADBYTE pfnIsLeadByte,
                              char *pszRoot, size_t cbRoot,
                              char *pszRelative, size_t cbRelative)
{
    size_t iSecond = 0;
    size_t iThird = 0;
    size_t i = 0;
    size_t cchRelative;
    int nBackslashes = 0;

    ClearOutputs(pszRoot, cbRoot, pszRelative, cbRelative);
    while (pszPath[i] && nBackslashes < 3) {
        if (pfnIsLeadByte((unsigned char)pszPath[i]) && pszPath[i + 1]) {
            i += 2;
            continue;
        }
        if (pszPath[i] == '\\') {
            nBackslashes++;
            if (nBackslashes == 2)
                iSecond = i;
            else if (nBackslashes == 3)
                iThird = i;
        }
        i++;
    }
    if (nBackslashes < 3)
        return 0;

    cchRelative = strlen(pszPath + iThird + 1);
    if (iSecond >= cbRoot || cchRelative >= cbRelative)
        return 0;
    memcpy(pszRoot, pszPath, iSecond);
    pszRoot[iSecond] = '\0';
    memcpy(pszRelative, pszPath + iThird + 1, cchRelative + 1);
    return 1;
}

int ProvisioJoinPath(char *pszOut, size_t cbOut, const char *const *ppszParts, int nParts)
{
    size_t nOut = 0;
    int i;

    if (!cbOut)
        return 0;
    pszOut[0] = '\0';
    for (i = 0; i < nParts; i++) {
        size_t cch = strlen(ppszParts[i]);
        size_t cchSeparator = i > 0 ? 1 : 0;

        if (nOut + cchSeparator + cch >= cbOut) {
            pszOut[0] = '\0';
            return 0;
        }
        if (cchSeparator)
            pszOut[nOut++] = '\\';
        memcpy(pszOut + nOut, ppszParts[i], cch);
        nOut += cch;
    }
    pszOut[nOut] = '\0';
    return 1;
}

int ProvisioIsDotEntry(const char *pszName)
{
    return strcmp(pszName, ".") == 0 || strcmp(pszName, "..") == 0;
}

int ProvisioIsHiddenEntry(const char *pszName)
{
    return pszName[0] == '.';
}

/* Letter case of ASCII letters only: both names the rule knows are ASCII. */
static int SameAsciiName(const char *pszA, const char *pszB)
{
    for (;; pszA++, pszB++) {
        unsigned char a = (unsigned char)*pszA;
        unsigned char b = (unsigned char)*pszB;
        if (a >= 'A' && a <= 'Z')
            a = (unsigned char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = (unsigned char)(b - 'A' + 'a');
        if (a != b)
            return 0;
        if (!a)
            return 1;
    }
}

int ProvisioQuadrixEntry(const char *pszName, int bDirectory)
{
    if (ProvisioIsDotEntry(pszName))
        return PROVISIO_ENTRY_SKIP;
    if (bDirectory)
        return PROVISIO_ENTRY_OTHER;
    if (SameAsciiName(pszName, PROVISIO_LOCKWATCH_FILE) ||
        SameAsciiName(pszName, PROVISIO_QUADLOCK_FILE))
        return PROVISIO_ENTRY_MOTION;
    return PROVISIO_ENTRY_OTHER;
}
