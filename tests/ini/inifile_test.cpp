// The INI store: reading, lookups, conversions, puts and writing.

#include "ini/inifile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CaseName.h"
#include "FileSizeLimit.h"
#include "Programs.h"

namespace fs = std::filesystem;

namespace {

struct StoreDeleter {
    void operator()(IniStore *ini) const { Ini_Dispose(ini); }
};
using Store = std::unique_ptr<IniStore, StoreDeleter>;

Store newStore(bool sorted) { return Store(Ini_New(sorted ? 1 : 0)); }

using programs::readFile;

void spit(const fs::path &p, const std::string &text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// Each test gets a folder of its own.
class IniFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char &c : name) {
            if (c == '/') c = '_';
        }
        dir_ = fs::temp_directory_path() / ("tavix_ini_" + std::to_string(getpid()) + "_" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    fs::path file(const std::string &name) const { return dir_ / name; }

    // A store filled from the given file contents.
    Store load(const std::string &text, bool sorted = true, const std::string &name = "in.ini") {
        spit(file(name), text);
        Store ini = newStore(sorted);
        EXPECT_EQ(Ini_ReadFromFile(ini.get(), file(name).c_str()), 0);
        return ini;
    }

    // The store written out and read back as bytes.
    std::string written(IniHandle ini) {
        const fs::path out = file("out.ini");
        EXPECT_EQ(Ini_WriteToFile(ini, out.c_str()), 0);
        return readFile(out);
    }

    // Names in the folder that the writer uses for its temporary files.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir_)) {
            const std::string n = e.path().filename().string();
            if (n.rfind("ini$$", 0) == 0) names.push_back(n);
        }
        return names;
    }

    fs::path dir_;
};

const char *raw(IniHandle ini, const char *section, const char *tag) {
    const char *p = reinterpret_cast<const char *>(1);
    const int rc = Ini_GetPointerToRawString(ini, section, tag, &p);
    EXPECT_EQ(rc == 1, p != nullptr) << "result and pointer disagree";
    return rc == 1 ? p : nullptr;
}

// ---------------------------------------------------------------------------------------
// Reading: one value looked up in one file, in sorted and unsorted stores alike.

struct LookupCase {
    const char *what;
    std::string file;
    const char *section;
    const char *tag;
    const char *expected;   // nullptr: not found
};

std::string longLine(std::size_t n) { return std::string(n, 'v'); }

const LookupCase kLookupCases[] = {
    {"plain", "[S]\r\nA = 1\r\n", "S", "A", "1"},
    {"lookup ignores case and surrounding blanks", "[General]\r\nLanguage File = English.ini\r\n", " general ",
     "language file\t", "English.ini"},
    {"empty value adds no item", "[S]\r\nA =\r\nB = 2\r\n", "S", "A", nullptr},
    {"blank value adds no item", "[S]\r\nA =   \t\r\n", "S", "A", nullptr},
    {"nothing before the separator", "[S]\r\n = 3\r\n", "S", "", nullptr},
    {"blanks inside the brackets", "[  Sec  ]\r\nA=1\r\n", "Sec", "A", "1"},
    {"header with text after it keeps the open section", "[S]\r\n[T] x\r\nB=2\r\n", "S", "B", "2"},
    {"header with text after it is no section", "[S]\r\n[T] x\r\nB=2\r\n", "T", "B", nullptr},
    {"unclosed header keeps the open section", "[S]\r\n[T\r\nB=2\r\n", "S", "B", "2"},
    {"invalid header holding the separator is no item", "[S]\r\n[T = 5\r\n", "S", "[T", nullptr},
    {"empty header", "[S]\r\n[  ]\r\nB=2\r\n", "S", "B", "2"},
    {"name up to the last bracket", "[a]b]\r\nX=1\r\n", "a]b", "X", "1"},
    {"item before any section is dropped", "A=1\r\n[S]\r\nB=2\r\n", "S", "A", nullptr},
    {"items after an invalid first header are dropped", "[T\r\nB=2\r\n[S]\r\n", "S", "B", nullptr},
    {"quoted value", "[S]\r\nA = \"hello world\"\r\n", "S", "A", "hello world"},
    {"quoted value keeps inner blanks", "[S]\r\nA = \"  x  \"\r\n", "S", "A", "  x  "},
    {"empty quoted value", "[S]\r\nA = \"\"\r\n", "S", "A", ""},
    {"single quote stays", "[S]\r\nA = \"\r\n", "S", "A", "\""},
    {"quote at one end only stays", "[S]\r\nA = \"a\" b\r\n", "S", "A", "\"a\" b"},
    {"semicolon belongs to the value", "[S]\r\nA = 1 ; not a comment\r\n", "S", "A", "1 ; not a comment"},
    {"escapes stay", "[S]\r\nP = C:\\dir\\n\\t\r\n", "S", "P", "C:\\dir\\n\\t"},
    {"value split at the first separator", "[S]\r\nA = b = c\r\n", "S", "A", "b = c"},
    {"white space of all kinds", "\t[S]\v\r\n\f A\t=\t1\t\r\n", "S", "A", "1"},
    {"CR line ends", "[S]\rA=1\rB=2", "S", "B", "2"},
    {"LF line ends", "[S]\nA=1\nB=2\n", "S", "B", "2"},
    {"LF CR line ends", "[S]\n\rA=1\n\rB=2\n\r", "S", "B", "2"},
    {"NUL ends a line", std::string("[S]\0A=1\0B=2", 11), "S", "B", "2"},
    {"last line without line end", "[S]\r\nA=1", "S", "A", "1"},
    {"comment line is no item", "[S]\r\n;A=1\r\n", "S", ";A", nullptr},
    {"UTF-8 passes unchanged", "[Sprache]\r\nTitel = Größe °C – 温度\r\n", "sprache", "TITEL", "Größe °C – 温度"},
    {"continuation lines joined", "[S]\r\nT Line0001 = abc\r\nT Line0002 = def\r\nT Line0003 = g\r\n", "S", "T",
     "abcdefg"},
    {"single continuation line loses its suffix", "[S]\r\nT Line1 = x\r\n", "S", "T", "x"},
    {"continuation numbers are not checked", "[S]\r\nT Line01 = a\r\nU Line7 = b\r\nV Line2 = c\r\n", "S", "T", "abc"},
    {"a line numbered 1 starts a new run", "[S]\r\nT Line1 = a\r\nU Line1 = b\r\n", "S", "U", "b"},
    {"run ends at a plain item", "[S]\r\nT Line1 = a\r\nX = 1\r\nT Line2 = b\r\n", "S", "T", "a"},
    {"run not started stays as it is", "[S]\r\nT Line2 = b\r\n", "S", "T Line2", "b"},
    {"suffix needs digits to the end", "[S]\r\nT Line1x = b\r\n", "S", "T Line1x", "b"},
    {"quoted pieces keep their blanks", "[S]\r\nT Line1 = \" a \"\r\nT Line2 = \"b \"\r\n", "S", "T", " a b "},
    {"1500 characters: the first 1024 count", "[S]\r\nK=" + longLine(1498) + "\r\nN=1\r\n", "S", "K",
     nullptr /* checked below */},
    {"1500 characters: the next line is read", "[S]\r\nK=" + longLine(1498) + "\r\nN=1\r\n", "S", "N", "1"},
};

