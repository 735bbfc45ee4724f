#include "calui.h"
#include "testbench/capture.h"
#include <prsht.h>
#include "common/regpaths.h"
#include <vector>

namespace cal {

const char *const kCaption =
    u8"Подключаемый модуль консоли настройки диспетчера акселерометра Zelvar";
const char *const kInstallation =
    u8"Данные установки повреждены. Выполните повторную установку.";
const char *const kStatusCalibrated =
    u8"Акселерометр был откалиброван во время изготовления.\r\nПовторная калибровка требуется только в том случае, если точно известно, что акселерометр работает неправильно.\r\nЕсли устройство неправильно откалибровано, могут возникать ошибки программ акселерометра, а система может работать непредсказуемо. \r\n\r\nЧтобы выполнить повторную калибровку акселерометра, необходимо определить центр тяжести компьютера, расположив его следующим образом.\r\n1. На опоре. В этом положении устройство обычно находится в режиме переносного компьютера. Внутренняя клавиатура и ЖК-экран обращены к пользователю.\r\n2. Устройство находится в режиме переносного компьютера, но наклонено на бок.\r\n3. Устройство находится в режиме переносного компьютера, но наклонено вперед, когда основание устройства находится под прямым углом к поверхности стола.\r\n\r\nСледующий мастер поможет выполнить необходимые действия и покажет, как нужно расположить компьютер при калибровке акселерометра.\r\n\r\nЧтобы начать эту процедуру, нажмите кнопку [Начать калибровку].";
const char *const kStatusUncalibrated =
    u8"Акселерометр не откалиброван или откалиброван неправильно.\r\nЕсли устройство неправильно откалибровано, могут возникать ошибки при работе программ акселерометра, а система может работать непредсказуемо. \r\n\r\nЧтобы выполнить повторную калибровку акселерометра, необходимо определить центр тяжести компьютера, расположив его следующим образом.\r\n1. На опоре. В этом положении устройство обычно находится в режиме переносного компьютера. Внутренняя клавиатура и ЖК-экран обращены к пользователю.\r\n2. Устройство находится в режиме переносного компьютера, но наклонено на бок.\r\n3. Устройство находится в режиме переносного компьютера, но наклонено вперед, когда основание устройства находится под прямым углом к поверхности стола.\r\n\r\nСледующий мастер поможет выполнить необходимые действия и покажет, как нужно расположить компьютер при калибровке акселерометра.\r\n\r\nЧтобы начать эту процедуру, нажмите кнопку [Начать калибровку].";
const char *const kInstructions =
    u8"Калибровка акселерометра.  Нажмите кнопку [Отмена], чтобы прервать процесс.\r\n\r\nСледуйте указаниям и иллюстрациям на экране.\r\n\r\n1. Нажмите кнопку [Калибровать акселерометр]. Появится Диалоговое окно \"Измерение\".\r\n2. Держите компьютер неподвижно в положении, показанном на рисунке, не менее %d секунд.\r\n3. Измерения будут неверными, если компьютер не будет неподвижным в течение не менее чем %d секунд.  В случае неудачной калибровки повторите эту процедуру.";
const char *const kResultGood =
    u8"Измерения завершены.\r\n\r\nЕсли вы не уверены, правильно ли были выполнены измерения, можно нажать кнопку [Калибровать акселерометр] еще раз, чтобы игнорировать эту попытку и выполнить новые измерения.\r\n\r\nДля продолжения нажмите кнопку [Далее].";
const char *const kResultFailed =
    u8"Не удалось выполнить измерения для калибровки.\r\nПовторите попытку, нажав кнопку [Калибровать акселерометр] еще раз.";
const char *const kResultDone =
    u8"Измерения завершены.\r\n\r\nЕсли вы не уверены, правильно ли были выполнены измерения, можно нажать кнопку [Калибровать акселерометр] еще раз, чтобы игнорировать эту попытку и выполнить новые измерения.\r\n\r\nКалибровка завершена. Нажмите кнопку [Готово], чтобы сохранить измерения на компьютере.";
const char *const kNoData =
    u8"Не удалось получить данные от Диспетчера акселерометра Zelvar.";
const char *const kStatusError =
    u8"%s\r\nЕсли появится диалоговое окно \"Диспетчер акселерометра Zelvar\", нажмите кнопку [ОК], чтобы закрыть это диалоговое окно.  \r\n Затем откройте \"Консоль настройки программ акселерометра Zelvar\" еще раз.";

static std::string Replace(std::string s, const std::string &from, const std::string &to)
{
    size_t pos = s.find(from);
    if (pos != std::string::npos)
        s.replace(pos, from.size(), to);
    return s;
}

std::wstring InstructionsText()
{
    return tb::Wide(Replace(Replace(kInstructions, "%d", "10"), "%d", "10"));
}

std::wstring StatusErrorText()
{
    return tb::Wide(Replace(kStatusError, "%s", kNoData));
}

void RegisterGravcal(const std::string &key)
{
    std::string sub = std::string(TILTKIT_REG_PROPERTY) + "\\" + key;
    tb::RegSetString(HKEY_LOCAL_MACHINE, sub, "Name", u8"Диспетчер акселерометра");
    tb::RegSetString(HKEY_LOCAL_MACHINE, sub, "DLLFileName", tb::BinPath("Gravcal.dll"));
}

static std::string ClassOf(HWND hwnd)
{
    char sz[64] = "";
    GetClassNameA(hwnd, sz, sizeof(sz));
    return sz;
}

struct FindItemCtx {
    int id;
    HWND hwndItem;
    bool bVisibleOnly;
};

static BOOL CALLBACK FindItemProc(HWND hwnd, LPARAM lParam)
{
    FindItemCtx *ctx = (FindItemCtx *)lParam;
    if (GetDlgCtrlID(hwnd) == ctx->id && (!ctx->bVisibleOnly || IsWindowVisible(hwnd))) {
        ctx->hwndItem = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND FindDescendant(HWND hwndTop, int id, bool bVisibleOnly)
{
    FindItemCtx ctx = { id, NULL, bVisibleOnly };
    EnumChildWindows(hwndTop, FindItemProc, (LPARAM)&ctx);
    return ctx.hwndItem;
}

struct FindDlgCtx {
    DWORD dwPid;
    int id;
    HWND hwnd;
    HWND hwndItem;
    HWND hwndExcept;
};

static BOOL CALLBACK FindDlgProc(HWND hwnd, LPARAM lParam)
{
    FindDlgCtx *ctx = (FindDlgCtx *)lParam;
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    if ((ctx->dwPid && dwPid != ctx->dwPid) || hwnd == ctx->hwndExcept || ClassOf(hwnd) != "#32770")
        return TRUE;
    HWND hwndItem = FindDescendant(hwnd, ctx->id, false);
    if (!hwndItem)
        return TRUE;
    ctx->hwnd = hwnd;
    ctx->hwndItem = hwndItem;
    return FALSE;
}

static HWND FindDialogExcept(DWORD dwPid, int idItem, HWND hwndExcept, HWND *phwndItem)
{
    FindDlgCtx ctx = { dwPid, idItem, NULL, NULL, hwndExcept };
    EnumWindows(FindDlgProc, (LPARAM)&ctx);
    if (phwndItem)
        *phwndItem = ctx.hwndItem;
    return ctx.hwnd;
}

HWND FindDialogWith(DWORD dwPid, int idItem, HWND *phwndItem)
{
    return FindDialogExcept(dwPid, idItem, NULL, phwndItem);
}

HWND WaitSettingsPage(DWORD dwPid, DWORD dwTimeoutMs)
{
    HWND hwndStatus = NULL;
    tb::WaitFor([&] {
        HWND hwndSheet = FindDialogWith(dwPid, 1000, &hwndStatus);
        return hwndSheet != NULL && IsWindowVisible(hwndSheet);
    }, dwTimeoutMs);
    return hwndStatus ? GetParent(hwndStatus) : NULL;
}

HWND WaitWizard(DWORD dwPid, DWORD dwTimeoutMs)
{
    HWND hwnd = NULL;
    tb::WaitFor([&] {
        hwnd = FindDialogWith(dwPid, 1005);
        return hwnd != NULL && IsWindowVisible(hwnd) && ActiveWizardPage(hwnd) != NULL;
    }, dwTimeoutMs);
    return hwnd;
}

HWND ActiveWizardPage(HWND hwndWizard)
{
    HWND hwndButton = FindDescendant(hwndWizard, 1005, true);
    return hwndButton ? GetParent(hwndButton) : NULL;
}

HWND WaitMeasureDialog(DWORD dwPid, DWORD dwTimeoutMs)
{
    HWND hwnd = NULL;
    tb::WaitFor([&] {
        hwnd = FindDialogWith(dwPid, 1008);
        return hwnd != NULL && IsWindowVisible(hwnd);
    }, dwTimeoutMs);
    return hwnd;
}

std::wstring Text(HWND hwnd)
{
    std::vector<wchar_t> buf(8192, L'\0');
    DWORD_PTR n = 0;
    if (!hwnd || !SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), (LPARAM)buf.data(),
                                      SMTO_NORMAL, 5000, &n))
        return L"<no answer>";
    return std::wstring(buf.data(), n);
}

std::wstring ItemText(HWND hDlg, int id)
{
    return Text(GetDlgItem(hDlg, id));
}

bool WaitItemText(HWND hDlg, int id, const std::wstring &want, DWORD dwTimeoutMs)
{
    return tb::WaitFor([&] { return ItemText(hDlg, id) == want; }, dwTimeoutMs);
}

void Click(HWND hwndButton)
{
    PostMessageA(hwndButton, BM_CLICK, 0, 0);
}

void PressSheetButton(HWND hwndSheet, int nButton)
{
    PostMessageA(hwndSheet, PSM_PRESSBUTTON, nButton, 0);
}

bool SheetButtonEnabled(HWND hwndSheet, int idButton)
{
    HWND hwnd = GetDlgItem(hwndSheet, idButton);
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

bool WaitSheetButton(HWND hwndSheet, int idButton, bool bEnabled, DWORD dwTimeoutMs)
{
    /* The page posts its button state: give the sheet a moment to apply it. */
    return tb::WaitFor([&] { return SheetButtonEnabled(hwndSheet, idButton) == bEnabled; },
                       dwTimeoutMs);
}

std::string Screenshot(HWND hwnd, const std::string &name)
{
    char szDir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, szDir);
    return tb::SaveScreenshot(hwnd, std::string(szDir) + "\\screenshots", name);
}

} // namespace cal
