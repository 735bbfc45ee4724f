#include "motionlock/lockplatform.h"
#include <mmsystem.h>

LOCKWATCHPLATFORM g_LockwatchPlatform = {
    LockWorkStation, PlaySoundA, Sleep, GetProcAddress
};

void ResetLockwatchPlatform(void)
{
    g_LockwatchPlatform.pfnLockWorkStation = LockWorkStation;
    g_LockwatchPlatform.pfnPlaySoundA = PlaySoundA;
    g_LockwatchPlatform.pfnSleep = Sleep;
    g_LockwatchPlatform.pfnGetProcAddress = GetProcAddress;
}
