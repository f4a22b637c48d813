// The archive window: the list of archived recordings, its filter and order, and what can be
// done with the recording chosen in it.
#include "archive/ArchiveWindow.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "archive/Archiving.h"
#include "archive/RecordingVerdict.h"
#include "base/replace_file.h"
#include "files/ArchiveCheck.h"
#include "files/DataFile.h"
#include "files/Group.h"
#include "link/Link.h"
#include "local/ArchiveTexts.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "panels/Controls.h"
#include "panels/Panels.h"
#include "report/Format.h"
#include "report/Report.h"
#include "runtime/ui.h"
#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Sync.h"
#include "store/Fingerprint.h"

int idArchive = 0;
std::vector<std::int64_t> archiveRows;

namespace {

// A date of the filter fields: YYYY-MM-DD.
constexpr int kDateOrderYmd = 2;
constexpr int kDateFieldSize = 11;
// The orders the list offers, by the column each follows.
struct Order {
    RecordingSort sort;
    int column;   // index into archiveColumns
};
constexpr Order kOrders[] = {{RecordingSort::Id, 0},
                             {RecordingSort::Logger, 2},
                             {RecordingSort::FirstRecord, 3},
                             {RecordingSort::LastRecord, 4},
                             {RecordingSort::Records, 5}};
constexpr int kColumnWidths[ARCHIVE_COLUMN_COUNT] = {45, 60, 110, 150, 150, 60, 130, 70, 110};
constexpr int kSiteFieldSize = 128;
// Data files of the archive's copies are replaced as Save File replaces them.
constexpr rt::ReplaceOptions kReplace{nullptr, ".tmp", 100, true};

using report::timeText;

// A date field's time (its day's first second, or with last its last second); false when the
// field is empty or does not read.
bool fieldDate(int control, bool last, cRtc &time) {
    char text[kDateFieldSize] = "";
    GetCtrlVal(idArchive, control, text);
    if (text[0] == '\0' || rtc2CRtcOrder(text, "00:00:00", kDateOrderYmd, &time) != 0) return false;
    if (last) time += 24 * 3600 - 1;
    return true;
}

RecordingFilter windowFilter() {
    RecordingFilter filter;
    char logger[LOGGER_ID_SIZE] = "";
    GetCtrlVal(idArchive, ARCHIVE_LOGGER, logger);
    if (logger[0] != '\0') filter.loggerId = logger;
    cRtc time = 0;
    if (fieldDate(ARCHIVE_FROM, false, time)) filter.from = time;
    if (fieldDate(ARCHIVE_TO, true, time)) filter.to = time;
    int order = 0;
    GetCtrlVal(idArchive, ARCHIVE_SORT, &order);
    if (order < 0 || order >= static_cast<int>(std::size(kOrders))) order = 0;
    filter.sort = kOrders[order].sort;
    return filter;
}

// The profile the verdict column judges by: the one chosen for the trip report.
const Profile *chosenProfile() {
    if (reportProfileIndex < 0 || reportProfileIndex >= static_cast<int>(reportProfiles.size())) return nullptr;
    return &reportProfiles[static_cast<std::size_t>(reportProfileIndex)];
}

// One row's cells, in the order of the columns.
std::vector<std::string> rowCells(const RecordingInfo &r) {
    std::string complete = r.complete ? archiveYes : archiveNo;
    if (r.imported) complete += std::string(", ") + archiveImported;
    if (r.flagged) complete += std::string(", ") + archiveFlagged;
    const Profile *profile = chosenProfile();
    return {std::to_string(r.id),
            r.modelName,
            r.loggerId,
            timeText(r.firstTime),
            timeText(r.lastTime),
            std::to_string(r.records),
            complete,
            profile ? recordingVerdictText(r.id, r.records, *profile) : "",
            archiveSiteName()};
}

// A row of another site's recording: its number there, and the site.
std::vector<std::string> siteCells(const SiteRecording &r) {
    std::string complete = r.complete ? archiveYes : archiveNo;
    if (r.imported) complete += std::string(", ") + archiveImported;
    if (r.flagged) complete += std::string(", ") + archiveFlagged;
    return {std::to_string(r.origin),
            r.modelName,
            r.loggerId,
            timeText(r.firstTime),
            timeText(r.lastTime),
            std::to_string(r.records),
            complete,
            "",
            r.site};
}

// Whether the list shows every site's recordings from the server.
bool allSites() {
    int sites = 0;
    GetCtrlVal(idArchive, ARCHIVE_SITES, &sites);
    return sites == 1 && !archiveServerUrl().empty();
}

// The recordings of every site the filter passes, from the server; false (error) when it cannot
// be reached.
bool serverRows(std::vector<std::vector<std::string>> &rows, std::string &error) {
    char site[kSiteFieldSize] = "";
    GetCtrlVal(idArchive, ARCHIVE_SITE, site);
    std::vector<SiteRecording> found;
    if (!listServerRecordings(archiveServerUrl(), site, found, error)) return false;
    const RecordingFilter filter = windowFilter();
    for (const SiteRecording &r : found) {
        if (filter.loggerId && r.loggerId != *filter.loggerId) continue;
        if (filter.from && r.lastTime < *filter.from) continue;
        if (filter.to && r.firstTime > *filter.to) continue;
        rows.push_back(siteCells(r));
    }
    return true;
}

// The profiles file read again and its profiles offered, the trip report's choice chosen.
void showProfiles() {
    loadReportProfiles();
    DeleteListItem(idArchive, ARCHIVE_PROFILE, 0, -1);
    for (std::size_t k = 0; k < reportProfiles.size(); ++k)
        InsertListItem(idArchive, ARCHIVE_PROFILE, -1, reportProfiles[k].name.c_str(), static_cast<int>(k));
    if (chosenProfile() != nullptr) SetCtrlVal(idArchive, ARCHIVE_PROFILE, reportProfileIndex);
}

void showChainHead() {
    std::string text = archiveChainHead;
    if (archiveOpen()) {
        const AuditHead head = auditHead();
        text += " " + std::to_string(head.sequence) + "  " + (head.hash.empty() ? "-" : head.hash);
    } else {
        text += std::string(" ") + msgArchiveOff;
    }
    SetCtrlVal(idArchive, ARCHIVE_HEAD, text.c_str());
}

// The column captions and the order ring in the window's language.
void showColumnTexts() {
    for (int c = 0; c < ARCHIVE_COLUMN_COUNT; ++c)
        SetTableColumnAttribute(idArchive, ARCHIVE_LIST, c + 1, ATTR_LABEL_TEXT, archiveColumns[c]);
    int chosen = 0;
    GetCtrlVal(idArchive, ARCHIVE_SORT, &chosen);
    DeleteListItem(idArchive, ARCHIVE_SORT, 0, -1);
    for (int k = 0; k < static_cast<int>(std::size(kOrders)); ++k)
        InsertListItem(idArchive, ARCHIVE_SORT, -1, archiveColumns[kOrders[k].column], k);
    SetCtrlVal(idArchive, ARCHIVE_SORT, chosen);
    int sites = 0;
    GetCtrlVal(idArchive, ARCHIVE_SITES, &sites);
    DeleteListItem(idArchive, ARCHIVE_SITES, 0, -1);
    InsertListItem(idArchive, ARCHIVE_SITES, -1, archiveThisPc, 0);
    InsertListItem(idArchive, ARCHIVE_SITES, -1, archiveAllSites, 1);
    const bool server = !archiveServerUrl().empty();
    SetCtrlVal(idArchive, ARCHIVE_SITES, server ? sites : 0);
    SetCtrlAttribute(idArchive, ARCHIVE_SITES, ATTR_DIMMED, server ? 0 : 1);
    SetCtrlAttribute(idArchive, ARCHIVE_SITE, ATTR_DIMMED, server ? 0 : 1);
}

// The chosen recording's text; false (said) when none is chosen or it cannot be read.
bool chosenText(std::int64_t &id, std::string &text) {
    id = chosenRecording();
    if (id == 0) {
        MessagePopup(archiveWindowTitle, archiveNoSelection);
        return false;
    }
    std::string error;
    if (recordingText(id, text, error)) return true;
    MessagePopup(warn15, error.c_str());   // "The data file cannot be opened"
    return false;
}

// The name a recording is shown by when it is opened: "Archive 12".
std::string shownName(std::int64_t id) { return std::string(archiveWindowTitle) + " " + std::to_string(id); }

// Whether an entry of the trail is about the recording: its details name "recording N".
bool aboutRecording(const AuditEntry &entry, std::int64_t id) {
    const std::string word = "recording " + std::to_string(id);
    for (std::size_t at = entry.details.find(word); at != std::string::npos; at = entry.details.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if (end == entry.details.size() || entry.details[end] < '0' || entry.details[end] > '9') return true;
    }
    return false;
}

}   // namespace

