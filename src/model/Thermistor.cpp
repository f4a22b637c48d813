#include "model/Thermistor.h"

#include <cmath>

const std::int32_t resTable[27] = {
    2616314, 1898399, 1395564, 1033169, 774386, 583760, 444891, 341378, 264480,   // -40 .. 0
    205946,  161850,  127771,  101745,  81514,  65712,  53220,  43389,  35522,    //   5 .. 45
    29267,   24209,   20143,   16823,   14113,  11883,  10057,  8544,   7286,     //  50 .. 90
};

namespace {
int lastValidRaw = 0;
}   // namespace

float res2Temp(std::int64_t resistance, char unit) {
    // ln R in double, kept in single.
    const float l = static_cast<float>(std::log(static_cast<double>(resistance)));
    // 1 / (A + B L + C L^3) in extended precision, kept in single.
    const long double ll = l;
    const long double den = static_cast<long double>(THERM_A) + static_cast<long double>(THERM_B) * ll +
                            static_cast<long double>(THERM_C) * ll * ll * ll;
    const float kelvin = static_cast<float>(1.0L / den);
    switch (unit) {
        case 'K':
        case 'k': return kelvin;
        case 'F':
        case 'f': return static_cast<float>((static_cast<double>(kelvin) - 273.15) * 1.8 + 32.0);
        default: return static_cast<float>(static_cast<double>(kelvin) - 273.15);
    }
}

int temp2Res(float temperature, char unit) {
    float t = temperature;
    if (unit == 'F' || unit == 'f') t = static_cast<float>((static_cast<double>(t) - 32.0) / 1.8);
    float x = t + 40.0f;
    if (!(x < 130.0f)) return resTable[26];   // 90 C and above, NaN
    if (x < -5.0f) x = -5.0f;                 // -45 C and below: the -45 C extrapolation
    const int i = static_cast<int>(x);
    int d = i / 5;
    if (d < 0) d = 0;   // x = -5 exactly
    const float u = static_cast<float>((d + 1) * 5) - x;
    if (u < 0.05) return resTable[d + 1];
    const float part = u * static_cast<float>(resTable[d] - resTable[d + 1]) / 5.0f;
    return static_cast<int>(static_cast<double>(part) + 0.5 + resTable[d + 1]);
}

double thermistorReading(int raw, char unit) {
    int v = raw;
    if (v >= THERM_RAW_MIN && v <= THERM_RAW_MAX) {
        lastValidRaw = v;
    } else {
        v = lastValidRaw;
    }
    // Undo the parallel connection: the thermistor alone, in units of 100 Ohm.
    const std::int64_t r100 = (5110LL * v) / (5110LL - v);
    const float t = res2Temp(r100 * 100, unit);
    // Positive values round half up to 0.1; negative ones toward zero after adding 0.5.
    const double scaled = static_cast<double>(10.0f * t) + 0.5;
    if (std::isnan(scaled)) return 0.0;
    return static_cast<double>(static_cast<long long>(scaled)) / 10.0;
}

int thermistorAlarm(float limit, char unit) {
    const int r = temp2Res(limit, unit);
    const double parallel = r * Rp / (r + Rp);
    return static_cast<int>((parallel + 50.0) / 100.0);
}

int thermistorLastRaw() { return lastValidRaw; }

void resetThermistorState() { lastValidRaw = 0; }
