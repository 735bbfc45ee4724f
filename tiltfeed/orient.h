/*
 * The screen's orientation and the tilt. The accelerometer is fixed to the
 * computer, so its X angle always runs along the panel's long edge; once the
 * screen is turned, the screen's right and down point elsewhere on the
 * panel. The two angles are turned into the screen's frame before the
 * engine sees them, so that the pointer and the cursor keys go downhill as
 * the user sees the screen. No Win32 here.
 */
#ifndef TILTFEED_ORIENT_H
#define TILTFEED_ORIENT_H

#include <stdint.h>

/* Orientations, numbered as the display settings number them (DMDO_*):
 * the picture turned counter-clockwise on the panel by 0, 90, 180 or 270
 * degrees. At ORIENT_90 the screen's top is the panel's left edge; at
 * ORIENT_270 it is the panel's right edge. */
#define ORIENT_DEFAULT 0u
#define ORIENT_90      1u
#define ORIENT_180     2u
#define ORIENT_270     3u

/* A value the display settings reported; one that is none of the four
 * (a driver's oddity) counts as the default. */
static inline uint32_t OrientFromDisplay(uint32_t dwDisplayOrientation)
{
    return dwDisplayOrientation <= ORIENT_270 ? dwDisplayOrientation : ORIENT_DEFAULT;
}

/* 1 when going from one orientation to the other turns landscape into
 * portrait or back: the screen's width and height change places. */
static inline int OrientSwapsSize(uint32_t dwFrom, uint32_t dwTo)
{
    return (OrientFromDisplay(dwFrom) & 1u) != (OrientFromDisplay(dwTo) & 1u);
}

/* Turns the sensor's angles (X along the panel's long edge, positive with
 * its right edge lower; Y positive with its bottom edge lower) into the
 * screen's frame: positive X towards the screen's right, positive Y towards
 * its bottom. At ORIENT_DEFAULT the angles are left exactly as they are. */
void OrientTurnAngles(uint32_t dwOrientation, float *pfX, float *pfY);

#endif