void resetArchiveWindow() {
    idArchive = 0;
    archiveRows.clear();
    resetRecordingVerdicts();
}

// The filter along the top, the list taking the room, the commands under it, the trail's text
// and the chain head at the bottom.
int buildArchive(int p) {
    InstallPanelCallback(p, pArchiveCallBack, nullptr);
    int failed = 0;
    const auto ctrl = [&](CtrlKind kind, int id, const char *caption, int width, int height, int row, int column,
                          int columnSpan, CtrlCallbackPtr callback) {
        if (NewCtrl(p, kind, id, caption, 0, 0, width, height) < 0 ||
            PlaceCtrl(p, id, 0, row, column, 1, columnSpan) < 0)
            failed = 1;
        if (callback != nullptr) InstallCtrlCallback(p, id, callback, nullptr);
    };
    ctrl(CTRL_STRING, ARCHIVE_LOGGER, "Logger", 120, 26, 0, 0, 1, nullptr);
    SetCtrlAttribute(p, ARCHIVE_LOGGER, ATTR_MAX_ENTRY_LENGTH, LOGGER_ID_SIZE - 1);
    ctrl(CTRL_STRING, ARCHIVE_FROM, "From", 110, 26, 0, 1, 1, nullptr);
    SetCtrlAttribute(p, ARCHIVE_FROM, ATTR_MAX_ENTRY_LENGTH, kDateFieldSize - 1);
    ctrl(CTRL_STRING, ARCHIVE_TO, "To", 110, 26, 0, 2, 1, nullptr);
    SetCtrlAttribute(p, ARCHIVE_TO, ATTR_MAX_ENTRY_LENGTH, kDateFieldSize - 1);
    ctrl(CTRL_RING, ARCHIVE_SORT, "Order", 130, 26, 0, 3, 1, nullptr);
    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_FILTER, "Filter", 100, 30, 0, 4, 1, cArchiveFilterCallBack);

    ctrl(CTRL_TABLE, ARCHIVE_LIST, "", 900, 300, 1, 0, 8, nullptr);
    InsertTableColumns(p, ARCHIVE_LIST, -1, ARCHIVE_COLUMN_COUNT, VAL_CELL_STRING);
    SetCtrlAttribute(p, ARCHIVE_LIST, ATTR_ROW_LABELS_VISIBLE, 0);
    SetCtrlAttribute(p, ARCHIVE_LIST, ATTR_CTRL_MODE, VAL_INDICATOR);
    for (int c = 0; c < ARCHIVE_COLUMN_COUNT; ++c)
        SetTableColumnAttribute(p, ARCHIVE_LIST, c + 1, ATTR_COLUMN_WIDTH, kColumnWidths[c]);

    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_OPEN, "Open in chart", 130, 30, 2, 0, 1, cArchiveOpenCallBack);
    ctrl(CTRL_RING, ARCHIVE_SLOT, "Slot", 60, 26, 2, 1, 1, nullptr);
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        const char letter[2] = {static_cast<char>('A' + k), '\0'};
        InsertListItem(p, ARCHIVE_SLOT, -1, letter, k);
    }
    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_OPEN_SLOT, "Open in slot", 130, 30, 2, 2, 1, cArchiveOpenSlotCallBack);
    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_EXPORT, "Export data file…", 150, 30, 2, 3, 1, cArchiveExportCallBack);
    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_TRAIL, "Audit trail", 120, 30, 2, 4, 1, cArchiveTrailCallBack);
    // the profile the verdict column judges by
    ctrl(CTRL_RING, ARCHIVE_PROFILE, "Profile", 200, 26, 2, 5, 3, sArchiveProfileCallBack);

    ctrl(CTRL_TEXT_BOX, ARCHIVE_TRAIL_TEXT, "", 900, 120, 3, 0, 8, nullptr);
    SetCtrlAttribute(p, ARCHIVE_TRAIL_TEXT, ATTR_CTRL_MODE, VAL_INDICATOR);
    ctrl(CTRL_TEXT_MSG, ARCHIVE_HEAD, "", 640, 22, 4, 0, 7, nullptr);
    ctrl(CTRL_COMMAND_BUTTON, ARCHIVE_CLOSE, "Close", 100, 30, 4, 7, 1, cArchiveCloseCallBack);
    // the list takes the room the window gains, the trail a little of it
    SetGridStretch(p, 0, VAL_GRID_ROW, 1, 3);
    SetGridStretch(p, 0, VAL_GRID_ROW, 3, 1);
    SetGridStretch(p, 0, VAL_GRID_COLUMN, 5, 1);
    // the sites: this PC's archive, or all sites when a server archive is set
    ctrl(CTRL_RING, ARCHIVE_SITES, "Sites", 130, 26, 0, 5, 1, cArchiveFilterCallBack);
    ctrl(CTRL_STRING, ARCHIVE_SITE, "Site", 130, 26, 0, 6, 1, nullptr);
    SetCtrlAttribute(p, ARCHIVE_SITE, ATTR_MAX_ENTRY_LENGTH, kSiteFieldSize - 1);
    return failed ? -1 : 0;
}