class IniLookup : public IniFiles, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(IniLookup, FindsWhatTheFileHolds) {
    const LookupCase &c = kLookupCases[std::get<0>(GetParam())];
    const bool sorted = std::get<1>(GetParam());
    SCOPED_TRACE(c.what);
    Store ini = load(c.file, sorted);
    const char *v = raw(ini.get(), c.section, c.tag);
    if (std::string(c.what).find("first 1024") != std::string::npos) {
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(std::string(v), longLine(1024 - 2));
    } else if (c.expected == nullptr) {
        EXPECT_EQ(v, nullptr);
    } else {
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(std::string(v), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniLookup,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kLookupCases))),
                                            ::testing::Bool()),
                         [](const auto &info) {
                             return caseName(kLookupCases[std::get<0>(info.param)].what) +
                                    (std::get<1>(info.param) ? "_sorted" : "_unsorted");
                         });

// ---------------------------------------------------------------------------------------
// Counting, duplicates, lookups in larger stores

TEST_F(IniFiles, EmptyValueIsNotCounted) {
    Store ini = load("[S]\r\nA =\r\nB = 2\r\n");
    EXPECT_EQ(Ini_NumberOfItems(ini.get(), "S"), 1);
    const char *p = "x";
    EXPECT_EQ(Ini_GetPointerToRawString(ini.get(), "S", "A", &p), 0);
    EXPECT_EQ(p, nullptr);
}

TEST_F(IniFiles, DuplicateSectionsAndTagsAreKept) {
    for (bool sorted : {false, true}) {
        Store ini = load("[S]\r\nA=1\r\nA=2\r\n[T]\r\n[s]\r\nB=3\r\n", sorted);
        EXPECT_EQ(Ini_NumberOfSections(ini.get()), 3);
        EXPECT_EQ(Ini_SectionExists(ini.get(), "S"), 1);
        const int n = Ini_NumberOfItems(ini.get(), "s");
        EXPECT_TRUE(n == 2 || n == 1) << n;
        if (!sorted) {   // an unsorted store yields the first section and the first item
            EXPECT_EQ(n, 2);
            EXPECT_STREQ(raw(ini.get(), "S", "A"), "1");
            EXPECT_EQ(raw(ini.get(), "S", "B"), nullptr);
        }
    }
}

