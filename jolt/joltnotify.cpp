/* Telling a running Joltrun that its settings changed. */
#include "jolt/joltstore.h"

/* Obtained once, before the module's entry point runs. */
UINT g_uMsgJoltConfigChanged = RegisterWindowMessageA(JOLTRUN_MSG_CONFIGCHANGED);

HWND FindJoltrun(void)
{
    return FindWindowA(JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME);
}

BOOL TellJoltrun(HWND hwndJoltrun)
{
    if (hwndJoltrun == NULL || g_uMsgJoltConfigChanged == 0)
        return FALSE;
    return PostMessageA(hwndJoltrun, g_uMsgJoltConfigChanged, 0, 0);
}
