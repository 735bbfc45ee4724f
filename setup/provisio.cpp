/*
 * Provisio.dll: setup support. Every export opens, uses and closes what it
 * needs; nothing is kept between calls but the module instance.
 */
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "setup/provisio.h"
#include "setup/provisiopure.h"
#include "setup/resource.h"
#include "common/namecheck.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "common/trace.h"
#include "gravmon/gravmon.h"
#include "jolt/joltrun.h"
#include "tiltfeed/shortcut.h"

static HINSTANCE g_hInstance = NULL;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pvReserved)
{
    g_hInstance = hInstance;
    return TRUE;
}

/* Writes the stamp into a machine key that exists; FALSE when it cannot be opened. */
static BOOL StampKey(LPCSTR pszKey, const SYSTEMTIME *pst)
{
    HKEY hKey = NULL;

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | KEY_WRITE, &hKey) !=
        ERROR_SUCCESS)
        return FALSE;
    RegSetValueExA(hKey, PROVISIO_VAL_INSTALLTIME, 0, REG_BINARY, (const BYTE *)pst,
                   sizeof(*pst));
    RegCloseKey(hKey);
    return TRUE;
}

extern "C" int WINAPI SetInstInfo(void)
{
    SYSTEMTIME st;

    GetLocalTime(&st);
    if (!StampKey(TILTKIT_REG_TILTFEED, &st))
        TRACE("TILTFEED RegOpenKeyEx Failed in RegOpenKeyEx().\n");
    if (!StampKey(TILTKIT_REG_JOLT, &st))
        TRACE("JOLT RegOpenKeyEx Failed in RegOpenKeyEx().\n");
    return 0;
}

/*
 * Asks a program to close and waits up to ten seconds for its process; a
 * program that is still running then is left running. The process is
 * opened before WM_CLOSE goes out, so that its id cannot be reused by
 * another process in between. 1 when the window was found.
 */
static BOOL CloseUtilityWindow(LPCSTR pszClass, LPCSTR pszTitle)
{
    HWND hwnd;
    HANDLE hProcess;
    DWORD dwProcessId = 0;

    hwnd = FindWindowA(pszClass, pszTitle);
    if (hwnd == NULL) {
        TRACE("The window of %s was not found.\n", pszTitle);
        return FALSE;
    }
    GetWindowThreadProcessId(hwnd, &dwProcessId);
    hProcess = OpenProcess(SYNCHRONIZE, FALSE, dwProcessId);
    if (hProcess == NULL)
        TRACE("OpenProcess Failed.\n");
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (hProcess != NULL) {
        if (WaitForSingleObject(hProcess, PROVISIO_CLOSE_WAIT_MS) == WAIT_TIMEOUT)
            TRACE("WaitForSingleObject return \"WAIT_TIMEOUT\".\n");
        CloseHandle(hProcess);
    }
    return TRUE;
}

static void CloseUtilities(void)
{
    CloseUtilityWindow(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
    CloseUtilityWindow(JOLTRUN_WINDOWCLASS, JOLTRUN_WINDOWNAME);
}

extern "C" int WINAPI CleanInstReg(void)
{
    CloseUtilities();
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT);
    return 0;
}

/* The path of Feedrun as the installation recorded it; FALSE when unreadable. */
static BOOL GetTiltfeedMainExePath(char szPath[TILTKIT_TEXT_MAX])
{
    szPath[0] = '\0';
    return RegReadTextAt(HKEY_LOCAL_MACHINE, TILTKIT_REG_TILTFEED, PROVISIO_VAL_FEEDRUNPATH,
                         szPath, TILTKIT_TEXT_MAX, REGREAD_REFUSE_FULL) == ERROR_SUCCESS;
}

/*
 * Deletes the shortcuts of one folder that start the runtime pszFeedrun
 * (never empty here); subfolders and other files stay, and so does the
 * folder. A folder that does not exist has nothing to delete.
 */
static void DeleteFeedrunLinks(LPCSTR pszFolder, LPCSTR pszFeedrun)
{
    char szPattern[TILTKIT_TEXT_MAX];
    char szFile[TILTKIT_TEXT_MAX];
    char szTarget[TILTKIT_TEXT_MAX];
    char szArguments[TILTKIT_TEXT_MAX];
    const char *apszPattern[2] = { pszFolder, "*.*" };
    WIN32_FIND_DATAA fd;
    HANDLE hFind;

    if (!ProvisioJoinPath(szPattern, sizeof(szPattern), apszPattern, 2))
        return;
    hFind = FindFirstFileA(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        const char *apszFile[2] = { pszFolder, fd.cFileName };

        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            ProvisioIsHiddenEntry(fd.cFileName))
            continue;
        if (!ProvisioJoinPath(szFile, sizeof(szFile), apszFile, 2)) {
            TRACE("The path of \"%s\" is too long.\n", fd.cFileName);
            continue;
        }
        /* A file that is not a loadable link has an empty target: no match. */
        GetShortcutInfo(szFile, szTarget, szArguments);
        if (szTarget[0] == '\0' || lstrcmpiA(szTarget, pszFeedrun) != 0)
            continue;
        TRACE("DeleteFile is \"%s\"", szFile);
        DeleteFileA(szFile);
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
}

/*
 * Deletes, in the Start menu of every user profile, the Tiltfeed shortcuts
 * that start the installed Feedrun. Nothing is deleted when the runtime's
 * path cannot be read or is empty.
 */