TEST_F(IniFiles, MissingSectionsAndNoStore) {
    Store ini = load("[S]\r\nA=1\r\n");
    EXPECT_EQ(Ini_NumberOfItems(ini.get(), "T"), 0);
    EXPECT_EQ(Ini_SectionExists(ini.get(), "T"), 0);
    EXPECT_EQ(Ini_SectionExists(ini.get(), nullptr), 0);
    EXPECT_EQ(raw(ini.get(), "T", "A"), nullptr);
    EXPECT_EQ(raw(ini.get(), "S", nullptr), nullptr);

    const char *p = "x";
    int i = 0;
    double d = 0;
    EXPECT_EQ(Ini_NumberOfItems(nullptr, "S"), 0);
    EXPECT_EQ(Ini_SectionExists(nullptr, "S"), 0);
    EXPECT_EQ(Ini_NumberOfSections(nullptr), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_ReadFromFile(nullptr, file("in.ini").c_str()), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_WriteToFile(nullptr, file("x.ini").c_str()), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_GetPointerToRawString(nullptr, "S", "A", &p), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(Ini_GetInt(nullptr, "S", "A", &i), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_GetDouble(nullptr, "S", "A", &d), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_PutInt(nullptr, "S", "A", 1), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_PutDouble(nullptr, "S", "A", 1), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_PutInt(ini.get(), "S", "  ", 1), INI_ERR_NULL_ARGUMENT);   // could never be read back
    EXPECT_EQ(Ini_PutInt(ini.get(), "", "A", 1), INI_ERR_NULL_ARGUMENT);
    Ini_Dispose(nullptr);
}

// Names around the letters ('#', '_', '[', bytes above 0x7F) order alike under the sort and
// the lookup comparison, so binary search finds every one whatever the case of the request.
TEST_F(IniFiles, BinarySearchFindsEveryNameInAnyCase) {
    const std::vector<std::string> names = {"Zeta",  "_under", "alpha", "Beta", "b_x", "bZ", "#12", "#3",
                                            "Ärger", "a[1",    "A]",    "x y",  "MID", "m",  "~"};
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += "[" + names[i] + "]\r\n";
        for (std::size_t k = 0; k <= i; ++k) text += names[k] + " = " + std::to_string(k) + "\r\n";
    }
    Store ini = load(text, true);
    ASSERT_EQ(Ini_NumberOfSections(ini.get()), static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string lower = names[i];
        std::string upper = names[i];
        for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const std::string &sec : {lower, upper, " " + names[i] + " "}) {
            EXPECT_EQ(Ini_NumberOfItems(ini.get(), sec.c_str()), static_cast<int>(i + 1)) << sec;
            for (std::size_t k = 0; k <= i; ++k) {
                const char *v = raw(ini.get(), sec.c_str(), names[k].c_str());
                ASSERT_NE(v, nullptr) << sec << " / " << names[k];
                EXPECT_EQ(std::string(v), std::to_string(k));
            }
        }
    }
}

TEST_F(IniFiles, ReadingAppendsToWhatTheStoreHolds) {
    spit(file("a.ini"), "[B]\r\nX=1\r\n");
    spit(file("b.ini"), "[A]\r\nY=2\r\n[b]\r\nZ=3\r\n");
    Store ini = newStore(true);
    ASSERT_EQ(Ini_ReadFromFile(ini.get(), file("a.ini").c_str()), 0);
    ASSERT_EQ(Ini_ReadFromFile(ini.get(), file("b.ini").c_str()), 0);
    EXPECT_EQ(Ini_NumberOfSections(ini.get()), 3);
    EXPECT_STREQ(raw(ini.get(), "a", "y"), "2");
    EXPECT_EQ(written(ini.get()).substr(0, 5), "[A]\r\n");
}

TEST_F(IniFiles, ReadFailures) {
    Store ini = newStore(true);
    EXPECT_EQ(Ini_ReadFromFile(ini.get(), file("missing.ini").c_str()), INI_ERR_OPEN);
    // A folder opens but cannot be read.
    EXPECT_EQ(Ini_ReadFromFile(ini.get(), dir_.c_str()), INI_ERR_READ);
    EXPECT_EQ(Ini_NumberOfSections(ini.get()), 0);
}

