#include "tiltfeed/comfort.h"
#include <math.h>

int FeedComfortActive(const FEEDCOMFORT *pComfort)
{
    return pComfort->dwDeadZone != 0 || pComfort->bLevelAtFront;
}

void FeedComfortLeftFront(FEEDCOMFORT *pComfort)
{
    pComfort->bLevelTaken = 0;
}

float DeadZoneAngle(float fAngle, uint32_t dwDeadZone)
{
    if (dwDeadZone == 0)
        return fAngle;
    if (fabsf(fAngle) <= (float)dwDeadZone)
        return 0.0f;
    return fAngle;
}

float RecentreAngle(float fAngle, float fLevel)
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

void FeedComfortAdjust(FEEDCOMFORT *pComfort, float *pfAngleX, float *pfAngleY)
{
    if (pComfort->bLevelAtFront) {
        if (!pComfort->bLevelTaken) {
            pComfort->fLevelX = *pfAngleX;
            pComfort->fLevelY = *pfAngleY;
            pComfort->bLevelTaken = 1;
        }
        *pfAngleX = RecentreAngle(*pfAngleX, pComfort->fLevelX);
        *pfAngleY = RecentreAngle(*pfAngleY, pComfort->fLevelY);
    }
    *pfAngleX = DeadZoneAngle(*pfAngleX, pComfort->dwDeadZone);
    *pfAngleY = DeadZoneAngle(*pfAngleY, pComfort->dwDeadZone);
}
