// The Retrieve File command: the reader's tolerances and what it does with bad input, read from
// small files, and what the window shows afterwards.
#include <cmath>
#include <limits>

#include <unistd.h>

#include "CaseName.h"
#include "DateOrderCases.h"
#include "FilesFixture.h"
#include "display/Display.h"
#include "panels/Panels.h"

namespace {

constexpr double kAny = std::numeric_limits<double>::quiet_NaN();   // not checked
constexpr double kCleared = 1e-7;                                   // what clearLoggedData leaves

cRtc T(int month, int day, int hour, int minute, int second = 0) {
    return sim::makeCRtc(2026, month, day, hour, minute, second);
}

// The six header lines with the given model line, interval word, count and unit.
std::string header(const std::string &first = "   #6", const std::string &rate = "00:10:00",
                   const std::string &count = "9", const std::string &unit = "C", const std::string &id = "LOG-42") {
    return first + "\nDate: 12-10-2026\nID= " + id + "\nSample_Rate= " + rate + "\nTotal_Records= " + count +
           "\nUnit: " + unit + "\n";
}

std::string manyLines(int count) {
    std::string s;
    for (int i = 1; i <= count; ++i) s += std::to_string(i) + " 12-01-2026 08:00:00 1.0 2.0 3.0\n";
    return s;
}

struct Rec {
    int index;
    cRtc time;
    double t, t2 = kAny, rh = kAny;
};

struct ReadCase {
    const char *name;
    std::string text;
    int dateMode;
    int model;
    int rate;
    int length;
    char unit;
    const char *idShown;
    int records;
    int refused;
    std::vector<Rec> recs;
};

// Before each retrieval: a description and a store the file must replace (or, where the file
// lacks an item, keep).
constexpr int kOldRate = 77, kOldLength = 55;
constexpr char kOldUnit = 'X';

class ReadFile : public FilesProgram, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadFile, StoresWhatTheFileSays) {
    const ReadCase &c = GetParam();
    start();
    sLocal.dateFormat = static_cast<signed char>(c.dateMode);
    emptyStore(3);
    const double old[3] = {42.0, 42.0, 42.0};
    for (int i = 0; i < 10; ++i) storeLineAt(i, 1000, old);
    eSampleRate = kOldRate;
    eLength = kOldLength;
    eUnit = kOldUnit;
    setEId("OLD");
    gFlag = 0;

    const std::string file = path("in.txt");
    writeText(file, c.text);
    retrieve(file);

    EXPECT_EQ(agent_.count("message"), 0) << c.name;
    EXPECT_EQ(currDeviceId, c.model) << c.name;
    EXPECT_EQ(eSampleRate, c.rate) << c.name;
    EXPECT_EQ(eLength, c.length) << c.name;
    EXPECT_EQ(eUnit, c.unit) << c.name;
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), std::string("ID=") + c.idShown) << c.name;
    EXPECT_STREQ(eId, "") << c.name;
    EXPECT_STREQ(recordsDescription().id, c.idShown) << c.name;
    ASSERT_EQ(loggedLength, c.records) << c.name;
    EXPECT_EQ(fileRefusedRecords, c.refused) << c.name;
    EXPECT_EQ(recordLayout(), loggerType(c.model)) << c.name;
    EXPECT_EQ(gFlag, GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN) << c.name;
    EXPECT_EQ(status(), "msg4") << c.name;
    for (const Rec &r : c.recs) {
        EXPECT_EQ(rtcPtr[r.index], r.time) << c.name << " record " << r.index;
        const struct {
            double *view;
            double want;
        } checks[] = {{vTemPtr, r.t}, {vTem2Ptr, r.t2}, {vRhPtr, r.rh}};
        for (const auto &k : checks) {
            if (std::isnan(k.want)) continue;
            ASSERT_NE(k.view, nullptr) << c.name;
            EXPECT_NEAR(k.view[r.index], k.want, 1e-9) << c.name << " record " << r.index;
        }
    }
}

// One record line, for cases about the header.
const std::string kOne = "1 12-01-2026 08:00:00 20.5\n";

const std::string kLong = "    1  12-01-2026 08:00:00   20.0";   // 33 characters

