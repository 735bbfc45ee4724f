/*
 * Pure logic of the accelerometer manager stand-in: the sensor model, the
 * command language of the control channel and of scenario files, and the
 * command-line tokenizer. No Win32 here; Gravmgr.exe and the native unit
 * tests compile the same file.
 */
#ifndef GRAVMGR_MODEL_H
#define GRAVMGR_MODEL_H

#include <stddef.h>
#include <stdint.h>

/* Commands of the control channel and of scenario lines. */
enum GmCommandKind {
    GM_CMD_TILT = 1,   /* fArg[0..1] angles, lArg[0] glide milliseconds (0 = at once) */
    GM_CMD_ACCEL,      /* fArg[0..1] acceleration */
    GM_CMD_MOVE,
    GM_CMD_NOISE,      /* lArg[0] counts */
    GM_CMD_STILL,
    GM_CMD_GESTURE,    /* lArg[0] notify code */
    GM_CMD_HOLD,       /* lArg[0] milliseconds */
    GM_CMD_SERVE,      /* lArg[0] 0 or 1 */
    GM_CMD_DROP,
    GM_CMD_ZEROBASE,   /* lArg[0..3] */
    GM_CMD_INVALID,
    GM_CMD_VALID,
    GM_CMD_RAW,        /* lArg[0..1] */
    GM_CMD_CHURN,      /* lArg[0] 0 or 1 */
    GM_CMD_GET,        /* nField */
    GM_CMD_LOOP,
    GM_CMD_QUIT
};

/* Fields of `get`. */
enum GmField {
    GM_FIELD_ACTIVE = 1,
    GM_FIELD_MONOPOLY,
    GM_FIELD_OVERRIDE,
    GM_FIELD_ZB0, GM_FIELD_ZB1, GM_FIELD_ZB2, GM_FIELD_ZB3,
    GM_FIELD_NZB0, GM_FIELD_NZB1, GM_FIELD_NZB2, GM_FIELD_NZB3,
    GM_FIELD_RAWX,
    GM_FIELD_RAWY,
    GM_FIELD_VALID,
    GM_FIELD_UPDATES,
    GM_FIELD_RAWREQUESTS,
    GM_FIELD_OVERRIDES,
    GM_FIELD_ADOPTED,
    GM_FIELD_GESTURES
};

/* Gesture codes of the panel buttons: direction byte in bits 8-15. */
#define GM_GESTURE_LEFT    0x0001
#define GM_GESTURE_FORWARD 0x0101
#define GM_GESTURE_RIGHT   0x0201
#define GM_GESTURE_BACK    0x0301

#define GM_HOLD_MAX_MS   60000
#define GM_GLIDE_MAX_MS  600000
#define GM_NOISE_MAX     100
#define GM_MOVE_STEP     0.05f

typedef struct GmCommand {
    int nKind;
    int nField;
    float fArg[2];
    int32_t lArg[4];
} GmCommand;

/*
 * Parses one command of cchText bytes (it need not be terminated; parsing
 * also stops at a zero byte). Words are separated by blanks or tabs.
 * Returns 1 and fills *pCmd, or 0 for an unknown or malformed command.
 */
int GmParseCommand(const char *pszText, size_t cchText, GmCommand *pCmd);

/*
 * A terminated decimal or 0x hexadecimal integer with an optional sign in
 * llMin..llMax; 1 and *plOut, or 0.
 */
int GmParseInt(const char *psz, int64_t llMin, int64_t llMax, int32_t *plOut);

/* One scenario entry: a command due at dwAtMs after the start. */
typedef struct GmScenarioEntry {
    uint32_t dwAtMs;
    GmCommand cmd;
} GmScenarioEntry;

/*
 * Parses a whole scenario: lines "<milliseconds> <command>", '#' starts a
 * comment, blank lines are skipped, times must not decrease. Returns 1 with
 * *pnCount entries; 0 with *pnErrorLine (1-based) for the first bad line or
 * when there are more than nMax entries.
 */
int GmParseScenario(const char *pText, size_t cbText, GmScenarioEntry *pEntries,
                    int nMax, int *pnCount, int *pnErrorLine);

/* The sensor model. */
typedef struct GmReadings {
    float fAccelX, fAccelY;
    uint16_t wRawX, wRawY;
} GmReadings;

/*
 * Readings for a tilt: acceleration sin(angle) in g plus the noise counts
 * scaled by the span, raw = level + round(sin(angle) * span) + noise,
 * clamped to 0..1023. Zero base: levelX, levelY, sideX, forwardY.
 */
void GmComputeReadings(float fAngleX, float fAngleY, const uint16_t awZeroBase[4],
                       int nNoiseX, int nNoiseY, GmReadings *pOut);

/* Clamps an angle to -90..90 (a NaN becomes 0). */
float GmClampAngle(float fAngle);

/* Plausible zero base: levels in 409..616, side and forward in 341..684. */
int GmIsZeroBasePlausible(const uint16_t awZeroBase[4]);

/* Linear glide from fFrom to fTo: the value after dwElapsed of dwTotal ms. */
float GmGlide(float fFrom, float fTo, uint32_t dwElapsed, uint32_t dwTotal);

/* Next noise sample in -nRange..nRange from a small generator state. */
int GmNextNoise(uint32_t *pdwSeed, int nRange);

/*
 * Command-line tokenizer: copies the next argument (quotes group blanks and
 * are removed) into pszArg (cchArg bytes, always terminated, truncated when
 * longer) and returns the position after it, or NULL when no argument is left.
 */
const char *GmNextArg(const char *pszCmdLine, char *pszArg, size_t cchArg);

#endif
