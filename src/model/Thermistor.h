// The NTC thermistor of model index 1.
//
// That logger reports, and takes its alarm limits as, the resistance of its thermistor in
// parallel with a fixed 511 kOhm resistor, in units of 100 Ohm (its "wire value"). This module
// converts between resistance and temperature and between the thermistor and the wire value.
// The precisions (single, double, extended) are those of the logger's reference conversion;
// they decide the last digit of some results.
#pragma once

#include <cstdint>

// Steinhart-Hart coefficients, single precision.
inline constexpr float THERM_A = 0.00075105f;
inline constexpr float THERM_B = 0.00021704f;
inline constexpr float THERM_C = 1.0266e-7f;

// The parallel resistor in Ohm and in units of 100 Ohm.
inline constexpr double Rp = 511000.0;
inline constexpr double Rp100 = 5110.0;

// Thermistor resistance in Ohm at -40, -35, ..., +90 degrees C.
extern const std::int32_t resTable[27];

// Valid raw readings of the thermistor logger.
inline constexpr int THERM_RAW_MIN = 75;
inline constexpr int THERM_RAW_MAX = 5109;

// Temperature of a resistance in Ohm, in 'C', 'F' or 'K' ('f' and 'k' alike; any other letter
// gives degrees C). The resistance is 64-bit: the largest valid reading is 2.6 GOhm.
float res2Temp(std::int64_t resistance, char unit);

// Resistance in Ohm of a temperature in degrees F ('F' or 'f') or C (anything else), by
// interpolation in resTable. Temperatures from 90 C up (and NaN) give the 90 C entry; at -45 C
// and below the extrapolation of the first interval stops at its -45 C value.
int temp2Res(float temperature, char unit);

// One raw reading of a data line to a temperature rounded to 0.1, in the logger's unit.
// A reading outside 75..5109 is replaced by the last valid one (process-wide, 0 at start).
double thermistorReading(int raw, char unit);

// The wire value of an alarm limit given in the unit letter (see temp2Res).
int thermistorAlarm(float limit, char unit);

// The last valid raw reading (0 until one arrives).
int thermistorLastRaw();
// Forget the last valid reading (tests).
void resetThermistorState();