INSTANTIATE_TEST_SUITE_P(
    Files, ReadFile,
    ::testing::Values(
        ReadCase{"three channels",
                 header("   #10") + "    1  12-01-2026 08:00:00   -5.0   10000.0  E00 \n"
                                    "    2  12-01-2026 08:10:00  E123   21.5   55.5 \n",
                 0,
                 10,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 2,
                 0,
                 {{0, T(12, 1, 8, 0), -5.0, 10000.0, errorCode(0)}, {1, T(12, 1, 8, 10), errorCode(123), 21.5, 55.5}}},
        ReadCase{"temperature and humidity",
                 header("   #19", "00:10:00", "4", "F") + "    1  12-01-2026 08:00:00   70.5   E05 \n",
                 0,
                 19,
                 600,
                 4,
                 'F',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 70.5, kAny, errorCode(5)}}},
        // the model line
        ReadCase{"no # gives model 1",
                 header("   6") + "1 12-01-2026 08:00:00 20.5\n",
                 0,
                 1,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.5}}},
        ReadCase{"empty first line gives model 1",
                 header("") + "1 12-01-2026 08:00:00 20.5\n",
                 0,
                 1,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.5}}},
        ReadCase{"model index beyond the table gives 1",
                 header("   #25") + "1 12-01-2026 08:00:00 20.5\n",
                 0,
                 1,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        ReadCase{"negative model index gives 1", header("   #-1") + kOne, 0, 1, 600, 9, 'C', "LOG-42", 1, 0, {}},
        ReadCase{"# without a number gives 1", header("   #x") + kOne, 0, 1, 600, 9, 'C', "LOG-42", 1, 0, {}},
        ReadCase{"model index 0 is in the table",
                 header("   #0") + "1 12-01-2026 08:00:00 20.5\n",
                 0,
                 0,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.5}}},
        ReadCase{"model 7 with two values is 9",
                 header("   #7") + "1 12-01-2026 08:00:00 20.0 21.0\n2 12-01-2026 08:10:00 22.0 23.0\n",
                 0,
                 9,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 2,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0, 21.0}, {1, T(12, 1, 8, 10), 22.0, 23.0}}},
        ReadCase{"model 8 with two values is 10, the missing humidity 0",
                 header("   #8") + "1 12-01-2026 08:00:00 20.0 21.0\n",
                 0,
                 10,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0, 21.0, 0.0}}},
        ReadCase{"model 8 with one value stays 8",
                 header("   #8") + "1 12-01-2026 08:00:00 20.0\n",
                 0,
                 8,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0}}},
        ReadCase{"model 7 with one value stays 7", header("   #7") + kOne, 0, 7, 600, 9, 'C', "LOG-42", 1, 0, {}},
        // the interval
        ReadCase{"interval in seconds", header("   #6", "10sec.") + kOne, 0, 6, 10, 9, 'C', "LOG-42", 1, 0, {}},
        ReadCase{"three-digit hours are read as seconds",
                 header("   #6", "100:00:00") + kOne,
                 0,
                 6,
                 100,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        ReadCase{"hours, minutes, seconds", header("   #6", "01:02:05") + kOne, 0, 6, 3725, 9, 'C', "LOG-42", 1, 0, {}},
        ReadCase{"a missing field counts 0", header("   #6", "00:10") + kOne, 0, 6, 600, 9, 'C', "LOG-42", 1, 0, {}},
        ReadCase{"no number keeps the interval",
                 header("   #6", "often") + kOne,
                 0,
                 6,
                 kOldRate,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        // missing and odd header items
        ReadCase{"missing header words keep the old items",
                 "   #6\nDate:\nID=\nSample_Rate=\nTotal_Records=\nUnit:\n" + kOne,
                 0,
                 6,
                 kOldRate,
                 kOldLength,
                 kOldUnit,
                 "OLD",
                 1,
                 0,
                 {}},
        ReadCase{"over-long identifier is cut to its field",
                 header("   #6", "00:10:00", "9", "C", "ABCDEFGHIJKLMNOPQRSTUVWXYZ") + kOne,
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "ABCDEFGHIJKLMN",
                 1,
                 0,
                 {}},
        ReadCase{"count above the store's size",
                 header("   #6", "00:10:00", "99999") + kOne,
                 0,
                 6,
                 600,
                 16000,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        ReadCase{"windows line ends",
                 "   #11\r\nDate: 12-10-2026\r\nID= W\r\nSample_Rate= 00:00:30\r\nTotal_Records= 2\r\nUnit: F\r\n"
                 "    1  12-01-2026 08:00:00   20.0   21.0 \r\n",
                 0,
                 11,
                 30,
                 2,
                 'F',
                 "W",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0, 21.0}}},
        // the 78-character line
        ReadCase{"the rest of a long line is not a line",
                 header() + kLong + std::string(50, ' ') + "    2  12-01-2026 08:10:00   30.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0}, {1, 0, kCleared}}},
        ReadCase{"a value past column 78 is cut",
                 header("   #11") + kLong + std::string(75 - kLong.size(), ' ') + "12.345\n",
                 0,
                 11,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0, 12.0}}},
        // the end of the records
        ReadCase{"a blank line ends the records",
                 header() + "1 12-01-2026 08:00:00 20.0\n2 12-01-2026 08:10:00 21.0\n\n3 12-01-2026 08:20:00 22.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 2,
                 0,
                 {{2, 0, kCleared}}},
        ReadCase{"a line of blanks ends the records",
                 header() + "1 12-01-2026 08:00:00 20.0\n   \t \n3 12-01-2026 08:20:00 22.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        ReadCase{"a line without a value ends the records",
                 header() + "1 12-01-2026 08:00:00 20.0\n2 12-01-2026 08:10:00\n3 12-01-2026 08:20:00 22.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        ReadCase{"a line not starting with a number ends the records",
                 header() + "1 12-01-2026 08:00:00 20.0\nend 12-01-2026 08:10:00 1.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {}},
        // record numbers
        ReadCase{"record 5 first goes to index 4",
                 header() + "    5  12-01-2026 08:40:00   20.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{4, T(12, 1, 8, 40), 20.0}, {0, 0, kCleared}, {3, 0, kCleared}}},
        ReadCase{"record numbers outside the store are refused",
                 header("   #10") + "0 12-01-2026 08:00:00 1.0 1.0 1.0\n-2 12-01-2026 08:00:00 1.0 1.0 1.0\n"
                                    "5334 12-01-2026 08:00:00 1.0 1.0 1.0\n"
                                    "99999999999999999999 12-01-2026 08:00:00 1.0 1.0 1.0\n"
                                    "2 12-01-2026 08:10:00 5.0 6.0 7.0\n",
                 0,
                 10,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 4,
                 {{1, T(12, 1, 8, 10), 5.0, 6.0, 7.0}, {0, 0, kCleared}}},
        ReadCase{"no more records than the store holds",
                 header("   #10") + manyLines(5340),
                 0,
                 10,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 5333,
                 1,
                 {{5332, T(12, 1, 8, 0), 1.0, 2.0, 3.0}}},
        ReadCase{"value words beyond the channels are ignored",
                 header() + "1 12-01-2026 08:00:00 20.0 21.0 22.0\n",
                 0,
                 6,
                 600,
                 9,
                 'C',
                 "LOG-42",
                 1,
                 0,
                 {{0, T(12, 1, 8, 0), 20.0}}}),
    [](const auto &info) { return caseName(info.param.name); });

