#include "setup/nsisgen.h"
#include "common/regpaths.h"

#include <stdio.h>
#include <string.h>

/* Appends cch bytes; 0 when they do not fit with the terminator. */
static int Append(char *pszOut, size_t cbOut, size_t *pnOut, const char *psz, size_t cch)
{
    if (*pnOut + cch >= cbOut)
        return 0;
    memcpy(pszOut + *pnOut, psz, cch);
    *pnOut += cch;
    pszOut[*pnOut] = '\0';
    return 1;
}

int NsisQuoteDefault(const char *pszText, char *pszOut, size_t cbOut)
{
    size_t nOut = 0;
    const char *p = pszText;

    if (!cbOut)
        return 0;
    pszOut[0] = '\0';
    while (*p) {
        const char *pszPut = p;
        size_t cchPut = 1;
        size_t cchTaken = 1;

        if (strncmp(p, TKDEF_INSTALLDIR, sizeof(TKDEF_INSTALLDIR) - 1) == 0) {
            pszPut = NSISGEN_INSTDIR;
            cchPut = sizeof(NSISGEN_INSTDIR) - 1;
            cchTaken = sizeof(TKDEF_INSTALLDIR) - 1;
        } else if (strncmp(p, TKDEF_WINDIR, sizeof(TKDEF_WINDIR) - 1) == 0) {
            pszPut = NSISGEN_WINDIR;
            cchPut = sizeof(NSISGEN_WINDIR) - 1;
            cchTaken = sizeof(TKDEF_WINDIR) - 1;
        } else if (*p == '$') {
            pszPut = "$$";
            cchPut = 2;
        } else if (*p == '"') {
            pszPut = "$\\\"";
            cchPut = 3;
        } else if (*p == '\r') {
            pszPut = "$\\r";
            cchPut = 3;
        } else if (*p == '\n') {
            pszPut = "$\\n";
            cchPut = 3;
        } else if (*p == '\t') {
            pszPut = "$\\t";
            cchPut = 3;
        }
        if (!Append(pszOut, cbOut, &nOut, pszPut, cchPut)) {
            pszOut[0] = '\0';
            return 0;
        }
        p += cchTaken;
    }
    return 1;
}

int NsisDefaultLine(const TKDEFAULTVALUE *pValue, char *pszOut, size_t cbOut)
{
    char szKey[TILTKIT_TEXT_MAX * 2];
    char szName[TILTKIT_TEXT_MAX * 2];
    char szData[NSISGEN_LINE_MAX];
    uint8_t abData[64];
    size_t cbData = 0;
    uint32_t dwValue = 0;
    size_t nData = 0;
    size_t i;
    int n;

    if (!cbOut)
        return 0;
    pszOut[0] = '\0';
    if (!NsisQuoteDefault(pValue->pszKey, szKey, sizeof(szKey)) ||
        !NsisQuoteDefault(pValue->pszName, szName, sizeof(szName)))
        return 0;

    switch (pValue->nType) {
    case TKDEF_SZ:
        if (!NsisQuoteDefault(pValue->pszData, szData, sizeof(szData)))
            return 0;
        n = snprintf(pszOut, cbOut, "WriteRegStr HKLM \"%s\\%s\" \"%s\" \"%s\"",
                     TILTKIT_REG_ROOT, szKey, szName, szData);
        break;
    case TKDEF_DWORD:
        if (!TkParseDword(pValue->pszData, &dwValue))
            return 0;
        n = snprintf(pszOut, cbOut, "WriteRegDWORD HKLM \"%s\\%s\" \"%s\" 0x%08X",
                     TILTKIT_REG_ROOT, szKey, szName, (unsigned)dwValue);
        break;
    case TKDEF_BINARY:
        if (!TkParseHex(pValue->pszData, abData, sizeof(abData), &cbData))
            return 0;
        for (i = 0; i < cbData; i++) {
            snprintf(szData + nData, sizeof(szData) - nData, "%02X", abData[i]);
            nData += 2;
        }
        szData[nData] = '\0';
        n = snprintf(pszOut, cbOut, "WriteRegBin HKLM \"%s\\%s\" \"%s\" %s",
                     TILTKIT_REG_ROOT, szKey, szName, szData);
        break;
    default:
        return 0;
    }
    if (n < 0 || (size_t)n >= cbOut) {
        pszOut[0] = '\0';
        return 0;
    }
    return 1;
}

/* Characters of a UTF-8 text: every byte but the continuation bytes. */
static size_t Utf8Chars(const char *psz)
{
    size_t n = 0;
    for (; *psz; psz++) {
        if (((unsigned char)*psz & 0xC0) != 0x80)
            n++;
    }
    return n;
}

size_t NsisInstallDirRoom(const TKDEFAULTVALUE *pValues, size_t nValues)
{
    const size_t cchMax = TILTKIT_TEXT_MAX - 1;
    size_t cchRoom = cchMax;
    size_t i;

    for (i = 0; i < nValues; i++) {
        char szRest[NSISGEN_LINE_MAX];
        size_t cchRest;

        if (pValues[i].nType != TKDEF_SZ || !strstr(pValues[i].pszData, TKDEF_INSTALLDIR))
            continue;
        /* The folder never ends in a backslash in the installer. */
        if (!TkExpandDefault(pValues[i].pszData, "", TKDEF_WINDIR, szRest, sizeof(szRest)))
            return 0;
        cchRest = Utf8Chars(szRest);
        if (cchRest >= cchMax)
            return 0;
        if (cchMax - cchRest < cchRoom)
            cchRoom = cchMax - cchRest;
    }
    return cchRoom;
}

int NsisPluginLibraryIndex(const TKDEFAULTVALUE *pValues, size_t nValues, const char *pszKey)
{
    static const char s_szPrefix[] = "Property\\";
    size_t i;

    if (strncmp(pszKey, s_szPrefix, sizeof(s_szPrefix) - 1) != 0)
        return -1;
    for (i = 0; i < nValues; i++) {
        if (strcmp(pValues[i].pszKey, pszKey) == 0 && strcmp(pValues[i].pszName, "DLLFileName") == 0)
            return (int)i;
    }
    return -1;
}
