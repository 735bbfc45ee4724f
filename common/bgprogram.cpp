#include "common/bgprogram.h"
#include "common/trace.h"

HANDLE ClaimSingleInstance(LPCSTR pszMutex)
{
    HANDLE hMutex;

    SetLastError(0);
    hMutex = CreateMutexA(NULL, FALSE, pszMutex);
    if (hMutex == NULL) {
        TRACE("CreateMutex() Failed for %s.\nGetLastError Report %lu", pszMutex, GetLastError());
        return NULL;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        TRACE("CreateMutex() Failed for %s.\nError Report ERROR_ALREADY_EXISTS", pszMutex);
        CloseHandle(hMutex);
        return NULL;
    }
    return hMutex;
}

HWND CreateHiddenWindow(HINSTANCE hInstance, const HIDDENWINDOW *pWindow)
{
    WNDCLASSEXA wc;
    HWND hwnd;

    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = pWindow->pfnWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = pWindow->hIcon;
    wc.hIconSm = pWindow->hIcon;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = pWindow->pszClass;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        TRACE("RegisterClassEx() Failed for %s.\nGetLastError Report %lu", pWindow->pszClass,
              GetLastError());
        return NULL;
    }

    hwnd = CreateWindowExA(pWindow->dwExStyle, pWindow->pszClass, pWindow->pszTitle,
                           WS_OVERLAPPEDWINDOW, pWindow->x, pWindow->y, pWindow->cx, pWindow->cy,
                           NULL, NULL, hInstance, NULL);
    if (hwnd == NULL) {
        TRACE("CreateWindowEx() Failed for %s.\nGetLastError Report %lu", pWindow->pszClass,
              GetLastError());
        return NULL;
    }
    ShowWindow(hwnd, SW_HIDE);
    return hwnd;
}

int RunMessageLoop(void)
{
    MSG msg;
    BOOL bGot;

    msg.wParam = 0;
    while ((bGot = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (bGot == -1) {
            TRACE("GetMessage() Failed.\nGetLastError Report %lu", GetLastError());
            return 0;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
