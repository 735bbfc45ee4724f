/*
 * Evaluation of one calibration measurement: twenty raw readings per axis
 * taken with the computer held still, turned into the means and the
 * zero-base words of the wizard page that took them, then judged by a range
 * test and a stillness test. No Win32 here: the page code and the native
 * unit tests share it.
 */
#ifndef CALIBRATION_MEASUREMENT_H
#define CALIBRATION_MEASUREMENT_H

#include <stdint.h>

#define CAL_SAMPLE_COUNT   20
#define CAL_PAGE_COUNT     3
#define CAL_PAGE_LEVEL     0   /* on its stand: levelX, levelY */
#define CAL_PAGE_SIDE      1   /* tipped onto its side: sideX */
#define CAL_PAGE_FORWARD   2   /* tipped forward: forwardY */

/* Range bounds of the means, inclusive. */
#define CAL_LEVEL_MIN      409
#define CAL_LEVEL_MAX      616
#define CAL_TIPPED_HIGH_MIN 458   /* tipped one way */
#define CAL_TIPPED_HIGH_MAX 684
#define CAL_TIPPED_LOW_MIN 341    /* tipped the other way */
#define CAL_TIPPED_LOW_MAX 575

/* Stillness: a pair deviates when either axis is more than this off its mean;
 * this many deviating pairs fail the measurement. */
#define CAL_STILL_TOLERANCE 6
#define CAL_STILL_MAX_DEVIATING 3

typedef struct CalZeroBase {
    uint16_t wLevelX;
    uint16_t wLevelY;
    uint16_t wSideX;
    uint16_t wForwardY;
} CalZeroBase;

typedef struct CalMeasurement {
    uint16_t awX[CAL_SAMPLE_COUNT];
    uint16_t awY[CAL_SAMPLE_COUNT];
    uint32_t dwCount;            /* samples taken, 0 .. CAL_SAMPLE_COUNT */
    uint16_t wMeanX;             /* the last means */
    uint16_t wMeanY;
    CalZeroBase zb;              /* the words measured so far */
} CalMeasurement;

#ifdef __cplusplus
extern "C" {
#endif

/* Clears the samples, the means and the zero-base words. */
void ResetMeasurement(CalMeasurement *pm);

/* The slots for the next sample (cleared on the first), or 0 (no slot) when
 * all twenty have been taken. The caller fills them and counts the sample
 * with CountSample. */
int NextSampleSlot(CalMeasurement *pm, uint16_t **ppwX, uint16_t **ppwY);
void CountSample(CalMeasurement *pm);

/* Sorts each axis, stores the means of the eighteen middle readings and the
 * page's zero-base words, and returns CheckMeasurement. Fails (0) for a page
 * outside 0 .. 2 without storing words. */
int EvaluateMeasurement(CalMeasurement *pm, uint32_t dwPage);

/* Range test of the page's stored words, then the stillness test of the
 * sorted readings around the last means. 1 good, 0 bad. */
int CheckMeasurement(const CalMeasurement *pm, uint32_t dwPage);

#ifdef __cplusplus
}
#endif

#endif
