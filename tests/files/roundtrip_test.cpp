// A download from the simulated logger, saved and read back, gives the same records, in each
// date mode and under a German locale (which writes a decimal comma with printf).
#include <clocale>
#include <cmath>
#include <memory>

#include "CaseName.h"
#include "FilesFixture.h"

namespace {

struct TripCase {
    const char *name;
    const char *model;
    const char *suffix;
    char unit;
    int interval;
    int records;
    std::vector<sim::ErrorReading> errors;
};

// What the store and the description hold, values in channel order (NaN: no such channel).
struct Snapshot {
    int model = 0, rate = 0, length = 0, count = 0;
    char unit = 0;
    std::vector<cRtc> times;
    std::vector<std::array<double, 3>> values;
};

Snapshot take() {
    Snapshot s;
    s.model = currDeviceId;
    s.rate = eSampleRate;
    s.length = eLength;
    s.unit = eUnit;
    s.count = loggedLength;
    for (int i = 0; i < loggedLength; ++i) {
        s.times.push_back(rtcPtr[i]);
        s.values.push_back({vTemPtr[i], vTem2Ptr != nullptr ? vTem2Ptr[i] : NAN, vRhPtr != nullptr ? vRhPtr[i] : NAN});
    }
    return s;
}

void expectSame(const Snapshot &a, const Snapshot &b, const std::string &what) {
    EXPECT_EQ(b.model, a.model) << what;
    EXPECT_EQ(b.rate, a.rate) << what;
    EXPECT_EQ(b.length, a.length) << what;
    EXPECT_EQ(b.unit, a.unit) << what;
    ASSERT_EQ(b.count, a.count) << what;
    for (int i = 0; i < a.count; ++i) {
        ASSERT_EQ(b.times[i], a.times[i]) << what << " record " << i;
        for (int k = 0; k < 3; ++k) {
            const double x = a.values[i][k], y = b.values[i][k];
            if (std::isnan(x)) {
                ASSERT_TRUE(std::isnan(y)) << what;
            } else if (x > 10000.0) {
                ASSERT_GT(y, 10000.0) << what << " record " << i << " channel " << k;
                ASSERT_EQ(static_cast<long>(y - 10000.0), static_cast<long>(x - 10000.0)) << what << " record " << i;
            } else {
                ASSERT_NEAR(y, std::round(x * 10.0) / 10.0, 1e-9) << what << " record " << i << " channel " << k;
            }
        }
    }
    EXPECT_GT(a.count, 0);
}

class RoundTrip : public FilesProgram, public ::testing::WithParamInterface<TripCase> {
protected:
    void download(const TripCase &c) {
        sim::LoggerConfig config;
        config.modelName = c.model;
        config.versionSuffix = c.suffix;
        config.id = "TRIP-1";
        config.unit = c.unit;
        config.interval = c.interval;
        config.records = c.records;
        config.firstRecord = sim::makeCRtc(2026, 12, 1, 8, 0, 0);
        config.errors = c.errors;
        config.baud = 38400;
        // negative, zero and positive tenths (the thermistor keeps its own pattern)
        if (std::string(c.model) != "41217")
            config.value = [](int record, int slot) { return (record * 37 + slot * 11) % 700 - 300; };
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
        stillSending_ = [this] { return logger_->dataPending(); };
        start(logger_->devicePath());
        rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
        ASSERT_TRUE(tickUntil([] { return fDownloadNow == 0; }, 600));
        ASSERT_EQ(loggedLength, c.records);
        ASSERT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    }

    // Save under the current date mode and locale, forget everything, read the file back.
    Snapshot saveAndReadBack(const std::string &file) {
        save(file);
        EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0) << file;
        EXPECT_EQ(status(), "msg5") << file;
        emptyStore(1);
        eSampleRate = 0;
        eLength = 0;
        eUnit = '?';
        retrieve(file);
        EXPECT_EQ(status(), "msg4") << file;
        EXPECT_EQ(agent_.count("message"), 0) << file;
        return take();
    }

    std::unique_ptr<sim::SimLogger> logger_;
};

TEST_P(RoundTrip, SameRecordsInEveryDateModeAndLocale) {
    const TripCase &c = GetParam();
    download(c);
    const Snapshot original = take();
    int errors = 0;
    for (const auto &v : original.values)
        for (double x : v) errors += x > 10000.0;
    if (std::string(c.model) != "41217") {
        EXPECT_EQ(errors, static_cast<int>(c.errors.size()));
    }

    for (int mode : {0, 1, 2}) {
        sLocal.dateFormat = static_cast<signed char>(mode);
        const std::string file = path("trip-" + std::to_string(mode) + ".txt");
        expectSame(original, saveAndReadBack(file), std::string(c.name) + ", date mode " + std::to_string(mode));
    }

    const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");   // printf would write a decimal comma now
    sLocal.dateFormat = 1;
    const std::string file = path("trip-de.txt");
    const Snapshot back = saveAndReadBack(file);
    const std::string text = readText(file);
    std::setlocale(LC_ALL, savedLocale.c_str());
    EXPECT_EQ(text.find(','), std::string::npos);
    expectSame(original, back, std::string(c.name) + ", German locale");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RoundTrip,
    ::testing::Values(
        TripCase{"one temperature", "4133", "", 'C', 60, 120, {{5, 0, 3}, {6, 0, 123}, {7, 0, 0}}},
        TripCase{"temperature and humidity in F", "4124", "", 'F', 300, 90, {{7, 0, 2}, {8, 1, 5}, {9, 1, 123}}},
        TripCase{"two temperatures, old firmware", "4151", "V2.1", 'C', 43200, 80, {{3, 1, 0}}},
        TripCase{"three channels", "4143", "", 'c', 1, 100, {{0, 2, 0}, {1, 0, 123}, {2, 1, 5}}},
        TripCase{"thermistor", "41217", "", 'C', 120, 60, {}}),
    [](const auto &info) { return caseName(info.param.name); });

}   // namespace
