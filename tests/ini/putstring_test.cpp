// Ini_PutString on a store read without sorting: the written file keeps its order, its
// other items, sections and comments.

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

// A preferences file with a head comment, a comment on a section and one on an item.
const char kFile[] =
    "; head\r\n"
    "\r\n"
    "[General]\r\n"
    "; the language\r\n"
    "Language File = English.ini\r\n"
    "Unknown = kept\r\n"
    "\r\n"
    "; limits\r\n"
    "[TableProcess]\r\n"
    "defaultHigh = 30.0\r\n"
    "\r\n";

struct PutCase {
    const char *name;
    const char *section, *tag, *value;
    int result;
    const char *expected;   // the written text
};

const PutCase kPutCases[] = {
    {"new key goes to the end of its section", "General", "Date Format", "D-M-Y", 0,
     "; head\r\n\r\n[General]\r\n; the language\r\nLanguage File = English.ini\r\nUnknown = kept\r\n"
     "Date Format = D-M-Y\r\n\r\n; limits\r\n[TableProcess]\r\ndefaultHigh = 30.0\r\n\r\n"},
    {"replaced key keeps its place and comment", " general ", "language file", "German.ini", 0,
     "; head\r\n\r\n[General]\r\n; the language\r\nlanguage file = German.ini\r\nUnknown = kept\r\n"
     "\r\n; limits\r\n[TableProcess]\r\ndefaultHigh = 30.0\r\n\r\n"},
    {"new section goes to the end", "Extra", "k", "v", 0,
     "; head\r\n\r\n[General]\r\n; the language\r\nLanguage File = English.ini\r\nUnknown = kept\r\n"
     "\r\n; limits\r\n[TableProcess]\r\ndefaultHigh = 30.0\r\n\r\n[Extra]\r\nk = v\r\n\r\n"},
    {"empty value is written quoted", "TableProcess", "defaultHigh", "", 0,
     "; head\r\n\r\n[General]\r\n; the language\r\nLanguage File = English.ini\r\nUnknown = kept\r\n"
     "\r\n; limits\r\n[TableProcess]\r\ndefaultHigh = \"\"\r\n\r\n"},
    {"value with a line end is refused", "General", "Language File", "a\nb", INI_ERR_NULL_ARGUMENT, kFile},
    {"missing value is refused", "General", "Language File", nullptr, INI_ERR_NULL_ARGUMENT, kFile},
    {"blank tag is refused", "General", "  ", "x", INI_ERR_NULL_ARGUMENT, kFile},
};

class IniPutString : public ::testing::TestWithParam<PutCase> {};

TEST_P(IniPutString, WritesTheFileInItsOrder) {
    const PutCase &c = GetParam();
    Store ini(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromText(ini.get(), kFile, sizeof kFile - 1), 0);
    EXPECT_EQ(Ini_PutString(ini.get(), c.section, c.tag, c.value), c.result);
    std::string out;
    ASSERT_EQ(Ini_WriteToText(ini.get(), out), 0);
    EXPECT_EQ(out, c.expected);
    // the written text reads back with the value put
    if (c.result == 0) {
        Store again(Ini_New(0));
        ASSERT_EQ(Ini_ReadFromText(again.get(), out.data(), out.size()), 0);
        const char *value = nullptr;
        ASSERT_EQ(Ini_GetPointerToRawString(again.get(), c.section, c.tag, &value), 1);
        EXPECT_STREQ(value, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IniPutString, ::testing::ValuesIn(kPutCases),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(IniPutStringStore, NoStoreIsRefused) { EXPECT_EQ(Ini_PutString(nullptr, "S", "k", "v"), INI_ERR_NULL_ARGUMENT); }

}   // namespace
