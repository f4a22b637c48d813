#include "archive/RecordingVerdict.h"

#include <map>
#include <tuple>
#include <vector>

#include "local/ReportTexts.h"
#include "store/Archive.h"

namespace {

// A verdict made: by recording, records and the profile as it stands (the data table's limits
// may have changed under the same name).
using Key = std::tuple<std::int64_t, int, std::string>;
std::map<Key, bool> verdicts;

// A channel's values in record order, nullptr for a channel the recording lacks.
std::string profileSignature(const Profile &profile) {
    std::string text = profile.name + '\x1f' + profile.unit + '\x1f' + mktWindowText(profile.mktWindow) + '\x1f' +
                       (profile.mktLimit ? std::to_string(*profile.mktLimit) : "-") + '\x1f' +
                       std::to_string(profile.deltaHkJPerMol);
    for (int c = 0; c < VERDICT_CHANNELS; ++c) {
        text += '\x1e';
        for (const Zone &z : profile.zones[static_cast<std::size_t>(c)])
            text += zoneText(z) + ' ' + zoneKindText(z.kind) + ' ' + std::to_string(z.limitMinutes) + ';';
    }
    return text;
}

const double *channel(const std::vector<double> &values) { return values.empty() ? nullptr : values.data(); }

// Whether the recording passes; false (and nothing kept) when it cannot be read or judged.
bool judgeArchived(std::int64_t recording, const Profile &profile, bool &pass) {
    RecordingInfo info;
    std::vector<ArchivedReading> readings;
    if (!recordingInfo(recording, info) || !recordingReadings(recording, readings)) return false;
    std::vector<VerdictTime> times;
    std::vector<double> t1, t2, rh;
    times.reserve(readings.size());
    for (const ArchivedReading &r : readings) {
        times.push_back(r.time);
        if (r.temperature) t1.push_back(*r.temperature);
        if (r.temperature2) t2.push_back(*r.temperature2);
        if (r.humidity) rh.push_back(*r.humidity);
    }
    // a channel is the recording's when every reading has it
    const auto whole = [&](std::vector<double> &v) {
        if (v.size() != readings.size()) v.clear();
    };
    whole(t1), whole(t2), whole(rh);
    VerdictInput input;
    input.times = times.data();
    input.values = {channel(t1), channel(t2), channel(rh)};
    input.count = static_cast<int>(readings.size());
    input.intervalSeconds = info.interval;
    input.unit = info.unit;
    Verdict verdict;
    if (judgeRecording(profile, input, &verdict) != 0) return false;
    pass = verdict.pass;
    return true;
}

}   // namespace

std::string recordingVerdictText(std::int64_t recording, int records, const Profile &profile) {
    const Key key{recording, records, profileSignature(profile)};
    auto found = verdicts.find(key);
    if (found == verdicts.end()) {
        bool pass = false;
        if (!judgeArchived(recording, profile, pass)) return {};
        found = verdicts.emplace(key, pass).first;
    }
    return found->second ? rptPass : rptFail;
}

void resetRecordingVerdicts() { verdicts.clear(); }
