/*
 * Helpers of the setup tests: the setup support library loaded into the
 * test, shortcuts and files in the Start menus of several user profiles and
 * in Program Files, paths longer than 259 characters, and programs run in a
 * job that the test waits on as a whole (an uninstaller copies itself away
 * and runs the copy).
 */
#ifndef TESTS_SETUP_FIXTURE_H
#define TESTS_SETUP_FIXTURE_H

#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/shellfiles.h"
#include "setup/provisio.h"

#include <string>
#include <vector>

namespace st {

/* Provisio.dll loaded from the build, its exports bound. */
struct Provisio {
    Provisio();
    ~Provisio();
    bool Loaded() const { return hModule && pfnSetInstInfo && pfnCleanInstReg &&
                                 pfnUninstInitialize && pfnUninstUnInitialize; }
    HMODULE hModule = NULL;
    PFNSETINSTINFO pfnSetInstInfo = NULL;
    PFNCLEANINSTREG pfnCleanInstReg = NULL;
    PFNUNINSTINITIALIZE pfnUninstInitialize = NULL;
    PFNUNINSTUNINITIALIZE pfnUninstUnInitialize = NULL;
};

/*
 * Calls pfn with nArgs zero arguments through the standard calling
 * convention and returns how many bytes of arguments the callee removed.
 */
#ifndef _WIN64
extern "C" int CallerStackPopped(void *pfn, int nArgs);
#endif

/* Files and folders (ANSI paths). */
bool FileExists(const std::string &path);
bool DirExists(const std::string &path);
bool WriteFile(const std::string &path, const std::string &content = "x");
/* Creates a folder and every missing parent. */
bool MakeDirs(const std::string &path);
/* Shell links, folder deletion and listing: the test bench's. */
using tb::ListFolder;
using tb::ReadLink;
using tb::RemoveTree;
using tb::WriteLink;

/* Paths beyond 259 characters, through the "\\?\" form. */
bool MakeDirsLong(const std::string &path);
bool MoveLong(const std::string &from, const std::string &to);
bool ExistsLong(const std::string &path);
bool RemoveTreeLong(const std::string &path);

/* Special folders of this user and the profiles around it. */
std::string Special(int csidl);   /* SHGetSpecialFolderPath, "" if none */
std::string ProgramsFolder();      /* CSIDL_PROGRAMS */
std::string ProgramFilesFolder();  /* CSIDL_PROGRAM_FILES */
std::string ProfileFolder();       /* this user's profile (CSIDL_PROFILE) */
/* The Programs folder's path inside a profile ("...\Start Menu\Programs"). */
std::string ProgramsInsideProfile();
/* The folder that holds the profiles. */
std::string ProfilesRoot();

/* A job that owns every process the test starts through it. */
class Job {
public:
    Job();
    ~Job();
    Job(const Job &) = delete;
    Job &operator=(const Job &) = delete;
    /* Starts a program in the job (its id in *pdwPid); it ends with the job at the latest. */
    bool Start(const std::string &exe, const std::string &args, DWORD *pdwPid = NULL);
    /* Waits for the last started program to end; its exit code or -1. */
    long WaitLast(DWORD dwTimeoutMs);
    /* Waits until no process of the job runs any more. */
    bool WaitEmpty(DWORD dwTimeoutMs);
    /* Number of processes of the job running now. */
    DWORD Active() const;

private:
    HANDLE m_hJob;
    HANDLE m_hLast;
};

} // namespace st

#endif
