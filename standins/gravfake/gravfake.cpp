/*
 * Stand-in access libraries that lack one export each: a caller that binds
 * by name must refuse them. Every present export answers "manager not
 * active" (-6) and touches nothing.
 */
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDll, DWORD dwReason, LPVOID pvReserved)
{
    return TRUE;
}

extern "C" LONG WINAPI GetAcceleration(float *pfX, float *pfY, HWND hwnd) { return -6; }
extern "C" LONG WINAPI GetAngle(float *pfX, float *pfY, HWND hwnd) { return -6; }
extern "C" LONG WINAPI GetImmediate(WORD *pwX, WORD *pwY) { return -6; }
extern "C" LONG WINAPI GetZeroBase(WORD *a, WORD *b, WORD *c, WORD *d) { return -6; }
extern "C" LONG WINAPI SetZeroBase(LONG a, LONG b, LONG c, LONG d) { return -6; }
extern "C" LONG WINAPI Monopolize(HWND hwnd) { return -6; }
extern "C" LONG WINAPI Unmonopolize(HWND hwnd) { return -6; }
