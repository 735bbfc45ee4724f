#include "jolt/joltsys.h"
#include <shellapi.h>
#include <mmsystem.h>

JOLTSYSTEM g_JoltSystem = {
    SendMessageA,
    SendInput,
    ShellExecuteA,
    PlaySoundA,
    SetTimer,
    SetWindowsHookExA,
    UnhookWindowsHookEx,
    EnumDisplaySettingsA,
    ChangeDisplaySettingsExA,
};
