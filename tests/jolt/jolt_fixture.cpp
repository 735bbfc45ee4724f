#include "jolt_fixture.h"
#include "testbench/jolt_defaults.h"

#include <stdio.h>

namespace jt {

static std::vector<KeyEvent> *g_pKeys;

static LRESULT CALLBACK KeyWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (g_pKeys && (wParam == VK_MENU || wParam == VK_ESCAPE))
            g_pKeys->push_back({ uMsg, wParam, (DWORD)GetMessageTime() });
        return 0; /* no system menu, no window switching of our own */
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

void JoltrunTest::SetUp()
{
    tb::ResetRegistry();
    m_dir = tb::ScratchDir(true);
    ASSERT_TRUE(tb::InstallDefaults(tb::BinPath("")));
    SYSTEMTIME st;
    GetLocalTime(&st);
    tb::StampInstallTime(st);
    for (const char *pszName : { "vert", "horz" })
        ASSERT_TRUE(CopyFileA(tb::BinPath("Joltmark.exe").c_str(), Program(pszName).c_str(), FALSE));
    m_uMsgNotify = RegisterWindowMessageA("GravmonNotifyEvent");
    m_uMsgConfig = RegisterWindowMessageA("JoltConfigChangedNotify");
}

void JoltrunTest::TearDown()
{
    if (m_runtime.Running() && m_hwnd)
        PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    m_runtime.Wait(3000);
    m_runtime.Kill();
    if (m_hwndKeys)
        DestroyWindow(m_hwndKeys);
    g_pKeys = nullptr;
}

std::string JoltrunTest::Program(const std::string &name) const
{
    return m_dir + "\\" + name + ".exe";
}

void JoltrunTest::WriteValues(const JoltValues &v, bool bUser)
{
    HKEY hRoot = bUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    DWORD adw[4] = { v.dwVAction, v.dwHAction, v.dwVSound, v.dwHSound };
    auto path = [&](const std::string &s) {
        return s.find('\\') == std::string::npos && !s.empty() ? Program(s) : s;
    };
    ASSERT_TRUE(tb::RegSetBinary(hRoot, TILTKIT_REG_JOLT, "JoltSetting", adw, sizeof(adw)));
    ASSERT_TRUE(tb::RegSetDword(hRoot, TILTKIT_REG_JOLT, "IdleTime", v.dwIdle));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "VerticalLaunchPath", path(v.vLaunch)));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "HorizontalLaunchPath", path(v.hLaunch)));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "VerticalSoundPath", v.vSound));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "HorizontalSoundPath", v.hSound));
}

bool JoltrunTest::StartRuntime()
{
    if (!m_runtime.Start(tb::BinPath("Joltrun.exe")))
        return false;
    m_hwnd = tb::WaitWindow("TiltkitJolt Class", "TiltkitJolt", 10000, m_runtime.Pid());
    /* A round trip: InitJolt has finished once the window answers. */
    DWORD_PTR dw;
    return m_hwnd && SendMessageTimeoutA(m_hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dw);
}

bool JoltrunTest::Notify(WORD wCode)
{
    DWORD_PTR dw;
    return SendMessageTimeoutA(m_hwnd, m_uMsgNotify, wCode, 0, SMTO_NORMAL, 5000, &dw) != 0;
}

void JoltrunTest::PostNotify(WORD wCode)
{
    PostMessageA(m_hwnd, m_uMsgNotify, wCode, 0);
}

bool JoltrunTest::Reload()
{
    DWORD_PTR dw;
    return SendMessageTimeoutA(m_hwnd, m_uMsgConfig, 0, 0, SMTO_NORMAL, 5000, &dw) != 0;
}

std::vector<std::string> JoltrunTest::Runs() const
{
    return tb::JoltmarkRuns(m_dir);
}

bool JoltrunTest::WaitRuns(size_t n, DWORD dwTimeoutMs) const
{
    return tb::WaitFor([&] { return Runs().size() >= n; }, dwTimeoutMs);
}

size_t JoltrunTest::HorizontalRuns() const
{
    size_t n = 0;
    for (const std::string &run : Runs())
        n += run == "horz.exe";
    return n;
}

long JoltrunTest::RepeatUntil(const std::function<void()> &send,
                              const std::function<size_t()> &count, DWORD dwRetryMs,
                              DWORD dwTimeoutMs)
{
    size_t nBefore = count();
    DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < dwTimeoutMs) {
        send();
        /* A started copy logs within a moment; keep sending meanwhile. */
        if (tb::WaitFor([&] { return count() > nBefore; }, dwRetryMs))
            return (long)(GetTickCount() - dwStart);
    }
    return -1;
}

long JoltrunTest::ProbeUntilArmed(DWORD dwTimeoutMs)
{
    return RepeatUntil([&] { Notify(kHorizontal); }, [&] { return HorizontalRuns(); }, 20, dwTimeoutMs);
}

bool JoltrunTest::NotifyWhenArmed(WORD wCode)
{
    return RepeatUntil([&] { Notify(wCode); }, [&] { return Runs().size(); }, 1000) >= 0;
}

HWND JoltrunTest::MakeKeyWindow()
{
    static std::vector<KeyEvent> s_keys;
    s_keys.clear();
    g_pKeys = &s_keys;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeyWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "JoltKeyWindow";
    RegisterClassA(&wc);
    m_hwndKeys = CreateWindowA("JoltKeyWindow", "jolt keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               10, 10, 200, 100, NULL, NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(m_hwndKeys);
    SetFocus(m_hwndKeys);
    tb::Pump(50);
    return m_hwndKeys;
}

std::vector<KeyEvent> JoltrunTest::Keys() const
{
    return g_pKeys ? *g_pKeys : std::vector<KeyEvent>();
}

} // namespace jt
