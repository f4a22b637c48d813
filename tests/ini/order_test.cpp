// The INI store's name order and its reading of texts in memory, where the store compares
// eight bytes at a time, sorts only what a read adds and hands lines out in place.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CaseName.h"
#include "ini/inifile.h"

namespace {

struct StoreDeleter {
    void operator()(IniStore *ini) const { Ini_Dispose(ini); }
};
using Store = std::unique_ptr<IniStore, StoreDeleter>;

Store fromText(const std::string &text, bool sorted) {
    Store ini(Ini_New(sorted ? 1 : 0));
    EXPECT_EQ(Ini_ReadFromText(ini.get(), text.data(), text.size()), 0);
    return ini;
}

std::string textOf(IniHandle ini) {
    std::string text;
    EXPECT_EQ(Ini_WriteToText(ini, text), 0);
    return text;
}

// ---------------------------------------------------------------------------------------
// Name order: two section names, the one that sorts first and the other, or two names that
// are the same name in another case. The differences sit at the edges of the letter ranges,
// in bytes with the top bit set, and before, inside and after the eight-byte words.

struct OrderCase {
    const char *what;
    std::string first;
    std::string second;
    bool same;   // one name in two cases: the later read is a duplicate of the first
};

const OrderCase kOrderCases[] = {
    {"a letter folds to upper case", "b", "C", false},
    {"at sign before a", "@", "a", false},
    {"a before backquote", "a", "`", false},
    {"z before brace", "z", "{", false},
    {"underscore after letters", "Z", "_", false},
    {"top bit set is no letter", "A", "\xE1", false},
    {"top-bit bytes keep their values", "\xC1", "\xE1", false},
    {"shorter prefix first", "abc", "ABCD", false},
    {"difference in the eighth byte", "abcdefgA", "ABCDEFGb", false},
    {"difference in the ninth byte", "abcdefgh1", "ABCDEFGH2", false},
    {"difference in the sixteenth byte", "0123456789abcdeF", "0123456789ABCDEg", false},
    {"eight bytes before sixteen", "ABCDEFGH", "abcdefgh12345678", false},
    {"one name in two cases, short", "General", "GENERAL", true},
    {"one name in two cases, two words", "Language File Ab", "language file aB", true},
    {"one name in two cases, words and rest", "tavix-Chart Colours 2", "TAVIX-chart colours 2", true},
};

class IniNameOrder : public ::testing::TestWithParam<int> {};

TEST_P(IniNameOrder, SortsAndFindsAsByteByByte) {
    const OrderCase &c = kOrderCases[GetParam()];
    // read in the wrong order, so that a sorted store must swap them
    const std::string text = "[" + c.second + "]\r\nk = 2\r\n[" + c.first + "]\r\nk = 1\r\n";
    Store ini = fromText(text, true);
    ASSERT_EQ(Ini_NumberOfSections(ini.get()), 2);
    const std::string written = textOf(ini.get());
    const std::size_t atFirst = written.find("[" + c.first + "]");
    const std::size_t atSecond = written.find("[" + c.second + "]");
    ASSERT_NE(atFirst, std::string::npos);
    ASSERT_NE(atSecond, std::string::npos);
    int k = 0;
    if (c.same) {
        // equal names keep the order they were read in, and both spellings find one section
        EXPECT_LT(atSecond, atFirst);
        int other = 0;
        ASSERT_EQ(Ini_GetInt(ini.get(), c.first.c_str(), "k", &k), 1);
        ASSERT_EQ(Ini_GetInt(ini.get(), c.second.c_str(), "k", &other), 1);
        EXPECT_EQ(k, other);
        return;
    }
    EXPECT_LT(atFirst, atSecond);
    // both found by binary search, neither mistaken for the other
    ASSERT_EQ(Ini_GetInt(ini.get(), c.first.c_str(), "k", &k), 1);
    EXPECT_EQ(k, 1);
    ASSERT_EQ(Ini_GetInt(ini.get(), c.second.c_str(), "k", &k), 1);
    EXPECT_EQ(k, 2);
    // and the same order holds for tags within a section
    Store tags = fromText("[S]\r\n" + c.second + " = 2\r\n" + c.first + " = 1\r\n", true);
    EXPECT_EQ(textOf(tags.get()), "[S]\r\n" + c.first + " = 1\r\n" + c.second + " = 2\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, IniNameOrder, ::testing::Range(0, static_cast<int>(std::size(kOrderCases))),
                         [](const auto &info) { return caseName(kOrderCases[info.param].what); });

// ---------------------------------------------------------------------------------------
// A read into a sorted store that holds sections already: the new sections are merged in,
// a duplicate after the one already there, each new section's items sorted.

TEST(IniReadIntoSortedStore, NewSectionsAreMergedAmongTheOld) {
    Store ini = fromText("[B]\r\nx = 1\r\n[D]\r\nx = 2\r\n", true);
    ASSERT_EQ(Ini_PutInt(ini.get(), "F", "x", 3), 0);
    const std::string more = "[e]\r\nz = 4\r\ny = 5\r\n[b]\r\nx = 6\r\n[A]\r\nx = 7\r\n";
    ASSERT_EQ(Ini_ReadFromText(ini.get(), more.data(), more.size()), 0);
    EXPECT_EQ(textOf(ini.get()),
              "[A]\r\nx = 7\r\n\r\n[B]\r\nx = 1\r\n\r\n[b]\r\nx = 6\r\n\r\n[D]\r\nx = 2\r\n\r\n"
              "[e]\r\ny = 5\r\nz = 4\r\n\r\n[F]\r\nx = 3\r\n\r\n");
    // lookups by binary search find every section afterwards
    for (const char *name : {"a", "d", "E", "f"}) EXPECT_EQ(Ini_SectionExists(ini.get(), name), 1) << name;
    // a read that adds nothing after the old ones leaves them as they were
    const std::string last = "[G]\r\nx = 8\r\n";
    ASSERT_EQ(Ini_ReadFromText(ini.get(), last.data(), last.size()), 0);
    EXPECT_EQ(textOf(ini.get()).substr(0, 5), "[A]\r\n");
    EXPECT_EQ(Ini_NumberOfSections(ini.get()), 7);
}

// ---------------------------------------------------------------------------------------
// Lines of a text in memory are handed out in place: their ends, their cut at 1024 bytes and
// the end of the text are those of a file.

struct LineCase {
    const char *what;
    std::string text;
    const char *tag;
    std::string expected;   // empty: not found
};

const LineCase kLineCases[] = {
    {"last line without a line end", "[S]\r\nk = 1", "k", "1"},
    {"CR LF and LF CR are one line end each", "[S]\n\rk = 1\r\n\r\nm = 2\n\r", "m", "2"},
    {"two CRs end an empty line", "[S]\r\rk = 1\r\r", "k", "1"},
    {"a zero byte ends a line", std::string("[S]\r\nk = 1") + '\0' + "m = 2", "m", "2"},
    {"a long line keeps its first 1024 bytes", "[S]\r\nk = " + std::string(1500, 'v') + "\r\nm = 2", "k",
     std::string(1020, 'v')},
    {"the line after a long one is read", "[S]\r\nk = " + std::string(1500, 'v') + "\r\nm = 2", "m", "2"},
    {"a long line at the end of the text", "[S]\r\nk = " + std::string(1500, 'v'), "k", std::string(1020, 'v')},
    {"text after a cut is dropped", "[S]\r\n" + std::string(1024, ' ') + "k = 1\r\n", "k", ""},
};

class IniTextLines : public ::testing::TestWithParam<int> {};

TEST_P(IniTextLines, ReadAsAFileReadsThem) {
    const LineCase &c = kLineCases[GetParam()];
    for (const bool sorted : {true, false}) {
        Store ini = fromText(c.text, sorted);
        const char *v = nullptr;
        const int found = Ini_GetPointerToRawString(ini.get(), "S", c.tag, &v);
        if (c.expected.empty()) {
            EXPECT_EQ(found, 0);
        } else {
            ASSERT_EQ(found, 1) << (sorted ? "sorted" : "unsorted");
            EXPECT_EQ(std::string(v), c.expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniTextLines, ::testing::Range(0, static_cast<int>(std::size(kLineCases))),
                         [](const auto &info) { return caseName(kLineCases[info.param].what); });

}   // namespace