class RetrieveFile : public FilesProgram {};

TEST_F(RetrieveFile, TheDialogAndCancel) {
    start();
    emptyStore(6);
    const double v[3] = {5.0, 0, 0};
    storeLineAt(0, 1000, v);
    std::snprintf(fileName, sizeof fileName, "before");
    retrieve("");
    ASSERT_EQ(recorder_.requests.size(), 1u);
    const rt::FileRequest &r = recorder_.requests[0];
    EXPECT_EQ(r.defaultDirectory, documentsTavix());
    EXPECT_EQ(r.defaultFileSpec, "*.txt");
    EXPECT_EQ(r.fileTypeList, "ASCII files(*.txt)");
    EXPECT_EQ(r.title, "Retrieve File");
    EXPECT_EQ(r.buttonLabel, VAL_LOAD_BUTTON);
    EXPECT_TRUE(r.restrictExtension);
    // nothing changed
    EXPECT_STREQ(fileName, "before");
    EXPECT_EQ(loggedLength, 1);
    EXPECT_DOUBLE_EQ(vTemPtr[0], 5.0);
}

// A file that cannot be opened changes nothing, and the message says why, in the language
// chosen: no such file, not the user's to read, or no file of records at all (a folder).
class UnopenableFile : public RetrieveFile, public ::testing::WithParamInterface<const char *> {};

