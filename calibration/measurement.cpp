#include "calibration/measurement.h"
#include "common/trace.h"
#include <string.h>

void ResetMeasurement(CalMeasurement *pm)
{
    memset(pm, 0, sizeof(*pm));
}

int NextSampleSlot(CalMeasurement *pm, uint16_t **ppwX, uint16_t **ppwY)
{
    if (pm->dwCount >= CAL_SAMPLE_COUNT)
        return 0;
    if (pm->dwCount == 0) {
        /* A reading the manager does not deliver stays 0 and is judged
         * like any other. */
        memset(pm->awX, 0, sizeof(pm->awX));
        memset(pm->awY, 0, sizeof(pm->awY));
    }
    *ppwX = &pm->awX[pm->dwCount];
    *ppwY = &pm->awY[pm->dwCount];
    return 1;
}

void CountSample(CalMeasurement *pm)
{
    if (pm->dwCount < CAL_SAMPLE_COUNT)
        pm->dwCount++;
}

static void SortReadings(uint16_t *pw, int n)
{
    int i, j;

    for (i = 1; i < n; i++) {
        uint16_t w = pw[i];
        for (j = i; j > 0 && pw[j - 1] > w; j--)
            pw[j] = pw[j - 1];
        pw[j] = w;
    }
}

/* Mean of the sorted readings without the smallest and the largest. The sum
 * is kept in 32 bits: eighteen 16-bit readings cannot overflow it, so a few
 * wild readings cannot wrap the sum back into a plausible mean. */
static uint16_t TrimmedMean(const uint16_t *pw)
{
    uint32_t dwSum = 0;
    int i;

    for (i = 1; i < CAL_SAMPLE_COUNT - 1; i++)
        dwSum += pw[i];
    return (uint16_t)(dwSum / (CAL_SAMPLE_COUNT - 2));
}

int EvaluateMeasurement(CalMeasurement *pm, uint32_t dwPage)
{
    if (dwPage >= CAL_PAGE_COUNT)
        return 0;

    /* After sorting, X[k] and Y[k] are the k-th smallest of their axis, not
     * readings of the same moment. */
    SortReadings(pm->awX, CAL_SAMPLE_COUNT);
    SortReadings(pm->awY, CAL_SAMPLE_COUNT);
    pm->wMeanX = TrimmedMean(pm->awX);
    pm->wMeanY = TrimmedMean(pm->awY);

    /* The words are stored before the check: a failed measurement leaves
     * its means behind, and the page stays unmeasured until a good one. */
    switch (dwPage) {
    case CAL_PAGE_LEVEL:
        pm->zb.wLevelX = pm->wMeanX;
        pm->zb.wLevelY = pm->wMeanY;
        break;
    case CAL_PAGE_SIDE:
        pm->zb.wSideX = pm->wMeanX;
        break;
    default:
        pm->zb.wForwardY = pm->wMeanY;
        break;
    }
    return CheckMeasurement(pm, dwPage);
}

static int InRange(uint16_t w, uint16_t wMin, uint16_t wMax)
{
    return w >= wMin && w <= wMax;
}

static int InTippedRange(uint16_t w)
{
    return InRange(w, CAL_TIPPED_HIGH_MIN, CAL_TIPPED_HIGH_MAX) ||
           InRange(w, CAL_TIPPED_LOW_MIN, CAL_TIPPED_LOW_MAX);
}

static int IsStill(const CalMeasurement *pm)
{
    /* 16-bit bounds; the range test has already rejected means near the
     * ends of the scale. */
    uint16_t wLowX = (uint16_t)(pm->wMeanX - CAL_STILL_TOLERANCE);
    uint16_t wHighX = (uint16_t)(pm->wMeanX + CAL_STILL_TOLERANCE);
    uint16_t wLowY = (uint16_t)(pm->wMeanY - CAL_STILL_TOLERANCE);
    uint16_t wHighY = (uint16_t)(pm->wMeanY + CAL_STILL_TOLERANCE);
    int nDeviating = 0;
    int k;

    /* The count is looked at before each pair, so the last pair (largest X
     * with largest Y) never decides. */
    for (k = 0; k < CAL_SAMPLE_COUNT; k++) {
        if (nDeviating >= CAL_STILL_MAX_DEVIATING)
            return 0;
        if (pm->awX[k] < wLowX || pm->awY[k] < wLowY ||
            pm->awX[k] > wHighX || pm->awY[k] > wHighY)
            nDeviating++;
    }
    return 1;
}

int CheckMeasurement(const CalMeasurement *pm, uint32_t dwPage)
{
    switch (dwPage) {
    case CAL_PAGE_LEVEL:
        if (!InRange(pm->zb.wLevelX, CAL_LEVEL_MIN, CAL_LEVEL_MAX)) {
            TRACE("Page 0. X data is out of range.\n");
            return 0;
        }
        if (!InRange(pm->zb.wLevelY, CAL_LEVEL_MIN, CAL_LEVEL_MAX)) {
            TRACE("Page 0. Y data is out of range.\n");
            return 0;
        }
        break;
    case CAL_PAGE_SIDE:
        if (!InTippedRange(pm->zb.wSideX)) {
            TRACE("Page 1. X data is out of range.\n");
            return 0;
        }
        break;
    case CAL_PAGE_FORWARD:
        if (!InTippedRange(pm->zb.wForwardY)) {
            TRACE("Page 2. Y data is out of range.\n");
            return 0;
        }
        break;
    default:
        return 0;
    }
    return IsStill(pm);
}
