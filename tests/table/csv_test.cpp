// The data table's Export CSV: the exact bytes for each channel layout (golden files made with
// English.ini), the same bytes under a German locale, every record whatever the page, the
// dialog, replacing a file, and a write error that keeps the previous file.
#include <clocale>
#include <filesystem>
#include <string>

#include "CaseName.h"
#include "FileSizeLimit.h"
#include "RequestRecorder.h"
#include "TableFixture.h"
#include "local/Local.h"

namespace fs = std::filesystem;

namespace {

class Export : public TableProgram {
protected:
    void startWithTable() {
        start();
        openTable();
        agent_.clear();
    }
    int tempFiles() const {
        int n = 0;
        for (const auto &e : fs::directory_iterator(dir_)) n += e.path().extension() == ".tmp";
        return n;
    }
};

// ---------------------------------------------------------------- golden files

class Golden : public Export, public ::testing::WithParamInterface<const char *> {};

TEST_P(Golden, EveryLayoutGivesItsGoldenFile) {
    const std::string name = GetParam();
    startWithTable();
    retrieve(fixture(name + ".txt"));
    const std::string out = path(name + ".csv");
    exportCsv(out);
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_EQ(readText(out), readText(fixture(name + ".csv")));
    EXPECT_EQ(tempFiles(), 0);

    // the same bytes whatever the process locale
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    std::string german;
    const bool made = formatCsv(german);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(made);
    EXPECT_EQ(german, readText(fixture(name + ".csv")));
}

INSTANTIATE_TEST_SUITE_P(Layouts, Golden, ::testing::Values("model06", "model19", "model09", "model14", "model10"),
                         [](const auto &info) { return caseName(info.param); });

// ---------------------------------------------------------------- contents

TEST_F(Export, EveryRecordHeldWhateverThePage) {
    startWithTable();
    fill(6, MAX_RECORDS, [](int i, int) { return i % 3 == 0 ? 10000.0 + i % 100 + 0.00001 : i / 10.0 + 0.00001; });
    moveCursor1(5000);
    ASSERT_EQ(row(1)[0], "5001");
    exportCsv(path("all.csv"));
    const std::string text = readText(path("all.csv"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + MAX_RECORDS);
    EXPECT_NE(text.find("\n1,2000-01-11 08:00:00,\n2,2000-01-11 08:01:00,0.1\n"), std::string::npos);
    const auto [date, time] = dateTime(rtcPtr[MAX_RECORDS - 2]);   // the date preference is Y-M-D
    EXPECT_NE(text.find("\n15999," + date + " " + time + ",1599.8\n16000,"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), ",\n");   // record 16000 is a sensor error
}

TEST_F(Export, TextsWithCommasOrQuotesAreQuoted) {
    start();
    fill(19, 1, [](int, int) { return 1.0; });
    std::snprintf(wTemperature, WINDOW_TEXT_SIZE, "Temp, \"inside\"");
    std::snprintf(wHumidity, WINDOW_TEXT_SIZE, "RH");
    std::string text;
    ASSERT_TRUE(formatCsv(text));
    EXPECT_EQ(text, "Record,Time,\"Temp, \"\"inside\"\" (°C)\",RH (%RH)\n1,2000-01-11 08:00:00,1.0,1.0\n");
}

TEST_F(Export, NoRecordsGiveTheHeaderOnly) {
    start();
    fill(10, 0, [](int, int) { return 0.0; });
    std::string text;
    ASSERT_TRUE(formatCsv(text));
    EXPECT_EQ(text, "Record,Time,Temperature (°C),Ext. temperature (°C),Humidity (%RH)\n");
}

// ---------------------------------------------------------------- the dialog and the file

TEST_F(Export, TheDialogOffersTheDataFolderAndTodaysName) {
    startWithTable();
    RequestRecorder recorder(agent_);
    rt::SetUserAgent(&recorder);
    exportCsv("");   // cancelled
    rt::SetUserAgent(&agent_);
    ASSERT_EQ(recorder.requests.size(), 1u);
    const rt::FileRequest &r = recorder.requests[0];
    EXPECT_EQ(r.defaultDirectory, std::string(std::getenv("HOME")) + "/Documents/Tavix");
    EXPECT_TRUE(fs::is_directory(r.defaultDirectory));
    EXPECT_EQ(r.defaultFileSpec, "20261210.csv");
    EXPECT_EQ(r.fileTypeList, "CSV files(*.csv)");
    EXPECT_EQ(r.title, "Export CSV");
    EXPECT_EQ(r.buttonLabel, VAL_SAVE_BUTTON);
    EXPECT_TRUE(r.restrictExtension);
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(r.defaultDirectory), fs::directory_iterator()), 0);
}

