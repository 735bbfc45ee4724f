#include "testbench/testbench.h"
#include "common/regpaths.h"
#include <shlwapi.h>
#include <stdlib.h>
#include <stdio.h>

namespace tb {

std::string BinPath(const std::string &name)
{
    const char *pszBin = getenv("TILTKIT_BIN");
    std::string dir = pszBin ? pszBin : ".";
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    return dir + name;
}

std::string ScratchDir(bool bEmpty)
{
    char szTemp[MAX_PATH];
    char szExe[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    GetModuleFileNameA(NULL, szExe, MAX_PATH);
    std::string dir = std::string(szTemp) + "tiltkit-" + PathFindFileNameA(szExe);
    if (bEmpty) {
        std::string cmd = dir + '\0';
        SHFILEOPSTRUCTA op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = cmd.c_str();
        op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
        SHFileOperationA(&op);
    }
    CreateDirectoryA(dir.c_str(), NULL);
    return dir;
}

static std::wstring WideFrom(UINT uCodePage, const std::string &s)
{
    int n = MultiByteToWideChar(uCodePage, 0, s.c_str(), -1, NULL, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(uCodePage, 0, s.c_str(), -1, &w[0], n);
    return w;
}

std::wstring Wide(const std::string &utf8)
{
    return WideFrom(CP_UTF8, utf8);
}

std::wstring FromAnsi(const std::string &ansi)
{
    return WideFrom(CP_ACP, ansi);
}

std::string Utf8(const std::wstring &w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, NULL, 0, NULL, NULL);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, NULL, NULL);
    return s;
}

std::string Ansi(const std::string &utf8)
{
    std::wstring w = Wide(utf8);
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, NULL, 0, NULL, NULL);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], n, NULL, NULL);
    return s;
}

Process::Process() : m_hJob(NULL), m_hProcess(NULL), m_dwPid(0)
{
}

Process::~Process()
{
    Kill();
}

bool Process::Start(const std::string &exe, const std::string &args, const std::string &workDir)
{
    Kill();
    std::string cmd = "\"" + exe + "\"";
    if (!args.empty())
        cmd += " " + args;
    std::string dir = workDir;
    if (dir.empty()) {
        size_t pos = exe.find_last_of('\\');
        if (pos != std::string::npos)
            dir = exe.substr(0, pos);
    }
    m_hJob = CreateJobObjectA(NULL, NULL);
    if (m_hJob) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION info = {};
        info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &info, sizeof(info));
    }
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    /* A start that fails under load (Wine's loader short of resources for a
     * moment) is tried again; a missing program fails at once. */
    BOOL bStarted = FALSE;
    for (int nTry = 0; nTry < 3 && !bStarted; nTry++) {
        bStarted = CreateProcessA(NULL, buf.data(), NULL, NULL, FALSE, CREATE_SUSPENDED, NULL,
                                  dir.empty() ? NULL : dir.c_str(), &si, &pi);
        if (!bStarted) {
            DWORD dwErr = GetLastError();
            fprintf(stderr, "testbench: starting %s failed, error %lu\n", cmd.c_str(), dwErr);
            if (dwErr == ERROR_FILE_NOT_FOUND || dwErr == ERROR_PATH_NOT_FOUND)
                break;
            Sleep(250);
        }
    }
    if (!bStarted)
        return false;
    if (m_hJob)
        AssignProcessToJobObject(m_hJob, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_dwPid = pi.dwProcessId;
    return true;
}

bool Process::Running() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

long Process::Wait(DWORD dwTimeoutMs)
{
    if (!m_hProcess)
        return -1;
    DWORD dwStart = GetTickCount();
    /* Pump while waiting: the test may own windows that the child sends to. */
    for (;;) {
        DWORD dwLeft = GetTickCount() - dwStart >= dwTimeoutMs ? 0 : dwTimeoutMs - (GetTickCount() - dwStart);
        DWORD r = MsgWaitForMultipleObjects(1, &m_hProcess, FALSE, dwLeft, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            break;
        if (r != WAIT_OBJECT_0 + 1)
            return -1;
        Pump(0);
    }
    DWORD dwCode = 0;
    GetExitCodeProcess(m_hProcess, &dwCode);
    return (long)dwCode;
}

void Process::Kill()
{
    if (m_hProcess) {
        if (WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_hProcess, 1);
            WaitForSingleObject(m_hProcess, 5000);
        }
        CloseHandle(m_hProcess);
        m_hProcess = NULL;
    }
    if (m_hJob) {
        CloseHandle(m_hJob);
        m_hJob = NULL;
    }
    m_dwPid = 0;
}

