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

HideSystemLibrary::HideSystemLibrary(const char *pszName) : m_bHidden(true)
{
    char szDir[MAX_PATH];
    GetSystemDirectoryA(szDir, MAX_PATH);
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((std::string(szDir) + "\\*").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (lstrcmpiA(fd.cFileName, pszName) == 0)
            m_paths.push_back(std::string(szDir) + "\\" + fd.cFileName);
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    for (const std::string &path : m_paths)
        if (!MoveFileExA(path.c_str(), (path + ".hidden").c_str(), MOVEFILE_REPLACE_EXISTING))
            m_bHidden = false;
}

HideSystemLibrary::~HideSystemLibrary()
{
    for (const std::string &path : m_paths)
        MoveFileExA((path + ".hidden").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace mltest
