// The verdict on the largest recording the store holds: 16000 temperatures one a minute (a slow
// saw-tooth with warm excursions, a sensor error every 500 records, each value with the small
// offset a download's decoding leaves), judged against the shipped "Refrigerated 2-8 C" profile
// (three zones, MKT limit over any 24 hours) and, for comparison, against one without a window.
// No window, no Qt: the analysis library alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/Profiles.h"
#include "analysis/Verdict.h"

namespace {

constexpr int kRecords = 16000;
constexpr int kMinute = 60;

struct Recording {
    std::vector<VerdictTime> times;
    std::vector<double> values;
};

const Recording &recording() {
    static const Recording r = [] {
        Recording made;
        for (int i = 0; i < kRecords; ++i) {
            made.times.push_back(788918400u + static_cast<VerdictTime>(i * kMinute));
            const double value = 2.0 + (i % 400) / 40.0 + 0.00001;   // 2.0 to 12.0 every 400 minutes
            made.values.push_back(i % 500 == 499 ? 10003.00001 : value);
        }
        return made;
    }();
    return r;
}

Profile shippedProfile(const char *name) {
    std::vector<Profile> profiles;
    std::string error;
    if (!readProfilesFile(TAVIX_SOURCE_DIR "/resources/TavixProfiles.ini", profiles, error)) return Profile{};
    const Profile *p = findProfile(profiles, name);
    return p ? *p : Profile{};
}

void judgeWith(benchmark::State &state, const Profile &profile) {
    const Recording &r = recording();
    VerdictInput in;
    in.times = r.times.data();
    in.values[VERDICT_TEMPERATURE] = r.values.data();
    in.count = kRecords;
    in.intervalSeconds = kMinute;
    in.unit = 'C';
    Verdict v;
    for (auto _ : state) {
        judgeRecording(profile, in, &v);
        benchmark::DoNotOptimize(v);
    }
    state.counters["pass"] = v.pass ? 1 : 0;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Verdict16000Day(benchmark::State &state) {
    const Profile p = shippedProfile(
        "Refrigerated 2\xE2\x80\x93"
        "8 \xC2\xB0"
        "C");
    if (p.mktWindow != MktWindow::Day) state.SkipWithError("the shipped profile was not read");
    judgeWith(state, p);
}

void BM_Verdict16000NoWindow(benchmark::State &state) {
    judgeWith(state, shippedProfile("WHO 10-day indicator, type II"));
}

}   // namespace

BENCHMARK(BM_Verdict16000Day)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Verdict16000NoWindow)->Unit(benchmark::kMillisecond);
