/*
 * Benchfloor.exe: the floor of the resident benchmark. What every resident
 * program of the suite has at the least: a hidden window and a message
 * loop, made by the same routines and linked the same way.
 */
#include "common/bgprogram.h"

static LRESULT CALLBACK FloorWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    const HIDDENWINDOW window = {
        "TiltkitBenchfloor Class", "TiltkitBenchfloor", FloorWndProc, NULL, 0,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT
    };

    if (CreateHiddenWindow(hInstance, &window) == NULL)
        return 1;
    return RunMessageLoop();
}
