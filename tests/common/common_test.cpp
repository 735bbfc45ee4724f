/*
 * The shared routines of common/: the registry reader's type policy, the
 * loading of the access library step by step, and the single instance,
 * hidden window and message loop of the background programs.
 */
#include <gtest/gtest.h>
#include <string>
#include "testbench/testbench.h"
#include "common/bgprogram.h"
#include "common/gravbind.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "gravmon/gravmon.h"

namespace {

const char kScratch[] = TILTKIT_REG_ROOT "\\CommonTest";
FARPROC const kUnset = (FARPROC)(ULONG_PTR)0x5A5A5A5A;
HMODULE const kNoModule = (HMODULE)(ULONG_PTR)0x5A5A5A5A;

class CommonTest : public ::testing::Test {
protected:
    void SetUp() override { tb::ResetRegistry(); }
    void TearDown() override { tb::ResetRegistry(); }
};

/* The seven exports, each pointer preset to kUnset. */
struct AllExports {
    FARPROC apfn[7] = { kUnset, kUnset, kUnset, kUnset, kUnset, kUnset, kUnset };
    GRAVMONEXPORT a[7] = {
        { GRAVMON_EXPORT_GETACCELERATION, &apfn[0] }, { GRAVMON_EXPORT_GETANGLE, &apfn[1] },
        { GRAVMON_EXPORT_GETIMMEDIATE, &apfn[2] },    { GRAVMON_EXPORT_GETZEROBASE, &apfn[3] },
        { GRAVMON_EXPORT_SETZEROBASE, &apfn[4] },     { GRAVMON_EXPORT_MONOPOLIZE, &apfn[5] },
        { GRAVMON_EXPORT_UNMONOPOLIZE, &apfn[6] },
    };
    bool NoneWritten() const
    {
        for (FARPROC pfn : apfn)
            if (pfn != kUnset)
                return false;
        return true;
    }
};

int g_nBindCalls;
FARPROC WINAPI BindAllButTheThird(HMODULE hModule, LPCSTR pszName)
{
    return ++g_nBindCalls == 3 ? NULL : GetProcAddress(hModule, pszName);
}

std::string SystemLibrary(const char *pszName)
{
    char sz[MAX_PATH];
    GetSystemDirectoryA(sz, MAX_PATH);
    return std::string(sz) + "\\" + pszName;
}

} // namespace

TEST_F(CommonTest, TextTypeIsExaminedOnlyWhenAsked)
{
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &hKey, NULL));
    RegSetValueExA(hKey, "Binary", 0, REG_BINARY, (const BYTE *)"abc", 3);
    RegSetValueExA(hKey, "Expand", 0, REG_EXPAND_SZ, (const BYTE *)"%TEMP%\\x", 9);
    std::string longest(259, 'p');
    RegSetValueExA(hKey, "Longest", 0, REG_SZ, (const BYTE *)longest.c_str(), 260);

    char sz[TILTKIT_TEXT_MAX + 1];
    memset(sz, 0x5A, sizeof(sz));
    EXPECT_EQ(ERROR_INVALID_DATA, RegReadText(hKey, "Binary", sz, TILTKIT_TEXT_MAX, REGREAD_STRING_TYPE));
    EXPECT_EQ(0x5A, (unsigned char)sz[0]) << "untouched on refusal";
    EXPECT_EQ(ERROR_SUCCESS, RegReadText(hKey, "Binary", sz, TILTKIT_TEXT_MAX, 0));
    EXPECT_STREQ("abc", sz) << "without the flag any type reads, terminated";
    EXPECT_EQ(ERROR_SUCCESS, RegReadText(hKey, "Expand", sz, TILTKIT_TEXT_MAX, REGREAD_STRING_TYPE));
    EXPECT_STREQ("%TEMP%\\x", sz) << "read as stored, not expanded";
    EXPECT_EQ(ERROR_SUCCESS, RegReadText(hKey, "Longest", sz, TILTKIT_TEXT_MAX,
                                         REGREAD_REFUSE_FULL | REGREAD_STRING_TYPE));
    EXPECT_EQ(longest, std::string(sz)) << "259 characters and the terminator fill 260 bytes";
    EXPECT_EQ(0x5A, (unsigned char)sz[TILTKIT_TEXT_MAX]);
    RegCloseKey(hKey);
}

