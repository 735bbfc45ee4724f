#include "testbench/jolt_defaults.h"
#include <stdio.h>
#include <string.h>
#include "testbench/testbench.h"
#include "setup/defaults_reg.h"

namespace tb {

static std::string AnsiToUtf8(const std::string &ansi)
{
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, NULL, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], n);
    w.resize(lstrlenW(w.c_str()));
    return Utf8(w);
}

static std::string WindowsDirUtf8()
{
    char szWin[MAX_PATH];
    UINT n = GetWindowsDirectoryA(szWin, ARRAYSIZE(szWin));
    return AnsiToUtf8(n && n < ARRAYSIZE(szWin) ? szWin : "C:\\windows");
}

bool InstallDefaults(const std::string &installDir)
{
    return WriteTiltkitDefaults(HKEY_LOCAL_MACHINE, AnsiToUtf8(installDir).c_str(),
                                WindowsDirUtf8().c_str()) != FALSE;
}

std::string DefaultText(const std::string &key, const std::string &name,
                        const std::string &installDir)
{
    char szText[TKDEF_UTF8_MAX];
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        const TKDEFAULTVALUE &d = g_aTiltkitDefaults[i];
        if (key != d.pszKey || name != d.pszName || d.nType != TKDEF_SZ)
            continue;
        if (!TkExpandDefault(d.pszData, AnsiToUtf8(installDir).c_str(),
                             WindowsDirUtf8().c_str(), szText, sizeof(szText)))
            return "";
        return Ansi(szText);
    }
    return "";
}

void StampInstallTime(const SYSTEMTIME &st)
{
    static const char *const s_apszKeys[] = { TILTKIT_REG_TILTFEED, TILTKIT_REG_JOLT };
    for (const char *pszKey : s_apszKeys) {
        if (RegKeyExists(HKEY_LOCAL_MACHINE, pszKey))
            RegSetBinary(HKEY_LOCAL_MACHINE, pszKey, "InstallTime", &st, sizeof(st));
    }
}

std::vector<std::string> JoltmarkRuns(const std::string &dir)
{
    std::vector<std::string> runs;
    FILE *pf = fopen((dir + "\\joltmark.log").c_str(), "rb");
    if (!pf)
        return runs;
    char szLine[512];
    while (fgets(szLine, sizeof(szLine), pf)) {
        char *pszBlank = strchr(szLine, ' ');
        if (pszBlank)
            *pszBlank = '\0';
        runs.push_back(szLine);
    }
    fclose(pf);
    return runs;
}

} // namespace tb
