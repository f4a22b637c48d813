// tavix-cli calibration [--set P1 P2 P3 | --set-rh Z S]: the calibration cycle of the models that
// support it. Without an option the logger-settings window's calibration button reads the
// calibration and the calibration window shows it; with one, the values are typed into the
// calibration window and its Set writes them, reads them back and compares (msg16 or warn17).
#include <charconv>
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "config/Calibration.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// How long the write, its wait and the read-back may take: a generous ceiling.
constexpr int kCycleWaitMs = 30000;

enum class CaliAction { Read, SetPoints, SetHumidity };

struct CaliRequest {
    CaliAction action = CaliAction::Read;
    std::vector<std::string> values;   // three points, or Z and S
};

bool wholeNumber(const std::string &text) {
    long long value = 0;
    const char *begin = text.data();
    const char *end = begin + text.size();
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool parseCalibration(const std::vector<std::string> &args, CaliRequest &request, std::string &error) {
    if (args.empty()) return true;
    if (args[0] == "--set" && args.size() == 4) {
        request = {CaliAction::SetPoints, {args.begin() + 1, args.end()}};
        for (const std::string &value : request.values)
            if (!wholeNumber(value)) {
                error = "--set takes three whole numbers, not " + value;
                return false;
            }
        return true;
    }
    if (args[0] == "--set-rh" && args.size() == 3) {
        request = {CaliAction::SetHumidity, {args.begin() + 1, args.end()}};
        return true;
    }
    error = "calibration takes nothing, --set P1 P2 P3 or --set-rh Z S";
    return false;
}

// Which calibration window and fields the logger's model uses; EXIT_UNSUPPORTED (said) when
// it has none or another than the one asked for.
int checkModel(const CaliRequest &request) {
    const Calibration kind = calibrationKind(currDeviceId);
    const char *problem = nullptr;
    if (kind == Calibration::None)
        problem = "has no calibration";
    else if (request.action == CaliAction::SetPoints && kind != Calibration::Temperature)
        problem = "is calibrated with --set-rh Z S";
    else if (request.action == CaliAction::SetHumidity && kind != Calibration::Humidity)
        problem = "is calibrated with --set P1 P2 P3";
    if (problem == nullptr) return EXIT_OK;
    std::fprintf(stderr, "tavix-cli: the logger's model (index %d) %s\n", currDeviceId, problem);
    return EXIT_UNSUPPORTED;
}

// The values typed into the calibration window; false (said) when a field would not take one.
bool typeValues(const CaliRequest &request) {
    if (request.action == CaliAction::SetPoints) {
        const int fields[] = {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3};
        for (int k = 0; k < 3; ++k) {
            int low = 0, high = 0, value = 0;
            GetCtrlAttribute(idTempCali, fields[k], ATTR_MIN_VALUE, &low);
            GetCtrlAttribute(idTempCali, fields[k], ATTR_MAX_VALUE, &high);
            const std::string &text = request.values[k];
            const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
            if (result.ec != std::errc() || value < low || value > high) {
                std::fprintf(stderr, "tavix-cli: calibration points are whole numbers from %d to %d, not %s\n", low,
                             high, text.c_str());
                return false;
            }
            SetCtrlVal(idTempCali, fields[k], value);
        }
        return true;
    }
    // Z and S as typed; a text longer than its field, or one the window refuses, is refused
    const std::string &z = request.values[0], &s = request.values[1];
    if (z.size() >= RH_CALI_Z_SIZE || s.size() >= RH_CALI_S_SIZE || !rhCaliAcceptable(z.c_str(), s.c_str())) {
        showRefusal(warn11, warn19);   // "Attention", "S from 2.0 to 15.0, Z 0.0 or below"
        return false;
    }
    typeInto(idRhCali, RHCALI_Z, z);
    typeInto(idRhCali, RHCALI_S, s);
    return true;
}

void printPoints(FILE *to, const char *caption, const int (&p)[TEMP_CALI_POINTS]) {
    std::fprintf(to, "%s points %d %d %d %d %d\n", caption, p[0], p[1], p[2], p[3], p[4]);
}

// The calibration as last received from the logger.
void printCalibration(FILE *to, const char *caption) {
    if (calibrationKind(currDeviceId) == Calibration::Temperature)
        printPoints(to, caption, tempCaliData);
    else
        std::fprintf(to, "%s Z %s S %s\n", caption, rhCaliZstr, rhCaliSstr);
}

// What the calibration window holds and Set wrote.
void printWritten(FILE *to, const char *caption) {
    if (calibrationKind(currDeviceId) == Calibration::Temperature) {
        int points[TEMP_CALI_POINTS] = {};
        const int fields[] = {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3};
        for (int k = 0; k < 3; ++k) GetCtrlVal(idTempCali, fields[k], &points[k + 1]);
        CalcTempCaliArray(points);
        printPoints(to, caption, points);
        return;
    }
    char z[RH_CALI_Z_SIZE] = "", s[RH_CALI_S_SIZE] = "";
    GetCtrlVal(idRhCali, RHCALI_Z, z);
    GetCtrlVal(idRhCali, RHCALI_S, s);
    std::fprintf(to, "%s Z %s S %s\n", caption, z, s);
}

// The read for display: the calibration button, and the window filled from the answer.
int readCalibration(rt::ScriptedAgent &agent) {
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idSetLogger, SETLOGGER_CALI_START, EVENT_COMMIT);
    const bool answered = runUntil(
        [&] { return (keyTempCali == 0 && sendCmdChar == 0) || shownSince(agent, before, warn16); }, kCycleWaitMs);
    if (stopSignal() != 0) return EXIT_INTERRUPTED;
    if (!answered || keyTempCali != 0 || shownSince(agent, before, warn16)) {
        if (!shownSince(agent, before, warn16)) showRefusal(warn9, warn16);   // "Warning", "no answer"
        return EXIT_UNANSWERED;
    }
    printCalibration(stdout, "Calibration:");
    return EXIT_OK;
}