struct FindCtx {
    const char *pszClass;
    const char *pszTitle;
    DWORD dwPid;
    HWND hwnd;
};

static BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam)
{
    FindCtx *ctx = (FindCtx *)lParam;
    char sz[512];
    if (ctx->dwPid) {
        DWORD dwPid = 0;
        GetWindowThreadProcessId(hwnd, &dwPid);
        if (dwPid != ctx->dwPid)
            return TRUE;
    }
    if (ctx->pszClass) {
        GetClassNameA(hwnd, sz, sizeof(sz));
        if (lstrcmpA(sz, ctx->pszClass) != 0)
            return TRUE;
    }
    if (ctx->pszTitle) {
        GetWindowTextA(hwnd, sz, sizeof(sz));
        if (lstrcmpA(sz, ctx->pszTitle) != 0)
            return TRUE;
    }
    ctx->hwnd = hwnd;
    return FALSE;
}

HWND WaitWindow(const char *pszClass, const char *pszTitle, DWORD dwTimeoutMs, DWORD dwPid)
{
    FindCtx ctx = { pszClass, pszTitle, dwPid, NULL };
    WaitFor([&] {
        ctx.hwnd = NULL;
        EnumWindows(FindProc, (LPARAM)&ctx);
        return ctx.hwnd != NULL;
    }, dwTimeoutMs);
    return ctx.hwnd;
}

bool WaitWindowGone(HWND hwnd, DWORD dwTimeoutMs)
{
    return WaitFor([&] { return !IsWindow(hwnd); }, dwTimeoutMs);
}

static std::wstring WindowTextW(HWND hwnd)
{
    int n = GetWindowTextLengthW(hwnd);
    std::wstring w(n + 1, L'\0');
    n = GetWindowTextW(hwnd, &w[0], n + 1);
    w.resize(n > 0 ? n : 0);
    return w;
}

struct DialogsCtx {
    DWORD dwPid;
    std::vector<HWND> dialogs;
};

static BOOL CALLBACK DialogsProc(HWND hwnd, LPARAM lParam)
{
    DialogsCtx *ctx = (DialogsCtx *)lParam;
    DWORD dwPid = 0;
    char sz[16] = "";
    GetWindowThreadProcessId(hwnd, &dwPid);
    GetClassNameA(hwnd, sz, sizeof(sz));
    if ((!ctx->dwPid || dwPid == ctx->dwPid) && lstrcmpA(sz, "#32770") == 0)
        ctx->dialogs.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopDialogs(DWORD dwPid)
{
    DialogsCtx ctx = { dwPid, {} };
    EnumWindows(DialogsProc, (LPARAM)&ctx);
    return ctx.dialogs;
}

/* A message box is a visible dialog with its text static as a direct child;
 * the sheets and dialogs of a process have none. */
static std::vector<HWND> MessageBoxes(DWORD dwPid)
{
    std::vector<HWND> boxes;
    for (HWND hwnd : TopDialogs(dwPid)) {
        if (GetDlgItem(hwnd, 0xFFFF) != NULL && IsWindowVisible(hwnd))
            boxes.push_back(hwnd);
    }
    return boxes;
}

MessageBoxInfo WaitMessageBox(DWORD dwPid, DWORD dwTimeoutMs)
{
    /* The box window exists before its texts are set: take the first box
     * whose caption and text are both in, so that they are never half-made. */
    MessageBoxInfo info;
    WaitFor([&] {
        for (HWND hwnd : MessageBoxes(dwPid)) {
            std::wstring caption = WindowTextW(hwnd);
            std::wstring text = WindowTextW(GetDlgItem(hwnd, 0xFFFF));
            if (!caption.empty() && !text.empty()) {
                info.hwnd = hwnd;
                info.caption = caption;
                info.text = text;
                return true;
            }
        }
        return false;
    }, dwTimeoutMs);
    return info;
}

int CountMessageBoxes(DWORD dwPid)
{
    return (int)MessageBoxes(dwPid).size();
}

bool CloseMessageBox(const MessageBoxInfo &box, int idButton)
{
    if (!box.hwnd)
        return false;
    PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(idButton, BN_CLICKED),
                 (LPARAM)GetDlgItem(box.hwnd, idButton));
    return WaitWindowGone(box.hwnd, 5000);
}

