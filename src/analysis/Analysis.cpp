// The analysis functions over the GNU Scientific Library, and the mean kinetic temperature.
#include "analysis/Analysis.h"

#include <gsl/gsl_histogram.h>
#include <gsl/gsl_statistics_double.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr double kZeroCelsiusK = 273.15;

// A temperature of the unit letter in kelvin; false for a letter without a scale.
bool toKelvin(double value, char unit, double *kelvin) {
    switch (unit) {
        case 'C':
        case 'c': *kelvin = value + kZeroCelsiusK; return true;
        case 'F':
        case 'f': *kelvin = (value - 32.0) * 5.0 / 9.0 + kZeroCelsiusK; return true;
        default: return false;
    }
}

double fromKelvin(double kelvin, char unit) {
    const double celsius = kelvin - kZeroCelsiusK;
    return unit == 'F' || unit == 'f' ? celsius * 9.0 / 5.0 + 32.0 : celsius;
}

}   // namespace

int StdDev(const double values[], int n, double *mean, double *standardDeviation) {
    if (!values || !mean || !standardDeviation) return ANALYSIS_ERR_NULL;
    if (n < 1) return ANALYSIS_ERR_COUNT;
    const std::size_t count = static_cast<std::size_t>(n);
    const double m = gsl_stats_mean(values, 1, count);
    // The sample deviation divides by n - 1: one value has none to speak of.
    *standardDeviation = n > 1 ? gsl_stats_sd_m(values, 1, count, m) : 0.0;
    *mean = m;
    return 0;
}

int MaxMin1D(const double values[], int n, double *maximum, int *maximumIndex, double *minimum, int *minimumIndex) {
    if (!values || !maximum || !minimum) return ANALYSIS_ERR_NULL;
    if (n < 1) return ANALYSIS_ERR_COUNT;
    std::size_t lowest = 0;
    std::size_t highest = 0;
    gsl_stats_minmax_index(&lowest, &highest, values, 1, static_cast<std::size_t>(n));
    *maximum = values[highest];
    *minimum = values[lowest];
    if (maximumIndex) *maximumIndex = static_cast<int>(highest);
    if (minimumIndex) *minimumIndex = static_cast<int>(lowest);
    return 0;
}

int Histogram(const double values[], int n, double lower, double upper, int counts[], double axis[], int intervals) {
    if (!values || !counts || !axis) return ANALYSIS_ERR_NULL;
    if (n < 1) return ANALYSIS_ERR_COUNT;
    if (intervals < 1) return ANALYSIS_ERR_INTERVALS;
    if (!std::isfinite(lower) || !std::isfinite(upper) || !(lower < upper)) return ANALYSIS_ERR_BOUNDS;

    // The library's histogram over arrays of our own: nothing for its allocator to fail.
    const std::size_t k = static_cast<std::size_t>(intervals);
    std::vector<double> range(k + 1);
    std::vector<double> bin(k);
    gsl_histogram h{k, range.data(), bin.data()};
    gsl_histogram_set_ranges_uniform(&h, lower, upper);
    for (int i = 0; i < n; ++i) {
        // Intervals are closed below and open above; the upper bound itself belongs to the last
        // one. A value outside is refused by the library (its error handler is not called).
        if (values[i] == upper)
            bin[k - 1] += 1.0;
        else
            gsl_histogram_increment(&h, values[i]);
    }
    for (std::size_t i = 0; i < k; ++i) {
        counts[i] = static_cast<int>(bin[i]);
        axis[i] = (range[i] + range[i + 1]) / 2.0;
    }
    return 0;
}

int MeanKineticTemp(const double values[], int n, char unit, double *mkt) {
    if (!values || !mkt) return ANALYSIS_ERR_NULL;
    if (n < 1) return ANALYSIS_ERR_COUNT;
    double kelvin = 0.0;
    if (!toKelvin(0.0, unit, &kelvin)) return ANALYSIS_ERR_UNIT;

    // The exponents x_i = -(dH/R) / T_i are all negative; the largest, m, is the warmest one's.
    double warmest = 0.0;
    for (int i = 0; i < n; ++i) {
        toKelvin(values[i], unit, &kelvin);
        if (!std::isfinite(kelvin) || !(kelvin > 0.0)) return ANALYSIS_ERR_TEMPERATURE;
        if (kelvin > warmest) warmest = kelvin;
    }
    const double m = -MKT_ACTIVATION_K / warmest;
    // ln(sum(exp(x_i)) / n) = m + ln(sum(exp(x_i - m))) - ln(n): every term lies in (0, 1] and
    // the warmest one's is 1, so the sum lies in [1, n] and nothing overflows or vanishes.
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        toKelvin(values[i], unit, &kelvin);
        sum += std::exp(-MKT_ACTIVATION_K / kelvin - m);
    }
    const double logMean = m + std::log(sum) - std::log(static_cast<double>(n));
    *mkt = fromKelvin(-MKT_ACTIVATION_K / logMean, unit);
    return 0;
}