int fillArchiveList() {
    if (idArchive <= 0) return 0;
    archiveRows.clear();
    int rows = 0;
    GetNumTableRows(idArchive, ARCHIVE_LIST, &rows);
    if (rows > 0) DeleteTableRows(idArchive, ARCHIVE_LIST, 1, rows);
    SetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, "");
    showChainHead();
    if (allSites()) {
        std::vector<std::vector<std::string>> cells;
        std::string error;
        if (!serverRows(cells, error)) {
            SetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, error.c_str());
            return 0;
        }
        if (cells.empty()) return 0;
        InsertTableRows(idArchive, ARCHIVE_LIST, -1, static_cast<int>(cells.size()), VAL_USE_MASTER_CELL_TYPE);
        for (std::size_t row = 0; row < cells.size(); ++row) {
            archiveRows.push_back(0);   // another site's: nothing to open here
            for (int c = 0; c < ARCHIVE_COLUMN_COUNT; ++c)
                SetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(c + 1, static_cast<int>(row) + 1),
                                cells[row][static_cast<std::size_t>(c)].c_str());
        }
        return static_cast<int>(cells.size());
    }
    if (!archiveOpen()) return 0;
    std::vector<RecordingInfo> found;
    std::string error;
    if (!listRecordings(windowFilter(), found, error)) {
        SetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, error.c_str());
        return 0;
    }
    if (found.empty()) return 0;
    InsertTableRows(idArchive, ARCHIVE_LIST, -1, static_cast<int>(found.size()), VAL_USE_MASTER_CELL_TYPE);
    for (std::size_t row = 0; row < found.size(); ++row) {
        archiveRows.push_back(found[row].id);
        const std::vector<std::string> cells = rowCells(found[row]);
        for (int c = 0; c < ARCHIVE_COLUMN_COUNT; ++c)
            SetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(c + 1, static_cast<int>(row) + 1), cells[c].c_str());
    }
    return static_cast<int>(found.size());
}

