/*
 * Feedrun.exe end to end: the real runtime with the manager stand-in and
 * Feedtarget.exe, which logs the input it receives while it is in front.
 */
#include "feedrun_fixture.h"
#include "testbench/boxcheck.h"
#include "testbench/manager.h"
#include "testbench/tiltfeed_target.h"
#include "common/regpaths.h"
#include "gravmon/gravmon.h"

namespace {

const char kItem[] = "Tiltfeed + Feedtarget";
const char kCaption[] = u8"Программы акселерометра Zelvar - Tiltfeed";
const char kText110[] = u8"Не удалось получить необходимые данные о настройке Tiltfeed из реестра.";
const char kText113[] = u8"Диспетчер акселерометра Zelvar не использовался, поскольку он занят другими программами.";
const char kText114[] = u8"Использовался неверный ярлык";
const char kText115[] = u8"Не удалось получить данные от Диспетчера акселерометра Zelvar.";

const char kLeftDown[] = "down 0x25", kLeftUp[] = "up 0x25";
const char kUpDown[] = "down 0x26", kUpUp[] = "up 0x26";
const char kRightDown[] = "down 0x27", kRightUp[] = "up 0x27";
const char kDownDown[] = "down 0x28", kDownUp[] = "up 0x28";

class FeedrunTest : public FeedrunFixture {
protected:
    FeedrunTest() : FeedrunFixture("feedtarget") {}

    /* The manager, an item for Feedtarget.exe and Feedrun serving it. */
    HWND Serve(DWORD dwType, DWORD dwMouseRate = 100, DWORD dwKeyRate = 10,
               const char *pszTilt = "tilt 0 0")
    {
        EXPECT_TRUE(m_manager.Start());
        EXPECT_EQ(1, m_manager.Command(pszTilt));
        tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), dwType, dwMouseRate, dwKeyRate);
        EXPECT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
        m_hwndFeedrun = tb::WaitFeedrunWindow(m_feedrun.Pid());
        m_hwndTarget = tb::WaitTargetWindow();
        EXPECT_TRUE(m_hwndFeedrun != NULL);
        EXPECT_TRUE(m_hwndTarget != NULL);
        EXPECT_TRUE(tb::BringToFront(m_hwndTarget));
        return m_hwndTarget;
    }

    std::vector<std::string> Keys() const { return m_log.With("key "); }

    /* Waits until the key count has not changed for one quiet period. */
    size_t SettledKeyCount(DWORD dwQuietMs = 400)
    {
        size_t n = Keys().size();
        for (int i = 0; i < 20; i++) {
            tb::Pump(dwQuietMs);
            size_t m = Keys().size();
            if (m == n)
                return n;
            n = m;
        }
        return n;
    }

    LRESULT Monopoly() { return m_manager.Command("get monopoly"); }

    HWND m_hwndFeedrun = NULL;
    HWND m_hwndTarget = NULL;
};

/* A start-up failure: one box from the Feedrun process, then exit code 0. */
void ExpectRefusal(tb::Process &proc, const char *pszText, bool bOwned,
                   const std::string &where)
{
    SCOPED_TRACE(where);
    /* An owned box belongs to the hidden window, which exists before it. */
    HWND hwndOwner = bOwned ? tb::WaitFeedrunWindow(proc.Pid()) : NULL;
    EXPECT_TRUE(tb::AnswerMessageBox(proc.Pid(), kCaption, pszText, hwndOwner));
    EXPECT_EQ(0, proc.Wait(5000));
}

std::vector<std::string> Repeat(const std::vector<std::string> &v, int n)
{
    std::vector<std::string> r;
    for (int i = 0; i < n; i++)
        r.insert(r.end(), v.begin(), v.end());
    return r;
}

} // namespace

