/*
 * The calibration page and its wizard in the real console, against the
 * manager stand-in: Gravcal.dll registered as the console's page, the
 * controls of the page, of the wizard pages and of the measurement dialog,
 * and the Russian texts they show (UTF-8).
 */
#ifndef TESTS_CALIBRATION_CALPAGE_H
#define TESTS_CALIBRATION_CALPAGE_H

#include <gtest/gtest.h>
#include "testbench/manager.h"
#include "testbench/pagedriver.h"

namespace cal {

/* Controls: the page (status, start), a wizard page (picture, result,
 * instructions, measure) and the measurement dialog's text. */
enum {
    kStatus = 1000, kStart = 1001, kPicture = 1002, kResult = 1003, kInstructionsBox = 1004,
    kMeasure = 1005, kMeasureText = 1008,
};

inline const char *const kCaption =
    u8"Подключаемый модуль консоли настройки диспетчера акселерометра Zelvar";
inline const char *const kInstallation =
    u8"Данные установки повреждены. Выполните повторную установку.";
inline const char *const kStatusCalibrated =
    u8"Акселерометр был откалиброван во время изготовления.\r\nПовторная калибровка требуется только в том случае, если точно известно, что акселерометр работает неправильно.\r\nЕсли устройство неправильно откалибровано, могут возникать ошибки программ акселерометра, а система может работать непредсказуемо. \r\n\r\nЧтобы выполнить повторную калибровку акселерометра, необходимо определить центр тяжести компьютера, расположив его следующим образом.\r\n1. На опоре. В этом положении устройство обычно находится в режиме переносного компьютера. Внутренняя клавиатура и ЖК-экран обращены к пользователю.\r\n2. Устройство находится в режиме переносного компьютера, но наклонено на бок.\r\n3. Устройство находится в режиме переносного компьютера, но наклонено вперед, когда основание устройства находится под прямым углом к поверхности стола.\r\n\r\nСледующий мастер поможет выполнить необходимые действия и покажет, как нужно расположить компьютер при калибровке акселерометра.\r\n\r\nЧтобы начать эту процедуру, нажмите кнопку [Начать калибровку].";
inline const char *const kStatusUncalibrated =
    u8"Акселерометр не откалиброван или откалиброван неправильно.\r\nЕсли устройство неправильно откалибровано, могут возникать ошибки при работе программ акселерометра, а система может работать непредсказуемо. \r\n\r\nЧтобы выполнить повторную калибровку акселерометра, необходимо определить центр тяжести компьютера, расположив его следующим образом.\r\n1. На опоре. В этом положении устройство обычно находится в режиме переносного компьютера. Внутренняя клавиатура и ЖК-экран обращены к пользователю.\r\n2. Устройство находится в режиме переносного компьютера, но наклонено на бок.\r\n3. Устройство находится в режиме переносного компьютера, но наклонено вперед, когда основание устройства находится под прямым углом к поверхности стола.\r\n\r\nСледующий мастер поможет выполнить необходимые действия и покажет, как нужно расположить компьютер при калибровке акселерометра.\r\n\r\nЧтобы начать эту процедуру, нажмите кнопку [Начать калибровку].";
inline const char *const kInstructions =
    u8"Калибровка акселерометра.  Нажмите кнопку [Отмена], чтобы прервать процесс.\r\n\r\nСледуйте указаниям и иллюстрациям на экране.\r\n\r\n1. Нажмите кнопку [Калибровать акселерометр]. Появится Диалоговое окно \"Измерение\".\r\n2. Держите компьютер неподвижно в положении, показанном на рисунке, не менее %d секунд.\r\n3. Измерения будут неверными, если компьютер не будет неподвижным в течение не менее чем %d секунд.  В случае неудачной калибровки повторите эту процедуру.";
inline const char *const kResultGood =
    u8"Измерения завершены.\r\n\r\nЕсли вы не уверены, правильно ли были выполнены измерения, можно нажать кнопку [Калибровать акселерометр] еще раз, чтобы игнорировать эту попытку и выполнить новые измерения.\r\n\r\nДля продолжения нажмите кнопку [Далее].";
inline const char *const kResultFailed =
    u8"Не удалось выполнить измерения для калибровки.\r\nПовторите попытку, нажав кнопку [Калибровать акселерометр] еще раз.";
inline const char *const kResultDone =
    u8"Измерения завершены.\r\n\r\nЕсли вы не уверены, правильно ли были выполнены измерения, можно нажать кнопку [Калибровать акселерометр] еще раз, чтобы игнорировать эту попытку и выполнить новые измерения.\r\n\r\nКалибровка завершена. Нажмите кнопку [Готово], чтобы сохранить измерения на компьютере.";
inline const char *const kNoData =
    u8"Не удалось получить данные от Диспетчера акселерометра Zelvar.";
inline const char *const kStatusError =
    u8"%s\r\nЕсли появится диалоговое окно \"Диспетчер акселерометра Zelvar\", нажмите кнопку [ОК], чтобы закрыть это диалоговое окно.  \r\n Затем откройте \"Консоль настройки программ акселерометра Zelvar\" еще раз.";

/* The instructions and the error status with their arguments put in. */
inline std::string Replaced(std::string s, const std::string &from, const std::string &to)
{
    size_t pos = s.find(from);
    return pos == std::string::npos ? s : s.replace(pos, from.size(), to);
}
inline std::wstring InstructionsText()
{
    return tb::Wide(Replaced(Replaced(kInstructions, "%d", "10"), "%d", "10"));
}
inline std::wstring StatusErrorText() { return tb::Wide(Replaced(kStatusError, "%s", kNoData)); }

/* A fresh registry with Gravmon and the calibration page registered; the
 * console and the manager stand-in, started by each test. */
class CalibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tb::ResetRegistry();
        tb::RegisterGravmon();
        tb::RegisterPage("0030", u8"Диспетчер акселерометра", tb::BinPath("Gravcal.dll"));
    }
    /* Starts the console and waits for the calibration page. */
    HWND OpenPage()
    {
        EXPECT_TRUE(tb::StartConsole(console));
        return WaitPage();
    }
    HWND WaitPage()
    {
        HWND hPage = tb::WaitPageWith(console.Pid(), kStatus);
        EXPECT_NE(nullptr, hPage);
        return hPage;
    }
    /* The screen area of a window (NULL: the screen) in screenshots\calibration. */
    std::string Screenshot(HWND hwnd, const std::string &name)
    {
        return tb::Screenshot(hwnd, "calibration", name);
    }

    tb::Manager manager;
    tb::Process console;
};

} // namespace cal

#endif
