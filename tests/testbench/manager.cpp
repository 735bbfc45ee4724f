#include "testbench/manager.h"
#include "gravmon/gravmon.h"
#include "standins/gravmgr/gravmgr_ctl.h"
#include <stdarg.h>
#include <stdio.h>

namespace tb {

bool Manager::Start(const std::string &args)
{
    if (!m_proc.Start(BinPath("Gravmgr.exe"), "/hidden " + args))
        return false;
    m_hwnd = WaitWindow(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME, 10000, m_proc.Pid());
    return m_hwnd != NULL;
}

void Manager::Stop()
{
    if (m_proc.Running()) {
        if (m_hwnd)
            PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
        if (m_proc.Wait(5000) < 0)
            m_proc.Kill();
    }
    m_proc.Kill();
    m_hwnd = NULL;
}

LRESULT ManagerCommand(HWND hwnd, const std::string &cmd, DWORD dwTimeoutMs)
{
    COPYDATASTRUCT cds;
    DWORD_PTR dwResult = (DWORD_PTR)GRAVMGR_RESULT_ERROR;
    if (hwnd == NULL)
        hwnd = FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
    cds.dwData = GRAVMGR_COPYDATA_TAG;
    cds.cbData = (DWORD)cmd.size() + 1;
    cds.lpData = (PVOID)cmd.c_str();
    if (!hwnd || !SendMessageTimeoutA(hwnd, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_NORMAL,
                                      dwTimeoutMs, &dwResult))
        return GRAVMGR_RESULT_ERROR;
    return (LRESULT)dwResult;
}

LRESULT Manager::Command(const std::string &cmd)
{
    if (!m_hwnd)
        return GRAVMGR_RESULT_ERROR;
    return ManagerCommand(m_hwnd, cmd);
}

void Say(const char *pszFormat, ...)
{
    static DWORD s_dwStart = GetTickCount();
    va_list args;
    printf("[%6.3f s] ", (GetTickCount() - s_dwStart) / 1000.0);
    va_start(args, pszFormat);
    vprintf(pszFormat, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

} // namespace tb