TEST_F(FeedrunTest, KeyModeSendsHorizontalFirstBurstsEveryTick)
{
    Serve(1, 100, 10, "tilt -30 45");
    const std::vector<std::string> burst = {
        kLeftDown, kLeftUp, kDownDown, kDownUp, kLeftDown, kLeftUp, kDownDown, kDownUp,
        kLeftDown, kLeftUp, kDownDown, kDownUp, kDownDown, kDownUp, kDownDown, kDownUp };
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 3 * burst.size(); }, 5000));
    std::vector<std::string> keys = Keys();
    keys.resize(3 * burst.size());
    EXPECT_EQ(Repeat(burst, 3), keys);

    /* Level: nothing more once the current tick is through. */
    ASSERT_EQ(1, m_manager.Command("tilt 0 0"));
    size_t n = SettledKeyCount();
    EXPECT_EQ(0u, n % burst.size());

    /* Just below 90/R on both axes sends nothing; just past it on the
     * negative side sends Up alone. */
    ASSERT_EQ(1, m_manager.Command("tilt 8.99 -8.99"));
    tb::Pump(500);
    EXPECT_EQ(n, Keys().size());
    ASSERT_EQ(1, m_manager.Command("tilt 0 -9"));
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= n + 4; }, 3000));
    keys = Keys();
    EXPECT_EQ((std::vector<std::string>{ kUpDown, kUpUp, kUpDown, kUpUp }),
              std::vector<std::string>(keys.begin() + n, keys.begin() + n + 4));
    /* One tick is one burst of raw input too, none lost on the way. */
    ASSERT_EQ(1, m_manager.Command("tilt 0 0"));
    n = SettledKeyCount();
    EXPECT_EQ(n, m_log.Count("raw key "));
}

TEST_F(FeedrunTest, KeyModeFullTiltAndFastRate)
{
    /* The largest page rate at full tilt: 20 presses per axis per tick,
     * the shorter axis first used up, then the longer alone. */
    Serve(1, 100, 20, "tilt 90 -18");
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 96; }, 5000));
    std::vector<std::string> expect;
    for (int i = 0; i < 4; i++)
        expect.insert(expect.end(), { kRightDown, kRightUp, kUpDown, kUpUp });
    for (int i = 0; i < 16; i++)
        expect.insert(expect.end(), { kRightDown, kRightUp });
    std::vector<std::string> keys = Keys();
    keys.resize(expect.size());
    EXPECT_EQ(expect, keys);
}

TEST_F(FeedrunTest, MouseModeMovesEveryTickEvenWhenLevel)
{
    /* Deltas of at most 6 pixels are not doubled by the pointer speed. */
    Serve(0, 100, 10, "tilt 4.5 -4.5");
    ASSERT_TRUE(tb::WaitFor([&] { return m_log.Count("raw mouse 5 -5 ") >= 3; }, 5000));
    EXPECT_EQ(0u, Keys().size());

    ASSERT_EQ(1, m_manager.Command("tilt -0.9 1.8"));
    ASSERT_TRUE(tb::WaitFor([&] { return m_log.Has("raw mouse 0 1 "); }, 3000));

    /* Level: a zero-length move every 100 ms. */
    ASSERT_EQ(1, m_manager.Command("tilt 0 0"));
    tb::Pump(250);
    size_t n = m_log.Count("raw mouse 0 0 ");
    tb::Pump(1000);
    size_t m = m_log.Count("raw mouse 0 0 ") - n;
    EXPECT_GE(m, 7u);
    EXPECT_LE(m, 13u);
}

TEST_F(FeedrunTest, OnlyTheTargetInFrontGetsInput)
{
    Serve(1, 100, 10, "tilt 9 0");
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 4; }, 5000));

    HWND hwndOther = tb::MakeWindow("another application");
    ASSERT_TRUE(tb::BringToFront(hwndOther));
    size_t n = SettledKeyCount(300);
    tb::Pump(600);
    EXPECT_EQ(n, Keys().size());
    EXPECT_TRUE(m_feedrun.Running());

    ASSERT_TRUE(tb::BringToFront(m_hwndTarget));
    EXPECT_TRUE(tb::WaitFor([&] { return Keys().size() >= n + 4; }, 3000));
    DestroyWindow(hwndOther);
}

