/*
 * Joltrun's automatic screen rotation in this process: the display calls
 * come from the system-call table, the angles from the real access library
 * and the manager stand-in.
 */
#include <gtest/gtest.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"
#include "jolt/joltrun.h"
#include "jolt/joltsys.h"

#include <vector>

namespace {

struct ChangeCall {
    bool bDevice;
    DEVMODEA dm;
    bool bWindow;
    DWORD dwFlags;
    bool bParam;
};
std::vector<ChangeCall> g_changes;
DWORD g_dwScreen;

BOOL WINAPI FakeEnumDisplaySettings(LPCSTR pszDevice, DWORD iModeNum, DEVMODEA *pdm)
{
    if (pszDevice != NULL || iModeNum != ENUM_CURRENT_SETTINGS || pdm->dmSize != sizeof(DEVMODEA))
        return FALSE;
    ZeroMemory(pdm, sizeof(*pdm));
    pdm->dmSize = sizeof(*pdm);
    pdm->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY |
                    DM_DISPLAYORIENTATION;
    pdm->dmBitsPerPel = 32;
    pdm->dmPelsWidth = g_dwScreen & 1 ? 768 : 1024;
    pdm->dmPelsHeight = g_dwScreen & 1 ? 1024 : 768;
    pdm->dmDisplayFrequency = 60;
    pdm->dmDisplayOrientation = g_dwScreen;
    return TRUE;
}

LONG WINAPI FakeChangeDisplaySettingsEx(LPCSTR pszDevice, DEVMODEA *pdm, HWND hwnd, DWORD dwFlags,
                                        LPVOID pvParam)
{
    g_changes.push_back({ pszDevice != NULL, *pdm, hwnd != NULL, dwFlags, pvParam != NULL });
    g_dwScreen = pdm->dmDisplayOrientation;
    return DISP_CHANGE_SUCCESSFUL;
}

class JoltRotateInProc : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        ASSERT_TRUE(tb::InstallDefaults("C:\\Tk"));
        tb::RegisterGravmon();
        ASSERT_TRUE(m_manager.Start());
        g_saved = g_JoltSystem;
        g_JoltSystem.pfnEnumDisplaySettingsA = FakeEnumDisplaySettings;
        g_JoltSystem.pfnChangeDisplaySettingsExA = FakeChangeDisplaySettingsEx;
        g_changes.clear();
        g_dwScreen = DMDO_DEFAULT;
    }
    void TearDown() override
    {
        if (m_hwnd && IsWindow(m_hwnd))
            SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
        tb::Pump(50);
        g_JoltSystem = g_saved;
        m_manager.Stop();
        tb::ResetRegistry();
    }
    void Start(DWORD dwAutoRotate)
    {
        ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE,
                                    dwAutoRotate));
        m_hwnd = CreateJoltWindow(GetModuleHandleA(NULL));
        ASSERT_TRUE(m_hwnd);
        ASSERT_EQ(1, g_bJoltActive);
    }
    bool GravmonLoaded() { return GetModuleHandleA("Gravmon.dll") != NULL; }

    tb::Manager m_manager;
    HWND m_hwnd = NULL;
    JOLTSYSTEM g_saved;
};

} // namespace

TEST_F(JoltRotateInProc, HeldUprightTheCurrentModeIsAskedForTurnedAndNothingIsStored)
{
    /* Off as installed: nothing loaded, nothing sampled. */
    ASSERT_EQ(1, m_manager.Command("tilt 80 0"));
    ASSERT_NO_FATAL_FAILURE(Start(0));
    EXPECT_FALSE(GravmonLoaded());

    /* Switched on by the page while running. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, 1));
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    EXPECT_TRUE(GravmonLoaded());
    ASSERT_TRUE(tb::WaitFor([] { return !g_changes.empty(); }, 4000));

    const ChangeCall &c = g_changes[0];
    EXPECT_FALSE(c.bDevice) << "the primary display";
    EXPECT_FALSE(c.bWindow);
    EXPECT_FALSE(c.bParam);
    EXPECT_EQ(0u, c.dwFlags) << "no CDS_UPDATEREGISTRY, no test, no reset";
    EXPECT_EQ(sizeof(DEVMODEA), c.dm.dmSize);
    EXPECT_EQ(0, c.dm.dmDriverExtra);
    EXPECT_EQ((DWORD)DMDO_90, c.dm.dmDisplayOrientation);
    EXPECT_EQ(768u, c.dm.dmPelsWidth);
    EXPECT_EQ(1024u, c.dm.dmPelsHeight);
    EXPECT_EQ((DWORD)(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY |
                      DM_DISPLAYORIENTATION), c.dm.dmFields);
    EXPECT_EQ(32u, c.dm.dmBitsPerPel);
    EXPECT_EQ(60u, c.dm.dmDisplayFrequency);

    /* Portrait to portrait keeps the size. */
    ASSERT_EQ(1, m_manager.Command("tilt -80 0"));
    ASSERT_TRUE(tb::WaitFor([] { return g_changes.size() == 2; }, 4000));
    EXPECT_EQ((DWORD)DMDO_270, g_changes[1].dm.dmDisplayOrientation);
    EXPECT_EQ(768u, g_changes[1].dm.dmPelsWidth);
    EXPECT_EQ(1024u, g_changes[1].dm.dmPelsHeight);

    /* Switched off by the page: sampling stops and the library goes. */
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, 0));
    SendMessageA(m_hwnd, g_uMsgJoltConfigChanged, 0, 0);
    EXPECT_FALSE(GravmonLoaded());
    ASSERT_EQ(1, m_manager.Command("tilt 0 -80"));
    tb::Pump(1600);
    EXPECT_EQ(2u, g_changes.size());
}