std::int64_t chosenRecording() {
    if (idArchive <= 0) return 0;
    Rect chosen{};
    if (GetTableSelection(idArchive, ARCHIVE_LIST, &chosen) < 0 || chosen.height <= 0) return 0;
    const int row = chosen.top - 1;
    if (row < 0 || row >= static_cast<int>(archiveRows.size())) return 0;
    return archiveRows[static_cast<std::size_t>(row)];
}

// ---------------------------------------------------------------- callbacks

int cArchiveCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (idArchive <= 0) {
        idArchive = LoadPanel(0, ARCHIVE);
        if (idArchive < 0) {
            idArchive = 0;
            return -1;
        }
        SetPanelAttribute(idArchive, ATTR_TITLE, archiveWindowTitle);
        localArchiveWindow(idArchive);
    }
    showColumnTexts();
    showProfiles();
    fillArchiveList();
    DisplayPanel(idArchive);
    return 0;
}

int sArchiveProfileCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT && event != EVENT_VAL_CHANGED) return 0;
    int index = 0;
    if (GetCtrlVal(panel, control, &index) < 0 || index < 0 || index >= static_cast<int>(reportProfiles.size()))
        return 0;
    reportProfileIndex = index;
    fillArchiveList();
    return 0;
}

int cArchiveFilterCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) fillArchiveList();
    return 0;
}

int cArchiveOpenCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    std::int64_t id = 0;
    std::string text;
    if (!chosenText(id, text)) return 0;
    // as Retrieve File: records not saved yet go only on the user's word
    if (!unsavedDataLetGo(warn9, msgUnsavedReplace)) return 0;   // "Warning", "not saved yet"
    const std::string name = shownName(id);
    if (readDataFileText(text, name.c_str()) < 0) {
        MessagePopup(warn15, msgFileNoRecords);   // "The data file cannot be opened"
        return 0;
    }
    updateMainTitle();
    // the archive's own copy: the title says what it is
    checkRetrievedFile(name.c_str());
    DisplayPanel(idMonitor);
    return 0;
}

int cArchiveOpenSlotCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    std::int64_t id = 0;
    std::string text;
    if (!chosenText(id, text)) return 0;
    int slot = 0;
    GetCtrlVal(idArchive, ARCHIVE_SLOT, &slot);
    // a slot reads a file: the copy goes through a temporary one, named after the recording
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::temp_directory_path(ec) /
                                       ("Tavix-" + shownName(id) + "-" + std::to_string(::getpid()) + ".txt");
    if (rt::replaceFile(file.string().c_str(), kReplace, text) < 0) {
        MessagePopup(warn6, file.string().c_str());   // "The data file cannot be written"
        return 0;
    }
    int visible = 0;
    GetPanelAttribute(idMonitors, ATTR_VISIBLE, &visible);
    if (!visible) cGroupCallBack(idMonitor, MONITOR_MENU6, EVENT_COMMIT, nullptr, 0, 0);
    loadGroupFile(slot, file.string().c_str());
    std::filesystem::remove(file, ec);
    return 0;
}

int cArchiveExportCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    std::int64_t id = 0;
    std::string text;
    if (!chosenText(id, text)) return 0;
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    const std::string name = shownName(id) + ".txt";
    char path[FILE_NAME_SIZE];
    if (FileSelectPopupEx(dir, name.c_str(), "ASCII files(*.txt)", archiveExportTitle, VAL_SAVE_BUTTON, 0, 1, path,
                          sizeof path) <= 0)
        return 0;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        const std::string question = std::string(warn21) + " " + path + " " + warn22;
        if (!ConfirmPopup(warn9, question.c_str(), VAL_DEFAULT_NO)) return 0;   // "Warning", "replace it?"
    }
    if (rt::replaceFile(path, kReplace, text) < 0) {
        MessagePopup(warn6, path);   // "The data file cannot be written"
        return 0;
    }
    // the trail names the recording, so that its own trail shows the export
    std::string error;
    const std::string sha = sha256Hex(text);
    recordFileWritten(path, sha, error);
    noteInTrail("export", "recording " + std::to_string(id) + " original data file -> " + path + "; sha256 " + sha);
    const std::string done = std::string(archiveExportDone) + " " + path;
    MessagePopup(archiveExportTitle, done.c_str());
    return 0;
}

int cArchiveTrailCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const std::int64_t id = chosenRecording();
    if (id == 0) {
        MessagePopup(archiveWindowTitle, archiveNoSelection);
        return 0;
    }
    std::vector<AuditEntry> entries;
    std::string error;
    std::string text = std::string(archiveTrailTitle) + " " + std::to_string(id) + "\n";
    if (!listAudit(std::nullopt, std::nullopt, entries, error)) text += error + "\n";
    for (const AuditEntry &e : entries) {
        if (!aboutRecording(e, id)) continue;
        char sequence[24];
        std::snprintf(sequence, sizeof sequence, "%" PRId64, e.sequence);
        text += std::string(sequence) + "  " + e.timeUtc + "  " + e.user + "@" + e.host + "  " + e.action + "  " +
                e.details + "\n";
    }
    SetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, text.c_str());
    showChainHead();
    return 0;
}

int cArchiveCloseCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idArchive);
    return 0;
}

int pArchiveCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idArchive);
    return 0;
}
