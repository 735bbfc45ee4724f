#include "calui.h"
#include <prsht.h>
#include "common/regpaths.h"
#include <stdio.h>
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

struct BoxCtx {
    DWORD dwPid;
    std::vector<HWND> boxes;
};

static BOOL CALLBACK BoxProc(HWND hwnd, LPARAM lParam)
{
    BoxCtx *ctx = (BoxCtx *)lParam;
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    if ((!ctx->dwPid || dwPid == ctx->dwPid) && ClassOf(hwnd) == "#32770" && GetDlgItem(hwnd, 0xFFFF) != NULL &&
        IsWindowVisible(hwnd))
        ctx->boxes.push_back(hwnd);
    return TRUE;
}

static std::vector<HWND> ErrorBoxes(DWORD dwPid)
{
    BoxCtx ctx = { dwPid, {} };
    EnumWindows(BoxProc, (LPARAM)&ctx);
    return ctx.boxes;
}

tb::MessageBoxInfo WaitErrorBox(DWORD dwPid, DWORD dwTimeoutMs)
{
    tb::MessageBoxInfo info;
    tb::WaitFor([&] {
        std::vector<HWND> boxes = ErrorBoxes(dwPid);
        if (boxes.empty())
            return false;
        info.hwnd = boxes.front();
        return true;
    }, dwTimeoutMs);
    if (info.hwnd) {
        info.caption = Text(info.hwnd);
        info.text = ItemText(info.hwnd, 0xFFFF);
    }
    return info;
}

int CountErrorBoxes(DWORD dwPid)
{
    return (int)ErrorBoxes(dwPid).size();
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

/* ---- PNG writer: stored deflate blocks, enough for screenshots ---------- */

static unsigned long Crc32(const unsigned char *p, size_t n, unsigned long crc = 0)
{
    static unsigned long table[256];
    if (!table[1]) {
        for (unsigned long i = 0; i < 256; i++) {
            unsigned long c = i;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    }
    crc = ~crc & 0xFFFFFFFFUL;
    for (size_t i = 0; i < n; i++)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc & 0xFFFFFFFFUL;
}

static void Put32(std::vector<unsigned char> &v, unsigned long x)
{
    v.push_back((x >> 24) & 0xFF);
    v.push_back((x >> 16) & 0xFF);
    v.push_back((x >> 8) & 0xFF);
    v.push_back(x & 0xFF);
}

static void Chunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data)
{
    Put32(out, (unsigned long)data.size());
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc32(body.data(), body.size()));
}

static bool WritePng(const std::string &path, int w, int h, const std::vector<unsigned char> &rgb)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < h; y++) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb.begin() + (size_t)y * w * 3, rgb.begin() + (size_t)(y + 1) * w * 3);
    }
    std::vector<unsigned char> z = { 0x78, 0x01 };
    unsigned long a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        size_t n = raw.size() - pos > 65535 ? 65535 : raw.size() - pos;
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.push_back(n & 0xFF);
        z.push_back((n >> 8) & 0xFF);
        z.push_back(~n & 0xFF);
        z.push_back((~n >> 8) & 0xFF);
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
        if (n == 0)
            break;
    }
    Put32(z, (b << 16) | a);
    std::vector<unsigned char> out = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<unsigned char> ihdr;
    Put32(ihdr, w);
    Put32(ihdr, h);
    ihdr.insert(ihdr.end(), { 8, 2, 0, 0, 0 });
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
    return fclose(f) == 0 && ok;
}

std::string Screenshot(HWND hwnd, const std::string &name)
{
    tb::Pump(300);   /* let the console finish painting */
    RECT rc = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    if (hwnd)
        GetWindowRect(hwnd, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return "";
    HDC hdcScreen = GetDC(NULL);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, w, h);
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);
    BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMem, hOld);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> dib((size_t)stride * h);
    GetDIBits(hdcMem, hbm, 0, h, dib.data(), &bmi, DIB_RGB_COLORS);
    DeleteObject(hbm);
    DeleteDC(hdcMem);
    ReleaseDC(NULL, hdcScreen);
    std::vector<unsigned char> rgb((size_t)w * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            for (int k = 0; k < 3; k++)
                rgb[((size_t)y * w + x) * 3 + k] = dib[(size_t)y * stride + x * 3 + 2 - k];
    char szDir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, szDir);
    std::string dir = std::string(szDir) + "\\screenshots";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string path = dir + "\\" + name + ".png";
    return WritePng(path, w, h, rgb) ? path : "";
}

} // namespace cal