TEST_F(FeedrunTest, NoInputWhileAnotherWindowHoldsTheMonopoly)
{
    Serve(1, 100, 10, "tilt 9 0");
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 2; }, 5000));
    EXPECT_EQ((LRESULT)m_hwndFeedrun, Monopoly());

    /* The monopoly moves to a window of the test: GetAngle fails for
     * Feedrun and its ticks send nothing. */
    HMODULE hGravmon = LoadLibraryA(tb::BinPath("Gravmon.dll").c_str());
    ASSERT_TRUE(hGravmon != NULL);
    PFN_MONOPOLIZE pfnMonopolize = (PFN_MONOPOLIZE)(void *)GetProcAddress(hGravmon, "Monopolize");
    PFN_UNMONOPOLIZE pfnUnmonopolize = (PFN_UNMONOPOLIZE)(void *)GetProcAddress(hGravmon, "Unmonopolize");
    HWND hwndHolder = tb::MakeWindow("holder");
    ASSERT_EQ(1, m_manager.Command("drop"));
    ASSERT_EQ(0, pfnMonopolize(hwndHolder));
    size_t n = SettledKeyCount(300);
    tb::Pump(500);
    EXPECT_EQ(n, Keys().size());

    ASSERT_EQ(0, pfnUnmonopolize(hwndHolder));
    EXPECT_TRUE(tb::WaitFor([&] { return Keys().size() >= n + 2; }, 3000));
    DestroyWindow(hwndHolder);
    FreeLibrary(hGravmon);
}

TEST_F(FeedrunTest, OtherTypesRunButSendNothing)
{
    Serve(2, 100, 10, "tilt 45 45");
    tb::Pump(800);
    EXPECT_EQ(0u, Keys().size());
    EXPECT_EQ(0u, m_log.Count("raw "));
    EXPECT_TRUE(m_feedrun.Running());
    EXPECT_EQ((LRESULT)m_hwndFeedrun, Monopoly());
}

TEST_F(FeedrunTest, TargetEndEndsTheRuntimeAndFreesTheMonopoly)
{
    Serve(1);
    EXPECT_EQ((LRESULT)m_hwndFeedrun, Monopoly());
    PostMessageA(m_hwndTarget, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, m_feedrun.Wait(3000));
    EXPECT_EQ(0, Monopoly());

    /* So the next run is served, not refused. */
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    HWND hwndTarget = tb::WaitTargetWindow();
    ASSERT_TRUE(hwndTarget != NULL);
    EXPECT_EQ(0, tb::CountDialogs(m_feedrun.Pid()));
    EXPECT_EQ((LRESULT)tb::WaitFeedrunWindow(m_feedrun.Pid()), Monopoly());
}

TEST_F(FeedrunTest, CloseFromOutsideLeavesTheTargetRunning)
{
    Serve(1, 100, 10, "tilt 9 0");
    PostMessageA(m_hwndFeedrun, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, m_feedrun.Wait(3000));
    EXPECT_EQ(0, Monopoly());
    EXPECT_TRUE(IsWindow(m_hwndTarget));
    size_t n = SettledKeyCount(300);
    tb::Pump(300);
    EXPECT_EQ(n, Keys().size());
}

TEST_F(FeedrunTest, EndSessionStopsTheLauncherThread)
{
    Serve(1, 100, 10, "tilt 9 0");
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 2; }, 5000));
    /* Whatever its parameters say: the exit event wakes the launcher
     * thread, whose end message then closes the runtime. */
    SendMessageA(m_hwndFeedrun, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(0, m_feedrun.Wait(3000));
    EXPECT_TRUE(IsWindow(m_hwndTarget));
    EXPECT_EQ(0, Monopoly());
}

TEST_F(FeedrunTest, SecondRuntimeIsRefusedWhileTheFirstServes)
{
    Serve(1, 100, 10, "tilt 9 0");
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= 2; }, 5000));

    tb::TargetLog secondLog("second");
    tb::SetTargetEnvironment(&secondLog);
    tb::Process second;
    ASSERT_TRUE(tb::StartFeedrun(second, kItem));
    ExpectRefusal(second, kText113, true, "second Feedrun");
    EXPECT_TRUE(secondLog.Events().empty());   /* its target never started */

    /* The first one serves on. */
    EXPECT_EQ((LRESULT)m_hwndFeedrun, Monopoly());
    size_t n = Keys().size();
    ASSERT_TRUE(tb::BringToFront(m_hwndTarget));
    EXPECT_TRUE(tb::WaitFor([&] { return Keys().size() >= n + 2; }, 3000));
}

