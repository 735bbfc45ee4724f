#include "common/errorbox.h"
#include "common/regpaths.h"
#include <shlwapi.h>

int ShowErrorBoxV(HINSTANCE hInstance, UINT idCaption, HWND hwndOwner,
                  UINT idText, UINT uType, va_list args)
{
    char szCaption[TILTKIT_TEXT_MAX];
    char szFormat[TILTKIT_TEXT_MAX];
    char szText[TILTKIT_TEXT_MAX];

    szCaption[0] = szFormat[0] = szText[0] = '\0';
    LoadStringA(hInstance, idCaption, szCaption, ARRAYSIZE(szCaption));
    LoadStringA(hInstance, idText, szFormat, ARRAYSIZE(szFormat));

    /* Bounded formatting: an argument such as a long item name is cut at the
     * buffer's end instead of overrunning it. */
    wvnsprintfA(szText, ARRAYSIZE(szText), szFormat, args);
    szText[ARRAYSIZE(szText) - 1] = '\0';

    return MessageBoxA(hwndOwner, szText, szCaption, uType);
}

int ShowErrorBox(HINSTANCE hInstance, UINT idCaption, HWND hwndOwner,
                 UINT idText, ...)
{
    va_list args;
    int nResult;

    va_start(args, idText);
    nResult = ShowErrorBoxV(hInstance, idCaption, hwndOwner, idText,
                            MB_OK | MB_ICONERROR | MB_SETFOREGROUND, args);
    va_end(args);
    return nResult;
}
