/*
 * Joltrun.exe with automatic screen rotation on, end to end with the
 * manager stand-in held upright and Wine's own display.
 *
 * Known difference from Windows XP: Wine's display driver offers no
 * orientation but the default and answers every turn with
 * DISP_CHANGE_BADMODE. What this shows of the turn is therefore the
 * refusal: the one message, and the setting off until the next start.
 * The turn asked for is shown in-process (joltrun_rotate_inproc_test).
 */
#include "jolt_fixture.h"
#include "testbench/boxcheck.h"
#include "testbench/manager.h"
#include "gravmon/gravmon.h"
#include "jolt/joltstore.h"

using namespace jt;

namespace {

const char kCaption[] = u8"Программы акселерометра Zelvar - Наклон";
const char kRefused[] = u8"Не удалось повернуть экран: видеодрайвер не поддерживает эту ориентацию. "
                        u8"Автоматический поворот экрана выключен до следующего запуска программы.";

/* Whether this display would turn to portrait at all. */
bool DisplayTurns()
{
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &dm))
        return false;
    DWORD dwWidth = dm.dmPelsWidth;
    dm.dmPelsWidth = dm.dmPelsHeight;
    dm.dmPelsHeight = dwWidth;
    dm.dmDisplayOrientation = DMDO_90;
    dm.dmFields |= DM_DISPLAYORIENTATION | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExA(NULL, &dm, NULL, CDS_TEST, NULL) == DISP_CHANGE_SUCCESSFUL;
}

} // namespace

TEST_F(JoltrunTest, HeldUprightOnceTheAccelerometerIsFreeARefusedTurnSaysSoAndStopsTrying)
{
    ASSERT_FALSE(DisplayTurns()) << "a display that turns: the refusal below cannot be shown";
    WriteValues(JoltValues());
    ASSERT_TRUE(tb::RegSetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, 1));
    tb::Manager manager;
    ASSERT_TRUE(manager.Start());
    /* Standing on the panel's right edge. */
    ASSERT_EQ(1, manager.Command("tilt 80 0"));

    /* Another window holds the accelerometer, as a serving Feedrun does. */
    HMODULE hGravmon = LoadLibraryA(tb::BinPath("Gravmon.dll").c_str());
    ASSERT_TRUE(hGravmon != NULL);
    PFN_MONOPOLIZE pfnMonopolize = (PFN_MONOPOLIZE)(void *)GetProcAddress(hGravmon, "Monopolize");
    PFN_UNMONOPOLIZE pfnUnmonopolize = (PFN_UNMONOPOLIZE)(void *)GetProcAddress(hGravmon, "Unmonopolize");
    HWND hwndHolder = tb::MakeWindow("holder");
    ASSERT_EQ(GRAVMON_OK, pfnMonopolize(hwndHolder));
    ASSERT_TRUE(StartRuntime());
    tb::Pump(2500);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_runtime.Pid())) << "nothing turns while it is held";

    /* Free again: a second upright, then the turn, refused by Wine. */
    ASSERT_EQ(GRAVMON_OK, pfnUnmonopolize(hwndHolder));
    EXPECT_TRUE(tb::AnswerMessageBox(m_runtime.Pid(), kCaption, kRefused, m_hwnd));

    /* Off until the next start: another upright posture asks nothing, and
     * the stored setting is as the user left it. */
    ASSERT_EQ(1, manager.Command("tilt -80 0"));
    tb::Pump(2500);
    EXPECT_EQ(0, tb::CountMessageBoxes(m_runtime.Pid()));
    EXPECT_TRUE(m_runtime.Running());
    DWORD dw = 0;
    EXPECT_TRUE(tb::RegGetDword(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, JOLT_VAL_AUTOROTATE, &dw));
    EXPECT_EQ(1u, dw);
    DestroyWindow(hwndHolder);
    FreeLibrary(hGravmon);
}
