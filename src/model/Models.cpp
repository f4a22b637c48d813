#include "model/Models.h"

#include <cstring>
#include <type_traits>

namespace {
using M = MemoryClass;
using D = DecodeRule;
using A = AlarmLayout;
using K = Calibration;
using N = ChannelNames;
using U = UnaskedCommands;
using S = SettingsCommand;
}   // namespace

// One row per model index, two lines each. Index 0 never occurs; index 2 (temperature and
// humidity) has no model name and is selected only by a data file.
constexpr ModelRow MODEL_TABLE[MODEL_COUNT] = {
    // Each row: index, identifiers, layout (LOGGER_TYPE), values per line (LOGGER_DATANUM),
    // left-axis flag, memory class, decode rule, alarm layout, calibration; then, on its second
    // line, the channel names, the logger commands before a status answer, the logger-settings
    // command, and the model a data file with a second value is read as.
    {0, {nullptr}, 0, 0, 0, M::None, D::None, A::None, K::None, N::Plain, U::Offered, S::Offered, 0},
    {1, {"41217", "4113"}, 0, 1, 0, M::K8, D::Thermistor, A::A1, K::None, N::Plain, U::Offered, S::Offered, 0},
    {2, {nullptr}, 1, 2, 0, M::None, D::None, A::None, K::None, N::Plain, U::Offered, S::Offered, 0},
    {3, {"4123"}, 0, 1, 0, M::K16, D::TenthsToF, A::A1, K::None, N::Plain, U::Offered, S::Offered, 0},
    {4, {"4124"}, 1, 2, 0, M::K8, D::TenthsToF, A::A1orA5, K::None, N::Plain, U::Offered, S::Offered, 0},
    {5, {"4131", "4132"}, 0, 1, 0, M::Small, D::Tenths, A::A1, K::None, N::Plain, U::Offered, S::Offered, 0},
    {6, {"4133"}, 0, 1, 0, M::K8, D::Tenths, A::A1, K::None, N::Plain, U::Offered, S::Offered, 0},
    {7, {"41541", "41542"}, 0, 1, 0, M::Small, D::Tenths, A::A1, K::None, N::Plain, U::Offered, S::Offered, 9},
    {8, {"41543"}, 0, 1, 0, M::K8, D::Tenths, A::A1, K::None, N::Plain, U::Offered, S::Offered, 10},
    {9,
     {"4141", "4142", "4151", "4152"},
     2,
     2,
     1,
     M::Small,
     D::Tenths,
     A::A2,
     K::None,
     N::Plain,
     U::Offered,
     S::Offered,
     0},
    {10, {"4143", "4153"}, 3, 3, 1, M::K8, D::Tenths, A::A3, K::None, N::Plain, U::Offered, S::Offered, 0},
    {11, {"4154"}, 2, 2, 1, M::K8, D::Tenths, A::A2, K::None, N::Suffix41670, U::Offered, S::Offered, 0},
    {12, {"41651", "41652"}, 2, 2, 1, M::Small, D::Tenths, A::A2, K::Temperature, N::Plain, U::Offered, S::Offered, 0},
    {13, {"41653"}, 3, 3, 1, M::K8, D::Tenths, A::A3, K::Temperature, N::Plain, U::Offered, S::Offered, 0},
    {14, {"41670"}, 2, 2, 1, M::K8, D::Tenths, A::A2, K::None, N::Suffix41670, U::Offered, S::Offered, 0},
    {15, {"4161"}, 0, 1, 0, M::Small, D::Tenths, A::A1, K::None, N::Plain, U::Dimmed, S::Offered, 0},
    {16, {"41681", "41682"}, 2, 2, 1, M::K8, D::Tenths, A::A2, K::None, N::Plain, U::Offered, S::Offered, 0},
    {17, {"41683"}, 3, 3, 1, M::K8, D::Tenths, A::A3, K::None, N::Plain, U::Offered, S::Offered, 0},
    {18, {"41660"}, 1, 2, 0, M::K8, D::Tenths, A::A4, K::Humidity, N::Plain, U::Offered, S::Offered, 0},
    {19, {"4181"}, 1, 2, 0, M::K8, D::Tenths, A::A4, K::None, N::Plain, U::Offered, S::Offered, 0},
    {20, {"4182"}, 1, 2, 0, M::K8, D::Tenths, A::A4, K::None, N::Plain, U::Offered, S::Offered, 0},
    {21, {"41691", "41692"}, 2, 2, 1, M::K8, D::Tenths, A::A2, K::None, N::Plain, U::Offered, S::Offered, 0},
    {22, {"41693"}, 3, 3, 1, M::K8, D::Tenths, A::A3, K::None, N::Plain, U::Offered, S::Offered, 0},
    {23, {"4171"}, 3, 3, 1, M::K8, D::Tenths, A::A3, K::None, N::Plain, U::Offered, S::Offered, 0},
    {24, {"41710"}, 1, 2, 0, M::K8, D::TenthsToF, A::A4, K::None, N::Plain, U::Offered, S::AsItIs, 0},
};

constexpr int LOGGER_TYPE[MODEL_COUNT] = {
    0, 0, 1, 0, 1, 0, 0, 0, 0, 2, 3, 2, 2, 3, 2, 0, 2, 3, 1, 1, 1, 2, 3, 3, 1,
};

constexpr int LOGGER_DATANUM[MODEL_COUNT] = {
    0, 1, 2, 1, 2, 1, 1, 1, 1, 2, 3, 2, 2, 3, 2, 1, 2, 3, 2, 2, 2, 2, 3, 3, 2,
};

