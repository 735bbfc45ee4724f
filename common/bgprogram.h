/*
 * What the background programs share: one run at a time through a named
 * mutex, a hidden main window that receives their messages and timers, and
 * the message loop.
 */
#ifndef TILTKIT_BGPROGRAM_H
#define TILTKIT_BGPROGRAM_H

#include <windows.h>

/* The named mutex of a single-instance program, held until the program
 * closes it or ends. NULL when it cannot be created or another run holds
 * it already (the handle obtained then is closed again). */
HANDLE ClaimSingleInstance(LPCSTR pszMutex);

/* A hidden main window: its class (registered once per process, an existing
 * one accepted), title, procedure, class icon (or NULL), extended style,
 * and place and size (the window is never shown). */
typedef struct HIDDENWINDOW {
    LPCSTR pszClass;
    LPCSTR pszTitle;
    WNDPROC pfnWndProc;
    HICON hIcon;
    DWORD dwExStyle;
    int x, y, cx, cy;
} HIDDENWINDOW;

/* Registers the class and creates the window (WS_OVERLAPPEDWINDOW, hidden);
 * NULL when either fails. */
HWND CreateHiddenWindow(HINSTANCE hInstance, const HIDDENWINDOW *pWindow);

/* Dispatches this thread's messages until WM_QUIT and returns its exit
 * code; 0 when the message queue fails. */
int RunMessageLoop(void);

#endif