TEST_F(Export, AFileIsReplacedOnlyAfterYes) {
    startWithTable();
    fill(6, 2, [](int, int) { return 1.0; });
    const std::string file = path("old.csv");
    std::ofstream(file) << "previous\n";
    agent_.confirmAnswers.push_back(false);
    exportCsv(file);
    ASSERT_EQ(agent_.count("confirm"), 1);
    EXPECT_EQ(agent_.shown[1].title, "warn9");
    EXPECT_EQ(agent_.shown[1].text, "warn21 " + file + " warn22");
    EXPECT_EQ(readText(file), "previous\n");

    agent_.confirmAnswers.push_back(true);
    exportCsv(file);
    EXPECT_EQ(readText(file).substr(0, 7), "Record,");
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(Export, AFileThatCannotBeWrittenIsReportedAndThePreviousOneKept) {
    startWithTable();
    fill(6, 2000, [](int, int) { return 1.0; });
    const std::string missing = path("no-such-folder/out.csv");
    exportCsv(missing);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown.back().title, "warn6");
    EXPECT_EQ(agent_.shown.back().text, missing);

    // the file system refuses everything past 300 bytes
    const std::string file = path("kept.csv");
    std::ofstream(file) << "previous\n";
    {
        const FileSizeLimit limit(300);
        ASSERT_TRUE(limit.ok());
        agent_.confirmAnswers.push_back(true);
        exportCsv(file);
    }
    ASSERT_EQ(agent_.count("message"), 2);
    EXPECT_EQ(agent_.shown.back().title, "warn6");
    EXPECT_EQ(agent_.shown.back().text, file);
    EXPECT_EQ(readText(file), "previous\n");
    EXPECT_EQ(tempFiles(), 0);
}

// The status line says where the file went, in the language chosen.
class ExportSaysWhere : public Export, public ::testing::WithParamInterface<const char *> {};

TEST_P(ExportSaysWhere, TheStatusLineNamesTheFile) {
    const std::string language = GetParam();
    fs::copy_file(fs::path(TAVIX_BIN_DIR) / language, dir_ / language, fs::copy_options::overwrite_existing);
    std::ofstream(dir_ / "localORM.ini") << "[General]\nDate Format = Y-M-D\nDefault Unit = METRIC\nLanguage File = "
                                         << language << "\n[TableProcess]\ndefaultHigh = 30\ndefaultLow = 10\n";
    startWithTable();
    fill(6, 2, [](int, int) { return 1.0; });
    ASSERT_NE(std::string(msgCsvWritten), "");
    const std::string file = path("written.csv");
    exportCsv(file);
    EXPECT_EQ(status(), std::string(msgCsvWritten) + " " + file);
    EXPECT_EQ(agent_.count("message"), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ExportSaysWhere, ::testing::Values("English.ini", "German.ini"),
                         [](const auto &info) { return caseName(info.param); });

TEST_F(Export, TheButtonSpeaksTheLanguageFile) {
    start();
    openTable();
    char label[64] = "";
    GetCtrlAttribute(idTable, TABLE_EXPORT_CSV, ATTR_LABEL_TEXT, label, sizeof label);
    EXPECT_STREQ(label, "Export CSV…");
    closeTable();

    // German.ini carries the key too
    fs::copy_file(fs::path(TAVIX_BIN_DIR) / "German.ini", dir_ / "German.ini");
    std::snprintf(languagePath, sizeof languagePath, "%s", (dir_ / "German.ini").string().c_str());
    openTable();
    GetCtrlAttribute(idTable, TABLE_EXPORT_CSV, ATTR_LABEL_TEXT, label, sizeof label);
    EXPECT_STREQ(label, "CSV exportieren…");
    EXPECT_EQ(agent_.count("message"), 0);
}

}   // namespace