TEST_F(CommonTest, LoadGravmonSaysWhichStepFailed)
{
    AllExports exports;
    HMODULE hModule = kNoModule;

    /* No key, then a path to nothing. */
    EXPECT_EQ(GRAVMON_LOAD_NOPATH, LoadGravmon(&hModule, exports.a, 7, 0, NULL));
    tb::RegisterGravmon(tb::ScratchDir() + "\\NoSuch.dll");
    EXPECT_EQ(GRAVMON_LOAD_NOLIBRARY, LoadGravmon(&hModule, exports.a, 7, 0, NULL));
    EXPECT_EQ(kNoModule, hModule);

    /* A library without the exports: handed back loaded, nothing bound. */
    tb::RegisterGravmon(SystemLibrary("version.dll"));
    EXPECT_EQ(GRAVMON_LOAD_NOEXPORT, LoadGravmon(&hModule, exports.a, 7, 0, NULL));
    ASSERT_NE(kNoModule, hModule);
    EXPECT_EQ(GetModuleHandleA("version.dll"), hModule);
    EXPECT_TRUE(exports.NoneWritten());
    FreeLibrary(hModule);

    /* A path stored as binary data: read as it stands unless the caller
     * asks for a string type. */
    std::string path = tb::BinPath("Gravmon.dll");
    ASSERT_TRUE(tb::RegSetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH,
                                 path.c_str(), (DWORD)path.size()));
    hModule = kNoModule;
    EXPECT_EQ(GRAVMON_LOAD_NOPATH, LoadGravmon(&hModule, exports.a, 7, REGREAD_STRING_TYPE, NULL));
    EXPECT_EQ(kNoModule, hModule);
    ASSERT_EQ(GRAVMON_LOAD_OK, LoadGravmon(&hModule, exports.a, 7, 0, NULL));
    FreeLibrary(hModule);
}

TEST_F(CommonTest, LoadGravmonBindsAllOrNone)
{
    AllExports exports;
    HMODULE hModule = kNoModule;

    tb::RegisterGravmon();
    g_nBindCalls = 0;
    EXPECT_EQ(GRAVMON_LOAD_NOEXPORT, LoadGravmon(&hModule, exports.a, 7, 0, BindAllButTheThird));
    EXPECT_EQ(3, g_nBindCalls) << "binding stops at the first missing export";
    EXPECT_TRUE(exports.NoneWritten()) << "the two found before it are not written either";
    ASSERT_NE(kNoModule, hModule);
    FreeLibrary(hModule);

    hModule = kNoModule;
    ASSERT_EQ(GRAVMON_LOAD_OK, LoadGravmon(&hModule, exports.a, 7, REGREAD_STRING_TYPE, NULL));
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(GetProcAddress(hModule, exports.a[i].pszName), exports.apfn[i]) << exports.a[i].pszName;
    PFN_GETZEROBASE pfnGetZeroBase = (PFN_GETZEROBASE)(void *)exports.apfn[3];
    EXPECT_EQ(GRAVMON_E_ARGUMENT, pfnGetZeroBase(NULL, NULL, NULL, NULL)) << "a working entry point";
    FreeLibrary(hModule);
}

namespace {

int g_nCreates;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE)
        g_nCreates++;
    if (uMsg == WM_DESTROY)
        PostQuitMessage(7);
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

} // namespace

TEST(BackgroundProgram, SecondClaimFailsAndLeavesNothingBehind)
{
    const char kMutex[] = "TiltkitCommonTestMutex";
    HANDLE hFirst = ClaimSingleInstance(kMutex);
    ASSERT_TRUE(hFirst != NULL);
    EXPECT_TRUE(ClaimSingleInstance(kMutex) == NULL) << "one run at a time";
    CloseHandle(hFirst);
    /* Had the refused claim kept its handle, the mutex would outlive the
     * first run and refuse every later one. */
    HANDLE hAgain = ClaimSingleInstance(kMutex);
    EXPECT_TRUE(hAgain != NULL);
    if (hAgain != NULL)
        CloseHandle(hAgain);
}

TEST(BackgroundProgram, HiddenWindowsOfOneClassAndTheLoopsExitCode)
{
    HINSTANCE hInstance = GetModuleHandleA(NULL);
    HICON hIcon = LoadIconA(NULL, (LPCSTR)IDI_WARNING);
    const HIDDENWINDOW window = {
        "TiltkitCommonTest Class", "TiltkitCommonTest", CountingProc, hIcon, WS_EX_TOOLWINDOW,
        -65536, -65536, 0, 0
    };
    g_nCreates = 0;
    HWND hwnd = CreateHiddenWindow(hInstance, &window);
    ASSERT_TRUE(hwnd != NULL);
    HWND hwnd2 = CreateHiddenWindow(hInstance, &window);
    ASSERT_TRUE(hwnd2 != NULL) << "the class registered by the first is taken as it is";
    EXPECT_EQ(2, g_nCreates);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    char szTitle[64] = "";
    GetWindowTextA(hwnd, szTitle, sizeof(szTitle));
    EXPECT_STREQ("TiltkitCommonTest", szTitle);
    EXPECT_EQ(hIcon, (HICON)GetClassLongPtrA(hwnd, GCLP_HICON));
    EXPECT_TRUE((GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);

    DestroyWindow(hwnd2);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);   /* DefWindowProc destroys it */
    EXPECT_EQ(7, RunMessageLoop()) << "the quit code of the last window";
    EXPECT_FALSE(IsWindow(hwnd));
    UnregisterClassA("TiltkitCommonTest Class", hInstance);
}
