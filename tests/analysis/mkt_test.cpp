// The mean kinetic temperature: a constant temperature is its own MKT, a few mixes worked out
// by hand, the same physical result from Fahrenheit data, and no overflow or underflow at the
// ends of any scale a data file can hold.
#include <gtest/gtest.h>

#include <vector>

#include "CaseName.h"
#include "analysis/Analysis.h"

namespace {

double toFahrenheit(double celsius) { return celsius * 9.0 / 5.0 + 32.0; }

struct MktCase {
    const char *name;
    std::vector<double> celsius;
    double mkt;   // dH/R / -ln(mean(exp(-dH/R / T_K))) - 273.15, dH/R = 10000 K
};

const MktCase kMkt[] = {
    {"constant 20", std::vector<double>(100, 20.0), 20.0},
    {"20 and 30", {20, 30}, 26.25988691600344},
    {"20 20 30", {20, 20, 30}, 24.599042737359014},
    {"0 and 40", {0, 40}, 33.434307960835554},
    {"minus 20 to 20", {-20, -10, 0, 10, 20}, 9.494325037223177},
    {"one excursion to 40", {25, 25, 25, 40}, 31.27513712778898},
};

class Mkt : public ::testing::TestWithParam<MktCase> {};

TEST_P(Mkt, CelsiusAndTheSameDataInFahrenheit) {
    const MktCase &c = GetParam();
    const int n = static_cast<int>(c.celsius.size());
    double mkt = 0;
    ASSERT_EQ(MeanKineticTemp(c.celsius.data(), n, 'C', &mkt), 0);
    EXPECT_NEAR(mkt, c.mkt, 1e-9);
    ASSERT_EQ(MeanKineticTemp(c.celsius.data(), n, 'c', &mkt), 0);
    EXPECT_NEAR(mkt, c.mkt, 1e-9);

    std::vector<double> fahrenheit;
    for (const double t : c.celsius) fahrenheit.push_back(toFahrenheit(t));
    double mktF = 0;
    ASSERT_EQ(MeanKineticTemp(fahrenheit.data(), n, 'F', &mktF), 0);
    EXPECT_NEAR(mktF, toFahrenheit(c.mkt), 1e-9);
    ASSERT_EQ(MeanKineticTemp(fahrenheit.data(), n, 'f', &mktF), 0);
    EXPECT_NEAR(mktF, toFahrenheit(c.mkt), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Analysis, Mkt, ::testing::ValuesIn(kMkt),
                         [](const auto &info) { return caseName(info.param.name); });

// exp(-10000 / 1.15) is far below the smallest double: computed as written, the sum of such
// terms would be 0 and its logarithm -infinity. Relative to the warmest value it stays exact.
TEST(Mkt, NeitherUnderflowsNorOverflowsAtTheEndsOfTheScale) {
    double mkt = 0;
    const std::vector<double> nearZeroKelvin(16000, -272.0);
    ASSERT_EQ(MeanKineticTemp(nearZeroKelvin.data(), 16000, 'C', &mkt), 0);
    EXPECT_NEAR(mkt, -272.0, 1e-9);

    const double mixed[] = {-272.0, -200.0, 9999.0};
    ASSERT_EQ(MeanKineticTemp(mixed, 3, 'C', &mkt), 0);
    EXPECT_GT(mkt, -200.0);
    EXPECT_LT(mkt, 9999.0);

    const double coldF[] = {-457.0, -456.0};   // about 1.5 K and 2.0 K
    ASSERT_EQ(MeanKineticTemp(coldF, 2, 'F', &mkt), 0);
    EXPECT_GT(mkt, -457.0);
    EXPECT_LT(mkt, -456.0);
}

TEST(Mkt, RefusesWhatHasNoKelvinValue) {
    double mkt = 42;
    const double belowAbsoluteZero[] = {20.0, -300.0};
    EXPECT_EQ(MeanKineticTemp(belowAbsoluteZero, 2, 'C', &mkt), ANALYSIS_ERR_TEMPERATURE);
    const double absoluteZero[] = {-273.15};
    EXPECT_EQ(MeanKineticTemp(absoluteZero, 1, 'C', &mkt), ANALYSIS_ERR_TEMPERATURE);
    const double fine[] = {20.0};
    EXPECT_EQ(MeanKineticTemp(fine, 1, 'K', &mkt), ANALYSIS_ERR_UNIT);   // no scale for the letter
    EXPECT_EQ(MeanKineticTemp(fine, 1, ' ', &mkt), ANALYSIS_ERR_UNIT);
    EXPECT_EQ(MeanKineticTemp(fine, 0, 'C', &mkt), ANALYSIS_ERR_COUNT);
    EXPECT_EQ(mkt, 42);
}

}   // namespace
