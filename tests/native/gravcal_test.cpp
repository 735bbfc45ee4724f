#include <gtest/gtest.h>
#include "calibration/measurement.h"
#include <vector>

namespace {

/* A measurement filled as the dialog fills it, one reading pair per sample. */
CalMeasurement Take(const std::vector<uint16_t> &x, const std::vector<uint16_t> &y)
{
    CalMeasurement m;
    ResetMeasurement(&m);
    for (size_t i = 0; i < CAL_SAMPLE_COUNT; i++) {
        uint16_t *pwX = nullptr, *pwY = nullptr;
        EXPECT_TRUE(NextSampleSlot(&m, &pwX, &pwY));
        *pwX = x.at(i);
        *pwY = y.at(i);
        CountSample(&m);
    }
    return m;
}

std::vector<uint16_t> Same(uint16_t w) { return std::vector<uint16_t>(CAL_SAMPLE_COUNT, w); }

/* n readings of w first, the rest base. */
std::vector<uint16_t> With(uint16_t base, int n, uint16_t w)
{
    std::vector<uint16_t> v = Same(base);
    for (int i = 0; i < n; i++)
        v[i * 7 % CAL_SAMPLE_COUNT] = w;   /* scattered: the sort must gather them */
    return v;
}

} // namespace

TEST(GravcalMeasurement, WorkedExampleHighOutliersPass)
{
    CalMeasurement m = Take(With(512, 3, 530), Same(512));
    EXPECT_TRUE(EvaluateMeasurement(&m, CAL_PAGE_LEVEL));
    EXPECT_EQ(514, m.wMeanX);
    EXPECT_EQ(512, m.wMeanY);
    EXPECT_EQ(514, m.zb.wLevelX);
    EXPECT_EQ(512, m.zb.wLevelY);
    /* Sorted in place, each axis on its own. */
    EXPECT_EQ(512, m.awX[16]);
    EXPECT_EQ(530, m.awX[17]);
}

TEST(GravcalMeasurement, WorkedExampleLowOutliersFail)
{
    CalMeasurement m = Take(With(512, 3, 494), Same(512));
    EXPECT_FALSE(EvaluateMeasurement(&m, CAL_PAGE_LEVEL));
    EXPECT_EQ(510, m.wMeanX);
    /* The failed means are stored all the same. */
    EXPECT_EQ(510, m.zb.wLevelX);
    EXPECT_EQ(512, m.zb.wLevelY);
}

TEST(GravcalMeasurement, LevelRangeBounds)
{
    struct { uint16_t wX, wY; bool bGood; int line; } cases[] = {
        { 409, 512, true, __LINE__ },  { 616, 512, true, __LINE__ },
        { 408, 512, false, __LINE__ }, { 617, 512, false, __LINE__ },
        { 512, 409, true, __LINE__ },  { 512, 616, true, __LINE__ },
        { 512, 408, false, __LINE__ }, { 512, 617, false, __LINE__ },
        { 0, 0, false, __LINE__ },     /* the manager never answered */
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        CalMeasurement m = Take(Same(c.wX), Same(c.wY));
        EXPECT_EQ(c.bGood, EvaluateMeasurement(&m, CAL_PAGE_LEVEL) != 0);
    }
}

TEST(GravcalMeasurement, TippedRangeBounds)
{
    struct { uint16_t w; bool bGood; int line; } cases[] = {
        { 341, true, __LINE__ }, { 684, true, __LINE__ },
        { 340, false, __LINE__ }, { 685, false, __LINE__ },
        { 458, true, __LINE__ }, { 575, true, __LINE__ }, { 512, true, __LINE__ },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        /* Page 1 judges X only, page 2 Y only; the other axis is just still. */
        CalMeasurement side = Take(Same(c.w), Same(100));
        EXPECT_EQ(c.bGood, EvaluateMeasurement(&side, CAL_PAGE_SIDE) != 0);
        EXPECT_EQ(c.w, side.zb.wSideX);
        CalMeasurement fwd = Take(Same(100), Same(c.w));
        EXPECT_EQ(c.bGood, EvaluateMeasurement(&fwd, CAL_PAGE_FORWARD) != 0);
        EXPECT_EQ(c.w, fwd.zb.wForwardY);
    }
}

