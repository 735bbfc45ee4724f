/* Command lines and target paths of any content: every output is bounded
 * and terminated, the tail is a suffix of the command line, and the
 * target's command line is the path, quoted or not. */
#include <stdint.h>
#include <string.h>
#include <stdlib.h>
#include <string>
#include "tiltfeed/feedcmd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cb)
{
    std::string s((const char *)pData, cb);
    s = s.c_str();   /* up to the first zero, as the system hands it over */

    const char *pszTail = SkipProgramName(s.c_str());
    if (pszTail < s.c_str() || pszTail > s.c_str() + s.size())
        abort();

    char szKey[260 + 1];
    szKey[260] = 0x5A;
    bool bOk = BuildItemKeyPath("SOFTWARE\\Zelvar\\Tiltkit\\Tiltfeed", pszTail, szKey, 260);
    if (szKey[260] != 0x5A || strlen(szKey) >= 260 || bOk != (strlen(pszTail) + 34 <= 260))
        abort();

    char szDir[16 + 1];
    szDir[16] = 0x5A;
    BuildWorkDir(s.c_str(), szDir, 16);
    if (szDir[16] != 0x5A || strlen(szDir) >= 16 || strncmp(szDir, s.c_str(), strlen(szDir)) != 0)
        abort();

    char szCmd[24 + 1];
    szCmd[24] = 0x5A;
    int nStart = BuildTargetCommandLine(s.c_str(), szCmd, 24);
    if (szCmd[24] != 0x5A || strlen(szCmd) >= 24)
        abort();
    if (nStart == TARGET_QUOTED &&
        (szCmd[0] != '"' || s.compare(0, std::string::npos, szCmd + 1, strlen(szCmd) - 2) != 0))
        abort();
    if (nStart == TARGET_AS_IS && s != szCmd)
        abort();
    return 0;
}
