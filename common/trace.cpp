#include "common/trace.h"

#ifdef TILTKIT_DEBUG_TRACE
#include <windows.h>
#include <shlwapi.h>
#include <stdarg.h>

void TiltkitTrace(const char *pszRoutine, const char *pszFormat, ...)
{
    char szText[1024];
    int cchPrefix;
    va_list args;

    cchPrefix = wnsprintfA(szText, ARRAYSIZE(szText) - 1, "%s: ", pszRoutine);
    if (cchPrefix < 0 || cchPrefix >= (int)ARRAYSIZE(szText) - 1)
        cchPrefix = 0;
    va_start(args, pszFormat);
    wvnsprintfA(szText + cchPrefix, (int)ARRAYSIZE(szText) - cchPrefix, pszFormat, args);
    va_end(args);
    szText[ARRAYSIZE(szText) - 1] = '\0';
    OutputDebugStringA(szText);
}
#endif