// A text in memory reads as the same bytes in a file: only its length counts (no terminator,
// a zero byte ends a line), and line ends split across the file reader's 2048-byte blocks
// read alike.
TEST_F(IniFiles, TextInMemoryReadsAsTheFile) {
    std::string text = "; head\r\n\r\n[A]\r\nx = 1\ny = 2\rz = 3\n\r[B]\r\n";
    text += std::string("k") + '\0' + "after_zero = 4\r\n";
    for (int i = 0; text.size() < 2047; ++i)
        text += "v" + std::to_string(i) + " = " + std::string(i % 50, 'w') + "\r\n";
    text.resize(2047);
    text += "\r\nlast = \"quoted\"\r\n; tail";
    spit(file("same.ini"), text);
    for (const bool sorted : {true, false}) {
        Store fromFile = newStore(sorted);
        ASSERT_EQ(Ini_ReadFromFile(fromFile.get(), file("same.ini").c_str()), 0);
        const std::string bytes = text + "[Never]\r\nread = 1\r\n";   // beyond the length given
        Store fromText = newStore(sorted);
        ASSERT_EQ(Ini_ReadFromText(fromText.get(), bytes.data(), text.size()), 0);
        EXPECT_FALSE(Ini_SectionExists(fromText.get(), "Never"));
        EXPECT_STREQ(raw(fromText.get(), "B", "last"), "quoted");
        // and the text the writer makes is what it writes to a file
        std::string made;
        ASSERT_EQ(Ini_WriteToText(fromText.get(), made), 0);
        EXPECT_EQ(made, written(fromFile.get())) << (sorted ? "sorted" : "unsorted");
    }
    Store empty = newStore(true);
    EXPECT_EQ(Ini_ReadFromText(empty.get(), nullptr, 0), 0);
    EXPECT_EQ(Ini_NumberOfSections(empty.get()), 0);
    EXPECT_EQ(Ini_ReadFromText(empty.get(), nullptr, 1), INI_ERR_NULL_ARGUMENT);
    EXPECT_EQ(Ini_ReadFromText(nullptr, "[A]", 3), INI_ERR_NULL_ARGUMENT);
}

TEST_F(IniFiles, OverlongNamesAreCut) {
    const std::string name(300, 'n');
    Store ini = load("[" + name + "]\r\n" + name + "=1\r\n");
    EXPECT_STREQ(raw(ini.get(), name.substr(0, INI_MAX_NAME).c_str(), name.substr(0, INI_MAX_NAME).c_str()), "1");
    EXPECT_STREQ(raw(ini.get(), name.c_str(), name.c_str()), "1");
}

TEST_F(IniFiles, OverlongCommentLineIsCut) {
    const std::string comment = ";" + std::string(1499, 'c');
    Store ini = load(comment + "\r\n\r\n[S]\r\n", false);
    EXPECT_EQ(written(ini.get()), comment.substr(0, 1024) + "\r\n\r\n[S]\r\n\r\n");
}

// ---------------------------------------------------------------------------------------
// Writing

TEST_F(IniFiles, CommentsAreWrittenBackWhereTheyWere) {
    const std::string text =
        "; head 1\r\n"
        "  ; head 2\r\n"
        "\r\n"
        "; about General\r\n"
        "[General]\r\n"
        "; about the language\r\n"
        "Language File = English.ini\r\n"
        "Date Format = Y-M-D\r\n"
        "\r\n"
        "; pending across a blank line\r\n"
        "\r\n"
        "[Other]\r\n"
        "K = v\r\n"
        "; the end\r\n";
    const std::string expected =
        "; head 1\r\n"
        "  ; head 2\r\n"
        "\r\n"
        "; about General\r\n"
        "[General]\r\n"
        "; about the language\r\n"
        "Language File = English.ini\r\n"
        "Date Format = Y-M-D\r\n"
        "\r\n"
        "; pending across a blank line\r\n"
        "[Other]\r\n"
        "K = v\r\n"
        "\r\n"
        "; the end\r\n";
    Store ini = load(text, false);
    const std::string out = written(ini.get());
    EXPECT_EQ(out, expected);
    // Written text reads back to the same text.
    Store again = load(out, false, "again.ini");
    EXPECT_EQ(written(again.get()), expected);
}

TEST_F(IniFiles, CommentWithoutBlankLineAtTopGoesToTheFirstSection) {
    Store ini = load("; about S\n[S]\nA=1\n", false);
    EXPECT_EQ(written(ini.get()), "; about S\r\n[S]\r\nA = 1\r\n\r\n");
}

TEST_F(IniFiles, SortedStoreIsWrittenInAlphabeticalOrder) {
    Store ini = load("[b]\r\nz=1\r\nA=2\r\n[C]\r\nk=3\r\n[a]\r\nY=4\r\nx=5\r\n", true);
    EXPECT_EQ(written(ini.get()), "[a]\r\nx = 5\r\nY = 4\r\n\r\n[b]\r\nA = 2\r\nz = 1\r\n\r\n[C]\r\nk = 3\r\n\r\n");
    // A put into a new section puts the section at its sorted place, and items too.
    ASSERT_EQ(Ini_PutInt(ini.get(), "B2", "m", 7), 0);
    ASSERT_EQ(Ini_PutInt(ini.get(), "a", "xa", 6), 0);
    EXPECT_EQ(written(ini.get()),
              "[a]\r\nx = 5\r\nxa = 6\r\nY = 4\r\n\r\n[b]\r\nA = 2\r\nz = 1\r\n\r\n[B2]\r\nm = 7\r\n\r\n"
              "[C]\r\nk = 3\r\n\r\n");
}

