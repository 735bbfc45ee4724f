#include "tiltfeed/feedname.h"
#include <string.h>

static bool IsLead(PFNNAMECHECKLEAD pfnIsLead, char ch)
{
    return pfnIsLead != NULL && pfnIsLead((unsigned char)ch);
}

/* Bytes of the character at p: 2 for a lead byte followed by a trail byte. */
static size_t CharBytes(PFNNAMECHECKLEAD pfnIsLead, const char *p)
{
    return (IsLead(pfnIsLead, p[0]) && p[1] != '\0') ? 2 : 1;
}

static char LowerAscii(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? (char)(ch - 'A' + 'a') : ch;
}

static bool StartsWithNoCase(const char *psz, const char *pszPrefix, size_t cch)
{
    size_t i;

    for (i = 0; i < cch; i++) {
        if (psz[i] == '\0' || LowerAscii(psz[i]) != LowerAscii(pszPrefix[i]))
            return false;
    }
    return true;
}

int TiltfeedNameLimit(size_t cchFolder)
{
    if (cchFolder > TILTFEED_NAME_ROOM)
        return -1;
    return TILTFEED_NAME_ROOM - (int)cchFolder;
}

bool BuildShortcutPath(const char *pszFolder, const char *pszName, char *pszOut, size_t cchOut)
{
    static const char szExt[] = ".lnk";
    size_t cchFolder = strlen(pszFolder);
    size_t cchName = strlen(pszName);
    size_t cchExt = sizeof(szExt) - 1;

    if (cchOut == 0)
        return false;
    pszOut[0] = '\0';
    if (cchFolder + 1 + cchName + cchExt + 1 > cchOut)
        return false;
    memcpy(pszOut, pszFolder, cchFolder);
    pszOut[cchFolder] = '\\';
    memcpy(pszOut + cchFolder + 1, pszName, cchName);
    memcpy(pszOut + cchFolder + 1 + cchName, szExt, cchExt + 1);
    return true;
}

/* Appends cch bytes at *pn; false when they and a terminator do not fit. */
static bool Append(char *pszOut, size_t cchOut, size_t *pn, const char *p, size_t cch)
{
    if (*pn + cch + 1 > cchOut)
        return false;
    memcpy(pszOut + *pn, p, cch);
    *pn += cch;
    return true;
}

int FormatItemName(const char *pszFormat, int nNumber, const char *pszSource,
                   char *pszOut, size_t cchOut)
{
    char szNumber[16];
    size_t cchNumber = 0;
    unsigned int u = nNumber < 0 ? 0u - (unsigned int)nNumber : (unsigned int)nNumber;
    bool bNumberDone = false, bSourceDone = false;
    size_t n = 0;
    const char *p;

    if (cchOut == 0)
        return -1;
    /* The number's digits, last first, then reversed. */
    do {
        szNumber[cchNumber++] = (char)('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (nNumber < 0)
        szNumber[cchNumber++] = '-';
    for (size_t i = 0; i < cchNumber / 2; i++) {
        char ch = szNumber[i];
        szNumber[i] = szNumber[cchNumber - 1 - i];
        szNumber[cchNumber - 1 - i] = ch;
    }

    for (p = pszFormat; *p != '\0'; p++) {
        bool bOk;
        if (p[0] == '%' && p[1] == 'd' && !bNumberDone) {
            bOk = Append(pszOut, cchOut, &n, szNumber, cchNumber);
            bNumberDone = true;
            p++;
        } else if (p[0] == '%' && p[1] == 's' && !bSourceDone) {
            bOk = Append(pszOut, cchOut, &n, pszSource, strlen(pszSource));
            bSourceDone = true;
            p++;
        } else if (p[0] == '%' && p[1] == '%') {
            bOk = Append(pszOut, cchOut, &n, "%", 1);
            p++;
        } else {
            bOk = Append(pszOut, cchOut, &n, p, 1);
        }
        if (!bOk) {
            pszOut[0] = '\0';
            return -1;
        }
    }
    pszOut[n] = '\0';
    return (int)n;
}

int BuildCopyName(const char *pszPlainFormat, const char *pszNumberedFormat, int nCopy,
                  const char *pszSource, int nLimit, char *pszOut, size_t cchOut)
{
    bool bNumbered = nCopy >= TILTFEED_COPY_FIRST;
    int nLength = FormatItemName(bNumbered ? pszNumberedFormat : pszPlainFormat, nCopy,
                                 pszSource, pszOut, cchOut);

    if (nLength >= nLimit) {
        pszOut[0] = '\0';
        return -1;
    }
    return nLength;
}

const char *SkipLeadingBlanks(const char *pszName, PFNNAMECHECKLEAD pfnIsLead)
{
    const char *p = pszName;

    for (;;) {
        if (p[0] == ' ')
            p++;
        else if ((unsigned char)p[0] == 0x81 && (unsigned char)p[1] == 0x40 && IsLead(pfnIsLead, p[0]))
            p += 2;
        else
            return p;
    }
}

bool SplitTargetFileName(const char *pszPath, size_t cbScan, PFNNAMECHECKLEAD pfnIsLead,
                         char *pszOut, size_t cchOut)
{
    const char *pszFile = NULL;
    size_t i = 0;
    size_t cchFile;

    if (cchOut == 0)
        return false;
    pszOut[0] = '\0';
    while (i < cbScan && pszPath[i] != '\0') {
        size_t cb = CharBytes(pfnIsLead, pszPath + i);
        if (cb == 1 && pszPath[i] == '\\')
            pszFile = pszPath + i + 1;
        i += cb;
    }
    if (pszFile == NULL)
        return false;
    cchFile = (size_t)(pszPath + i - pszFile);
    if (cchFile + 1 > cchOut)
        return false;
    memcpy(pszOut, pszFile, cchFile);
    pszOut[cchFile] = '\0';
    return true;
}

bool IsExplorerPath(const char *pszPath, PFNNAMECHECKLEAD pfnIsLead)
{
    const char *pszName = pszPath;
    const char *pszDot = NULL;
    const char *p = pszPath;

    /* File name and extension as the C library splits a path: the name
     * follows the last separator (or a drive's colon), the extension starts
     * at the name's last dot. */
    while (*p != '\0') {
        size_t cb = CharBytes(pfnIsLead, p);
        if (cb == 1 && (*p == '\\' || *p == '/' || *p == ':')) {
            pszName = p + 1;
            pszDot = NULL;
        } else if (cb == 1 && *p == '.') {
            pszDot = p;
        }
        p += cb;
    }
    if (pszDot == NULL)
        pszDot = p;
    if ((size_t)(pszDot - pszName) < 8 || !StartsWithNoCase(pszName, "explorer", 8))
        return false;
    return StartsWithNoCase(pszDot, ".exe", 4);
}