TEST_P(UnopenableFile, ChangesNothingAndSaysWhy) {
    const std::string language = GetParam();
    for (const std::string &f : {language, std::string("localORM.ini")})
        std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / f, dir_ / f);
    writeText(path("localORM.ini"), "[General]\nDate Format = Y-M-D\nDefault Unit = METRIC\nLanguage File = " +
                                        language + "\n[TableProcess]\ndefaultHigh = 30\ndefaultLow = 10\n");
    start();
    emptyStore(6);
    const double v[3] = {5.0, 0, 0};
    storeLineAt(0, 1000, v);
    const std::string locked = path("locked.txt");
    writeText(locked, header() + "1 12-01-2026 08:00:00 1.0\n");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    struct Case {
        std::string file;
        const char *reason;
    };
    std::vector<Case> cases = {{path("missing.txt"), msgFileMissing}, {dir_.string(), msgFileNotData}};
    // root reads every file: there the refusal cannot happen
    if (::geteuid() != 0) cases.push_back({locked, msgFileNoPermission});
    for (const Case &c : cases) {
        ASSERT_STRNE(c.reason, "");
        agent_.clear();
        retrieve(c.file);
        ASSERT_EQ(agent_.count("message"), 1) << c.file;
        EXPECT_EQ(agent_.shown.back().title, "File Open Error! ");
        EXPECT_EQ(agent_.shown.back().text, c.file + "\n" + c.reason);
        EXPECT_STREQ(fileName, c.file.c_str());
        EXPECT_EQ(loggedLength, 1);
        EXPECT_EQ(currDeviceId, 6);
        EXPECT_DOUBLE_EQ(vTemPtr[0], 5.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, UnopenableFile, ::testing::Values("English.ini", "German.ini"),
                         [](const auto &info) { return caseName(info.param); });

TEST_F(RetrieveFile, TheWindowShowsTheFileAsADownload) {
    start();
    const std::string file = path("a-rather-long-name-for-a-data-file.txt");
    writeText(file, header("   #16", "00:00:30", "4", "C", "ROOM-3") +
                        "1 12-01-2026 08:00:00 20.0 21.0\n"
                        "2 12-01-2026 08:00:30 22.0 E03\n");
    leftYScalMode = 0;
    fLeftYScalEnable = 0;
    SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP, ATTR_CHECKED, 1);
    SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_ALL, ATTR_CHECKED, 0);
    for (const bool unsaved : {true, false}) {
        gFlag = unsaved ? GFLAG_NOT_SAVED : 0;
        agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};   // data not saved are let go
        retrieve(file);
        // the records held are the file's own now: nothing waits to be saved
        EXPECT_EQ(gFlag, GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN);
    }
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, file.c_str());
    ASSERT_GT(file.size(), 36u);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), std::string("File name: ") + shown);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=ROOM-3");
    EXPECT_STREQ(eId, "");
    EXPECT_EQ(status(), "msg4");
    EXPECT_EQ(leftYScalMode, 255);
    EXPECT_EQ(fLeftYScalEnable, 1);
    int checked[3] = {-1, -1, -1};
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP, ATTR_CHECKED, &checked[0]);
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP2, ATTR_CHECKED, &checked[1]);
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_ALL, ATTR_CHECKED, &checked[2]);
    EXPECT_EQ(checked[0], 0);
    EXPECT_EQ(checked[1], 0);
    EXPECT_EQ(checked[2], 1);
    // the running extremes ignore the error value
    EXPECT_FLOAT_EQ(lpMaxVal[0], 22.0f);
    EXPECT_FLOAT_EQ(lpMinVal[0], 20.0f);
    EXPECT_FLOAT_EQ(lpMaxVal[1], 21.0f);
    EXPECT_FLOAT_EQ(lpMinVal[1], 21.0f);
    EXPECT_DOUBLE_EQ(vTem2Ptr[1], errorCode(3));

    // a one-temperature model offers no scaling choice
    writeText(file, header("   #6") + "1 12-01-2026 08:00:00 20.0\n");
    retrieve(file);
    EXPECT_EQ(fLeftYScalEnable, 0);
}

