#include "testbench/tiltfeed_target.h"
#include "common/regpaths.h"
#include "standins/feedtarget/feedtarget.h"
#include <stdlib.h>

namespace tb {

std::string TiltfeedItemKey(const std::string &item)
{
    return std::string(TILTKIT_REG_TILTFEED) + "\\" + item;
}

void WriteTiltfeedItem(const std::string &item, const std::string &path, DWORD dwType,
                       DWORD dwMouseRate, DWORD dwCursorKeyRate)
{
    std::string key = TiltfeedItemKey(item);
    std::string fileName = path.substr(path.find_last_of('\\') + 1);
    RegSetString(HKEY_CURRENT_USER, key, "FileName", fileName);
    RegSetString(HKEY_CURRENT_USER, key, "Path", path);
    RegSetDword(HKEY_CURRENT_USER, key, "Type", dwType);
    RegSetDword(HKEY_CURRENT_USER, key, "Mouse_Rate", dwMouseRate);
    RegSetDword(HKEY_CURRENT_USER, key, "CursorKey_Rate", dwCursorKeyRate);
}

TargetLog::TargetLog(const std::string &name)
{
    m_path = ScratchDir() + "\\" + name + ".log";
    DeleteFileA(m_path.c_str());
}

std::vector<TargetLog::Event> TargetLog::Events() const
{
    std::vector<Event> events;
    HANDLE h = CreateFileA(m_path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return events;
    std::string text;
    char buf[4096];
    DWORD cb;
    while (ReadFile(h, buf, sizeof(buf), &cb, NULL) && cb > 0)
        text.append(buf, cb);
    CloseHandle(h);
    size_t pos = 0;
    for (;;) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            break;   /* an unfinished line is read next time */
        std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        size_t sp = line.find(' ');
        if (sp == std::string::npos)
            continue;
        events.push_back(Event{ _atoi64(line.substr(0, sp).c_str()), line.substr(sp + 1) });
    }
    return events;
}

std::vector<std::string> TargetLog::With(const std::string &prefix) const
{
    std::vector<std::string> out;
    for (const Event &e : Events()) {
        if (e.text.compare(0, prefix.size(), prefix) == 0)
            out.push_back(e.text.substr(prefix.size()));
    }
    return out;
}

void SetTargetEnvironment(const TargetLog *pLog, DWORD dwExitMs, DWORD dwBusyMs)
{
    SetEnvironmentVariableA("FEEDTARGET_LOG", pLog ? pLog->Path().c_str() : NULL);
    SetEnvironmentVariableA("FEEDTARGET_EXIT", dwExitMs ? std::to_string(dwExitMs).c_str() : NULL);
    SetEnvironmentVariableA("FEEDTARGET_BUSY", dwBusyMs ? std::to_string(dwBusyMs).c_str() : NULL);
}

HWND WaitTargetWindow(DWORD dwTimeoutMs)
{
    return WaitWindow(FEEDTARGET_CLASS, NULL, dwTimeoutMs);
}

HWND WaitFeedrunWindow(DWORD dwPid, DWORD dwTimeoutMs)
{
    return WaitWindow("TiltkitTiltfeed Class", "TiltkitTiltfeed", dwTimeoutMs, dwPid);
}

DWORD WindowPid(HWND hwnd)
{
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    return dwPid;
}

static BOOL CALLBACK KillTargetProc(HWND hwnd, LPARAM lParam)
{
    char sz[64];
    GetClassNameA(hwnd, sz, sizeof(sz));
    if (lstrcmpA(sz, FEEDTARGET_CLASS) == 0) {
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, WindowPid(hwnd));
        if (h) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
    return TRUE;
}

void KillTargets()
{
    EnumWindows(KillTargetProc, 0);
}

bool BringToFront(HWND hwnd)
{
    if (WindowPid(hwnd) != GetCurrentProcessId()) {
        /* The target brings itself forward when asked. */
        PostMessageA(hwnd, FEEDTARGET_WM_FRONT, 0, 0);
    } else {
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
    }
    return WaitFor([&] { return GetForegroundWindow() == hwnd; }, 3000);
}

bool StartFeedrun(Process &proc, const std::string &item)
{
    return proc.Start(BinPath("Feedrun.exe"), item);
}

const char kTurnedScreenKey[] = TILTKIT_REG_ROOT "\\Testbench";
const char kTurnedScreenValue[] = "ScreenOrientation";

bool StartFeedturn(Process &proc, const std::string &item)
{
    char szExe[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szExe, MAX_PATH);
    std::string dir(szExe);
    return proc.Start(dir.substr(0, dir.find_last_of('\\') + 1) + "Feedturn.exe", item);
}

} // namespace tb
