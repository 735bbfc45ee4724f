#include "motionlock/lockstore.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "common/regwrite.h"

void ReadLockwatchOptions(DWORD *pdwMoveThreshold, BOOL *pbHoldAlarm)
{
    HKEY hKey = NULL;

    *pdwMoveThreshold = 0;
    *pbHoldAlarm = FALSE;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    *pdwMoveThreshold = RegReadOption(hKey, LOCKWATCH_VAL_MOVETHRESHOLD, LOCKWATCH_MAX_MOVETHRESHOLD);
    *pbHoldAlarm = RegReadOption(hKey, LOCKWATCH_VAL_HOLDALARM, 1) != 0;
    RegCloseKey(hKey);
}

LONG SaveLockwatchOption(LPCSTR pszName, DWORD dwValue)
{
    return RegWriteDwordAt(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, TRUE, pszName, dwValue);
}
