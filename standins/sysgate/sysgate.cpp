/*
 * Sysgate.DLL stand-in: the companion library that Lockwatch loads before
 * Hwgate and binds but never calls. It only has to be loadable.
 */
#include <windows.h>

extern "C" DWORD WINAPI SysgateGetWithOpenIF(DWORD dwIndex, DWORD *pdwValue)
{
    return 0;
}

extern "C" DWORD WINAPI SysgateSetWithOpenIF(DWORD dwIndex, DWORD dwValue)
{
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    return TRUE;
}
