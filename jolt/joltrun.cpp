#include "jolt/joltrun.h"
#include "common/trace.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    HANDLE hMutex;
    HWND hwnd;
    MSG msg;

    g_bJoltActive = 0;

    hMutex = CreateMutexA(NULL, FALSE, JOLTRUN_MUTEX);
    if (!hMutex)
        return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(hMutex);
        TRACE("CreateMutex() Failed in WinMain().\nError Report ERROR_ALREADY_EXISTS");
        return 0;
    }

    hwnd = CreateJoltWindow(hInstance);
    if (!hwnd) {
        TRACE("CreateWindowEx() Failed in WinMain().\nReturn Value %d", (int)GetLastError());
        CloseHandle(hMutex);
        return 0;
    }

    /* Off-screen and without size: the window never shows anything. */
    ShowWindow(hwnd, SW_SHOWNORMAL);
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);

    msg.wParam = 0;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    CloseHandle(hMutex);
    return (int)msg.wParam;
}
