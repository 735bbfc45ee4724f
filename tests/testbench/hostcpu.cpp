#include "testbench/hostcpu.h"
#include <windows.h>
#include <stdlib.h>

namespace tb {

static std::string ReadHostFile(const std::string &path)
{
    std::string text;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD cb;
    while (ReadFile(h, buf, sizeof(buf), &cb, NULL) && cb > 0)
        text.append(buf, cb);
    CloseHandle(h);
    return text;
}

std::string FindHostPid(const std::string &needle)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA("Z:\\proc\\*", &fd);
    std::string found;
    if (hFind == INVALID_HANDLE_VALUE)
        return found;
    do {
        if (fd.cFileName[0] < '0' || fd.cFileName[0] > '9')
            continue;
        std::string cmd = ReadHostFile(std::string("Z:\\proc\\") + fd.cFileName + "\\cmdline");
        for (char &c : cmd)
            if (c == '\0')
                c = ' ';
        if (cmd.find(needle) != std::string::npos) {
            found = fd.cFileName;
            break;
        }
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    return found;
}

/* Sum of the first field (nanoseconds on the CPU) of every thread's
 * schedstat; -1 when there is none. */
static double SchedSeconds(const std::string &pid)
{
    std::string dir = "Z:\\proc\\" + pid + "\\task\\";
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((dir + "*").c_str(), &fd);
    double dSeconds = 0;
    bool bAny = false;
    if (hFind == INVALID_HANDLE_VALUE)
        return -1;
    do {
        if (fd.cFileName[0] < '0' || fd.cFileName[0] > '9')
            continue;
        std::string stat = ReadHostFile(dir + fd.cFileName + "\\schedstat");
        if (stat.empty())
            continue;
        dSeconds += (double)strtoull(stat.c_str(), NULL, 10) / 1e9;
        bAny = true;
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    return bAny ? dSeconds : -1;
}

double HostCpuSeconds(const std::string &pid)
{
    if (pid.empty())
        return -1;
    double dSched = SchedSeconds(pid);
    if (dSched >= 0)
        return dSched;
    std::string stat = ReadHostFile("Z:\\proc\\" + pid + "\\stat");
    size_t pos = stat.rfind(')');
    if (pos == std::string::npos)
        return -1;
    /* After "pid (comm)": state is field 3, utime 14, stime 15. */
    const char *p = stat.c_str() + pos + 2;
    unsigned long long aField[16] = {};
    for (int i = 3; i <= 15 && *p; i++) {
        aField[i] = strtoull(p, NULL, 10);
        while (*p && *p != ' ')
            p++;
        while (*p == ' ')
            p++;
    }
    return (double)(aField[14] + aField[15]) / 100.0;
}

} // namespace tb
