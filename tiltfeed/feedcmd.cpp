#include "tiltfeed/feedcmd.h"
#include <string.h>

static bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

const char *SkipProgramName(const char *pszCmdLine)
{
    const char *p = pszCmdLine;

    if (p == NULL)
        return "";
    if (*p == '"') {
        p++;
        while (*p != '\0' && *p != '"')
            p++;
        if (*p == '"')
            p++;
    } else {
        while (*p != '\0' && !IsBlank(*p))
            p++;
    }
    while (IsBlank(*p))
        p++;
    return p;
}

bool BuildItemKeyPath(const char *pszRoot, const char *pszItem, char *pszOut, size_t cchOut)
{
    size_t cchRoot = strlen(pszRoot);
    size_t cchItem = strlen(pszItem);

    if (cchOut == 0)
        return false;
    pszOut[0] = '\0';
    if (cchItem + cchRoot + 2 > cchOut)
        return false;
    memcpy(pszOut, pszRoot, cchRoot);
    pszOut[cchRoot] = '\\';
    memcpy(pszOut + cchRoot + 1, pszItem, cchItem);
    pszOut[cchRoot + 1 + cchItem] = '\0';
    return true;
}

int BuildTargetCommandLine(const char *pszPath, char *pszOut, size_t cchOut)
{
    size_t cchPath = strlen(pszPath);
    bool bQuote = pszPath[0] != '"' && strpbrk(pszPath, " \t") != NULL;
    size_t cchNeeded = cchPath + (bQuote ? 3 : 1);

    if (cchOut == 0)
        return TARGET_TOO_LONG;
    pszOut[0] = '\0';
    if (cchNeeded > cchOut)
        return TARGET_TOO_LONG;
    if (!bQuote) {
        memcpy(pszOut, pszPath, cchPath + 1);
        return TARGET_AS_IS;
    }
    pszOut[0] = '"';
    memcpy(pszOut + 1, pszPath, cchPath);
    pszOut[cchPath + 1] = '"';
    pszOut[cchPath + 2] = '\0';
    return TARGET_QUOTED;
}

void BuildWorkDir(const char *pszPath, char *pszOut, size_t cchOut)
{
    size_t cchFolder = 0;
    size_t i;

    if (cchOut == 0)
        return;
    /* The folder ends at the last separator; a bare drive ("C:app.exe")
     * keeps its drive. Code page 1251 has no lead bytes, so a backslash
     * byte is always a separator. */
    if (pszPath[0] != '\0' && pszPath[1] == ':')
        cchFolder = 2;
    for (i = 0; pszPath[i] != '\0'; i++) {
        if (pszPath[i] == '\\' || pszPath[i] == '/')
            cchFolder = i + 1;
    }
    if (cchFolder >= cchOut)
        cchFolder = cchOut - 1;
    memcpy(pszOut, pszPath, cchFolder);
    pszOut[cchFolder] = '\0';
}
