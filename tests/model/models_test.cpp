// The model table: names to indexes, the per-model columns, lookups outside the table and the
// description of the connected logger.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "model/Models.h"

namespace {

std::vector<int> indexesWhere(bool (*pred)(const ModelRow &)) {
    std::vector<int> out;
    for (const ModelRow &r : MODEL_TABLE) {
        if (pred(r)) out.push_back(r.index);
    }
    return out;
}

TEST(ModelTable, NamesSelectTheirIndex) {
    struct Case {
        const char *name;
        int index;
    } cases[] = {
        {"41217", 1},
        {"4113", 1},
        {"4123", 3},
        {"4124", 4},
        {"4131", 5},
        {"4132", 5},
        {"4133", 6},
        {"41541", 7},
        {"41542", 7},
        {"41543", 8},
        {"4141", 9},
        {"4142", 9},
        {"4151", 9},
        {"4152", 9},
        {"4143", 10},
        {"4153", 10},
        {"4154", 11},
        {"41651", 12},
        {"41652", 12},
        {"41653", 13},
        {"41670", 14},
        {"4161", 15},
        {"41681", 16},
        {"41682", 16},
        {"41683", 17},
        {"41660", 18},
        {"4181", 19},
        {"4182", 20},
        {"41691", 21},
        {"41692", 21},
        {"41693", 22},
        {"4171", 23},
        {"41710", 24},
        // anything else is index 1
        {"", 1},
        {"XYZ", 1},
        {"412", 1},
        {"4123 ", 1},
        {" 4123", 1},
        {"41231", 1},
        {"41217V2.1", 1},
    };
    for (const auto &c : cases) EXPECT_EQ(modelIndexOf(c.name), c.index) << '"' << c.name << '"';
    EXPECT_EQ(modelIndexOf(nullptr), 1);
}

TEST(ModelTable, IdentifiersAreDistinctAndOnlyIndexes0And2HaveNone) {
    std::set<std::string> seen;
    for (const ModelRow &r : MODEL_TABLE) {
        int names = 0;
        for (const char *id : r.identifiers) {
            if (id == nullptr) continue;
            ++names;
            EXPECT_TRUE(seen.insert(id).second) << id << " appears twice";
            EXPECT_EQ(modelIndexOf(id), r.index) << id;
        }
        EXPECT_EQ(names == 0, r.index == 0 || r.index == 2) << "index " << r.index;
    }
    EXPECT_EQ(seen.size(), 33u);
}

TEST(ModelTable, LayoutArraysFollowTheTable) {
    for (int i = 0; i < MODEL_COUNT; ++i) {
        EXPECT_EQ(MODEL_TABLE[i].index, i);
        EXPECT_EQ(LOGGER_TYPE[i], MODEL_TABLE[i].layout) << i;
        EXPECT_EQ(LOGGER_DATANUM[i], MODEL_TABLE[i].valuesPerLine) << i;
        EXPECT_EQ(loggerType(i), LOGGER_TYPE[i]) << i;
        EXPECT_EQ(loggerDataNum(i), LOGGER_DATANUM[i]) << i;
        // The left-axis flag marks exactly the models with a second temperature.
        EXPECT_EQ(leftAxisFlag(i), (LOGGER_TYPE[i] == LAYOUT_T_T2 || LOGGER_TYPE[i] == LAYOUT_T_T2_RH) ? 1 : 0) << i;
    }
    const int type[MODEL_COUNT] = {0, 0, 1, 0, 1, 0, 0, 0, 0, 2, 3, 2, 2, 3, 2, 0, 2, 3, 1, 1, 1, 2, 3, 3, 1};
    const int num[MODEL_COUNT] = {0, 1, 2, 1, 2, 1, 1, 1, 1, 2, 3, 2, 2, 3, 2, 1, 2, 3, 2, 2, 2, 2, 3, 3, 2};
    for (int i = 0; i < MODEL_COUNT; ++i) {
        EXPECT_EQ(LOGGER_TYPE[i], type[i]) << i;
        EXPECT_EQ(LOGGER_DATANUM[i], num[i]) << i;
    }
}

TEST(ModelTable, ColumnsPerModelGroup) {
    using V = std::vector<int>;
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.memory == MemoryClass::K16; }), V({3}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.memory == MemoryClass::Small; }), V({5, 7, 9, 12, 15}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.memory == MemoryClass::None; }), V({0, 2}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.decode == DecodeRule::Thermistor; }), V({1}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.decode == DecodeRule::TenthsToF; }), V({3, 4, 24}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.decode == DecodeRule::None; }), V({0, 2}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.calibration == Calibration::Temperature; }), V({12, 13}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.calibration == Calibration::Humidity; }), V({18}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::A1; }), V({1, 3, 5, 6, 7, 8, 15}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::A1orA5; }), V({4}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::A2; }), V({9, 11, 12, 14, 16, 21}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::A3; }), V({10, 13, 17, 22, 23}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::A4; }), V({18, 19, 20, 24}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.alarm == AlarmLayout::None; }), V({0, 2}));
}

