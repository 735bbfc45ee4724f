#include "jolt/autorotate.h"

void AutoRotateReset(AUTOROTATE *pState)
{
    pState->nPosture = AUTOROTATE_NONE;
    pState->dwSince = 0;
    pState->bActed = 0;
}

/* The angles as seen from a screen turned to nOrientation: held upright for
 * that screen, the returned angle is near 90 degrees and *pfAcross near 0. */
static float UprightAngle(int nOrientation, float fX, float fY, float *pfAcross)
{
    OrientTurnAngles((uint32_t)nOrientation, &fX, &fY);
    *pfAcross = fX;
    return fY;
}

int AutoRotatePosture(float fX, float fY)
{
    int n;

    for (n = (int)ORIENT_DEFAULT; n <= (int)ORIENT_270; n++) {
        float fAcross;
        float fUp = UprightAngle(n, fX, fY, &fAcross);
        /* Written so that NaN takes no posture. */
        if (fUp > AUTOROTATE_ENTER_DEG && fAcross <= AUTOROTATE_OTHER_DEG &&
            fAcross >= -AUTOROTATE_OTHER_DEG)
            return n;
    }
    return AUTOROTATE_NONE;
}

int AutoRotateSample(AUTOROTATE *pState, uint32_t dwNow, int bRead, float fX, float fY,
                     uint32_t dwScreen)
{
    float fAcross;

    if (!bRead) {
        AutoRotateReset(pState);
        return AUTOROTATE_NONE;
    }
    /* NaN leaves the posture as well. */
    if (pState->nPosture != AUTOROTATE_NONE &&
        !(UprightAngle(pState->nPosture, fX, fY, &fAcross) >= AUTOROTATE_LEAVE_DEG))
        AutoRotateReset(pState);

    if (pState->nPosture == AUTOROTATE_NONE) {
        pState->nPosture = AutoRotatePosture(fX, fY);
        pState->dwSince = dwNow;
        pState->bActed = 0;
        return AUTOROTATE_NONE;
    }
    /* Tick counts wrap; the difference does not. */
    if (pState->bActed || dwNow - pState->dwSince < AUTOROTATE_HOLD_MS - AUTOROTATE_SLACK_MS)
        return AUTOROTATE_NONE;
    pState->bActed = 1;
    if ((uint32_t)pState->nPosture == OrientFromDisplay(dwScreen))
        return AUTOROTATE_NONE;
    return pState->nPosture;
}
