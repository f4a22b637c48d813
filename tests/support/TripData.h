// Small data files for the trip report's tests, written as Save File writes them: model 18
// (temperature and humidity), one record every interval from 2026-12-01 08:00:00. A value above
// 10000 is written as the sensor error it stands for.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tripdata {

struct Reading {
    double temperature;
    double humidity;
};

// The value field of a record line: " %5.1f " or " E05 ".
inline std::string field(double value) {
    char text[24];
    if (value > 10000.0)
        std::snprintf(text, sizeof text, " E%02d ", static_cast<int>(value - 10000.0));
    else
        std::snprintf(text, sizeof text, " %5.1f ", value);
    return text;
}

inline void write(const std::filesystem::path &path, const std::vector<Reading> &readings, int intervalSeconds = 600,
                  const char *id = "TRIP-1") {
    std::ofstream out(path, std::ios::binary);
    char line[128];
    std::snprintf(line, sizeof line, "#18\nDate: 2026-12-10\nID= %s\nSample_Rate= %02d:%02d:%02d\n", id,
                  intervalSeconds / 3600, intervalSeconds / 60 % 60, intervalSeconds % 60);
    out << line << "Total_Records= " << 2 * readings.size() << "\nUnit: C\n";
    for (std::size_t k = 0; k < readings.size(); ++k) {
        const long t = 8 * 3600 + static_cast<long>(k) * intervalSeconds;   // from 08:00 on 1 December
        std::snprintf(line, sizeof line, "%5zu  2026-12-%02ld %02ld:%02ld:%02ld ", k + 1, 1 + t / 86400, t / 3600 % 24,
                      t / 60 % 60, t % 60);
        out << line << field(readings[k].temperature) << field(readings[k].humidity) << "\n";
    }
}

// A day of readings at 10-minute intervals around 5 degrees, humidity around 50 %; `hot`
// readings in the middle at 16.0 (beyond every refrigerated zone).
inline std::vector<Reading> fridgeDay(int hot = 0) {
    std::vector<Reading> r;
    for (int k = 0; k < 144; ++k) r.push_back({4.0 + (k % 12) * 0.25, 48.0 + (k % 5)});
    for (int k = 0; k < hot; ++k) r[70 + k].temperature = 16.0;
    return r;
}

}   // namespace tripdata
