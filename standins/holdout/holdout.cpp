/*
 * Holdout: a program that will not close. It shows a hidden top-level window
 * of the given class and title that counts, in its user data, the WM_CLOSE
 * messages it receives and ignores them. The setup tests use it to play a
 * hung accelerometer manager or Joltrun.
 *
 *     Holdout.exe CLASS TITLE
 *
 * It runs until it is ended from outside (the test's job).
 */
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK HoldoutWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CLOSE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, GetWindowLongPtrA(hwnd, GWLP_USERDATA) + 1);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    char szClass[MAX_PATH];
    char szTitle[MAX_PATH];
    LPWSTR *ppszArgs;
    WNDCLASSA wc;
    MSG msg;
    int nArgs = 0;
    BOOL bOk;

    ppszArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    if (!ppszArgs)
        return 2;
    bOk = nArgs == 3 &&
          WideCharToMultiByte(CP_ACP, 0, ppszArgs[1], -1, szClass, sizeof(szClass), NULL, NULL) &&
          WideCharToMultiByte(CP_ACP, 0, ppszArgs[2], -1, szTitle, sizeof(szTitle), NULL, NULL);
    LocalFree(ppszArgs);
    if (!bOk)
        return 2;

    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = HoldoutWndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = szClass;
    if (!RegisterClassA(&wc))
        return 1;
    if (!CreateWindowA(szClass, szTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                       hInstance, NULL))
        return 1;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
