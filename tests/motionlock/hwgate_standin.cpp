#include "hwgate_standin.h"
#include "testbench/testbench.h"
#include <stdio.h>

namespace mltest {

static std::string SettingName(DWORD dwNumber)
{
    char sz[16];
    _snprintf(sz, sizeof(sz), HWGATE_VAL_SETTING_FMT, (unsigned)dwNumber);
    sz[sizeof(sz) - 1] = '\0';
    return sz;
}

void HwgateReset()
{
    tb::RegDeleteTree(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY);
}

DWORD HwgateSetting(DWORD dwNumber)
{
    DWORD dw = 0;
    tb::RegGetDword(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, SettingName(dwNumber), &dw);
    return dw;
}

void HwgateSetSetting(DWORD dwNumber, DWORD dwValue)
{
    tb::RegSetDword(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, SettingName(dwNumber), dwValue);
}

DWORD HwgateRequests()
{
    DWORD dw = 0;
    tb::RegGetDword(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, HWGATE_VAL_REQUESTS, &dw);
    return dw;
}

void HwgateFail(DWORD dwCount, DWORD dwMode)
{
    tb::RegSetDword(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, HWGATE_VAL_FAILCOUNT, dwCount);
    tb::RegSetDword(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, HWGATE_VAL_FAILMODE, dwMode);
}

std::vector<HWGATELOGRECORD> HwgateLog()
{
    std::vector<BYTE> data;
    std::vector<HWGATELOGRECORD> log;
    if (!tb::RegGetBinary(HKEY_LOCAL_MACHINE, HWGATE_STANDIN_KEY, HWGATE_VAL_LOG, &data))
        return log;
    log.resize(data.size() / sizeof(HWGATELOGRECORD));
    if (!log.empty())
        memcpy(&log[0], &data[0], log.size() * sizeof(HWGATELOGRECORD));
    return log;
}

std::vector<std::string> HwgateWrites()
{
    std::vector<std::string> writes;
    for (const HWGATELOGRECORD &r : HwgateLog()) {
        if (r.dwCode != 0xFF00 || r.dwFailed)
            continue;
        char sz[32];
        _snprintf(sz, sizeof(sz), "%02lX=%lu", r.dwNumber, r.dwValue);
        sz[sizeof(sz) - 1] = '\0';
        writes.push_back(sz);
    }
    return writes;
}

HideSystemLibrary::HideSystemLibrary(const char *pszName) : m_bHidden(false)
{
    char szDir[MAX_PATH];
    GetSystemDirectoryA(szDir, MAX_PATH);
    m_path = std::string(szDir) + "\\" + pszName;
    m_bHidden = MoveFileExA(m_path.c_str(), (m_path + ".hidden").c_str(),
                            MOVEFILE_REPLACE_EXISTING) != FALSE;
}

HideSystemLibrary::~HideSystemLibrary()
{
    if (m_bHidden)
        MoveFileExA((m_path + ".hidden").c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace mltest
