/*
 * The arithmetic of the opt-in guards and comforts, without Win32:
 *  - Tiltfeed: a dead zone in degrees and "level is how I hold it", the
 *    posture at the moment the target comes to the front taken as level;
 *  - Jolt: a quiet time after the last keyboard or mouse input;
 *  - Lockwatch: a movement threshold in thousandths of g, and the decision
 *    whether the speaker must be raised again while the alarm sounds;
 *  - the settings page: its number fields and their ranges.
 * Every setting is off at 0; with all of them off the runtimes behave as
 * they always did. Compiled into the runtimes, the page and the native tests.
 */
#ifndef EXTRAS_EXTRAPURE_H
#define EXTRAS_EXTRAPURE_H

#include <stddef.h>
#include <stdint.h>

/* Value names, beside the runtimes' own values:
 *   HKCU "...\Tiltfeed\<item>"  EXTRA_VAL_DEADZONE, EXTRA_VAL_LEVELATFRONT
 *   HKCU "...\Jolt"             EXTRA_VAL_QUIETTIME
 *   HKLM "...\Lockwatch"        EXTRA_VAL_MOVETHRESHOLD, EXTRA_VAL_HOLDALARM */
#define EXTRA_VAL_DEADZONE      "ExtraDeadZone"       /* DWORD, degrees */
#define EXTRA_VAL_LEVELATFRONT  "ExtraLevelAtFront"   /* DWORD, 0 or 1 */
#define EXTRA_VAL_QUIETTIME     "ExtraQuietTime"      /* DWORD, milliseconds */
#define EXTRA_VAL_MOVETHRESHOLD "ExtraMoveThreshold"  /* DWORD, thousandths of g */
#define EXTRA_VAL_HOLDALARM     "ExtraHoldAlarm"      /* DWORD, 0 or 1 */

/* Largest values; a larger stored value (only by hand) counts as this. */
#define EXTRA_MAX_DEADZONE      45u
#define EXTRA_MAX_QUIETTIME     10000u
#define EXTRA_MAX_MOVETHRESHOLD 1000u

/* How often the held alarm looks at the speaker, milliseconds. */
#define EXTRA_HOLD_PERIOD       1000u

/* A stored number limited to [0, dwMax]. */
uint32_t ExtraClamp(uint32_t dwValue, uint32_t dwMax);
/* A stored on/off value: anything but 0 is on. */
int ExtraFlag(uint32_t dwValue);

/* Tiltfeed: per-item settings and what the tick remembers between ticks. */
typedef struct EXTRAFEED {
    uint32_t dwDeadZone;    /* degrees, 0 = off */
    int bLevelAtFront;      /* 1 = the posture when the target comes to the front is level */
    int bLevelTaken;        /* a level posture has been taken since the target came to the front */
    float fLevelX;
    float fLevelY;
} EXTRAFEED;

/* Either setting is on: the tick has angles to adjust. */
int ExtraFeedActive(const EXTRAFEED *pFeed);

/* The target left the front (or was never in front): the next reading in
 * front is taken as level again. */
void ExtraFeedLeftFront(EXTRAFEED *pFeed);

/* An angle inside the dead zone (|angle| <= zone) counts as level (0);
 * outside it the angle is used as it is. Zone 0 and NaN pass unchanged. */
float ExtraDeadZoneAngle(float fAngle, uint32_t dwDeadZone);

/* The angle measured from a level posture, limited to the -90..90 range of
 * a tilt so that the engine never sees more than full tilt. */
float ExtraRecentreAngle(float fAngle, float fLevel);

/* Adjusts one reading taken while the target is in front: with
 * "level at front" the first reading after coming to the front becomes the
 * level and every reading is measured from it; then the dead zone. With both
 * settings off the angles are left exactly as they are. */
void ExtraFeedAdjust(EXTRAFEED *pFeed, float *pfAngleX, float *pfAngleY);

/* Jolt: 1 when the last input (tick count dwLastInput) lies less than
 * dwQuietTime milliseconds before dwNow; tick counts wrap around. Quiet
 * time 0 never gates. */
int ExtraInQuietTime(uint32_t dwNow, uint32_t dwLastInput, uint32_t dwQuietTime);

/* Lockwatch: a reading counts as movement when it differs from the baseline
 * by at least the threshold (thousandths of g) on either axis. Threshold 0:
 * any change, compared exactly (+0.0 equals -0.0, NaN is unchanged). */
int ExtraIsMovement(float fBaseX, float fBaseY, float fX, float fY, uint32_t dwThreshold);

/* Lockwatch: while the alarm is held the speaker must be unmuted at full
 * volume; 1 when what was read (mute value, volume percentage) is not that. */
int ExtraSpeakerNeedsRaise(uint32_t dwMute, uint32_t dwPercent);

/* The page: a decimal number field, blanks around it allowed. Returns 1 with
 * *pdwValue set when the text is a number in [0, dwMax]; 0 otherwise
 * (*pdwValue untouched). */
int ExtraParseNumber(const char *pszText, uint32_t dwMax, uint32_t *pdwValue);

#endif