TEST_F(IniFiles, PutReplacesInPlaceInAnUnsortedStore) {
    Store ini = load("[S]\r\nb = 1\r\n; about a\r\nA = 2\r\nc = 3\r\na = 4\r\n", false);
    ASSERT_EQ(Ini_PutInt(ini.get(), " s ", " a ", -9), 0);
    ASSERT_EQ(Ini_PutInt(ini.get(), "S", "d", 5), 0);
    ASSERT_EQ(Ini_PutInt(ini.get(), "New", "x", 1), 0);
    // Every item of the tag is replaced by one at the first one's place; its comment goes with it.
    EXPECT_EQ(written(ini.get()), "[S]\r\nb = 1\r\na = -9\r\nc = 3\r\nd = 5\r\n\r\n[New]\r\nx = 1\r\n\r\n");
}

// A value handed out stays where it is while the store takes in far more than its first
// room, whether the value was read or put, short or longer than any room the store takes at once.
TEST_F(IniFiles, RawPointerSurvivesOtherPuts) {
    struct Case {
        const char *what;
        std::string value;
        bool put;
    };
    const Case cases[] = {
        {"short value read", "stay", false},
        {"value of a whole line read", std::string(900, 'v'), false},
        {"short value put", "stay", true},
        {"value longer than the largest room put", std::string(70000, 'w'), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Store ini = load("[S]\r\nkeep = " + (c.put ? std::string("old") : c.value) + "\r\n", true);
        if (c.put) ASSERT_EQ(Ini_PutString(ini.get(), "S", "keep", c.value.c_str()), 0);
        const char *p = raw(ini.get(), "S", "keep");
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < 200; ++i) {
            ASSERT_EQ(Ini_PutInt(ini.get(), "S", ("k" + std::to_string(i)).c_str(), i), 0);
            ASSERT_EQ(Ini_PutInt(ini.get(), ("T" + std::to_string(i)).c_str(), "x", i), 0);
            ASSERT_EQ(Ini_PutString(ini.get(), "U", "long", std::string(100 + i * 7, 'u').c_str()), 0);
        }
        EXPECT_EQ(std::string_view(p), c.value);
        EXPECT_EQ(raw(ini.get(), "S", "keep"), p);
    }
}

TEST_F(IniFiles, LongValueIsWrittenAsContinuationLinesAndReadBack) {
    std::string value;
    for (int i = 0; i < 200; ++i) value += static_cast<char>('a' + i % 26);
    Store ini = load("[S]\r\nText = " + value + "\r\nNext = 1\r\n", false);
    const std::string out = written(ini.get());
    EXPECT_EQ(out, "[S]\r\nText Line0001 = " + value.substr(0, 80) + "\r\nText Line0002 = " + value.substr(80, 80) +
                       "\r\nText Line0003 = " + value.substr(160) + "\r\nNext = 1\r\n\r\n");
    Store back = load(out, true, "back.ini");
    EXPECT_EQ(Ini_NumberOfItems(back.get(), "S"), 2);
    EXPECT_STREQ(raw(back.get(), "S", "Text"), value.c_str());
}

TEST_F(IniFiles, QuotedLongValueQuotesEveryPiece) {
    const std::string value(200, 'q');
    Store ini = load("[S]\r\nT = \"" + value + "\"\r\n", false);
    const std::string q = "\"";
    EXPECT_EQ(written(ini.get()), "[S]\r\nT Line0001 = " + q + value.substr(0, 80) + q + "\r\nT Line0002 = " + q +
                                      value.substr(0, 80) + q + "\r\nT Line0003 = " + q + value.substr(0, 40) + q +
                                      "\r\n\r\n");
}

