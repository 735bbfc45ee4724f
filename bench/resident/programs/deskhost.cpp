/*
 * Benchdesk.exe: Tiltdesk's own code, the console opened again and again in
 * one process, so that what a console leaves behind adds up where it can be
 * measured.
 *
 *   Benchdesk.exe [RUNS]
 *
 * Opens the console RUNS times (default 1), each run exactly as Tiltdesk.exe
 * with an empty command line. Before each run it waits for the event
 * "TiltkitBenchdeskNext" (at most a minute; then it ends), and once more
 * after the last run before it ends, so that whoever measures it can do so
 * between two runs and after the last; the sheet is closed by that party too.
 */
#include <windows.h>
#include <stdlib.h>

#define BENCHDESK_NEXT_EVENT "TiltkitBenchdeskNext"
#define BENCHDESK_WAIT_MS    60000

/* Tiltdesk's WinMain, compiled under this name. */
extern "C" int WINAPI RunTiltdeskConsole(HINSTANCE hInstance, HINSTANCE hPrevInstance,
                                         LPSTR lpCmdLine, int nCmdShow);

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    char szEmpty[1] = "";
    int nRuns = atoi(pszCmdLine);
    HANDLE hNext;
    HMODULE hSpool;
    int i;

    if (nRuns < 1)
        nRuns = 1;
    /* Wine's winspool.drv leaves a mutex behind each time it is unloaded,
     * which the pages' comdlg32 does with every console: kept loaded here,
     * so that what adds up is the console's own. */
    hSpool = LoadLibraryA("winspool.drv");
    hNext = CreateEventA(NULL, FALSE, FALSE, BENCHDESK_NEXT_EVENT);
    if (hNext == NULL) {
        if (hSpool != NULL)
            FreeLibrary(hSpool);
        return 1;
    }
    for (i = 0; i <= nRuns; i++) {
        if (WaitForSingleObject(hNext, BENCHDESK_WAIT_MS) != WAIT_OBJECT_0 || i == nRuns)
            break;
        RunTiltdeskConsole(hInstance, NULL, szEmpty, SW_SHOWNORMAL);
    }
    CloseHandle(hNext);
    if (hSpool != NULL)
        FreeLibrary(hSpool);
    return 0;
}
