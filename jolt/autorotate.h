/*
 * Automatic screen rotation, the decision without Win32: from the tilt
 * angles sampled over time, the orientation the screen should be turned to.
 * Joltrun samples while the opt-in setting is on (jolt/joltrotate.cpp;
 * the setting is JOLT_VAL_AUTOROTATE of jolt/joltstore.h). Compiled into
 * Joltrun and the native tests.
 *
 * Held upright, the computer stands on one of its edges: the angle across
 * that edge is near 90 degrees, the other near 0. An orientation is taken
 * when one angle is beyond 60 degrees and the other within 30, held for a
 * second; the posture is left only when its angle falls below 45 degrees,
 * so that a hand wavering around 60 neither restarts the second nor acts
 * twice. A posture acts once: a screen the user turned back by hand stays
 * so until the computer is turned into another posture.
 */
#ifndef JOLT_AUTOROTATE_H
#define JOLT_AUTOROTATE_H

#include <stdint.h>
#include "tiltfeed/orient.h"

#define AUTOROTATE_PERIOD_MS 500u   /* two samples a second */
#define AUTOROTATE_HOLD_MS   1000u
/* Window timers and the tick count are coarse (about 16 ms on the
 * computers this runs on): a hold that measures this much short of the
 * second after two sample periods counts as held. */
#define AUTOROTATE_SLACK_MS  32u
#define AUTOROTATE_ENTER_DEG 60.0f  /* one angle beyond this ... */
#define AUTOROTATE_OTHER_DEG 30.0f  /* ... the other within this */
#define AUTOROTATE_LEAVE_DEG 45.0f  /* the posture is left below this */

#define AUTOROTATE_NONE      (-1)

/* What the decision remembers between samples. All zero is not a valid
 * state: start with AutoRotateReset. */
typedef struct AUTOROTATE {
    int nPosture;       /* ORIENT_* whose upright posture is held, or AUTOROTATE_NONE */
    uint32_t dwSince;   /* tick count of the first sample in that posture */
    int bActed;         /* the posture was held long enough and has been acted on */
} AUTOROTATE;

void AutoRotateReset(AUTOROTATE *pState);

/* The orientation whose upright posture the angles show (one beyond 60
 * degrees, the other within 30), or AUTOROTATE_NONE. */
int AutoRotatePosture(float fX, float fY);

/*
 * One sample at tick count dwNow. bRead 0: no angles could be had (another
 * window holds the accelerometer, or the manager does not answer): nothing
 * turns, and a posture must be held for a whole second again afterwards.
 * dwScreen is the screen's orientation now (ORIENT_*). Returns the
 * orientation to turn the screen to, or AUTOROTATE_NONE.
 */
int AutoRotateSample(AUTOROTATE *pState, uint32_t dwNow, int bRead, float fX, float fY,
                     uint32_t dwScreen);

#endif