// Values that the reader would change if written plainly (blanks or quotes at a piece's ends,
// a multibyte character across a piece boundary) still read back byte for byte.
TEST_F(IniFiles, ValuesReadBackExactly) {
    const std::string blanks = std::string(79, 'a') + " b" + std::string(100, 'c');         // blank at position 79/80
    const std::string quotes = "\"" + std::string(78, 'x') + "\"" + std::string(50, 'y');   // piece 1 in quotes
    std::string utf8 = std::string(79, 'u');
    for (int i = 0; i < 40; ++i) utf8 += "é";      // two bytes each: byte 80 falls inside a character
    const std::string shortQuoted = "\"inner\"";   // an unquoted value with a quote at each end
    const std::vector<std::string> values = {blanks, quotes, utf8};
    std::string text = "[S]\r\n";
    for (std::size_t i = 0; i < values.size(); ++i) text += "V" + std::to_string(i) + " = " + values[i] + "\r\n";
    text += "Q Line1 = \"inner\r\nQ Line2 = \"\r\n";   // joins to "inner" with its quotes, unquoted
    Store ini = load(text, false);
    ASSERT_STREQ(raw(ini.get(), "S", "Q"), shortQuoted.c_str());
    const std::string out = written(ini.get());
    Store back = load(out, false, "back.ini");
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_STREQ(raw(back.get(), "S", ("V" + std::to_string(i)).c_str()), values[i].c_str()) << i;
    }
    EXPECT_STREQ(raw(back.get(), "S", "Q"), shortQuoted.c_str());
    // No written line starts a value inside a UTF-8 character.
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(" = ");
        if (at != std::string::npos && at + 3 < line.size()) {
            EXPECT_NE(static_cast<unsigned char>(line[at + 3]) & 0xC0, 0x80) << line;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Conversions

struct IntCase {
    const char *value;   // as written in the file after "A = "
    int result;
    int expected;   // when result is 1
};

const IntCase kIntCases[] = {
    {"-7", 1, -7},
    {"\"  -7  \"", 1, -7},
    {"+5", 1, 5},
    {"0", 1, 0},
    {"2147483647", 1, 2147483647},
    {"-2147483648", 1, -2147483647 - 1},
    {"007", 1, 7},
    {"- 7", INI_ERR_NOT_INTEGER, 0},
    {"+-7", INI_ERR_NOT_INTEGER, 0},
    {"--7", INI_ERR_NOT_INTEGER, 0},
    {"12abc", INI_ERR_NOT_INTEGER, 0},
    {"0x10", INI_ERR_NOT_INTEGER, 0},
    {"1.5", INI_ERR_NOT_INTEGER, 0},
    {"1e3", INI_ERR_NOT_INTEGER, 0},
    {"2147483648", INI_ERR_NOT_INTEGER, 0},
    {"-2147483649", INI_ERR_NOT_INTEGER, 0},
    {"99999999999999999999", INI_ERR_NOT_INTEGER, 0},
    {"-", INI_ERR_NOT_INTEGER, 0},
    {"abc", INI_ERR_NOT_INTEGER, 0},
    {"1 2", INI_ERR_NOT_INTEGER, 0},
    {"\"\"", 0, 0},
    {"\"   \"", 0, 0},
};

TEST_F(IniFiles, IntegerConversion) {
    std::string text = "[S]\r\n";
    for (std::size_t i = 0; i < std::size(kIntCases); ++i)
        text += "A" + std::to_string(i) + " = " + kIntCases[i].value + "\r\n";
    Store ini = load(text);
    for (std::size_t i = 0; i < std::size(kIntCases); ++i) {
        const IntCase &c = kIntCases[i];
        int v = 12345;
        EXPECT_EQ(Ini_GetInt(ini.get(), "S", ("A" + std::to_string(i)).c_str(), &v), c.result) << c.value;
        EXPECT_EQ(v, c.result == 1 ? c.expected : 12345) << c.value;
    }
    int v = 12345;
    EXPECT_EQ(Ini_GetInt(ini.get(), "S", "missing", &v), 0);
    EXPECT_EQ(v, 12345);
}

struct DoubleCase {
    const char *value;
    int result;
    double expected;   // what the double holds afterwards (NaN: a NaN)
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kUntouched = 4242.0;

const DoubleCase kDoubleCases[] = {
    {"1.5", 1, 1.5},
    {"-273.15", 1, -273.15},
    {"+0.125", 1, 0.125},
    {"1e-3", 1, 1e-3},
    {"1E3", 1, 1000.0},
    {"25", 1, 25.0},
    {".5", 1, 0.5},
    {"5.", 1, 5.0},
    {"0x10", 1, 16.0},
    {"inf", 1, kInf},
    {"INF", 1, kInf},
    {"+Inf", 1, kInf},
    {"-iNf", 1, -kInf},
    {"infinity", 1, kInf},
    {"nan", 1, std::numeric_limits<double>::quiet_NaN()},
    {"\" 2.5\"", 1, 2.5},
    {"1e999", INI_ERR_NOT_NUMBER, kInf},
    {"-1e999", INI_ERR_NOT_NUMBER, -kInf},
    {"1e-999", INI_ERR_NOT_NUMBER, 0.0},
    {"12abc", INI_ERR_NOT_NUMBER, 12.0},
    {"1,5", INI_ERR_NOT_NUMBER, 1.0},
    {"\"2.5 \"", INI_ERR_NOT_NUMBER, 2.5},
    {"abc", INI_ERR_NOT_NUMBER, 0.0},
    {"+-1", INI_ERR_NOT_NUMBER, 0.0},
    {"--1", INI_ERR_NOT_NUMBER, 0.0},
    {"-", INI_ERR_NOT_NUMBER, 0.0},
    {"\"\"", 0, kUntouched},
    {"\"  \"", 0, kUntouched},
};

TEST_F(IniFiles, RealConversion) {
    std::string text = "[S]\r\n";
    for (std::size_t i = 0; i < std::size(kDoubleCases); ++i) {
        text += "D" + std::to_string(i) + " = " + kDoubleCases[i].value + "\r\n";
    }
    Store ini = load(text);
    for (std::size_t i = 0; i < std::size(kDoubleCases); ++i) {
        const DoubleCase &c = kDoubleCases[i];
        double v = kUntouched;
        EXPECT_EQ(Ini_GetDouble(ini.get(), "S", ("D" + std::to_string(i)).c_str(), &v), c.result) << c.value;
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(v)) << c.value;
        } else {
            EXPECT_EQ(v, c.expected) << c.value;
        }
    }
    double v = kUntouched;
    EXPECT_EQ(Ini_GetDouble(ini.get(), "S", "missing", &v), 0);
    EXPECT_EQ(v, kUntouched);
}

