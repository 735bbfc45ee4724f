#include "jolt/joltrun.h"
#include "common/bgprogram.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    HANDLE hMutex;
    HWND hwnd;
    int nExitCode;

    g_bJoltActive = 0;

    hMutex = ClaimSingleInstance(JOLTRUN_MUTEX);
    if (hMutex == NULL)
        return 0;

    hwnd = CreateJoltWindow(hInstance);
    if (hwnd == NULL) {
        CloseHandle(hMutex);
        return 0;
    }

    /* Off-screen and without size: the window never shows anything. */
    ShowWindow(hwnd, SW_SHOWNORMAL);
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);

    nExitCode = RunMessageLoop();
    CloseHandle(hMutex);
    return nExitCode;
}