// The text of a file read from memory fills the store and the description as the file does,
// reads no byte past the length given and shows nothing; the identifier read stays (only the
// Retrieve File command forgets it once shown).
TEST_F(RetrieveFile, TextInMemoryFillsTheStoreAndShowsNothing) {
    start();
    emptyStore(6);
    sendUserMessage("before");
    SetCtrlVal(idMonitor, MONITOR_INFO, "info before");
    const std::string text = header("   #11", "00:00:30", "4", "F", "ROOM-3") +
                             "1 12-01-2026 08:00:00 20.0 21.0\n"
                             "2 12-01-2026 08:00:30 22.0 E03";
    const std::string bytes = text + "5\n3 12-01-2026 08:01:00 1.0 2.0\n";   // beyond the length
    gFlag = 0;

    EXPECT_EQ(parseDataFile(bytes.data(), text.size()), 2);
    EXPECT_EQ(loggedLength, 2);
    EXPECT_EQ(currDeviceId, 11);
    EXPECT_EQ(eSampleRate, 30);
    EXPECT_EQ(eLength, 4);
    EXPECT_EQ(eUnit, 'F');
    EXPECT_STREQ(eId, "ROOM-3");
    EXPECT_DOUBLE_EQ(vTem2Ptr[1], errorCode(3));
    EXPECT_EQ(rtcPtr[2], 0u);
    EXPECT_EQ(gFlag, 0);
    EXPECT_EQ(status(), "before");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), "info before");
    EXPECT_EQ(agent_.shown.size(), 0u);

    // a text without a record line changes nothing
    EXPECT_EQ(parseDataFile(nullptr, 0), DATA_FILE_NO_RECORDS);
    EXPECT_EQ(currDeviceId, 11);
    EXPECT_EQ(loggedLength, 2);
}

// ---------------------------------------------------------------- date order

std::string timeText(cRtc t) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    cRtc2BRtc(t, &y, &mo, &d, &h, &mi, &s);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return text;
}

std::string panelTitle(int panel) {
    char text[256] = "";
    GetPanelAttribute(panel, ATTR_TITLE, text, sizeof text);
    return text;
}

class DateOrder : public FilesProgram, public ::testing::WithParamInterface<DateOrderCase> {};

// Retrieve File reads the dates in the order the file was written in; saving writes them in the
// preference's format again.
TEST_P(DateOrder, RecordTimesFollowTheFilesOrder) {
    const DateOrderCase &c = GetParam();
    start();
    sLocal.dateFormat = static_cast<signed char>(c.preference);
    const std::string file = path("in.txt");
    writeText(file, dateOrderFile(c));
    retrieve(file);

    ASSERT_EQ(loggedLength, static_cast<int>(c.records.size()));
    EXPECT_EQ(agent_.count("message"), 0);
    const int rate = c.records.size() > 1 ? eSampleRate : 0;
    for (int i = 0; i < loggedLength; ++i) {
        const cRtc today = nowCRtc() / 86400u * 86400u;
        const std::string want = c.expected.empty() ? timeText(today + static_cast<cRtc>(rate * i)) : c.expected[i];
        EXPECT_EQ(timeText(rtcPtr[i]), want) << "record " << i + 1;
    }
    EXPECT_EQ(fileDates.fits, !c.expected.empty());
    EXPECT_EQ(fileDates.firstUnread, c.firstUnread);
    if (c.expected.empty())
        EXPECT_EQ(status(), std::string(msgFileDatesUnread) + " " + std::to_string(c.firstUnread));
    else
        EXPECT_EQ(status(), "msg4");

    // written again in the preference's format
    const std::string again = path("again.txt");
    save(again);
    char date[11], time[9];
    cRtc2Rtc(rtcPtr[0], date, time);
    EXPECT_NE(readText(again).find(std::string("    1  ") + date + " " + time + " "), std::string::npos)
        << readText(again);
}