TEST(GravcalMeasurement, EachPageStoresOnlyItsWords)
{
    CalMeasurement m;
    ResetMeasurement(&m);
    m.zb = { 11, 22, 33, 44 };
    m.dwCount = CAL_SAMPLE_COUNT;
    for (int i = 0; i < CAL_SAMPLE_COUNT; i++) { m.awX[i] = 600; m.awY[i] = 420; }
    EXPECT_TRUE(EvaluateMeasurement(&m, CAL_PAGE_SIDE));
    EXPECT_EQ(600, m.zb.wSideX);
    EXPECT_EQ(11, m.zb.wLevelX);
    EXPECT_EQ(22, m.zb.wLevelY);
    EXPECT_EQ(44, m.zb.wForwardY);
    EXPECT_TRUE(EvaluateMeasurement(&m, CAL_PAGE_FORWARD));
    EXPECT_EQ(420, m.zb.wForwardY);
    EXPECT_EQ(600, m.zb.wSideX);
    /* Out of the three pages: nothing stored, nothing good. */
    CalZeroBase before = m.zb;
    EXPECT_FALSE(EvaluateMeasurement(&m, 3));
    EXPECT_FALSE(CheckMeasurement(&m, 3));
    EXPECT_EQ(before.wLevelX, m.zb.wLevelX);
    EXPECT_EQ(before.wForwardY, m.zb.wForwardY);
}

TEST(GravcalMeasurement, StillnessCountsDeviatingPairs)
{
    /* Y holds still at 512; sorted, the deviating X readings are the
     * smallest (pairs 0, 1, ...) or the largest (pairs 19, 18, ...). Each
     * outlier set moves the mean by less than the tolerance. */
    struct { int nLow, nHigh; bool bGood; int line; } cases[] = {
        { 2, 0, true, __LINE__ },   /* two deviating pairs */
        { 0, 2, true, __LINE__ },
        { 3, 0, false, __LINE__ },  /* pairs 0, 1, 2 */
        { 1, 1, true, __LINE__ },
        { 2, 1, true, __LINE__ },   /* 0, 1 and 19: the third is the last pair */
        { 2, 2, false, __LINE__ },  /* 0, 1, 18 */
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<uint16_t> x = Same(512);
        for (int i = 0; i < c.nLow; i++) x[i] = 480;
        for (int i = 0; i < c.nHigh; i++) x[CAL_SAMPLE_COUNT - 1 - i] = 540;
        CalMeasurement m = Take(x, Same(512));
        EXPECT_EQ(c.bGood, EvaluateMeasurement(&m, CAL_PAGE_LEVEL) != 0)
            << "mean X " << m.wMeanX;
    }
}

TEST(GravcalMeasurement, StillnessLooksAtBothAxesAndEveryPage)
{
    /* Three deviating Y readings fail page 1, whose range test is on X. */
    CalMeasurement m = Take(Same(600), With(512, 3, 470));
    EXPECT_FALSE(EvaluateMeasurement(&m, CAL_PAGE_SIDE));
    /* A deviation of exactly the tolerance still counts as still. */
    std::vector<uint16_t> y = Same(512);
    y[0] = y[1] = y[2] = 506;
    y[3] = y[4] = y[5] = 518;
    m = Take(Same(512), y);
    EXPECT_TRUE(EvaluateMeasurement(&m, CAL_PAGE_LEVEL));
    EXPECT_EQ(512, m.wMeanY);
    /* One count beyond it on three pairs does not. */
    y[0] = y[1] = y[2] = 505;
    y[3] = y[4] = y[5] = 519;
    m = Take(Same(512), y);
    EXPECT_FALSE(EvaluateMeasurement(&m, CAL_PAGE_LEVEL));
}

TEST(GravcalMeasurement, WildReadingsDoNotWrapIntoAPlausibleMean)
{
    /* Two huge readings whose sum would come back to 1024 in 16 bits: a
     * 16-bit sum gives mean 512 and passes; the true mean is far out. */
    std::vector<uint16_t> x = Same(512);
    x[5] = 33280;
    x[9] = 33280;
    x[13] = 65535;
    CalMeasurement m = Take(x, Same(512));
    EXPECT_FALSE(EvaluateMeasurement(&m, CAL_PAGE_LEVEL));
    EXPECT_EQ((16 * 512 + 2 * 33280) / 18, m.wMeanX);
}

TEST(GravcalMeasurement, SamplingStopsAtTwentyAndRestartsCleared)
{
    CalMeasurement m;
    ResetMeasurement(&m);
    uint16_t *pwX = nullptr, *pwY = nullptr;
    for (int i = 0; i < CAL_SAMPLE_COUNT; i++) {
        ASSERT_TRUE(NextSampleSlot(&m, &pwX, &pwY));
        EXPECT_EQ(&m.awX[i], pwX);
        *pwX = 7; *pwY = 8;
        CountSample(&m);
    }
    EXPECT_FALSE(NextSampleSlot(&m, &pwX, &pwY));
    CountSample(&m);
    EXPECT_EQ((uint32_t)CAL_SAMPLE_COUNT, m.dwCount);
    /* A new measurement starts from zeroed readings: a failed read stays 0. */
    m.dwCount = 0;
    ASSERT_TRUE(NextSampleSlot(&m, &pwX, &pwY));
    for (int i = 0; i < CAL_SAMPLE_COUNT; i++) {
        EXPECT_EQ(0, m.awX[i]);
        EXPECT_EQ(0, m.awY[i]);
    }
}
