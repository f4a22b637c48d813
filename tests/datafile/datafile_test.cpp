// The data file's text without windows: what the reader and the writer report as they go
// through the records (the file commands show it as progress), and a file read as it streams
// by, once, as its text is.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "base/Prefs.h"
#include "base/clock.h"
#include "datafile/DataFileText.h"
#include "model/Models.h"
#include "model/Records.h"

namespace {

// done, total, last
using Report = std::tuple<int, int, bool>;

void record(int done, int total, bool last, void *data) {
    static_cast<std::vector<Report> *>(data)->emplace_back(done, total, last);
}

// Model 10 (three channels, 5333 records), day-month-year dates one interval apart; record
// numbers 1, 2 and 5 are stored, 0 and 6000 lie outside the layout.
const std::string kFile =
    "   #10\n"
    "Date: 12-10-2026\n"
    "ID= LOG-42\n"
    "Sample_Rate= 00:01:00\n"
    "Total_Records= 30\n"
    "Unit: C\n"
    "    1  13-01-2026 08:00:00   21.5   19.0   55.1 \n"
    "    2  13-01-2026 08:01:00   21.6   E05    55.0 \n"
    "    0  13-01-2026 07:59:00   21.4   19.0   55.0 \n"
    "    5  13-01-2026 08:04:00   21.7   19.1   54.9 \n"
    " 6000  17-01-2026 08:59:00   21.7   19.1   54.9 \n";

class DataFileText : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelState();
        resetDataFileState();
        sLocal.dateFormat = DATE_ORDER_MDY;
        rt::SetClock({2026, 12, 10, 9, 30, 0});
    }
    void TearDown() override {
        rt::ClearClock();
        sLocal.dateFormat = DATE_ORDER_MDY;
    }
};

TEST_F(DataFileText, ReaderReportsEachRecordStoredByItsNumberThenTheLastAgain) {
    std::vector<Report> reports;
    ASSERT_EQ(parseDataFile(kFile.data(), kFile.size(), {record, &reports}), 3);
    // the header promises 30 readings: 10 records of three channels
    const std::vector<Report> expected = {{1, 10, false}, {2, 10, false}, {5, 10, false}, {5, 10, true}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(fileRefusedRecords, 2);
    // read in the file's own order, although the preference is month-day-year
    EXPECT_TRUE(fileDates.fits);
    EXPECT_EQ(fileDates.order, DATE_ORDER_DMY);
    cRtc expectedTime = 0;
    ASSERT_EQ(rtc2CRtcOrder("13-01-2026", "08:04:00", DATE_ORDER_DMY, &expectedTime), 0);
    EXPECT_EQ(rtcPtr[4], expectedTime);
}

TEST_F(DataFileText, WriterReportsEachRecordWrittenAndWritesTheTextItMakes) {
    ASSERT_EQ(parseDataFile(kFile.data(), kFile.size()), 3);
    std::string text;
    ASSERT_TRUE(formatDataFile(text));

    std::FILE *file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::vector<Report> reports;
    EXPECT_TRUE(writeDataFile(file, {record, &reports}));
    const std::vector<Report> expected = {{1, 3, false}, {2, 3, false}, {3, 3, true}};
    EXPECT_EQ(reports, expected);
    std::rewind(file);
    std::string written(text.size() + 1, '\0');
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    EXPECT_EQ(written, text);
}

// A file is read in one pass: a stream that cannot be wound back (a pipe) reads as its text.
TEST_F(DataFileText, AStreamThatCannotBeWoundBackReadsAsItsText) {
    ASSERT_EQ(parseDataFile(kFile.data(), kFile.size()), 3);
    std::string fromText;
    ASSERT_TRUE(formatDataFile(fromText));
    const DataFileDates textDates = fileDates;

    resetModelState();
    resetDataFileState();
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], kFile.data(), kFile.size()), static_cast<ssize_t>(kFile.size()));
    close(ends[1]);
    std::FILE *stream = fdopen(ends[0], "r");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(readDataFileStream(stream), 3);
    std::fclose(stream);
    std::string fromStream;
    ASSERT_TRUE(formatDataFile(fromStream));
    EXPECT_EQ(fromStream, fromText);
    EXPECT_EQ(fileDates.order, textDates.order);
    EXPECT_EQ(fileRefusedRecords, 2);
}

}   // namespace