TEST_F(FeedrunTest, MissingItemValuesShow110)
{
    const char *values[] = { "FileName", "Path", "Type", "Mouse_Rate", "CursorKey_Rate" };
    for (const char *pszValue : values) {
        tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1);
        ASSERT_TRUE(tb::RegDeleteVal(HKEY_CURRENT_USER, tb::TiltfeedItemKey(kItem), pszValue));
        ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
        ExpectRefusal(m_feedrun, kText110, false, std::string("without ") + pszValue);
    }
    /* No item key at all. */
    ASSERT_TRUE(tb::RegDeleteTree(HKEY_CURRENT_USER, tb::TiltfeedItemKey(kItem)));
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, kText110, false, "without the item key");
    EXPECT_TRUE(m_log.Events().empty());
}

TEST_F(FeedrunTest, MissingLibraryPathShows110)
{
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1);
    ASSERT_TRUE(tb::RegDeleteVal(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON, TILTKIT_VAL_PATH));
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, kText110, false, "without PATH");

    ASSERT_TRUE(tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_GRAVMON));
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, kText110, false, "without the library key");
    EXPECT_TRUE(m_log.Events().empty());
}

TEST_F(FeedrunTest, OverLongTailShows114)
{
    /* 32 + 1 + 226 characters are exactly one 260-byte key path; one more
     * is refused before the registry is read, even though an item of that
     * name exists. */
    std::string fits = "Tiltfeed + " + std::string(226 - 11, 'x');
    std::string tooLong = fits + "y";
    ASSERT_TRUE(m_manager.Start());
    tb::WriteTiltfeedItem(tooLong, tb::BinPath("Feedtarget.exe"), 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, tooLong));
    ExpectRefusal(m_feedrun, kText114, false, "227 characters");
    EXPECT_TRUE(m_log.Events().empty());

    tb::WriteTiltfeedItem(fits, tb::BinPath("Feedtarget.exe"), 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, fits));
    EXPECT_TRUE(tb::WaitTargetWindow() != NULL);
    EXPECT_EQ(0, tb::CountDialogs(m_feedrun.Pid()));
}

TEST_F(FeedrunTest, LibraryThatCannotBeBoundShows115)
{
    ASSERT_TRUE(m_manager.Start());
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1);
    /* Even GetAcceleration, never called, must be there. */
    const char *missing[] = { "GetAcceleration", "GetAngle", "Monopolize", "Unmonopolize" };
    for (const char *pszExport : missing) {
        tb::RegisterGravmon(tb::BinPath(std::string("Gravfake_No") + pszExport + ".dll"));
        ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
        ExpectRefusal(m_feedrun, kText115, false, std::string("without ") + pszExport);
    }
    tb::RegisterGravmon(tb::BinPath("NoSuchGravmon.dll"));
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, kText115, false, "library missing");
    EXPECT_TRUE(m_log.Events().empty());
    EXPECT_EQ(0, Monopoly());
}

TEST_F(FeedrunTest, ManagerNotRunningShows115FromTheWindow)
{
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, kText115, true, "no manager");
    EXPECT_TRUE(m_log.Events().empty());
}