namespace {

constexpr bool tableIsConsistent() {
    for (int i = 0; i < MODEL_COUNT; ++i) {
        const ModelRow &r = MODEL_TABLE[i];
        if (r.index != i) return false;
        if (r.layout != LOGGER_TYPE[i] || r.valuesPerLine != LOGGER_DATANUM[i]) return false;
        // A second temperature channel and the left-axis flag go together.
        if ((r.layout == LAYOUT_T_T2 || r.layout == LAYOUT_T_T2_RH) != (r.leftAxis == 1)) return false;
        // Models that decode send one value per channel.
        const int channels = r.layout == LAYOUT_T ? 1 : r.layout == LAYOUT_T_T2_RH ? 3 : 2;
        if (r.decode != DecodeRule::None && r.valuesPerLine != channels) return false;
        // A data file's second value needs a model with a second channel.
        if (r.secondValueModel != 0 && (r.secondValueModel >= MODEL_COUNT || LOGGER_DATANUM[r.secondValueModel] < 2))
            return false;
    }
    return true;
}
static_assert(tableIsConsistent(), "the model table and LOGGER_TYPE / LOGGER_DATANUM disagree");

// One column of a model index's row; outside for an index outside the table.
template <typename T>
T column(int index, T ModelRow::*field, std::type_identity_t<T> outside) {
    const ModelRow *r = modelRow(index);
    return r ? r->*field : outside;
}

}   // namespace

int currDeviceId = 1;
int prevDeviceId = 1;
char eId[LOGGER_ID_SIZE];
char eDeviceName[12];
float eVersion = 2.4f;
int eLength = 0;
int eSampleRate = 0;
cRtc eSampleTime = 0;
char eUnit = 'C';

const ModelRow *modelRow(int index) {
    if (index < 0 || index >= MODEL_COUNT) return nullptr;
    return &MODEL_TABLE[index];
}

int modelIndexOf(const char *name) {
    if (name == nullptr) return 1;
    for (const ModelRow &row : MODEL_TABLE) {
        for (const char *id : row.identifiers) {
            if (id != nullptr && std::strcmp(id, name) == 0) return row.index;
        }
    }
    return 1;
}

int loggerType(int index) { return column(index, &ModelRow::layout, -1); }
int loggerDataNum(int index) { return column(index, &ModelRow::valuesPerLine, 0); }
unsigned char leftAxisFlag(int index) { return column(index, &ModelRow::leftAxis, 0); }
MemoryClass memoryClass(int index) { return column(index, &ModelRow::memory, MemoryClass::None); }
DecodeRule decodeRule(int index) { return column(index, &ModelRow::decode, DecodeRule::None); }
Calibration calibrationKind(int index) { return column(index, &ModelRow::calibration, Calibration::None); }
ChannelNames channelNames(int index) { return column(index, &ModelRow::names, ChannelNames::Plain); }
UnaskedCommands unaskedCommands(int index) { return column(index, &ModelRow::unasked, UnaskedCommands::Offered); }
SettingsCommand settingsCommand(int index) {
    return column(index, &ModelRow::settingsCommand, SettingsCommand::Offered);
}
int secondValueModel(int index) { return column(index, &ModelRow::secondValueModel, 0); }

int readingsToRecords(int index, int readings) {
    switch (loggerDataNum(index)) {
        case 3: return readings / 3;
        case 2: return readings / 2;
        default: return readings;
    }
}

AlarmLayout alarmLayout(int index, char unit) {
    const ModelRow *r = modelRow(index);
    if (r == nullptr) return AlarmLayout::None;
    if (r->alarm == AlarmLayout::A1orA5) {
        return static_cast<unsigned char>(unit) >= 97 ? AlarmLayout::A5 : AlarmLayout::A1;
    }
    return r->alarm;
}

int alarmChannelMask(AlarmLayout layout) {
    switch (layout) {
        case AlarmLayout::A1: return 0b001;
        case AlarmLayout::A2: return 0b011;
        case AlarmLayout::A3: return 0b111;
        case AlarmLayout::A4: return 0b101;
        case AlarmLayout::A5: return 0b100;
        case AlarmLayout::A1orA5:   // resolved by alarmLayout(index, unit)
        case AlarmLayout::None: break;
    }
    return 0;
}

int memoryOffsetMax(MemoryClass memory) {
    switch (memory) {
        case MemoryClass::K16: return 15000;
        case MemoryClass::K8: return 7500;
        case MemoryClass::Small: return 3000;
        case MemoryClass::None: break;
    }
    return 0;
}

void copyBounded(char *dst, std::size_t capacity, const char *src) {
    if (dst == nullptr || capacity == 0) return;
    std::size_t n = 0;
    if (src != nullptr) {
        while (n + 1 < capacity && src[n] != '\0') {
            dst[n] = src[n];
            ++n;
        }
    }
    dst[n] = '\0';
}

void setEId(const char *text) { copyBounded(eId, sizeof eId, text); }

void setEDeviceName(const char *text) { copyBounded(eDeviceName, sizeof eDeviceName, text); }

void resetLoggerDescription() {
    currDeviceId = 1;
    prevDeviceId = 1;
    eId[0] = '\0';
    eDeviceName[0] = '\0';
    eVersion = 2.4f;
    eLength = 0;
    eSampleRate = 0;
    eSampleTime = 0;
    eUnit = 'C';
}
