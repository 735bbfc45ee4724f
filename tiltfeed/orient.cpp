#include "tiltfeed/orient.h"

void OrientTurnAngles(uint32_t dwOrientation, float *pfX, float *pfY)
{
    float fX = *pfX;
    float fY = *pfY;

    switch (OrientFromDisplay(dwOrientation)) {
    case ORIENT_90:
        /* The screen's right is the panel's top, its bottom the panel's right. */
        *pfX = -fY;
        *pfY = fX;
        break;
    case ORIENT_180:
        *pfX = -fX;
        *pfY = -fY;
        break;
    case ORIENT_270:
        /* The screen's right is the panel's bottom, its bottom the panel's left. */
        *pfX = fY;
        *pfY = -fX;
        break;
    default:
        break;
    }
}