TEST_F(IniFiles, PutValuesReadBackUnchanged) {
    const double kMax = std::numeric_limits<double>::max();   // 16 digits would round it past the range
    const std::vector<double> reals = {0.1,    -273.15,      1e300, 5e-324, 123456789.123, -0.0, 1.0 / 3.0,
                                       2.5e-7, 4294967295.0, kInf,  -kInf,  kMax,          -kMax};
    const std::vector<int> ints = {0, -1, 2147483647, -2147483647 - 1};
    Store ini = newStore(true);
    for (std::size_t i = 0; i < reals.size(); ++i)
        ASSERT_EQ(Ini_PutDouble(ini.get(), "#12", ("R" + std::to_string(i)).c_str(), reals[i]), 0);
    for (std::size_t i = 0; i < ints.size(); ++i)
        ASSERT_EQ(Ini_PutInt(ini.get(), "#3", ("I" + std::to_string(i)).c_str(), ints[i]), 0);
    const std::string out = written(ini.get());
    EXPECT_NE(out.find("R0 = 0.1\r\n"), std::string::npos);   // "%.16g"
    EXPECT_NE(out.find("R1 = -273.15\r\n"), std::string::npos);
    EXPECT_NE(out.find("R6 = 0.3333333333333333\r\n"), std::string::npos);
    Store back = load(out, true, "back.ini");
    for (std::size_t i = 0; i < reals.size(); ++i) {
        double d = 0;
        ASSERT_EQ(Ini_GetDouble(back.get(), "#12", ("R" + std::to_string(i)).c_str(), &d), 1) << reals[i];
        // 16 significant digits: equal to that precision, exact for the short ones.
        if (std::isinf(reals[i]) || reals[i] == 0.0 || i == 0 || i == 1 || i == 8 || i >= 11) {
            EXPECT_EQ(d, reals[i]);
        } else {
            EXPECT_NEAR(d, reals[i], std::fabs(reals[i]) * 1e-15);
        }
    }
    for (std::size_t i = 0; i < ints.size(); ++i) {
        int n = 0;
        ASSERT_EQ(Ini_GetInt(back.get(), "#3", ("I" + std::to_string(i)).c_str(), &n), 1);
        EXPECT_EQ(n, ints[i]);
    }
}

// Numbers in files never take the decimal comma of the user's locale.
TEST_F(IniFiles, RealsUnderGermanLocale) {
    struct RestoreLocale {
        std::string saved = std::setlocale(LC_ALL, nullptr);
        ~RestoreLocale() { std::setlocale(LC_ALL, saved.c_str()); }
    } restore;
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the German locale is not in effect";

    const std::vector<double> reals = {1.5, -273.15, 0.1, 12345.678, 1e-7};
    Store ini = newStore(true);
    for (std::size_t i = 0; i < reals.size(); ++i)
        ASSERT_EQ(Ini_PutDouble(ini.get(), "#7", ("R" + std::to_string(i)).c_str(), reals[i]), 0);
    const std::string out = written(ini.get());
    EXPECT_EQ(out.find(','), std::string::npos) << out;
    EXPECT_NE(out.find("R0 = 1.5\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("R1 = -273.15\r\n"), std::string::npos) << out;

    Store back = load(out + "[Typed]\r\nx = 2.75\r\ny = 2,75\r\n", true, "back.ini");
    for (std::size_t i = 0; i < reals.size(); ++i) {
        double d = 0;
        ASSERT_EQ(Ini_GetDouble(back.get(), "#7", ("R" + std::to_string(i)).c_str(), &d), 1);
        EXPECT_EQ(d, reals[i]);
    }
    double d = 0;
    EXPECT_EQ(Ini_GetDouble(back.get(), "Typed", "x", &d), 1);
    EXPECT_EQ(d, 2.75);
    EXPECT_EQ(Ini_GetDouble(back.get(), "Typed", "y", &d), INI_ERR_NOT_NUMBER);
    EXPECT_EQ(d, 2.0);
}

// ---------------------------------------------------------------------------------------
// Replacing the target: never missing, never half written

const char kOld[] = "[Old]\r\nkeep = me\r\n";

TEST_F(IniFiles, WriteReplacesTheTargetAndLeavesNoTemporaryFile) {
    spit(file("t.ini"), kOld);
    ASSERT_EQ(chmod(file("t.ini").c_str(), 0600), 0);
    Store ini = newStore(true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "New", "x", 1), 0);
    ASSERT_EQ(Ini_WriteToFile(ini.get(), file("t.ini").c_str()), 0);
    EXPECT_EQ(readFile(file("t.ini")), "[New]\r\nx = 1\r\n\r\n");
    EXPECT_EQ(fs::status(file("t.ini")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(leftovers().empty());
    // A new file in the working folder, named without a folder.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    EXPECT_EQ(Ini_WriteToFile(ini.get(), "rel.ini"), 0);
    fs::current_path(cwd);
    EXPECT_EQ(readFile(file("rel.ini")), "[New]\r\nx = 1\r\n\r\n");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniFiles, TargetThatIsAFolderIsRefused) {
    fs::create_directory(file("t.ini"));
    Store ini = newStore(true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "S", "x", 1), 0);
    EXPECT_EQ(Ini_WriteToFile(ini.get(), file("t.ini").c_str()), INI_ERR_ACCESS);
    EXPECT_TRUE(fs::is_directory(file("t.ini")));
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniFiles, TargetInAMissingFolderIsRefused) {
    Store ini = newStore(true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "S", "x", 1), 0);
    EXPECT_EQ(Ini_WriteToFile(ini.get(), file("no/such/t.ini").c_str()), INI_ERR_ACCESS);
    EXPECT_FALSE(fs::exists(file("no")));
}

TEST_F(IniFiles, NoFreeTemporaryNameLeavesTheOldFile) {
    spit(file("t.ini"), kOld);
    for (int n = 0; n < 1000; ++n) spit(file("ini$$" + std::to_string(n) + ".TMP"), "");
    Store ini = newStore(true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "S", "x", 1), 0);
    EXPECT_LT(Ini_WriteToFile(ini.get(), file("t.ini").c_str()), 0);
    EXPECT_EQ(readFile(file("t.ini")), kOld);
    EXPECT_EQ(leftovers().size(), 1000u);
    // One name freed: the write succeeds through it.
    fs::remove(file("ini$$999.TMP"));
    EXPECT_EQ(Ini_WriteToFile(ini.get(), file("t.ini").c_str()), 0);
    EXPECT_EQ(readFile(file("t.ini")), "[S]\r\nx = 1\r\n\r\n");
}

