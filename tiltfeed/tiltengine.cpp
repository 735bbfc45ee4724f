#include "tiltfeed/tiltengine.h"
#include <string.h>

float TiltFraction(float fAngle)
{
    uint32_t uBits = TILTFEED_ONE_NINETIETH_BITS;
    float fFactor;
    memcpy(&fFactor, &uBits, sizeof(fFactor));

    /* The store rounds to single precision even where the FPU keeps
     * intermediates wider (x87). */
    volatile float fFraction = fAngle * fFactor;
    return fFraction;
}

int32_t ScaleTilt(uint32_t uRate, float fFraction)
{
    /* Exact for every rate the settings page stores; the store pins the
     * rounding to double so every build truncates the same value. */
    volatile double dScaled = (double)uRate * (double)fFraction;
    double d = dScaled;

    if (d != d)
        return 0;
    if (d >= 2147483647.0)
        return INT32_MAX;
    if (d <= -2147483648.0)
        return INT32_MIN;
    return (int32_t)d;
}

void BuildMouseStep(uint32_t uRate, float fFracX, float fFracY, MOUSESTEP *pStep)
{
    pStep->lDx = ScaleTilt(uRate, fFracX);
    pStep->lDy = ScaleTilt(uRate, fFracY);
}

static uint32_t KeyCount(int32_t lScaled)
{
    uint32_t uCount = lScaled < 0 ? (uint32_t)0 - (uint32_t)lScaled : (uint32_t)lScaled;
    return uCount > TILTFEED_MAX_KEYS_PER_AXIS ? TILTFEED_MAX_KEYS_PER_AXIS : uCount;
}

static uint32_t AppendPair(KEYRECORD *aRecords, uint32_t uAt, uint8_t bVk)
{
    aRecords[uAt].bVk = bVk;
    aRecords[uAt].bKeyUp = 0;
    aRecords[uAt + 1].bVk = bVk;
    aRecords[uAt + 1].bKeyUp = 1;
    return uAt + 2;
}

uint32_t BuildKeyStep(uint32_t uRate, float fFracX, float fFracY,
                      KEYRECORD aRecords[TILTFEED_MAX_KEY_RECORDS])
{
    int32_t kx = ScaleTilt(uRate, fFracX);
    int32_t ky = ScaleTilt(uRate, fFracY);
    uint32_t nx = KeyCount(kx);
    uint32_t ny = KeyCount(ky);
    uint8_t bVkHorizontal = kx >= 0 ? TILTFEED_VK_RIGHT : TILTFEED_VK_LEFT;
    uint8_t bVkVertical = ky >= 0 ? TILTFEED_VK_DOWN : TILTFEED_VK_UP;
    uint32_t uCount = 0;

    while (nx + ny > 0) {
        if (nx > 0) {
            uCount = AppendPair(aRecords, uCount, bVkHorizontal);
            nx--;
        }
        if (ny > 0) {
            uCount = AppendPair(aRecords, uCount, bVkVertical);
            ny--;
        }
    }
    return uCount;
}
