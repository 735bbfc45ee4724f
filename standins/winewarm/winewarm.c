/*
 * Winewarm: creates one window and ends. Run once when a Wine slot comes up,
 * so that the session's desktop process is started then, away from the
 * output pipes of the first test that opens a window.
 */
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR pszCmdLine, int nShow)
{
    HWND hwnd = CreateWindowA("STATIC", "Winewarm", WS_POPUP, 0, 0, 1, 1,
                              NULL, NULL, hInstance, NULL);
    if (hwnd != NULL)
        DestroyWindow(hwnd);
    return hwnd != NULL ? 0 : 1;
}
