/*
 * Gravctl.exe <command words...>: sends one control command to the running
 * manager stand-in and prints its result. Exit code 0 when the command was
 * done, 1 when it was refused, 2 when no manager window answered.
 */
#include <windows.h>
#include <stdio.h>

#include "gravmon/gravmon.h"
#include "gravmgr_ctl.h"

#define GRAVCTL_COMMAND_MAX 1024
#define GRAVCTL_TIMEOUT_MS  10000

int main(int argc, char **argv)
{
    char szCommand[GRAVCTL_COMMAND_MAX];
    size_t cch = 0;
    COPYDATASTRUCT cds;
    DWORD_PTR dwResult = 0;
    HWND hwndManager;
    int i;

    if (argc < 2) {
        fprintf(stderr, "usage: Gravctl <command words...>\n");
        return 2;
    }
    szCommand[0] = '\0';
    for (i = 1; i < argc; i++) {
        size_t cchArg = strlen(argv[i]);
        if (cch + cchArg + 2 > sizeof(szCommand)) {
            fprintf(stderr, "Gravctl: command too long\n");
            return 2;
        }
        if (cch > 0)
            szCommand[cch++] = ' ';
        memcpy(szCommand + cch, argv[i], cchArg);
        cch += cchArg;
        szCommand[cch] = '\0';
    }

    hwndManager = FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
    if (hwndManager == NULL) {
        fprintf(stderr, "Gravctl: no manager window\n");
        return 2;
    }
    cds.dwData = GRAVMGR_COPYDATA_TAG;
    cds.cbData = (DWORD)cch + 1;
    cds.lpData = szCommand;
    if (!SendMessageTimeoutA(hwndManager, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_NORMAL,
                             GRAVCTL_TIMEOUT_MS, &dwResult)) {
        fprintf(stderr, "Gravctl: the manager did not answer\n");
        return 2;
    }
    if ((LRESULT)dwResult == GRAVMGR_RESULT_ERROR) {
        printf("%s: refused\n", szCommand);
        return 1;
    }
    printf("%s: %ld\n", szCommand, (long)(LRESULT)dwResult);
    return 0;
}
