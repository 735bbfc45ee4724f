#include "common/trace.h"

#ifdef TILTKIT_DEBUG_TRACE
#include <windows.h>
#include <shlwapi.h>
#include <stdarg.h>

void TiltkitTrace(const char *pszFormat, ...)
{
    char szText[1024];
    va_list args;

    va_start(args, pszFormat);
    wvnsprintfA(szText, ARRAYSIZE(szText), pszFormat, args);
    va_end(args);
    szText[ARRAYSIZE(szText) - 1] = '\0';
    OutputDebugStringA(szText);
}
#endif
