#include "extras/extrapure.h"
#include <math.h>

uint32_t ExtraClamp(uint32_t dwValue, uint32_t dwMax)
{
    return dwValue > dwMax ? dwMax : dwValue;
}

int ExtraFlag(uint32_t dwValue)
{
    return dwValue != 0;
}

int ExtraFeedActive(const EXTRAFEED *pFeed)
{
    return pFeed->dwDeadZone != 0 || pFeed->bLevelAtFront;
}

void ExtraFeedLeftFront(EXTRAFEED *pFeed)
{
    pFeed->bLevelTaken = 0;
}

float ExtraDeadZoneAngle(float fAngle, uint32_t dwDeadZone)
{
    if (dwDeadZone == 0)
        return fAngle;
    if (fabsf(fAngle) <= (float)dwDeadZone)
        return 0.0f;
    return fAngle;
}

float ExtraRecentreAngle(float fAngle, float fLevel)
{
    /* The store rounds to single precision where the FPU keeps wider
     * intermediates (x87), so every build sees the same value. */
    volatile float fStored = fAngle - fLevel;
    float fRelative = fStored;

    if (fRelative != fRelative)
        return fRelative;
    if (fRelative > 90.0f)
        return 90.0f;
    if (fRelative < -90.0f)
        return -90.0f;
    return fRelative;
}

void ExtraFeedAdjust(EXTRAFEED *pFeed, float *pfAngleX, float *pfAngleY)
{
    if (pFeed->bLevelAtFront) {
        if (!pFeed->bLevelTaken) {
            pFeed->fLevelX = *pfAngleX;
            pFeed->fLevelY = *pfAngleY;
            pFeed->bLevelTaken = 1;
        }
        *pfAngleX = ExtraRecentreAngle(*pfAngleX, pFeed->fLevelX);
        *pfAngleY = ExtraRecentreAngle(*pfAngleY, pFeed->fLevelY);
    }
    *pfAngleX = ExtraDeadZoneAngle(*pfAngleX, pFeed->dwDeadZone);
    *pfAngleY = ExtraDeadZoneAngle(*pfAngleY, pFeed->dwDeadZone);
}

int ExtraInQuietTime(uint32_t dwNow, uint32_t dwLastInput, uint32_t dwQuietTime)
{
    if (dwQuietTime == 0)
        return 0;
    return (uint32_t)(dwNow - dwLastInput) < dwQuietTime;
}

int ExtraIsMovement(float fBaseX, float fBaseY, float fX, float fY, uint32_t dwThreshold)
{
    volatile float fThreshold;
    volatile float fDx;
    volatile float fDy;

    /* Ordered comparisons only: a NaN on either side makes them false. */
    if (dwThreshold == 0)
        return fX < fBaseX || fX > fBaseX || fY < fBaseY || fY > fBaseY;
    fThreshold = (float)dwThreshold / 1000.0f;
    fDx = fabsf(fX - fBaseX);
    fDy = fabsf(fY - fBaseY);
    return fDx >= fThreshold || fDy >= fThreshold;
}

int ExtraSpeakerNeedsRaise(uint32_t dwMute, uint32_t dwPercent)
{
    return dwMute != 0 || dwPercent < 100;
}

int ExtraParseNumber(const char *pszText, uint32_t dwMax, uint32_t *pdwValue)
{
    const char *p = pszText;
    uint64_t qw = 0;
    int nDigits = 0;

    while (*p == ' ' || *p == '\t')
        p++;
    for (; *p >= '0' && *p <= '9'; p++) {
        qw = qw * 10 + (uint64_t)(*p - '0');
        if (qw > dwMax)
            return 0;
        nDigits++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p || !nDigits)
        return 0;
    *pdwValue = (uint32_t)qw;
    return 1;
}
