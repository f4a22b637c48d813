// The text forms of the data file: value fields, value words and the display form of a path.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/DataFile.h"

namespace {

std::string field(double v) {
    char out[64];
    formatFileVal(out, sizeof out, v);
    return out;
}

// The integer part of (value - 10000) of an error value.
long long codeOf(double v) { return static_cast<long long>(v - 10000.0); }

struct FieldCase {
    double value;
    const char *text;
};

TEST(DataFileFormat, ValueFields) {
    const FieldCase cases[] = {
        {21.5 + 0.00001, "  21.5 "},
        {-5.0 + 0.00001, "  -5.0 "},      // a blank, -5.0 right-aligned in 5 columns, a blank
        {-123.4 + 0.00001, " -123.4 "},   // wider than 5 columns
        {0.0, "   0.0 "},
        {-0.04, "  -0.0 "},
        {1234.56, " 1234.6 "},
        {10000.0, " 10000.0 "},   // 10000 itself is a measurement
        {10000.00001, " E00 "},
        {10000.999, " E00 "},
        {10001.0, " E01 "},
        {10001.99, " E01 "},
        {10005.0, " E05 "},
        {10123.0, " E123 "},
        {10000.0 + 4567.00001, " E4567 "},
    };
    for (const FieldCase &c : cases) EXPECT_EQ(field(c.value), c.text) << c.value;
}

TEST(DataFileFormat, ValueFieldsOfExtremeValuesStayBounded) {
    char out[16];
    // a field that does not fit is cut, always terminated
    EXPECT_EQ(formatFileVal(out, sizeof out, 1e300 + 10000.0), sizeof out - 1);
    EXPECT_EQ(std::string(out).substr(0, 3), " E1");
    EXPECT_EQ(field(-1e30).front(), ' ');
    EXPECT_EQ(field(1e30 + 10000).substr(0, 3), " E1");
    EXPECT_EQ(field(NAN), "   nan ");
    EXPECT_EQ(formatFileVal(out, 0, 1.0), 0u);
}

TEST(DataFileFormat, BuildFileValStrWritesTheField) {
    std::FILE *f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    BuildFileValStr(f, 19.0 + 0.00001);
    BuildFileValStr(f, 10005.00001);
    std::rewind(f);
    char text[64] = "";
    ASSERT_NE(std::fgets(text, sizeof text, f), nullptr);
    EXPECT_STREQ(text, "  19.0  E05 ");
    std::fclose(f);
}

struct WordCase {
    const char *word;
    double value;
};

TEST(DataFileFormat, ValueWords) {
    const WordCase cases[] = {
        {"21.5", 21.5},
        {"-5.0", -5.0},
        {"10000.0", 10000.0},
        {"12abc", 12.0},
        {"abc", 0.0},
        {"", 0.0},
        {"+4.5", 4.5},
        {"1e3", 1000.0},
        {".5", 0.5},
        {"-.5", -0.5},
        {"e05", 0.0},
        // not a finite number: 0
        {"nan", 0.0},
        {"inf", 0.0},
        {"1e999", 0.0},
    };
    for (const WordCase &c : cases) EXPECT_DOUBLE_EQ(GetFileVal(c.word), c.value) << c.word;
}

TEST(DataFileFormat, ErrorWordsStayErrors) {
    const struct {
        const char *word;
        long long code;
    } cases[] = {{"E00", 0}, {"E05", 5}, {"E5", 5}, {"E123", 123}, {"E", 0}, {"Exyz", 0}, {"E-3", 0}, {"E12.7", 12}};
    for (const auto &c : cases) {
        const double v = GetFileVal(c.word);
        EXPECT_GT(v, 10000.0) << c.word;
        EXPECT_EQ(codeOf(v), c.code) << c.word;
        EXPECT_EQ(field(v), " E" + std::string(c.code < 10 ? "0" : "") + std::to_string(c.code) + " ") << c.word;
    }
    // the same value as the logger's decoding gives for the error
    EXPECT_DOUBLE_EQ(GetFileVal("E03"), 10003.00001);
}

TEST(DataFileFormat, FieldsReadBackToOneDecimal) {
    for (int tenths = -4000; tenths <= 12000; ++tenths) {
        const double v = tenths / 10.0 + 0.00001;
        std::string f = field(v);
        const std::size_t start = f.find_first_not_of(' ');
        const double back = GetFileVal(f.c_str() + start);
        ASSERT_NEAR(back, std::round(v * 10) / 10, 1e-9) << f;
    }
    for (int code : {0, 1, 5, 99, 100, 123, 32767}) {
        std::string f = field(10000.0 + code + 0.00001);
        EXPECT_EQ(codeOf(GetFileVal(f.c_str() + 1)), code) << f;
    }
}

TEST(DataFileFormat, NumbersIgnoreTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");   // the locale is in force
    EXPECT_EQ(field(21.5), "  21.5 ");
    EXPECT_EQ(field(-123.45), " -123.5 ");
    EXPECT_DOUBLE_EQ(GetFileVal("21.5"), 21.5);
    EXPECT_DOUBLE_EQ(GetFileVal("21,5"), 21.0);
    std::setlocale(LC_ALL, saved.c_str());
}

struct PathCase {
    const char *path;
    const char *shown;
};

TEST(DataFileFormat, FileNamePrintOut) {
    const PathCase cases[] = {
        {"", ""},
        // 36 characters: unchanged
        {"/home/user/Documents/Tavix/1234.txt", "/home/user/Documents/Tavix/1234.txt"},
        {"/home/user/Documents/Tavix/12345.txt", "/home/user/Documents/Tavix/12345.txt"},
        // 37 and more: the start of the folder, "...", the separator, the file name (36)
        {"/home/user/Documents/Tavix/123456.txt", "/home/user/Documents/T.../123456.txt"},
        {"/home/user/Documents/Tavix/20261210.txt", "/home/user/Documents.../20261210.txt"},
        {"C:\\Documents and Settings\\user1\\Documents\\Tavix\\2024_day.txt", "C:\\Documents and Set...\\2024_day.txt"},
        // the last separator of either kind
        {"C:\\data/more\\folders/and/more/folders\\2024_day.txt", "C:\\data/more\\folders...\\2024_day.txt"},
        {"C:\\data\\more\\folders\\and\\more\\folders/2024_day.txt", "C:\\data\\more\\folders.../2024_day.txt"},
        // a file name of 33 characters or more: its first 29 characters and "..." (32)
        {"/tmp/a-very-long-file-name-of-the-download.txt", "a-very-long-file-name-of-the-..."},
        {"no-separator-at-all-in-this-long-file-name.txt", "no-separator-at-all-in-this-l..."},
        // a path ending in a separator
        {"/home/user/Documents/Tavix/some/folder/", "/home/user/Documents/Tavix/some/.../"},
    };
    for (const PathCase &c : cases) {
        char shown[FILE_NAME_SHOWN_SIZE];
        std::memset(shown, '#', sizeof shown);
        FileNamePrintOut(shown, c.path);
        EXPECT_STREQ(shown, c.shown) << c.path;
        EXPECT_LE(std::strlen(shown), 36u);
    }
}

TEST(DataFileFormat, FileNamePrintOutNeverSplitsACharacter) {
    // "ä" is two bytes; the cut at 20 bytes would fall inside it
    const char *path = "/home/user/Documentä/Tavix/20261210.txt";
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    EXPECT_STREQ(shown, "/home/user/Document.../20261210.txt");
}

}   // namespace
