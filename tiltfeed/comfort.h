/*
 * Comforts of a Tiltfeed item, opt-in and off at 0, with no Win32:
 *  - a dead zone: an angle of at most this many degrees counts as level;
 *  - "level is how I hold it": the posture at the moment the target comes
 *    to the front is level, and every angle is measured from it.
 * With both off the angles reach the engine exactly as read. Compiled into
 * Feedrun, the benchmarks and the native tests.
 */
#ifndef TILTFEED_COMFORT_H
#define TILTFEED_COMFORT_H

#include <stdint.h>

/* Largest dead zone, degrees; a larger stored value counts as this. */
#define FEEDCOMFORT_MAX_DEADZONE 45u

/* The item's settings and what the tick remembers between ticks. */
typedef struct FEEDCOMFORT {
    uint32_t dwDeadZone;    /* degrees, 0 = off */
    int bLevelAtFront;      /* 1 = the posture when the target comes to the front is level */
    int bLevelTaken;        /* a level posture has been taken since the target came to the front */
    float fLevelX;
    float fLevelY;
} FEEDCOMFORT;

/* Either setting is on: the tick has angles to adjust. */
int FeedComfortActive(const FEEDCOMFORT *pComfort);

/* The target left the front (or was never in front): the next reading in
 * front is taken as level again. */
void FeedComfortLeftFront(FEEDCOMFORT *pComfort);

/* An angle inside the dead zone (|angle| <= zone) counts as level (0);
 * outside it the angle is used as it is. Zone 0 and NaN pass unchanged. */
float DeadZoneAngle(float fAngle, uint32_t dwDeadZone);

/* The angle measured from a level posture, limited to the -90..90 range of
 * a tilt so that the engine never sees more than full tilt. */
float RecentreAngle(float fAngle, float fLevel);

/* Adjusts one reading taken while the target is in front: with
 * "level at front" the first reading after coming to the front becomes the
 * level and every reading is measured from it; then the dead zone. With both
 * settings off the angles are left exactly as they are. */
void FeedComfortAdjust(FEEDCOMFORT *pComfort, float *pfAngleX, float *pfAngleY);

#endif
