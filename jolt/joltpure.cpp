#include "jolt/joltpure.h"

#include <string.h>

static uint32_t ReadLe32(const uint8_t *pb)
{
    return (uint32_t)pb[0] | ((uint32_t)pb[1] << 8) | ((uint32_t)pb[2] << 16) |
           ((uint32_t)pb[3] << 24);
}

static void WriteLe32(uint8_t *pb, uint32_t dw)
{
    pb[0] = (uint8_t)dw;
    pb[1] = (uint8_t)(dw >> 8);
    pb[2] = (uint8_t)(dw >> 16);
    pb[3] = (uint8_t)(dw >> 24);
}

void JoltDecodeSetting(const uint8_t *pbData, size_t cbData, JOLTSETTING *pSetting)
{
    uint8_t abBlock[JOLT_SETTING_BYTES];

    memset(abBlock, 0, sizeof(abBlock));
    if (cbData > sizeof(abBlock))
        cbData = sizeof(abBlock);
    if (pbData && cbData)
        memcpy(abBlock, pbData, cbData);

    pSetting->dwVerticalAction = ReadLe32(abBlock);
    pSetting->dwHorizontalAction = ReadLe32(abBlock + 4);
    pSetting->dwVerticalSound = ReadLe32(abBlock + 8);
    pSetting->dwHorizontalSound = ReadLe32(abBlock + 12);
}

void JoltEncodeSetting(const JOLTSETTING *pSetting, uint8_t abData[JOLT_SETTING_BYTES])
{
    WriteLe32(abData, pSetting->dwVerticalAction);
    WriteLe32(abData + 4, pSetting->dwHorizontalAction);
    WriteLe32(abData + 8, pSetting->dwVerticalSound);
    WriteLe32(abData + 12, pSetting->dwHorizontalSound);
}

int JoltSameInstallTime(const uint8_t abFirst[JOLT_TIME_BYTES],
                        const uint8_t abSecond[JOLT_TIME_BYTES])
{
    int i;

    /* year, month, day of week, day, hour, minute, second, milliseconds */
    for (i = 0; i < JOLT_TIME_BYTES; i += 2) {
        uint16_t wFirst = (uint16_t)(abFirst[i] | (abFirst[i + 1] << 8));
        uint16_t wSecond = (uint16_t)(abSecond[i] | (abSecond[i + 1] << 8));
        if (wFirst != wSecond)
            return 0;
    }
    return 1;
}

int JoltNotifyDirection(uint16_t wNotifyCode)
{
    uint8_t bDirection = (uint8_t)(wNotifyCode >> 8);

    if (bDirection == 1 || bDirection == 3)
        return JOLT_FLAG_VERTICAL;
    return JOLT_FLAG_HORIZONTAL;
}

int JoltRefreshFromCompare(int nCompResult, int bSame)
{
    if (nCompResult == JOLT_COMP_MACHINE_FAILED)
        return JOLT_REFRESH_BROKEN;
    /* An unreadable per-user time (result 6) leaves same at 0: copy. */
    return bSame == 1 ? JOLT_REFRESH_CURRENT : JOLT_REFRESH_COPY;
}

int JoltSoundWanted(uint32_t dwSoundFlag)
{
    return dwSoundFlag == 1;
}

int JoltLaunchOutcome(uintptr_t uShellResult)
{
    if (uShellResult >= 32)
        return 0;
    if (uShellResult == 2 || uShellResult == 3)
        return JOLT_LAUNCH_NOT_FOUND;
    return JOLT_LAUNCH_FAILED;
}

int JoltInQuietTime(uint32_t dwNow, uint32_t dwLastInput, uint32_t dwQuietTime)
{
    if (dwQuietTime == 0)
        return 0;
    return (uint32_t)(dwNow - dwLastInput) < dwQuietTime;
}

uint32_t JoltInputTick(uint32_t dwEventTime, uint32_t dwNow)
{
    /* Later than now, across the wrap as well: half the range ahead. */
    if (dwEventTime == 0 || (uint32_t)(dwEventTime - dwNow - 1) < 0x80000000u)
        return dwNow;
    return dwEventTime;
}
