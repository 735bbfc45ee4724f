/* Lockwatch.exe entry: one run at a time, then the hidden window's loop. */
#include "motionlock/lockwatch.h"
#include "common/bgprogram.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    /* A second start while one run is active ends silently. The mutex is
     * held until the process ends. */
    g_Lockwatch.hMutex = ClaimSingleInstance(LOCKWATCH_MUTEX);
    if (g_Lockwatch.hMutex == NULL)
        return 0;
    if (CreateLockwatchWindow(hInstance) == NULL)
        return 0;
    return RunMessageLoop();
}