INSTANTIATE_TEST_SUITE_P(Files, DateOrder, ::testing::ValuesIn(dateOrderCases()),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- files that are no data files

struct ForeignCase {
    const char *name;
    std::string text;
};

class ForeignFile : public FilesProgram, public ::testing::WithParamInterface<ForeignCase> {};

// A file without a record line is refused with a message that says why; the records, the
// description, the title and the window's fields stay as they were.
TEST_P(ForeignFile, IsRefusedAndNothingChanges) {
    const ForeignCase &c = GetParam();
    start();
    const std::string good = path("good.txt");
    writeText(good, header("   #10", "00:01:00", "6", "C", "ROOM-3") +
                        "1 12-01-2026 08:00:00 20.0 21.0 50.0\n2 12-01-2026 08:01:00 22.0 E03 51.0\n");
    retrieve(good);
    ASSERT_EQ(loggedLength, 2);
    const std::string title = panelTitle(idMonitor), info = ctrlText(idMonitor, MONITOR_INFO),
                      shownId = ctrlText(idMonitor, MONITOR_ID);
    agent_.clear();

    const std::string file = path("notes.txt");
    writeText(file, c.text);
    retrieve(file);

    ASSERT_EQ(agent_.count("message"), 1) << c.name;
    EXPECT_EQ(agent_.shown.back().title, std::string(warn15));
    EXPECT_EQ(agent_.shown.back().text, std::string(msgFileNoRecords) + "\n" + file);
    EXPECT_EQ(loggedLength, 2);
    EXPECT_EQ(currDeviceId, 10);
    EXPECT_EQ(recordLayout(), loggerType(10));
    EXPECT_DOUBLE_EQ(vTemPtr[1], 22.0);
    EXPECT_DOUBLE_EQ(vRhPtr[0], 50.0);
    EXPECT_EQ(eSampleRate, 60);
    EXPECT_STREQ(recordsDescription().id, "ROOM-3");
    EXPECT_EQ(panelTitle(idMonitor), title);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), info);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), shownId);
}

// The start of a program file, zero bytes included: the compiler counts its length.
const char kBinaryStart[] =
    "\x7f"
    "ELF\x02\x01\x01\0\0\0 1 2 3 4\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ForeignFile,
    ::testing::Values(ForeignCase{"empty file", ""},
                      ForeignCase{"shopping list",
                                  "Shopping\n2 apples\n1 kg flour bread\n3 x milk\nbutter\n\n"
                                  "1 pack of eggs\n"},
                      ForeignCase{"header only", header("   #6")},
                      ForeignCase{"record lines without a value", header("   #6") + "1 12-01-2026 08:00:00\n"},
                      ForeignCase{"a word where the value is", header("   #6") + "1 12-01-2026 08:00:00 warm\n"},
                      ForeignCase{"binary bytes", std::string(kBinaryStart, sizeof kBinaryStart - 1)}),
    [](const auto &info) { return caseName(info.param.name); });

// A file of sensor-error values only is a data file.
TEST_F(RetrieveFile, AFileOfSensorErrorsOnlyIsRead) {
    start();
    const std::string file = path("errors.txt");
    writeText(file, header("   #6") + "1 12-01-2026 08:00:00 E01\n2 12-01-2026 08:10:00 E02\n");
    retrieve(file);
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_EQ(loggedLength, 2);
    EXPECT_DOUBLE_EQ(vTemPtr[1], errorCode(2));
}

// The identifier a retrieved file came with is written again when the records are saved.
TEST_F(RetrieveFile, SavingARetrievedFileKeepsItsIdentifier) {
    start();
    const std::string file = path("in.txt");
    writeText(file, header("   #6", "00:10:00", "2", "C", "ROOM-3") +
                        "1 12-01-2026 08:00:00 20.0\n2 12-01-2026 08:10:00 21.0\n");
    retrieve(file);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=ROOM-3");
    const std::string again = path("again.txt");
    save(again);
    const std::string text = readText(again);
    EXPECT_NE(text.find("\nID= ROOM-3\n"), std::string::npos) << text;
    // and a file saved from that one too
    retrieve(again);
    save(path("third.txt"));
    EXPECT_NE(readText(path("third.txt")).find("\nID= ROOM-3\n"), std::string::npos);
}

}   // namespace