// Set in the calibration window, which holds the values: the write, the read-back and the
// comparison.
int writeCalibration(const CaliRequest &request, rt::ScriptedAgent &agent) {
    const bool points = request.action == CaliAction::SetPoints;
    const int panel = points ? idTempCali : idRhCali;
    const std::size_t before = agent.shown.size();
    const int set = points ? int{TEMPCALI_SET} : int{RHCALI_SET};
    rt::FireCtrlEvent(panel, set, EVENT_COMMIT);
    if (keyTempCali == 0) return EXIT_REFUSED;   // the window has said why
    auto status = [] {
        char text[MSG_TEXT_SIZE] = "";
        GetCtrlVal(idMonitor, MONITOR_MESSAGE, text);
        return std::string(text);
    };
    // the read-back's check ends the cycle in the status line
    const bool checked = runUntil(
        [&] {
            const std::string shown = status();
            return (keyTempCali == 0 && (shown == msg16 || shown == warn17)) || shownSince(agent, before, warn16);
        },
        kCycleWaitMs);
    if (stopSignal() != 0) return EXIT_INTERRUPTED;
    if (!checked || shownSince(agent, before, warn16)) {
        if (!shownSince(agent, before, warn16)) showRefusal(warn9, warn16);   // "Warning", "no answer"
        return EXIT_UNANSWERED;
    }
    if (status() == msg16) {
        std::printf("%s\n", msg16);   // "written and confirmed"
        printCalibration(stdout, "Calibration:");
        return EXIT_OK;
    }
    std::fprintf(stderr, "%s\n", warn17);   // "the logger holds other values than those sent"
    printWritten(stderr, "Written:  ");
    printCalibration(stderr, "Read back:");
    return EXIT_READ_BACK;
}

}   // namespace

bool checkCalibrationArguments(const std::vector<std::string> &args, std::string &error) {
    CaliRequest request;
    return parseCalibration(args, request, error);
}

int calibration(const Options &options, rt::ScriptedAgent &agent) {
    CaliRequest request;
    std::string error;
    parseCalibration(options.args, request, error);   // checked before the program started
    // values the window would not take are refused before anything is sent
    if (request.action != CaliAction::Read && !typeValues(request)) return EXIT_REFUSED;
    if (const int result = waitForLogger(); result != EXIT_OK) return result;
    if (const int result = checkModel(request); result != EXIT_OK) return result;
    if (const int result = openLoggerWindow(SETLOGGER_CALI_START); result != EXIT_OK) return result;
    if (request.action == CaliAction::Read) return readCalibration(agent);
    return writeCalibration(request, agent);
}

}   // namespace cli
