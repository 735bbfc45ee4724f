/* Angles and rates of any bit pattern: the engine stays bounded, ordered
 * and consistent with its own scaling. */
#include <stdint.h>
#include <string.h>
#include <stdlib.h>
#include "tiltfeed/tiltengine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cb)
{
    float fAngleX = 0, fAngleY = 0;
    uint32_t uRate = 0;
    if (cb < 12)
        return 0;
    memcpy(&fAngleX, pData, 4);
    memcpy(&fAngleY, pData + 4, 4);
    memcpy(&uRate, pData + 8, 4);

    float fx = TiltFraction(fAngleX);
    float fy = TiltFraction(fAngleY);
    MOUSESTEP step;
    BuildMouseStep(uRate, fx, fy, &step);
    if (step.lDx != ScaleTilt(uRate, fx) || step.lDy != ScaleTilt(uRate, fy))
        abort();

    KEYRECORD a[TILTFEED_MAX_KEY_RECORDS];
    uint32_t n = BuildKeyStep(uRate, fx, fy, a);
    if (n > TILTFEED_MAX_KEY_RECORDS || n % 2 != 0)
        abort();
    int64_t kx = ScaleTilt(uRate, fx), ky = ScaleTilt(uRate, fy);
    uint64_t nx = (uint64_t)(kx < 0 ? -kx : kx), ny = (uint64_t)(ky < 0 ? -ky : ky);
    if (nx > TILTFEED_MAX_KEYS_PER_AXIS) nx = TILTFEED_MAX_KEYS_PER_AXIS;
    if (ny > TILTFEED_MAX_KEYS_PER_AXIS) ny = TILTFEED_MAX_KEYS_PER_AXIS;
    if (n != 2 * (nx + ny))
        abort();
    uint32_t uHorizontal = 0, uVertical = 0;
    for (uint32_t i = 0; i < n; i += 2) {
        if (a[i].bVk != a[i + 1].bVk || a[i].bKeyUp != 0 || a[i + 1].bKeyUp != 1)
            abort();
        if (a[i].bVk == (kx >= 0 ? TILTFEED_VK_RIGHT : TILTFEED_VK_LEFT))
            uHorizontal++;
        else if (a[i].bVk == (ky >= 0 ? TILTFEED_VK_DOWN : TILTFEED_VK_UP))
            uVertical++;
        else
            abort();
    }
    if (uHorizontal != nx || uVertical != ny)
        abort();
    return 0;
}
