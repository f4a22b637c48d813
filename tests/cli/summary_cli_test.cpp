// tavix-cli summary end to end: the real tavix-cli on small data files, its lines, JSON Lines,
// CSV and trip-report PDFs read back (the PDFs with poppler's tools, kept as pictures in
// build/artifacts/trip-report for a look), and its exit statuses.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "PdfCheck.h"
#include "Programs.h"
#include "TestFolder.h"
#include "TripData.h"

namespace {

namespace fs = std::filesystem;
using programs::Outcome;

const char kFridge[] =
    "Refrigerated 2\xE2\x80\x93"
    "8 \xC2\xB0"
    "C";

class CliSummary : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = makeTestFolder("tavix-cli-summary");
        tripdata::write(dir_ / "pass.txt", tripdata::fridgeDay());
        tripdata::write(dir_ / "fail.txt", tripdata::fridgeDay(3));
        // only sensor errors: no reading at all
        tripdata::write(dir_ / "errors.txt", std::vector<tripdata::Reading>(12, {10005.0, 10005.0}));
    }
    void TearDown() override { fs::remove_all(dir_); }
    // run in the test's folder, so that the files are named as a user in it names them
    Outcome run(const std::vector<std::string> &args, const std::vector<std::string> &env = {}) {
        const fs::path before = fs::current_path();
        fs::current_path(dir_);
        Outcome o = programs::cli(args, dir_, env);
        fs::current_path(before);
        return o;
    }
    std::string path(const char *name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

std::set<QString> keysOf(const QJsonObject &o) {
    std::set<QString> keys;
    for (const QString &k : o.keys()) keys.insert(k);
    return keys;
}

std::vector<QJsonObject> jsonLines(const std::string &out) {
    std::vector<QJsonObject> objects;
    for (const std::string &line : programs::lines(out)) {
        QJsonParseError error;
        const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        objects.push_back(d.object());
    }
    return objects;
}

std::string fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

TEST_F(CliSummary, ExitStatusAndLines) {
    struct Case {
        const char *name;
        std::vector<std::string> args;   // after "summary"
        int status;
        std::vector<const char *> lines;   // regular expressions the output holds, in order
    } cases[] = {
        {"pass", {"pass.txt", "--profile", kFridge}, 0, {R"(^pass\.txt: PASS \(Refrigerated 2.+8 .+C\)$)"}},
        {"fail with its alarms",
         {"fail.txt", "--profile", kFridge},
         11,
         {R"(^fail\.txt: FAIL \(Refrigerated 2.+8 .+C\)$)",
          R"(^  alarm: temperature > 15\.0 single 0 min: 1 events, total 30 min, longest 30 min, first at 2026-12-01 19:40:00$)"}},
        {"any fail fails the run",
         {"pass.txt", "fail.txt", "errors.txt", "--profile", kFridge},
         11,
         {"^pass.txt: PASS", "^fail.txt: FAIL", "^errors.txt: PASS"}},
        {"an unreadable file comes first, the others are judged",
         {"missing.txt", "fail.txt", "--profile", kFridge},
         6,
         {"^fail.txt: FAIL"}},
        {"a profile the file lacks", {"pass.txt", "--profile", "no such profile"}, 2, {}},
        {"a PDF that cannot be written comes before FAIL",
         {"fail.txt", "--profile", kFridge, "--pdf", "no/such/folder/x.pdf"},
         4,
         {"^fail.txt: FAIL"}},
        {"no file", {}, 2, {}},
        {"the CSV named like a data file", {"pass.txt", "fail.txt", "--csv", "fail.txt"}, 2, {}},
        {"both PDF outputs", {"pass.txt", "--pdf", "a.pdf", "--pdf-dir", "d"}, 2, {}},
        {"a PDF named otherwise", {"pass.txt", "--pdf", "a.txt"}, 2, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"summary"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome o = run(args);
        EXPECT_EQ(o.status, c.status) << o.err;
        std::size_t from = 0;
        const std::vector<std::string> out = programs::lines(o.out);
        for (const char *expected : c.lines) {
            const std::regex re(expected);
            while (from < out.size() && !std::regex_search(out[from], re)) ++from;
            EXPECT_LT(from, out.size()) << expected << "\n" << o.out;
        }
    }
    // --json belongs to summary alone
    EXPECT_EQ(run({"stats", "pass.txt", "--json"}).status, 2);
    // a data file named as the CSV is never written over
    EXPECT_EQ(programs::readFile(dir_ / "fail.txt").rfind("#18\n", 0), 0u);
}

TEST_F(CliSummary, DataTableLimitsProfileByDefault) {
    // the preferences' default limits: above 30.0 and below 10.0, every reading below 10
    const Outcome o = run({"summary", "pass.txt"});
    EXPECT_EQ(o.status, 11) << o.err;
    EXPECT_NE(o.out.find("pass.txt: FAIL (Data table limits)"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("alarm: temperature < 10.0 single 0 min: 1 events, total 1440 min"), std::string::npos)
        << o.out;
}

TEST_F(CliSummary, JsonHasExactlyTheMembers) {
    const Outcome o = run({"summary", "fail.txt", "errors.txt", "--profile", kFridge, "--json"});
    ASSERT_EQ(o.status, 11) << o.err;
    const std::vector<QJsonObject> files = jsonLines(o.out);
    ASSERT_EQ(files.size(), 2u) << o.out;
    const std::set<QString> fileKeys = {"file",       "sha256",         "model",   "id",
                                        "interval_s", "first",          "last",    "records",
                                        "profile",    "delta_h_kj_mol", "verdict", "channels"};
    const std::set<QString> channelKeys = {"name",
                                           "unit",
                                           "n",
                                           "errors",
                                           "min",
                                           "min_at",
                                           "max",
                                           "max_at",
                                           "mean",
                                           "sd",
                                           "mkt",
                                           "mkt_worst_window",
                                           "time_in_range_pct",
                                           "zones"};
    const std::set<QString> zoneKeys = {"zone",      "kind",        "limit_min", "events",
                                        "total_min", "longest_min", "first_at",  "alarm"};
    for (const QJsonObject &f : files) {
        EXPECT_EQ(keysOf(f), fileKeys);
        for (const QJsonValue &ch : f["channels"].toArray()) {
            EXPECT_EQ(keysOf(ch.toObject()), channelKeys);
            for (const QJsonValue &z : ch.toObject()["zones"].toArray()) EXPECT_EQ(keysOf(z.toObject()), zoneKeys);
        }
    }

    const QJsonObject &fail = files[0];
    EXPECT_EQ(fail["verdict"].toString(), "FAIL");
    EXPECT_EQ(fail["model"].toString(), "41660");
    EXPECT_EQ(fail["id"].toString(), "TRIP-1");
    EXPECT_EQ(fail["interval_s"].toInt(), 600);
    EXPECT_EQ(fail["first"].toString(), "2026-12-01 08:00:00");
    EXPECT_EQ(fail["last"].toString(), "2026-12-02 07:50:00");
    EXPECT_EQ(fail["records"].toInt(), 144);
    EXPECT_DOUBLE_EQ(fail["delta_h_kj_mol"].toDouble(), 83.144);
    EXPECT_TRUE(std::regex_match(fail["sha256"].toString().toStdString(), std::regex("[0-9a-f]{64}")));
    const QJsonArray channels = fail["channels"].toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject t = channels[0].toObject(), rh = channels[1].toObject();
    EXPECT_EQ(t["name"].toString(), "temperature");
    EXPECT_EQ(t["unit"].toString(), "C");
    EXPECT_EQ(t["n"].toInt(), 144);
    EXPECT_DOUBLE_EQ(t["max"].toDouble(), 16.0);
    EXPECT_EQ(t["max_at"].toString(), "2026-12-01 19:40:00");
    EXPECT_FALSE(t["mkt_worst_window"].isNull()) << "the profile sets a 24-hour window";
    EXPECT_TRUE(rh["mkt"].isNull()) << "no MKT for humidity";
    EXPECT_TRUE(rh["mkt_worst_window"].isNull());
    EXPECT_TRUE(rh["zones"].toArray().isEmpty());
    // the zones in the profile's order: < 2.0, > 15.0, > 8.0 cumulative 24 h
    const QJsonArray zones = t["zones"].toArray();
    ASSERT_EQ(zones.size(), 3);
    EXPECT_EQ(zones[0].toObject()["zone"].toString(), "< 2.0");
    EXPECT_TRUE(zones[0].toObject()["first_at"].isNull()) << "never in the zone";
    EXPECT_EQ(zones[0].toObject()["alarm"].toBool(), false);
    EXPECT_EQ(zones[1].toObject()["zone"].toString(), "> 15.0");
    EXPECT_EQ(zones[1].toObject()["kind"].toString(), "single");
    EXPECT_EQ(zones[1].toObject()["events"].toInt(), 1);
    EXPECT_DOUBLE_EQ(zones[1].toObject()["total_min"].toDouble(), 30.0);
    EXPECT_EQ(zones[1].toObject()["alarm"].toBool(), true);
    EXPECT_EQ(zones[2].toObject()["kind"].toString(), "cumulative");
    EXPECT_DOUBLE_EQ(zones[2].toObject()["limit_min"].toDouble(), 1440.0);

    // a file of sensor errors only: no figure exists, and it passes
    const QJsonObject &errors = files[1];
    EXPECT_EQ(errors["verdict"].toString(), "PASS");
    for (const QJsonValue &ch : errors["channels"].toArray()) {
        const QJsonObject c = ch.toObject();
        EXPECT_EQ(c["n"].toInt(), 0);
        EXPECT_EQ(c["errors"].toInt(), 12);
        for (const char *absent : {"min", "min_at", "max", "max_at", "mean", "sd", "mkt", "time_in_range_pct"})
            EXPECT_TRUE(c[absent].isNull()) << absent;
    }
}

TEST_F(CliSummary, CsvRowPerFileChannelAndZone) {
    const Outcome o = run({"summary", "pass.txt", "fail.txt", "--profile", kFridge, "--csv", "out.csv"});
    ASSERT_EQ(o.status, 11) << o.err;
    const std::vector<std::string> rows = programs::lines(programs::readFile(dir_ / "out.csv"));
    // a header, then per file: three zones of the temperature, one row of the humidity
    ASSERT_EQ(rows.size(), 1u + 2 * (3 + 1)) << programs::readFile(dir_ / "out.csv");
    auto cells = [](std::string row) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        std::vector<std::string> out;
        std::size_t start = 0;
        for (std::size_t comma; (comma = row.find(',', start)) != std::string::npos; start = comma + 1)
            out.push_back(row.substr(start, comma - start));
        out.push_back(row.substr(start));
        return out;
    };
    const std::vector<std::string> header = cells(rows[0]);
    ASSERT_EQ(header.size(), 32u);
    EXPECT_EQ(header[0], "file");
    EXPECT_EQ(header[24], "zone");
    EXPECT_EQ(header[31], "alarm");
    for (std::size_t r = 1; r < rows.size(); ++r) EXPECT_EQ(cells(rows[r]).size(), header.size()) << rows[r];
    const std::vector<std::string> alarm = cells(rows[6]);   // fail.txt, temperature, > 15.0
    EXPECT_EQ(alarm[0], "fail.txt");
    EXPECT_EQ(alarm[10], "FAIL");
    EXPECT_EQ(alarm[11], "temperature");
    EXPECT_EQ(alarm[24], "> 15.0");
    EXPECT_EQ(alarm[31], "yes");
    const std::vector<std::string> humidity = cells(rows[8]);
    EXPECT_EQ(humidity[11], "humidity");
    for (std::size_t k = 24; k < humidity.size(); ++k) EXPECT_EQ(humidity[k], "") << header[k];
}

// The page of each file read back: the verdict, every figure of the JSON and the fingerprint,
// in English and in German, each page kept as a picture.
TEST_F(CliSummary, TripReportPagesHoldEveryFigure) {
    const fs::path artifacts = fs::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "trip-report";
    fs::create_directories(artifacts);
    // a program folder whose preferences choose German
    const fs::path german = dir_ / "german";
    fs::create_directories(german);
    for (const char *f : {"English.ini", "German.ini", "TavixProfiles.ini"})
        fs::copy_file(fs::path(programs::binDir()) / f, german / f);
    std::string prefs = programs::readFile(fs::path(programs::binDir()) / "localORM.ini");
    prefs = std::regex_replace(prefs, std::regex("Language File = English.ini"), "Language File = German.ini");
    std::ofstream(german / "localORM.ini") << prefs;

    struct Case {
        const char *name;
        std::vector<std::string> language;   // --app-dir, or nothing
        std::vector<std::string> env;        // a German process locale changes no number
        const char *pass, *fail;             // the verdict's words on the page
    } cases[] = {
        {"en", {}, {}, "PASS", "FAIL"},
        {"de", {"--app-dir", german.string()}, {"LC_ALL=de_DE.UTF-8"}, "BESTANDEN", "NICHT BESTANDEN"},
    };
    const Outcome json = run({"summary", "pass.txt", "fail.txt", "--profile", kFridge, "--json"});
    const std::vector<QJsonObject> files = jsonLines(json.out);
    ASSERT_EQ(files.size(), 2u);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = c.language;
        for (const char *a : {"summary", "pass.txt", "fail.txt", "--profile", kFridge, "--pdf", "both.pdf"})
            args.push_back(a);
        const Outcome o = run(args, c.env);
        ASSERT_EQ(o.status, 11) << o.err;
        const std::string pdf = (dir_ / "both.pdf").string();
        ASSERT_EQ(pdfPages(pdf), 2);
        double width = 0, height = 0;
        ASSERT_TRUE(pdfPageSize(pdf, width, height));
        EXPECT_NEAR(width, 595, 2) << "A4 portrait";
        EXPECT_NEAR(height, 842, 2);
        for (int page = 1; page <= 2; ++page) {
            const QJsonObject &f = files[page - 1];
            const std::string text = pdfText(pdf, page, page);
            EXPECT_NE(text.find(page == 1 ? c.pass : c.fail), std::string::npos) << text;
            if (page == 1) EXPECT_EQ(text.find(c.fail), std::string::npos);
            EXPECT_NE(text.find(f["sha256"].toString().toStdString()), std::string::npos);
            EXPECT_NE(text.find("2026-12-01 08:00:00"), std::string::npos);
            EXPECT_NE(text.find("83.144 kJ/mol"), std::string::npos);
            // when it was made, with the offset from UTC; the program and its version at the foot
            EXPECT_TRUE(std::regex_search(text, std::regex(R"(: \d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d\d:\d\d)")));
            EXPECT_TRUE(std::regex_search(text, std::regex(R"(Tavix \d+\.\d+)")));
            for (const QJsonValue &v : f["channels"].toArray()) {
                const QJsonObject ch = v.toObject();
                std::vector<std::string> figures = {
                    std::to_string(ch["n"].toInt()),       fixed(ch["min"].toDouble(), 1),
                    ch["min_at"].toString().toStdString(), fixed(ch["max"].toDouble(), 1),
                    ch["max_at"].toString().toStdString(), fixed(ch["mean"].toDouble(), 2),
                    fixed(ch["sd"].toDouble(), 2),         fixed(ch["time_in_range_pct"].toDouble(), 2) + " %"};
                if (!ch["mkt"].isNull()) figures.push_back(fixed(ch["mkt"].toDouble(), 2));
                if (!ch["mkt_worst_window"].isNull()) figures.push_back(fixed(ch["mkt_worst_window"].toDouble(), 2));
                for (const QJsonValue &z : ch["zones"].toArray()) {
                    figures.push_back(z.toObject()["zone"].toString().toStdString());
                    figures.push_back(fixed(z.toObject()["total_min"].toDouble(), 1) + " min");
                }
                for (const std::string &figure : figures) EXPECT_NE(text.find(figure), std::string::npos) << figure;
            }
            const std::string png = (artifacts / ((page == 1 ? "pass-" : "fail-") + std::string(c.name))).string();
            commandOutput("pdftoppm -r 100 -png -singlefile -f " + std::to_string(page) + " -l " +
                          std::to_string(page) + " " + shellQuoted(pdf) + " " + shellQuoted(png));
            EXPECT_TRUE(fs::exists(png + ".png"));
        }
    }
}

TEST_F(CliSummary, PdfPerFileInAFolder) {
    fs::create_directories(dir_ / "other");
    tripdata::write(dir_ / "other" / "pass.txt", tripdata::fridgeDay());
    const Outcome o = run({"summary", "pass.txt", "fail.txt", "other/pass.txt", "--pdf-dir", "reports"});
    ASSERT_EQ(o.status, 11) << o.err;
    for (const char *name : {"pass.pdf", "fail.pdf", "pass-2.pdf"}) {
        const std::string pdf = (dir_ / "reports" / name).string();
        EXPECT_EQ(pdfPages(pdf), 1) << name;
        EXPECT_NE(pdfText(pdf).find("Data table limits"), std::string::npos) << name;
    }
}

TEST_F(CliSummary, ProfilesOfTheProgramFolder) {
    // the user's own profiles file in --app-dir is the one used
    const fs::path app = dir_ / "app";
    fs::create_directories(app);
    fs::copy_file(fs::path(programs::binDir()) / "localORM.ini", app / "localORM.ini");
    fs::copy_file(fs::path(programs::binDir()) / "English.ini", app / "English.ini");
    std::ofstream(app / "TavixProfiles.ini") << "[Cellar]\nZone warm = temperature, >= 15.9, single, 20 min\n";
    const Outcome own = run({"--app-dir", app.string(), "summary", "fail.txt", "--profile", "cellar"});
    EXPECT_EQ(own.status, 11) << own.err;
    EXPECT_NE(own.out.find("fail.txt: FAIL (Cellar)"), std::string::npos) << own.out;
    // a name with a comma and quotes stays one JSON string and one CSV field
    std::ofstream(app / "TavixProfiles.ini") << "[Cellar \"north\", low]\nZone cold = temperature, < 5.0, single, 0\n";
    const Outcome quoted = run({"--app-dir", app.string(), "summary", "fail.txt", "--profile", "cellar \"north\", low",
                                "--json", "--csv", "quoted.csv"});
    EXPECT_EQ(quoted.status, 11) << quoted.err;
    const std::vector<QJsonObject> json = jsonLines(quoted.out);
    ASSERT_EQ(json.size(), 1u);
    EXPECT_EQ(json[0]["profile"].toString(), "Cellar \"north\", low");
    const std::vector<std::string> rows = programs::lines(programs::readFile(dir_ / "quoted.csv"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[1].find(",\"Cellar \"\"north\"\", low\",83.144,FAIL,"), std::string::npos) << rows[1];
    // a refused profiles file: said, and only the data table's profile is left
    std::ofstream(app / "TavixProfiles.ini") << "[Cellar]\nZone warm = temperature, => 15.9, single, 20 min\n";
    const Outcome bad = run({"--app-dir", app.string(), "summary", "fail.txt", "--profile", "cellar"});
    EXPECT_EQ(bad.status, 6) << bad.err;
    EXPECT_NE(bad.err.find("Cellar"), std::string::npos) << bad.err;
}

}   // namespace
