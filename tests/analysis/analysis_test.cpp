// The analysis functions against values worked out by hand: mean and sample standard
// deviation, extremes with their first index, histograms (a value on an inner border counts in
// the upper interval, the upper bound in the last one, the axis names each interval's centre),
// and the argument checks that keep the library's own error handler from ever running.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CaseName.h"
#include "analysis/Analysis.h"

namespace {

// ---------------------------------------------------------------- mean and deviation

struct SpreadCase {
    const char *name;
    std::vector<double> values;
    double mean;
    double standardDeviation;
};

// sqrt(sum of squared deviations / (n - 1)), worked out on paper.
const SpreadCase kSpread[] = {
    {"one to four", {1, 2, 3, 4}, 2.5, 1.2909944487358056},               // sqrt(5 / 3)
    {"eight values", {2, 4, 4, 4, 5, 5, 7, 9}, 5.0, 2.138089935299395},   // sqrt(32 / 7)
    {"constant", {21.5, 21.5, 21.5}, 21.5, 0.0},
    {"one value", {7.0}, 7.0, 0.0},                        // no spread to speak of
    {"negative", {-10, -20}, -15.0, 7.0710678118654755},   // sqrt(50)
};

class Spread : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(Spread, MeanAndSampleDeviation) {
    const SpreadCase &c = GetParam();
    double mean = -1, sd = -1;
    ASSERT_EQ(StdDev(c.values.data(), static_cast<int>(c.values.size()), &mean, &sd), 0);
    EXPECT_NEAR(mean, c.mean, 1e-12);
    EXPECT_NEAR(sd, c.standardDeviation, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Analysis, Spread, ::testing::ValuesIn(kSpread),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- extremes

TEST(Analysis, ExtremesAndTheirFirstIndex) {
    const double values[] = {3, -1, 7, 7, -1, 2};
    double max = 0, min = 0;
    int maxIndex = -1, minIndex = -1;
    ASSERT_EQ(MaxMin1D(values, 6, &max, &maxIndex, &min, &minIndex), 0);
    EXPECT_EQ(max, 7);
    EXPECT_EQ(maxIndex, 2);
    EXPECT_EQ(min, -1);
    EXPECT_EQ(minIndex, 1);
    // the indexes may be left out; one value is both extremes
    ASSERT_EQ(MaxMin1D(values + 5, 1, &max, nullptr, &min, nullptr), 0);
    EXPECT_EQ(max, 2);
    EXPECT_EQ(min, 2);
}

// ---------------------------------------------------------------- histograms

struct HistogramCase {
    const char *name;
    std::vector<double> values;
    double lower, upper;
    std::vector<int> counts;
    std::vector<double> axis;
};

const HistogramCase kHistograms[] = {
    // intervals [0,1) [1,2) [2,3) [3,4]: 1 and 2 and 3 lie on inner borders and count above,
    // 4 is the upper bound and counts in the last interval
    {"inner borders count above", {0, 1, 2, 2.5, 3, 4}, 0, 4, {1, 1, 2, 2}, {0.5, 1.5, 2.5, 3.5}},
    {"outside values are not counted", {-0.5, 0.5, 4.5, 3.9}, 0, 4, {1, 0, 0, 1}, {0.5, 1.5, 2.5, 3.5}},
    {"one interval holds all", {0, 2, 4}, 0, 4, {3}, {2.0}},
    // the window's own bounds: minimum - 1 and maximum + 1, here 19 to 26 in 10 intervals of 0.7;
    // 22.5 lies on the border of intervals 4 and 5
    {"window bounds",
     {20.0, 20.5, 21.0, 21.5, 22.0, 22.5, 23.0, 23.5, 24.0, 24.5, 25.0},
     19,
     26,
     {0, 1, 2, 1, 1, 2, 1, 2, 1, 0},
     {19.35, 20.05, 20.75, 21.45, 22.15, 22.85, 23.55, 24.25, 24.95, 25.65}},
};

class Histograms : public ::testing::TestWithParam<HistogramCase> {};

TEST_P(Histograms, CountsAndCentres) {
    const HistogramCase &c = GetParam();
    const int k = static_cast<int>(c.counts.size());
    std::vector<int> counts(k, -1);
    std::vector<double> axis(k, -1);
    ASSERT_EQ(
        Histogram(c.values.data(), static_cast<int>(c.values.size()), c.lower, c.upper, counts.data(), axis.data(), k),
        0);
    EXPECT_EQ(counts, c.counts);
    for (int i = 0; i < k; ++i) EXPECT_NEAR(axis[i], c.axis[i], 1e-9) << "interval " << i;
}

INSTANTIATE_TEST_SUITE_P(Analysis, Histograms, ::testing::ValuesIn(kHistograms),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- bad arguments

TEST(Analysis, BadArgumentsAreRefusedAndLeaveTheResults) {
    const double values[] = {1, 2, 3};
    double a = 42, b = 43;
    int counts[2] = {42, 42};
    double axis[2] = {42, 42};
    EXPECT_EQ(StdDev(values, 0, &a, &b), ANALYSIS_ERR_COUNT);
    EXPECT_EQ(StdDev(nullptr, 3, &a, &b), ANALYSIS_ERR_NULL);
    EXPECT_EQ(MaxMin1D(values, -1, &a, nullptr, &b, nullptr), ANALYSIS_ERR_COUNT);
    EXPECT_EQ(MaxMin1D(values, 3, nullptr, nullptr, &b, nullptr), ANALYSIS_ERR_NULL);
    EXPECT_EQ(a, 42);
    EXPECT_EQ(b, 43);
    EXPECT_EQ(Histogram(values, 3, 0, 4, counts, axis, 0), ANALYSIS_ERR_INTERVALS);
    EXPECT_EQ(Histogram(values, 3, 4, 4, counts, axis, 2), ANALYSIS_ERR_BOUNDS);
    EXPECT_EQ(Histogram(values, 3, 5, 4, counts, axis, 2), ANALYSIS_ERR_BOUNDS);
    EXPECT_EQ(Histogram(values, 3, 0, INFINITY, counts, axis, 2), ANALYSIS_ERR_BOUNDS);
    EXPECT_EQ(Histogram(values, 3, NAN, 4, counts, axis, 2), ANALYSIS_ERR_BOUNDS);
    EXPECT_EQ(Histogram(values, 0, 0, 4, counts, axis, 2), ANALYSIS_ERR_COUNT);
    EXPECT_EQ(counts[0], 42);
    EXPECT_EQ(axis[1], 42);
}

}   // namespace
