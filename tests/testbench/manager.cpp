#include "testbench/manager.h"
#include "gravmon/gravmon.h"
#include "standins/gravmgr/gravmgr_ctl.h"

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

LRESULT Manager::Command(const std::string &cmd)
{
    COPYDATASTRUCT cds;
    DWORD_PTR dwResult = (DWORD_PTR)GRAVMGR_RESULT_ERROR;
    cds.dwData = GRAVMGR_COPYDATA_TAG;
    cds.cbData = (DWORD)cmd.size() + 1;
    cds.lpData = (PVOID)cmd.c_str();
    if (!m_hwnd || !SendMessageTimeoutA(m_hwnd, WM_COPYDATA, 0, (LPARAM)&cds,
                                        SMTO_NORMAL, 10000, &dwResult))
        return GRAVMGR_RESULT_ERROR;
    return (LRESULT)dwResult;
}

} // namespace tb
