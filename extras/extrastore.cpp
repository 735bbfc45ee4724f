#include "extras/extrastore.h"
#include "common/regpaths.h"
#include "common/regread.h"

DWORD ExtraReadDword(HKEY hKey, LPCSTR pszName, DWORD dwMax)
{
    DWORD dw = 0;

    if (hKey == NULL || RegReadDword(hKey, pszName, &dw, REGREAD_REFUSE_SHORT) != ERROR_SUCCESS)
        return 0;
    return ExtraClamp(dw, dwMax);
}

void ExtraReadFeed(HKEY hItemKey, EXTRAFEED *pFeed)
{
    ZeroMemory(pFeed, sizeof(*pFeed));
    pFeed->dwDeadZone = ExtraReadDword(hItemKey, EXTRA_VAL_DEADZONE, EXTRA_MAX_DEADZONE);
    pFeed->bLevelAtFront = ExtraFlag(ExtraReadDword(hItemKey, EXTRA_VAL_LEVELATFRONT, 0xFFFFFFFFu));
}

DWORD ExtraReadQuietTime(HKEY hJoltKey)
{
    return ExtraReadDword(hJoltKey, EXTRA_VAL_QUIETTIME, EXTRA_MAX_QUIETTIME);
}

void ExtraReadLockwatch(DWORD *pdwThreshold, BOOL *pbHoldAlarm)
{
    HKEY hKey = NULL;

    *pdwThreshold = 0;
    *pbHoldAlarm = FALSE;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    *pdwThreshold = ExtraReadDword(hKey, EXTRA_VAL_MOVETHRESHOLD, EXTRA_MAX_MOVETHRESHOLD);
    *pbHoldAlarm = ExtraFlag(ExtraReadDword(hKey, EXTRA_VAL_HOLDALARM, 0xFFFFFFFFu));
    RegCloseKey(hKey);
}
