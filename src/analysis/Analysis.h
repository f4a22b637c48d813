// The analysis functions of the statistics window: mean and standard deviation, extremes,
// histogram, and the mean kinetic temperature. The first three are thin wrappers over the GNU
// Scientific Library with the window's calling convention (values and their number, results
// through pointers, a status as the result); the fourth is our own. No state, no Qt.
//
// Conventions the window relies on:
// - the standard deviation is the sample standard deviation (divisor n - 1; 0 for one value);
// - a histogram has equal intervals between its two bounds; interval i holds the values v with
//   lower + i * width <= v < lower + (i + 1) * width, so a value on an inner border counts in
//   the upper interval, and the last interval also holds a value equal to the upper bound;
//   values outside the bounds (and NaN) are not counted; the axis value of an interval is its
//   centre.
// Every function checks its arguments itself (the library's own error handler, which ends the
// process, is never reached) and leaves its results untouched on failure.
#pragma once

// Results of the analysis functions: 0 or one of these.
enum {
    ANALYSIS_ERR_NULL = -1,          // a result or the values are missing
    ANALYSIS_ERR_COUNT = -2,         // no values (n < 1)
    ANALYSIS_ERR_BOUNDS = -3,        // histogram bounds not finite, or lower >= upper
    ANALYSIS_ERR_INTERVALS = -4,     // fewer than one interval
    ANALYSIS_ERR_UNIT = -5,          // a unit letter without a temperature scale
    ANALYSIS_ERR_TEMPERATURE = -6,   // a temperature at or below absolute zero, or not finite
};

// The activation energy over the gas constant, in kelvin, of the mean kinetic temperature:
// 83.144 kJ/mol / 8.3144 J/(mol K), the usual default for stored products.
inline constexpr double MKT_ACTIVATION_K = 10000.0;

// Mean and sample standard deviation of values[0..n-1].
int StdDev(const double values[], int n, double *mean, double *standardDeviation);

// Largest and smallest of values[0..n-1] and the index of their first occurrence (either index
// pointer may be null).
int MaxMin1D(const double values[], int n, double *maximum, int *maximumIndex, double *minimum, int *minimumIndex);

// Counts values[0..n-1] into `intervals` equal intervals from lower to upper: counts[i] is the
// number of values in interval i, axis[i] its centre (both arrays hold `intervals` entries).
int Histogram(const double values[], int n, double lower, double upper, int counts[], double axis[], int intervals);

// The mean kinetic temperature of values[0..n-1], temperatures in the unit of the letter
// ('C'/'c' Celsius, 'F'/'f' Fahrenheit), into *mkt in the same unit:
//   T = (dH/R) / (-ln(sum(exp(-(dH/R) / T_i)) / n)), T_i in kelvin.
// Computed in a form that neither overflows nor underflows for any temperature above absolute
// zero (the exponents are taken relative to the largest).
int MeanKineticTemp(const double values[], int n, char unit, double *mkt);