TEST(ModelTable, AlarmLayoutOfIndex4FollowsTheUnitLetterCase) {
    struct Case {
        int index;
        char unit;
        AlarmLayout layout;
        int mask;
    } cases[] = {
        {4, 'C', AlarmLayout::A1, 0b001},  {4, 'F', AlarmLayout::A1, 0b001}, {4, 'c', AlarmLayout::A5, 0b100},
        {4, 'f', AlarmLayout::A5, 0b100},  {9, 'c', AlarmLayout::A2, 0b011}, {10, 'C', AlarmLayout::A3, 0b111},
        {18, 'C', AlarmLayout::A4, 0b101}, {1, 'C', AlarmLayout::A1, 0b001}, {2, 'C', AlarmLayout::None, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(alarmLayout(c.index, c.unit), c.layout) << c.index << c.unit;
        EXPECT_EQ(alarmChannelMask(alarmLayout(c.index, c.unit)), c.mask) << c.index << c.unit;
    }
}

TEST(ModelTable, MemoryClassesGiveTheChartOffsetMaximum) {
    EXPECT_EQ(memoryOffsetMax(memoryClass(3)), 15000);
    EXPECT_EQ(memoryOffsetMax(memoryClass(1)), 7500);
    EXPECT_EQ(memoryOffsetMax(memoryClass(5)), 3000);
    EXPECT_EQ(memoryOffsetMax(memoryClass(2)), 0);
}

TEST(ModelTable, IndexesOutsideTheTableGiveSafeAnswers) {
    for (int index : {-1, 25, 26, 100, INT_MIN, INT_MAX}) {
        EXPECT_EQ(modelRow(index), nullptr) << index;
        EXPECT_EQ(loggerType(index), -1) << index;
        EXPECT_EQ(loggerDataNum(index), 0) << index;
        EXPECT_EQ(leftAxisFlag(index), 0) << index;
        EXPECT_EQ(memoryClass(index), MemoryClass::None) << index;
        EXPECT_EQ(decodeRule(index), DecodeRule::None) << index;
        EXPECT_EQ(calibrationKind(index), Calibration::None) << index;
        EXPECT_EQ(alarmLayout(index, 'C'), AlarmLayout::None) << index;
    }
    EXPECT_NE(modelRow(0), nullptr);
    EXPECT_NE(modelRow(24), nullptr);
}

TEST(LoggerDescription, StartsAsIndex1WithVersion24) {
    currDeviceId = 17;
    eVersion = 2.1f;
    setEId("X");
    resetLoggerDescription();
    EXPECT_EQ(currDeviceId, 1);
    EXPECT_FLOAT_EQ(eVersion, 2.4f);
    EXPECT_STREQ(eId, "");
    EXPECT_STREQ(eDeviceName, "");
    EXPECT_EQ(eUnit, 'C');
}

TEST(LoggerDescription, TextsAreCutToTheirCapacity) {
    struct Case {
        const char *text;
        const char *id;
        const char *name;
    } cases[] = {
        {"MYLOG", "MYLOG", "MYLOG"},
        {"12345678901", "12345678901", "12345678901"},
        {"123456789012345678901234567890", "12345678901234", "12345678901"},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        setEId(c.text);
        setEDeviceName(c.text);
        EXPECT_STREQ(eId, c.id);
        EXPECT_STREQ(eDeviceName, c.name);
    }
    setEId(nullptr);
    EXPECT_STREQ(eId, "");

    char buf[4] = {'#', '#', '#', '#'};
    copyBounded(buf, 1, "abc");
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf[1], '#');
    copyBounded(buf, 0, "abc");   // nothing written
    EXPECT_EQ(buf[0], '\0');
    resetLoggerDescription();
}

TEST(ModelTable, BehaviourColumnsPerModel) {
    using V = std::vector<int>;
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.names == ChannelNames::Suffix41670; }), V({11, 14}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.unasked == UnaskedCommands::Dimmed; }), V({15}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.settingsCommand == SettingsCommand::AsItIs; }), V({24}));
    EXPECT_EQ(indexesWhere([](const ModelRow &r) { return r.secondValueModel != 0; }), V({7, 8}));
    EXPECT_EQ(secondValueModel(7), 9);
    EXPECT_EQ(secondValueModel(8), 10);
    for (int index : {-1, 25}) {
        EXPECT_EQ(channelNames(index), ChannelNames::Plain) << index;
        EXPECT_EQ(unaskedCommands(index), UnaskedCommands::Offered) << index;
        EXPECT_EQ(settingsCommand(index), SettingsCommand::Offered) << index;
        EXPECT_EQ(secondValueModel(index), 0) << index;
    }
}

// Records a download has to bring for the readings the logger reports.
struct RecordsCase {
    const char *name;
    int index;
    int readings;
    int records;
};

class ReadingsToRecords : public ::testing::TestWithParam<RecordsCase> {};

TEST_P(ReadingsToRecords, DividesByTheValuesPerLine) {
    const RecordsCase &c = GetParam();
    EXPECT_EQ(readingsToRecords(c.index, c.readings), c.records) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Models, ReadingsToRecords,
                         ::testing::Values(RecordsCase{"one_value_per_line", 1, 16000, 16000},
                                           RecordsCase{"two_values_per_line", 9, 16000, 8000},
                                           RecordsCase{"three_values_full_memory", 10, 16000, 5333},
                                           RecordsCase{"three_values_rounded_down", 13, 10, 3},
                                           RecordsCase{"humidity_model", 24, 7, 3},
                                           RecordsCase{"no_values_index_0", 0, 12, 12},
                                           RecordsCase{"outside_the_table", 25, 12, 12},
                                           RecordsCase{"nothing_held", 17, 0, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

}   // namespace
