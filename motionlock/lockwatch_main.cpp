/* Lockwatch.exe entry: one run at a time, then the hidden window's loop. */
#include "motionlock/lockwatch.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    HANDLE hMutex;
    HWND hwnd;
    MSG msg;
    BOOL bResult;

    /* A second start while one run is active ends silently. The mutex is
     * held until the process ends. */
    hMutex = CreateMutexA(NULL, FALSE, LOCKWATCH_MUTEX);
    if (hMutex == NULL || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    g_Lockwatch.hMutex = hMutex;

    hwnd = CreateLockwatchWindow(hInstance);
    if (hwnd == NULL)
        return 0;

    msg.wParam = 0;
    while ((bResult = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (bResult == -1) {
            msg.wParam = 0;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
