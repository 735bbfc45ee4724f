/*
 * Joltmark: a program for the Jolt tests to start. It appends one line,
 * "<its own file name> <tick count>", to joltmark.log in its own folder and
 * signals the event "TiltkitJoltmarkEvent" when someone waits for it. Copy it
 * under another name to tell two launch paths apart.
 *
 * "Joltmark.exe /close" instead asks a running Joltrun to end (WM_CLOSE to
 * its window), as the uninstallation does; nothing is logged then.
 */
#include <windows.h>
#include <shlwapi.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    char szExe[MAX_PATH];
    char szLog[MAX_PATH];
    char szLine[MAX_PATH + 32];
    HANDLE hFile = INVALID_HANDLE_VALUE;
    HANDLE hEvent;
    DWORD dwTick = GetTickCount();
    DWORD cbWritten;
    int nTry;
    int cch;

    if (lstrcmpiA(pszCmdLine, "/close") == 0) {
        HWND hwndJolt = FindWindowA("TiltkitJolt Class", "TiltkitJolt");
        return hwndJolt && PostMessageA(hwndJolt, WM_CLOSE, 0, 0) ? 0 : 1;
    }

    hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, "TiltkitJoltmarkEvent");

    if (!GetModuleFileNameA(NULL, szExe, ARRAYSIZE(szExe)))
        goto done;
    szExe[ARRAYSIZE(szExe) - 1] = '\0';
    lstrcpynA(szLog, szExe, ARRAYSIZE(szLog));
    PathRemoveFileSpecA(szLog);
    if (!PathAppendA(szLog, "joltmark.log"))
        goto done;

    cch = wnsprintfA(szLine, ARRAYSIZE(szLine), "%s %lu\r\n", PathFindFileNameA(szExe), dwTick);
    if (cch < 0)
        goto done;

    /* Several copies may start close together: wait for a turn at the file. */
    for (nTry = 0; nTry < 200 && hFile == INVALID_HANDLE_VALUE; nTry++) {
        hFile = CreateFileA(szLog, FILE_APPEND_DATA, 0, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            Sleep(5);
    }
    if (hFile != INVALID_HANDLE_VALUE) {
        WriteFile(hFile, szLine, (DWORD)cch, &cbWritten, NULL);
        CloseHandle(hFile);
    }

done:
    if (hEvent) {
        SetEvent(hEvent);
        CloseHandle(hEvent);
    }
    return 0;
}
