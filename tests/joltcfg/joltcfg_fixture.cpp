#include "joltcfg_fixture.h"
#include "testbench/boxcheck.h"
#include "testbench/jolt_defaults.h"
#include "common/regpaths.h"
#include <prsht.h>

namespace jc {

const char *const kCaption = u8"Программы акселерометра Zelvar - Наклон";
const char *const kBroken =
    u8"Программа акселерометра Zelvar - Наклон установлена неправильно.  Установите ее еще раз.";
const char *const kRegOpen = u8"Не удалось открыть раздел реестра.";
const char *const kBadChars = u8"В имени файла нельзя использовать следующие символы:\n| \" < > / ? *";
const char *const kNoVProgram =
    u8"Не введено название программы для вертикального сотрясения.  Укажите имя файла.";
const char *const kNoHProgram =
    u8"Не введено название программы для горизонтального сотрясения.  Укажите имя файла.";
const char *const kNoVSound =
    u8"Не введено имя звукового файла для вертикального сотрясения.  Укажите имя звукового файла.";
const char *const kNoHSound =
    u8"Не введено имя звукового файла для горизонтального сотрясения.  Укажите имя звукового файла.";
const char *const kRegData = u8"Не удалось получить данные для раздела реестра.";

void PrintTo(const Stored &s, std::ostream *os)
{
    *os << "{setting:";
    for (BYTE b : s.setting)
        *os << ' ' << (int)b;
    *os << "; " << s.vLaunch << "; " << s.vSound << "; " << s.hLaunch << "; " << s.hSound << "}";
}

void JoltPageTest::SetUp()
{
    m_dir = tb::ScratchDir(true);
    InstallSuite();
    for (const char *pszName : { "vert", "horz" })
        ASSERT_TRUE(CopyFileA(tb::BinPath("Joltmark.exe").c_str(), Program(pszName).c_str(), FALSE));
}

void JoltPageTest::InstallSuite()
{
    tb::ResetRegistry();
    ASSERT_TRUE(tb::InstallDefaults(tb::BinPath("")));
    SYSTEMTIME st;
    GetLocalTime(&st);
    tb::StampInstallTime(st);
    /* The Jolt page is the console's only page. */
    tb::RegDeleteTree(HKEY_LOCAL_MACHINE, TILTKIT_REG_PROPERTY);
    ASSERT_TRUE(tb::RegisterPage("0020", u8"Наклон", tb::BinPath("Joltcfg.dll")));
}

void JoltPageTest::TearDown()
{
    if (m_desk.Running()) {
        if (m_hPage)
            tb::PressSheetButton(Sheet(), PSBTN_CANCEL);
        if (m_desk.Wait(3000) < 0)
            m_desk.Kill();
    }
    if (m_runtime.Running()) {
        if (m_hwndRuntime)
            PostMessageA(m_hwndRuntime, WM_CLOSE, 0, 0);
        if (m_runtime.Wait(3000) < 0)
            m_runtime.Kill();
    }
    m_manager.Stop();
}

void JoltPageTest::WriteValues(const Values &v, bool bUser)
{
    HKEY hRoot = bUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    DWORD adw[4] = { v.dwVAction, v.dwHAction, v.dwVSound, v.dwHSound };
    /* Texts of the test are UTF-8; the registry gets them in the code page. */
    auto path = [&](const std::string &s) {
        return s.find('\\') == std::string::npos && s.find_first_not_of(' ') != std::string::npos
                   ? Program(s) : tb::Ansi(s);
    };
    ASSERT_TRUE(tb::RegSetBinary(hRoot, TILTKIT_REG_JOLT, "JoltSetting", adw, sizeof(adw)));
    ASSERT_TRUE(tb::RegSetDword(hRoot, TILTKIT_REG_JOLT, "IdleTime", v.dwIdle));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "VerticalLaunchPath", path(v.vLaunch)));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "HorizontalLaunchPath", path(v.hLaunch)));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "VerticalSoundPath", tb::Ansi(v.vSound)));
    ASSERT_TRUE(tb::RegSetString(hRoot, TILTKIT_REG_JOLT, "HorizontalSoundPath", tb::Ansi(v.hSound)));
    if (bUser) {
        DWORD dwVersion = 0;
        std::vector<BYTE> time;
        ASSERT_TRUE(tb::RegGetDword(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "Version", &dwVersion));
        ASSERT_TRUE(tb::RegGetBinary(HKEY_LOCAL_MACHINE, TILTKIT_REG_JOLT, "InstallTime", &time));
        ASSERT_TRUE(tb::RegSetDword(hRoot, TILTKIT_REG_JOLT, "Version", dwVersion));
        ASSERT_TRUE(tb::RegSetBinary(hRoot, TILTKIT_REG_JOLT, "InstallTime", time.data(),
                                     (DWORD)time.size()));
    }
}

Stored JoltPageTest::ReadStored() const
{
    Stored s;
    tb::RegGetBinary(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "JoltSetting", &s.setting);
    tb::RegGetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "VerticalLaunchPath", &s.vLaunch);
    tb::RegGetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "HorizontalLaunchPath", &s.hLaunch);
    tb::RegGetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "VerticalSoundPath", &s.vSound);
    tb::RegGetString(HKEY_CURRENT_USER, TILTKIT_REG_JOLT, "HorizontalSoundPath", &s.hSound);
    return s;
}

HWND JoltPageTest::OpenPage(DWORD dwTimeoutMs)
{
    if (!tb::StartConsole(m_desk))
        return NULL;
    return WaitPage(dwTimeoutMs);
}

void JoltPageTest::PressOk()
{
    tb::PressSheetButton(Sheet(), PSBTN_OK);
    tb::WaitFor([&] { return !m_desk.Running() || tb::CountMessageBoxes(m_desk.Pid()) > 0; }, 8000);
}

void JoltPageTest::Cancel()
{
    tb::PressSheetButton(Sheet(), PSBTN_CANCEL);
    WaitConsoleEnded();
}

void JoltPageTest::ExpectBox(const char *pszTextUtf8, int line)
{
    /* The sheet stays open behind the box. */
    EXPECT_TRUE(tb::AnswerMessageBox(m_desk.Pid(), kCaption, pszTextUtf8, tb::kAnyOwner, false, 5000))
        << "box expected at line " << line;
}

bool JoltPageTest::StartRuntime()
{
    if (!m_manager.Start())
        return false;
    if (!m_runtime.Start(tb::BinPath("Joltrun.exe")))
        return false;
    m_hwndRuntime = tb::WaitWindow("TiltkitJolt Class", "TiltkitJolt", 10000, m_runtime.Pid());
    DWORD_PTR dw;
    return m_hwndRuntime && SendMessageTimeoutA(m_hwndRuntime, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &dw);
}

std::vector<std::string> JoltPageTest::Runs() const
{
    return tb::JoltmarkRuns(m_dir);
}

bool JoltPageTest::WaitRuns(size_t n, DWORD dwTimeoutMs) const
{
    return tb::WaitFor([&] { return Runs().size() >= n; }, dwTimeoutMs);
}

} // namespace jc
