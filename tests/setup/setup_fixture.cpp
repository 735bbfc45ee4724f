#include "setup_fixture.h"

#include <shlobj.h>
#include <shlwapi.h>

#ifndef _WIN64
/* cdecl: int CallerStackPopped(void *pfn, int nArgs) */
asm(".text\n"
    ".globl _CallerStackPopped\n"
    "_CallerStackPopped:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %esi\n"
    "    pushl %ebx\n"
    "    movl %esp, %esi\n"
    "    movl 12(%ebp), %ecx\n"
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    pushl $0\n"
    "    decl %ecx\n"
    "    jmp 1b\n"
    "2:  movl %esp, %ebx\n"
    "    call *8(%ebp)\n"
    "    movl %esp, %eax\n"
    "    subl %ebx, %eax\n"
    "    movl %esi, %esp\n"
    "    popl %ebx\n"
    "    popl %esi\n"
    "    popl %ebp\n"
    "    ret\n");
#endif

namespace st {

Provisio::Provisio()
{
    hModule = LoadLibraryA(tb::BinPath("Provisio.dll").c_str());
    if (!hModule)
        return;
    pfnSetInstInfo = (PFNSETINSTINFO)GetProcAddress(hModule, "SetInstInfo");
    pfnCleanInstReg = (PFNCLEANINSTREG)GetProcAddress(hModule, "CleanInstReg");
    pfnUninstInitialize = (PFNUNINSTINITIALIZE)GetProcAddress(hModule, "UninstInitialize");
    pfnUninstUnInitialize = (PFNUNINSTUNINITIALIZE)GetProcAddress(hModule, "UninstUnInitialize");
}

Provisio::~Provisio()
{
    if (hModule)
        FreeLibrary(hModule);
}

bool FileExists(const std::string &path)
{
    DWORD dw = GetFileAttributesA(path.c_str());
    return dw != INVALID_FILE_ATTRIBUTES && !(dw & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string &path)
{
    DWORD dw = GetFileAttributesA(path.c_str());
    return dw != INVALID_FILE_ATTRIBUTES && (dw & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteFile(const std::string &path, const std::string &content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD cb = 0;
    BOOL bOk = ::WriteFile(h, content.data(), (DWORD)content.size(), &cb, NULL);
    CloseHandle(h);
    return bOk && cb == content.size();
}

bool MakeDirs(const std::string &path)
{
    int r = SHCreateDirectoryExA(NULL, path.c_str(), NULL);
    return r == ERROR_SUCCESS || r == ERROR_ALREADY_EXISTS || r == ERROR_FILE_EXISTS;
}

/* ANSI to UTF-16 through the code page (paths of the tests are ANSI). */
static std::wstring WideAnsi(const std::string &ansi)
{
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, NULL, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], n);
    return w;
}

static std::wstring Long(const std::string &path)
{
    return L"\\\\?\\" + WideAnsi(path);
}

bool MakeDirsLong(const std::string &path)
{
    size_t pos = path.find('\\');
    while (pos != std::string::npos) {
        pos = path.find('\\', pos + 1);
        std::string part = path.substr(0, pos);
        if (part.size() > 3)
            CreateDirectoryW(Long(part).c_str(), NULL);
    }
    return ExistsLong(path);
}

bool MoveLong(const std::string &from, const std::string &to)
{
    return MoveFileW(Long(from).c_str(), Long(to).c_str()) != FALSE;
}

bool ExistsLong(const std::string &path)
{
    return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveTreeLong(const std::string &path)
{
    std::wstring w = Long(path);
    DWORD dw = GetFileAttributesW(w.c_str());
    if (dw == INVALID_FILE_ATTRIBUTES)
        return true;
    if (dw & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((w + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring child = w + L"\\" + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    int n = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, NULL, 0, NULL, NULL);
                    std::string a(n > 0 ? n - 1 : 0, '\0');
                    if (n > 1)
                        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &a[0], n, NULL, NULL);
                    RemoveTreeLong(path + "\\" + a);
                } else {
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(w.c_str());
    } else {
        DeleteFileW(w.c_str());
    }
    return GetFileAttributesW(w.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string Special(int csidl)
{
    char sz[MAX_PATH] = "";
    SHGetSpecialFolderPathA(NULL, sz, csidl, FALSE);
    return sz;
}

std::string ProgramsFolder()
{
    return Special(CSIDL_PROGRAMS);
}

std::string ProgramFilesFolder()
{
    return Special(CSIDL_PROGRAM_FILES);
}

std::string ProfileFolder()
{
    return Special(CSIDL_PROFILE);
}

std::string ProgramsInsideProfile()
{
    std::string profile = ProfileFolder();
    std::string programs = ProgramsFolder();
    if (profile.empty() || programs.compare(0, profile.size() + 1, profile + "\\") != 0)
        return "";
    return programs.substr(profile.size() + 1);
}

std::string ProfilesRoot()
{
    std::string profile = ProfileFolder();
    size_t pos = profile.find_last_of('\\');
    return pos == std::string::npos ? "" : profile.substr(0, pos);
}

Job::Job() : m_hJob(CreateJobObjectA(NULL, NULL)), m_hLast(NULL)
{
    if (m_hJob) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION info = {};
        info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &info, sizeof(info));
    }
}

Job::~Job()
{
    if (m_hLast)
        CloseHandle(m_hLast);
    if (m_hJob)
        CloseHandle(m_hJob);
}

bool Job::Start(const std::string &exe, const std::string &args, DWORD *pdwPid)
{
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!m_hJob || !CreateProcessA(NULL, buf.data(), NULL, NULL, FALSE, CREATE_SUSPENDED, NULL,
                                   NULL, &si, &pi))
        return false;
    AssignProcessToJobObject(m_hJob, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    if (m_hLast)
        CloseHandle(m_hLast);
    m_hLast = pi.hProcess;
    if (pdwPid)
        *pdwPid = pi.dwProcessId;
    return true;
}

long Job::WaitLast(DWORD dwTimeoutMs)
{
    if (!m_hLast || WaitForSingleObject(m_hLast, dwTimeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD dwCode = 0;
    GetExitCodeProcess(m_hLast, &dwCode);
    return (long)dwCode;
}

DWORD Job::Active() const
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    if (!m_hJob || !QueryInformationJobObject(m_hJob, JobObjectBasicAccountingInformation, &info,
                                              sizeof(info), NULL))
        return (DWORD)-1;
    return info.ActiveProcesses;
}

bool Job::WaitEmpty(DWORD dwTimeoutMs)
{
    return tb::WaitFor([&] { return Active() == 0; }, dwTimeoutMs);
}

} // namespace st