// The data stop fitting halfway through (a file-size limit holds for root as well): the
// error is reported and the old file is still there, whole.
TEST_F(IniFiles, WriteErrorHalfwayLeavesTheOldFile) {
    spit(file("t.ini"), kOld);
    Store ini = newStore(true);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(Ini_PutDouble(ini.get(), "S", ("value" + std::to_string(i)).c_str(), i / 7.0), 0);

    int rc = 0;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        rc = Ini_WriteToFile(ini.get(), file("t.ini").c_str());
    }

    EXPECT_LT(rc, 0);
    EXPECT_EQ(readFile(file("t.ini")), kOld);
    EXPECT_TRUE(leftovers().empty());
    // Without the limit the same store is written.
    EXPECT_EQ(Ini_WriteToFile(ini.get(), file("t.ini").c_str()), 0);
    Store back = newStore(true);
    ASSERT_EQ(Ini_ReadFromFile(back.get(), file("t.ini").c_str()), 0);
    EXPECT_EQ(Ini_NumberOfItems(back.get(), "S"), 2000);
}

// The target need not be a plain file: a symbolic link is followed (the file it points to is
// replaced, the link stays), anything but a regular file is refused and left as it was.
struct TargetCase {
    const char *name;
    void (*make)(const fs::path &dir);   // makes "t.ini" in dir and what it leads to
    const char *written;                 // the file that receives the store; nullptr: refused
};

void PrintTo(const TargetCase &c, std::ostream *os) { *os << c.name; }

class IniTargets : public IniFiles, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(IniTargets, LinksAreFollowedAndOnlyFilesReplaced) {
    const TargetCase &c = GetParam();
    c.make(dir_);
    Store ini = newStore(true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "New", "x", 1), 0);
    auto kinds = [this] {
        return std::vector<fs::file_type>{fs::symlink_status(file("t.ini")).type(),
                                          fs::symlink_status(file("real.ini")).type()};
    };
    const std::vector<fs::file_type> before = kinds();
    const int rc = Ini_WriteToFile(ini.get(), file("t.ini").c_str());
    EXPECT_EQ(kinds(), before);
    EXPECT_TRUE(leftovers().empty());
    if (c.written != nullptr) {
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(readFile(file(c.written)), "[New]\r\nx = 1\r\n\r\n");
    } else {
        EXPECT_EQ(rc, INI_ERR_ACCESS);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, IniTargets,
                         ::testing::Values(TargetCase{"link_to_a_file",
                                                      [](const fs::path &dir) {
                                                          spit(dir / "real.ini", kOld);
                                                          fs::create_symlink("real.ini", dir / "t.ini");
                                                      },
                                                      "real.ini"},
                                           TargetCase{"fifo",
                                                      [](const fs::path &dir) {
                                                          ASSERT_EQ(mkfifo((dir / "t.ini").c_str(), 0644), 0);
                                                      },
                                                      nullptr},
                                           TargetCase{"link_to_a_fifo",
                                                      [](const fs::path &dir) {
                                                          ASSERT_EQ(mkfifo((dir / "real.ini").c_str(), 0644), 0);
                                                          fs::create_symlink("real.ini", dir / "t.ini");
                                                      },
                                                      nullptr}),
                         [](const auto &info) { return std::string(info.param.name); });

}   // namespace
