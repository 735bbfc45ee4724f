/*
 * Test side of the Hwgate stand-in (its registry key) and of the system
 * directory where the two interface libraries live.
 */
#ifndef MOTIONLOCK_HWGATE_STANDIN_H
#define MOTIONLOCK_HWGATE_STANDIN_H

#include <windows.h>
#include <string>
#include <vector>
#include "standins/hwgate/hwgate_ctl.h"

namespace mltest {

/* Forgets every setting, the request count, the log and any failure order. */
void HwgateReset();
DWORD HwgateSetting(DWORD dwNumber);
/* Sets a setting as the hardware would hold it (0 = lost by a suspend). */
void HwgateSetSetting(DWORD dwNumber, DWORD dwValue);
DWORD HwgateRequests();
/* The next nCount calls fail: mode 0 returns 0, mode 1 answers status 0x86. */
void HwgateFail(DWORD dwCount, DWORD dwMode = 0);
std::vector<HWGATELOGRECORD> HwgateLog();
/* The writes of the log as "5E=2" strings, in order. */
std::vector<std::string> HwgateWrites();

/* Renames a library of the system directory away for the life of the
 * object. Every file whose name matches without regard to case is moved and
 * put back under its own name: the prefix's file system is case-sensitive,
 * and a copy under a second spelling would still be loaded. */
class HideSystemLibrary {
public:
    explicit HideSystemLibrary(const char *pszName);
    ~HideSystemLibrary();
    bool Hidden() const { return !m_paths.empty() && m_bHidden; }
private:
    std::vector<std::string> m_paths;
    bool m_bHidden;
};

} // namespace mltest

#endif
