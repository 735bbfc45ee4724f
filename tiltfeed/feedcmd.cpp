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