static void CleanTiltfeedStartMenu(void)
{
    char szFeedrun[TILTKIT_TEXT_MAX];
    char szFolderName[TILTKIT_TEXT_MAX];
    char szPrograms[TILTKIT_TEXT_MAX];
    char szRoot[TILTKIT_TEXT_MAX];
    char szRelative[TILTKIT_TEXT_MAX];
    char szPattern[TILTKIT_TEXT_MAX];
    char szFolder[TILTKIT_TEXT_MAX];
    const char *apszPattern[2] = { szRoot, "*.*" };
    WIN32_FIND_DATAA fd;
    HANDLE hFind;

    if (!GetTiltfeedMainExePath(szFeedrun) || szFeedrun[0] == '\0') {
        TRACE("FeedrunPath cannot be read: no shortcut is deleted.\n");
        return;
    }
    if (!LoadStringA(g_hInstance, IDS_TILTFEED_FOLDER, szFolderName, sizeof(szFolderName)))
        return;
    if (!SHGetSpecialFolderPathA(NULL, szPrograms, CSIDL_PROGRAMS, FALSE))
        return;
    if (!ProvisioSplitProgramsPath(szPrograms, NameCheckLeadByteAcp, szRoot, sizeof(szRoot), szRelative,
                                   sizeof(szRelative)))
        return;
    if (!ProvisioJoinPath(szPattern, sizeof(szPattern), apszPattern, 2))
        return;

    hFind = FindFirstFileA(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        const char *apszFolder[4] = { szRoot, fd.cFileName, szRelative, szFolderName };

        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            ProvisioIsHiddenEntry(fd.cFileName))
            continue;
        if (!ProvisioJoinPath(szFolder, sizeof(szFolder), apszFolder, 4)) {
            TRACE("The Start menu of \"%s\" is too deep.\n", fd.cFileName);
            continue;
        }
        DeleteFeedrunLinks(szFolder, szFeedrun);
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
}

/*
 * Removes the motion-security files from the launcher-menu folder: the
 * whole folder when it holds nothing else, else just the two files.
 * 1 when the folder was there and its clean-up succeeded as far as checked.
 */
static BOOL DeleteLockwatchModule(HWND hwndDlg)
{
    char szProgramFiles[TILTKIT_TEXT_MAX];
    char szFolderName[TILTKIT_TEXT_MAX];
    char szFolder[TILTKIT_TEXT_MAX];
    char szPattern[TILTKIT_TEXT_MAX + 1]; /* doubles as the double-zero list */
    char szFile[TILTKIT_TEXT_MAX];
    const char *apszFolder[2] = { szProgramFiles, szFolderName };
    const char *apszPattern[2] = { szFolder, "*.*" };
    const char *apszFiles[2] = { PROVISIO_LOCKWATCH_FILE, PROVISIO_QUADLOCK_FILE };
    WIN32_FIND_DATAA fd;
    SHFILEOPSTRUCTA op;
    HANDLE hFind;
    BOOL bMotion = FALSE;
    BOOL bOther = FALSE;
    size_t cchFolder;
    int i;

    if (!SHGetSpecialFolderPathA(hwndDlg, szProgramFiles, CSIDL_PROGRAM_FILES, FALSE))
        return FALSE;
    if (!LoadStringA(g_hInstance, IDS_QUADRIX_FOLDER, szFolderName, sizeof(szFolderName)))
        return FALSE;
    if (!ProvisioJoinPath(szFolder, sizeof(szFolder), apszFolder, 2) ||
        !ProvisioJoinPath(szPattern, TILTKIT_TEXT_MAX, apszPattern, 2))
        return FALSE;

    hFind = FindFirstFileA(szPattern, &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    do {
        switch (ProvisioQuadrixEntry(fd.cFileName,
                                     (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        case PROVISIO_ENTRY_MOTION:
            bMotion = TRUE;
            break;
        case PROVISIO_ENTRY_OTHER:
            bOther = TRUE;
            break;
        default:
            break;
        }
    } while (!bOther && FindNextFileA(hFind, &fd));
    FindClose(hFind);

    if (bMotion && !bOther) {
        cchFolder = lstrlenA(szFolder);
        CopyMemory(szPattern, szFolder, cchFolder);
        szPattern[cchFolder] = '\0';
        szPattern[cchFolder + 1] = '\0';
        ZeroMemory(&op, sizeof(op));
        op.wFunc = FO_DELETE;
        op.pFrom = szPattern;
        /* No error box either: a file in use must not stop a silent uninstallation. */
        op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
        if (SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted) {
            TRACE("Delete Quadrix Folder Successfully.\nTarget Dir is \"%s\"", szFolder);
            return TRUE;
        }
        TRACE("Quadrix Folder was not deleted.\nTarget Dir is \"%s\"", szFolder);
        return FALSE;
    }

    for (i = 0; i < 2; i++) {
        const char *apszFile[2] = { szFolder, apszFiles[i] };
        if (ProvisioJoinPath(szFile, sizeof(szFile), apszFile, 2))
            DeleteFileA(szFile);
    }
    return TRUE;
}

extern "C" int WINAPI UninstInitialize(HWND hwndDlg, int nReserved1, int nReserved2)
{
    HRESULT hrCom = CoInitialize(NULL);

    CloseUtilities();
    /* The shortcuts are found through "FeedrunPath": before the tree goes. */
    CleanTiltfeedStartMenu();
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, TILTKIT_REG_ROOT);
    DeleteLockwatchModule(hwndDlg);
    if (SUCCEEDED(hrCom))
        CoUninitialize();
    return 0;
}

extern "C" int WINAPI UninstUnInitialize(HWND hwndDlg, int nReserved1, int nReserved2)
{
    return 0;
}