int CountDialogs(DWORD dwPid)
{
    return (int)TopDialogs(dwPid).size();
}

bool RegDeleteTree(HKEY hRoot, const std::string &key)
{
    DWORD r = SHDeleteKeyA(hRoot, key.c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

void ResetRegistry()
{
    RegDeleteTree(HKEY_CURRENT_USER, TILTKIT_REG_ROOT);
    RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT);
}

static bool SetValue(HKEY hRoot, const std::string &key, const std::string &value,
                     DWORD dwType, const void *pv, DWORD cb)
{
    HKEY hKey;
    if (RegCreateKeyExA(hRoot, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExA(hKey, value.c_str(), 0, dwType, (const BYTE *)pv, cb);
    RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

bool RegSetString(HKEY hRoot, const std::string &key, const std::string &value, const std::string &data)
{
    return SetValue(hRoot, key, value, REG_SZ, data.c_str(), (DWORD)data.size() + 1);
}

bool RegSetDword(HKEY hRoot, const std::string &key, const std::string &value, DWORD dw)
{
    return SetValue(hRoot, key, value, REG_DWORD, &dw, sizeof(dw));
}

bool RegSetBinary(HKEY hRoot, const std::string &key, const std::string &value, const void *pv, DWORD cb)
{
    return SetValue(hRoot, key, value, REG_BINARY, pv, cb);
}

static bool GetValue(HKEY hRoot, const std::string &key, const std::string &value, std::vector<BYTE> *pData)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD cb = 0;
    LONG r = RegQueryValueExA(hKey, value.c_str(), NULL, NULL, NULL, &cb);
    if (r == ERROR_SUCCESS) {
        pData->assign(cb, 0);
        r = RegQueryValueExA(hKey, value.c_str(), NULL, NULL, pData->data(), &cb);
        pData->resize(cb);
    }
    RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

bool RegGetString(HKEY hRoot, const std::string &key, const std::string &value, std::string *pData)
{
    std::vector<BYTE> v;
    if (!GetValue(hRoot, key, value, &v))
        return false;
    while (!v.empty() && v.back() == 0)
        v.pop_back();
    pData->assign(v.begin(), v.end());
    return true;
}

bool RegGetDword(HKEY hRoot, const std::string &key, const std::string &value, DWORD *pdw)
{
    std::vector<BYTE> v;
    if (!GetValue(hRoot, key, value, &v) || v.size() != 4)
        return false;
    CopyMemory(pdw, v.data(), 4);
    return true;
}

bool RegGetBinary(HKEY hRoot, const std::string &key, const std::string &value, std::vector<BYTE> *pData)
{
    return GetValue(hRoot, key, value, pData);
}

bool RegDeleteVal(HKEY hRoot, const std::string &key, const std::string &value)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_WRITE, &hKey) != ERROR_SUCCESS)
        return false;
    LONG r = RegDeleteValueA(hKey, value.c_str());
    RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY hRoot, const std::string &key)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

void RegisterGravmon(const std::string &path)
{
    RegSetString(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH,
                 path.empty() ? BinPath("Gravmon.dll") : path);
}

void Pump(DWORD dwMs)
{
    DWORD dwStart = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (dwMs)
            MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMs);
}

HWND MakeWindow(const char *pszTitle)
{
    static ATOM s_atom = 0;
    if (!s_atom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "TestbenchWindow";
        s_atom = RegisterClassA(&wc);
    }
    return CreateWindowA("TestbenchWindow", pszTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         NULL, NULL, GetModuleHandleA(NULL), NULL);
}

} // namespace tb
