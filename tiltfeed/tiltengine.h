/*
 * Tilt-to-input arithmetic: tilt angles become a tilt fraction per axis, the
 * fraction times a rate becomes pixels or key presses, and the key presses
 * become an ordered list of press/release records. No Win32 here; the thin
 * layer in feedtick.cpp turns the records into INPUT records for SendInput.
 */
#ifndef TILTFEED_TILTENGINE_H
#define TILTFEED_TILTENGINE_H

#include <stdint.h>

/* Virtual keys of the four cursor keys. */
#define TILTFEED_VK_LEFT  0x25
#define TILTFEED_VK_UP    0x26
#define TILTFEED_VK_RIGHT 0x27
#define TILTFEED_VK_DOWN  0x28

/* Item types. */
#define TILTFEED_TYPE_MOUSE     0
#define TILTFEED_TYPE_CURSORKEY 1

/* Presses per axis and tick are bounded: the settings page's largest rate
 * (20) at full tilt (90 degrees) gives 20, so no stored value inside the
 * page's ranges is cut; a hand-edited huge rate cannot make a tick's
 * record block grow beyond this. */
#define TILTFEED_MAX_KEYS_PER_AXIS 20
#define TILTFEED_MAX_KEY_RECORDS   (2 * 2 * TILTFEED_MAX_KEYS_PER_AXIS)

/* Bit pattern of the single-precision factor nearest to 1/90. */
#define TILTFEED_ONE_NINETIETH_BITS 0x3C360B61u

typedef struct KEYRECORD {
    uint8_t bVk;    /* one of TILTFEED_VK_* */
    uint8_t bKeyUp; /* 0 press, 1 release */
} KEYRECORD;

typedef struct MOUSESTEP {
    int32_t lDx;
    int32_t lDy;
} MOUSESTEP;

/* angle x (1/90 as a single), rounded to single precision. */
float TiltFraction(float fAngle);

/* rate x fraction in double precision, truncated toward zero to 32 bits.
 * NaN gives 0; values beyond the 32-bit range saturate. */
int32_t ScaleTilt(uint32_t uRate, float fFraction);

/* One relative move; zero lengths are a valid result. */
void BuildMouseStep(uint32_t uRate, float fFracX, float fFracY, MOUSESTEP *pStep);

/* Press/release pairs, horizontal key first in each round, the longer axis
 * continuing alone once the shorter is used up. Fills at most
 * TILTFEED_MAX_KEY_RECORDS records and returns how many (0 = nothing to send). */
uint32_t BuildKeyStep(uint32_t uRate, float fFracX, float fFracY,
                      KEYRECORD aRecords[TILTFEED_MAX_KEY_RECORDS]);

#endif