TEST_F(FeedrunTest, ExitEventThatCannotBeCreatedShows117)
{
    /* A mutex of the event's name makes CreateEvent fail. */
    HANDLE hSquatter = CreateMutexA(NULL, FALSE, "ExitTiltfeedThread");
    ASSERT_TRUE(hSquatter != NULL);
    ASSERT_TRUE(m_manager.Start());
    tb::WriteTiltfeedItem(kItem, tb::BinPath("Feedtarget.exe"), 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ExpectRefusal(m_feedrun, u8"Не удалось выполнить \"Tiltfeed + Feedtarget\" ", true, "117");
    EXPECT_TRUE(m_log.Events().empty());
    EXPECT_EQ(0, Monopoly());
    CloseHandle(hSquatter);
}

TEST_F(FeedrunTest, TargetThatCannotStartEndsSilently)
{
    ASSERT_TRUE(m_manager.Start());
    tb::WriteTiltfeedItem(kItem, "C:\\No Such Folder\\nosuch.exe", 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    EXPECT_EQ(0, m_feedrun.Wait(5000));
    EXPECT_EQ(0, tb::CountDialogs(m_feedrun.Pid()));
    EXPECT_EQ(0, Monopoly());
}

TEST_F(FeedrunTest, NamesAndPathsWithBlanks)
{
    /* The tail is the item name whole, trailing blank included; the target
     * path has blanks and is started in its own folder. */
    char szProgramFiles[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableA("ProgramFiles", szProgramFiles, MAX_PATH) > 0);
    std::string dir = std::string(szProgramFiles) + "\\Feed Target";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string exe = dir + "\\Feedtarget.exe";
    ASSERT_TRUE(CopyFileA(tb::BinPath("Feedtarget.exe").c_str(), exe.c_str(), FALSE));

    const std::string item = "Tiltfeed + My  Paint ";
    ASSERT_TRUE(m_manager.Start());
    ASSERT_EQ(1, m_manager.Command("tilt 9 0"));
    tb::WriteTiltfeedItem("Tiltfeed + My  Paint", tb::BinPath("NotThisOne.exe"), 1);
    tb::WriteTiltfeedItem(item, exe, 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, item));
    HWND hwndTarget = tb::WaitTargetWindow();
    ASSERT_TRUE(hwndTarget != NULL);
    EXPECT_EQ(0, tb::CountDialogs(m_feedrun.Pid()));
    EXPECT_EQ(std::vector<std::string>{ dir }, m_log.With("cwd "));
    ASSERT_TRUE(tb::BringToFront(hwndTarget));
    EXPECT_TRUE(tb::WaitFor([&] { return Keys().size() >= 2; }, 5000));
    tb::KillTargets();
    EXPECT_EQ(0, m_feedrun.Wait(3000));
    DeleteFileA(exe.c_str());
    RemoveDirectoryA(dir.c_str());
}

TEST_F(FeedrunTest, TargetBehindABlankStartsItselfNotAPlantedProgram)
{
    /* Any user may put a program where the path's first word ends: an
     * unquoted start would run it instead of the target. */
    std::string dir = "C:\\Program Files\\Feed Target";
    std::string exe = dir + "\\Feedtarget.exe";
    std::string planted = "C:\\Program.exe";
    CreateDirectoryA("C:\\Program Files", NULL);
    CreateDirectoryA(dir.c_str(), NULL);
    ASSERT_TRUE(CopyFileA(tb::BinPath("Feedtarget.exe").c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(tb::BinPath("Feedtarget.exe").c_str(), planted.c_str(), FALSE));
    struct Cleanup {
        std::string a, b, c;
        ~Cleanup() { tb::KillTargets(); DeleteFileA(a.c_str()); DeleteFileA(b.c_str()); RemoveDirectoryA(c.c_str()); }
    } cleanup{ planted, exe, dir };

    ASSERT_TRUE(m_manager.Start());
    tb::WriteTiltfeedItem(kItem, exe, 1);
    ASSERT_TRUE(tb::StartFeedrun(m_feedrun, kItem));
    ASSERT_TRUE(tb::WaitTargetWindow() != NULL);
    EXPECT_EQ(std::vector<std::string>{ exe }, m_log.With("image "))
        << "the planted program never starts";
    EXPECT_EQ(std::vector<std::string>{ "\"" + exe + "\"" }, m_log.With("cmdline "))
        << "the target sees its own path, quoted, as argv[0]";
    EXPECT_EQ(std::vector<std::string>{ dir }, m_log.With("cwd "));
    tb::KillTargets();
    EXPECT_EQ(0, m_feedrun.Wait(3000));
}
