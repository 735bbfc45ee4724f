/*
 * Benchguard.exe: Lockwatch's own code, for measuring it under Wine, which
 * cannot lock the workstation. The lock is taken as granted; the readings,
 * the override, the alarm outputs and the session registration are
 * Lockwatch's own calls.
 *
 *   Benchguard.exe [RUNS]
 *
 * Runs the guard RUNS times (default 1), one after the other, as that many
 * Lockwatch runs would, each from the state a new process starts in. Before
 * each run it waits for the event "TiltkitBenchguardNext" (at most a
 * minute; then it ends), and once more after the last run before it ends,
 * so that whoever measures it can do so between two runs and after the last.
 */
#include "motionlock/lockwatch.h"
#include "motionlock/lockplatform.h"
#include "common/bgprogram.h"
#include <stdlib.h>

#define BENCHGUARD_NEXT_EVENT "TiltkitBenchguardNext"
#define BENCHGUARD_WAIT_MS    60000

static BOOL WINAPI GrantedLock(void)
{
    return TRUE;
}

/* Lockwatch's state as a new process has it; the single-instance mutex of
 * this process stays. */
static void FreshLockwatchState(void)
{
    HANDLE hMutex = g_Lockwatch.hMutex;

    ZeroMemory(&g_Lockwatch, sizeof(g_Lockwatch));
    g_Lockwatch.hMutex = hMutex;
    g_DLGetAcceleration = NULL;
    g_nTimerInterval = 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    int nRuns = atoi(pszCmdLine);
    HANDLE hNext;
    int i;

    if (nRuns < 1)
        nRuns = 1;
    g_LockwatchPlatform.pfnLockWorkStation = GrantedLock;
    g_Lockwatch.hMutex = ClaimSingleInstance(LOCKWATCH_MUTEX);
    if (g_Lockwatch.hMutex == NULL)
        return 1;
    hNext = CreateEventA(NULL, FALSE, FALSE, BENCHGUARD_NEXT_EVENT);
    if (hNext == NULL) {
        CloseHandle(g_Lockwatch.hMutex);
        return 1;
    }

    for (i = 0; i <= nRuns; i++) {
        if (WaitForSingleObject(hNext, BENCHGUARD_WAIT_MS) != WAIT_OBJECT_0 || i == nRuns)
            break;
        FreshLockwatchState();
        if (CreateLockwatchWindow(hInstance) == NULL)
            break;
        RunMessageLoop();
    }

    CloseHandle(hNext);
    CloseHandle(g_Lockwatch.hMutex);
    return 0;
}
