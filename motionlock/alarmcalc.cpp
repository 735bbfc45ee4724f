#include "motionlock/alarmcalc.h"
#include <math.h>
#include <string.h>

int MixerValueToPercent(uint32_t dwValue, uint32_t dwMin, uint32_t dwMax, uint32_t *pdwPercent)
{
    uint32_t dwRange = dwMax - dwMin;

    if (dwRange == 0)
        return 0;
    *pdwPercent = (dwRange / 2 + 100u * dwValue - 100u * dwMin) / dwRange;
    return 1;
}

int PercentToMixerValue(uint32_t dwPercent, uint32_t dwMin, uint32_t dwMax, uint32_t *pdwValue)
{
    uint32_t dwRange = dwMax - dwMin;

    if (dwRange == 0)
        return 0;
    *pdwValue = dwMin + (dwRange * dwPercent) / 100u;
    return 1;
}

void HwgateBuildRequest(HWGATEREGS *pRegs, uint32_t dwCode, uint32_t dwNumber, uint32_t dwValue,
                        uint32_t dwParam4, uint32_t dwParam5, uint32_t dwParam6)
{
    memset(pRegs, 0, sizeof(*pRegs));
    pRegs->dwEax = dwCode;
    pRegs->dwEbx = dwNumber;
    pRegs->dwEcx = dwValue;
    pRegs->dwEdx = dwParam4;
    pRegs->dwEsi = dwParam5;
    pRegs->dwEdi = dwParam6;
}

void HwgateReadResult(const HWGATEREGS *pRegs, HWGATERESULT *pResult)
{
    pResult->adwWord[0] = pRegs->dwEax;
    pResult->adwWord[1] = pRegs->dwEbx;
    pResult->adwWord[2] = pRegs->dwEcx;
    pResult->adwWord[3] = pRegs->dwEdx;
    pResult->adwWord[4] = pRegs->dwEsi;
    pResult->adwWord[5] = pRegs->dwEdi;
}

int HwgateStatusOk(uint32_t dwEax)
{
    return ((dwEax >> 8) & 0xFFu) == 0;
}

static const struct {
    uint32_t dwNumber;
    uint32_t dwFlagBit;
    uint32_t dwOnValue;
} g_AlarmSettings[2] = {
    { 0x5E, 0x02, 2 },
    { 0x6E, 0x01, 1 },
};

static int SettingIndex(int nSetting)
{
    return nSetting == ALARM_SETTING_SECOND ? 1 : 0;
}

uint32_t AlarmSettingNumber(int nSetting)
{
    return g_AlarmSettings[SettingIndex(nSetting)].dwNumber;
}

uint32_t AlarmSettingOnValue(int nSetting)
{
    return g_AlarmSettings[SettingIndex(nSetting)].dwOnValue;
}

uint32_t AlarmSettingWriteValue(int nSetting, int bOn)
{
    return bOn ? AlarmSettingOnValue(nSetting) : 0;
}

int AlarmSettingIsOn(int nSetting, uint32_t dwValueRead)
{
    return (dwValueRead & 0xFFu & g_AlarmSettings[SettingIndex(nSetting)].dwFlagBit) != 0;
}

int BuildBeepSoundPath(char *pszOut, size_t cchOut, const char *pszModulePath,
                       const char *pszSoundName)
{
    size_t cchDir = 0;
    size_t cchName;
    size_t i;

    if (cchOut == 0)
        return 0;
    pszOut[0] = '\0';

    if (pszModulePath != NULL) {
        /* Drive and directory: everything up to the last separator, or
         * just the drive of a path such as "C:Lockwatch.exe". */
        for (i = 0; pszModulePath[i] != '\0'; i++) {
            if (pszModulePath[i] == '\\' || pszModulePath[i] == '/')
                cchDir = i + 1;
        }
        if (cchDir == 0 && pszModulePath[0] != '\0' && pszModulePath[1] == ':')
            cchDir = 2;
    }
    cchName = strlen(pszSoundName);

    if (cchDir + cchName + 1 > cchOut)
        return 0;
    if (cchDir != 0)
        memcpy(pszOut, pszModulePath, cchDir);
    memcpy(pszOut + cchDir, pszSoundName, cchName);
    pszOut[cchDir + cchName] = '\0';
    return 1;
}

int IsReadingChanged(float fBaseX, float fBaseY, float fX, float fY)
{
    /* Ordered comparisons only: any NaN makes both false. */
    return fX < fBaseX || fX > fBaseX || fY < fBaseY || fY > fBaseY;
}

int IsMovement(float fBaseX, float fBaseY, float fX, float fY, uint32_t dwThreshold)
{
    volatile float fThreshold;
    volatile float fDx;
    volatile float fDy;

    if (dwThreshold == 0)
        return IsReadingChanged(fBaseX, fBaseY, fX, fY);
    /* Stored to single precision where the FPU keeps wider intermediates;
     * ordered comparisons, so a NaN on either side makes them false. */
    fThreshold = (float)dwThreshold / 1000.0f;
    fDx = fabsf(fX - fBaseX);
    fDy = fabsf(fY - fBaseY);
    return fDx >= fThreshold || fDy >= fThreshold;
}

int SpeakerNeedsRaise(uint32_t dwMute, uint32_t dwPercent)
{
    return dwMute != 0 || dwPercent < 100;
}
