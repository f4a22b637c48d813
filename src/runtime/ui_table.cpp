// Table controls: a QTableView over a model of text cells with colours. Whole ranges are
// filled in one call (one change notification), so a page of 1000 rows refreshes quickly.
#include "runtime/ui_internal.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>
#include <climits>
#include <set>

namespace rt::detail {
namespace {

struct Cell {
    QString text;
    int color = -1;   // -1 = the column's colour
    int bg = -1;      // -1 = none
};

struct Column {
    QString label;
    bool visible = true;
    int color = 0x000000;
    int cellType = VAL_CELL_STRING;
    int justify = 0;
    std::vector<Cell> cells;
};

class TableModel : public QAbstractTableModel {
public:
    std::vector<Column> cols;
    int rows = 0;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(cols.size());
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid()) return {};
        const Column &col = cols[index.column()];
        const Cell &cell = col.cells[index.row()];
        switch (role) {
            case Qt::DisplayRole: return cell.text;
            case Qt::ForegroundRole: return QBrush(readableTextColor(cell.color >= 0 ? cell.color : col.color));
            case Qt::BackgroundRole: return cell.bg >= 0 ? QVariant(QBrush(toQColor(cell.bg))) : QVariant();
            case Qt::TextAlignmentRole: {
                const int h = col.justify == 1 ? Qt::AlignHCenter
                              : col.justify == 2 || (col.justify == 0 && col.cellType == VAL_CELL_NUMERIC)
                                  ? Qt::AlignRight
                                  : Qt::AlignLeft;
                return QVariant(h | Qt::AlignVCenter);
            }
            default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (o == Qt::Vertical) return section + 1;
        if (section < 0 || section >= static_cast<int>(cols.size())) return {};
        return cols[section].label;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void insertRows_(int at, int count) {
        beginInsertRows(QModelIndex(), at, at + count - 1);
        for (Column &c : cols) c.cells.insert(c.cells.begin() + at, static_cast<std::size_t>(count), Cell{});
        rows += count;
        endInsertRows();
    }
    void removeRows_(int at, int count) {
        beginRemoveRows(QModelIndex(), at, at + count - 1);
        for (Column &c : cols) c.cells.erase(c.cells.begin() + at, c.cells.begin() + at + count);
        rows -= count;
        endRemoveRows();
    }
    void insertColumns_(int at, int count, int cellType) {
        beginInsertColumns(QModelIndex(), at, at + count - 1);
        Column c;
        c.cellType = cellType == VAL_CELL_NUMERIC ? VAL_CELL_NUMERIC : VAL_CELL_STRING;
        c.cells.resize(static_cast<std::size_t>(rows));
        cols.insert(cols.begin() + at, static_cast<std::size_t>(count), c);
        endInsertColumns();
    }
    void removeColumns_(int at, int count) {
        beginRemoveColumns(QModelIndex(), at, at + count - 1);
        cols.erase(cols.begin() + at, cols.begin() + at + count);
        endRemoveColumns();
    }
    void touched(int row0, int col0, int row1, int col1) {
        if (row1 < row0 || col1 < col0) return;
        emit dataChanged(index(row0, col0), index(row1, col1));
    }
};

class TableWidget : public QTableView {
public:
    explicit TableWidget(QWidget *parent) : QTableView(parent) {
        setModel(&model);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setSelectionMode(QAbstractItemView::ContiguousSelection);
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    }
    TableModel model;
    int numVisible = -1;
    std::set<int> hiddenMenuItems;
};

int tableOf(int panel, int ctrl, TableWidget *&t) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_TABLE, p, c)) return e;
    t = static_cast<TableWidget *>(c->widget);
    return 0;
}

bool rectFits(const TableWidget &t, const Rect &r) {
    return r.top >= 1 && r.left >= 1 && r.height >= 0 && r.width >= 0 && r.top - 1 + r.height <= t.model.rows &&
           r.left - 1 + r.width <= static_cast<int>(t.model.cols.size());
}

bool cellFits(const TableWidget &t, const Point &p) {
    return p.x >= 1 && p.y >= 1 && p.y <= t.model.rows && p.x <= static_cast<int>(t.model.cols.size());
}

// Fill a range from n = height * width values; get(i) gives the text of value i.
template <typename Get>
void fillRange(TableWidget &t, const Rect &r, int fillDirection, Get get) {
    for (int c = 0; c < r.width; ++c) {
        Column &col = t.model.cols[r.left - 1 + c];
        for (int row = 0; row < r.height; ++row) {
            const int i = fillDirection == VAL_ROW_MAJOR ? row * r.width + c : c * r.height + row;
            col.cells[r.top - 1 + row].text = get(i);
        }
    }
    t.model.touched(r.top - 1, r.left - 1, r.top - 2 + r.height, r.left - 2 + r.width);
}

void applyColumnVisibility(TableWidget &t) {
    for (std::size_t i = 0; i < t.model.cols.size(); ++i)
        t.setColumnHidden(static_cast<int>(i), !t.model.cols[i].visible);
}

int setColumnAttr(TableWidget &t, int ci, int attr, const Value &v) {
    Column &col = t.model.cols[ci];
    const bool num = v.isNumber();
    switch (attr) {
        case ATTR_LABEL_TEXT:
            if (num) return kErrBadType;
            col.label = v.s;
            emit t.model.headerDataChanged(Qt::Horizontal, ci, ci);
            return 0;
        case ATTR_VISIBLE:
            if (!num) return kErrBadType;
            col.visible = v.num() != 0;
            t.setColumnHidden(ci, !col.visible);
            return 0;
        case ATTR_COLUMN_WIDTH:
            if (!num) return kErrBadType;
            if (v.toInt() < 0) return kErrBadValue;
            t.setColumnWidth(ci, v.toInt());
            return 0;
        case ATTR_TEXT_COLOR:
            if (!num) return kErrBadType;
            col.color = v.toInt() & 0xFFFFFF;
            for (Cell &c : col.cells) c.color = -1;
            t.model.touched(0, ci, t.model.rows - 1, ci);
            return 0;
        case ATTR_CELL_TYPE:
            if (!num) return kErrBadType;
            col.cellType = v.toInt() == VAL_CELL_NUMERIC ? VAL_CELL_NUMERIC : VAL_CELL_STRING;
            return 0;
        case ATTR_CELL_JUSTIFY:
            if (!num) return kErrBadType;
            col.justify = v.toInt();
            t.model.touched(0, ci, t.model.rows - 1, ci);
            return 0;
        default: return kErrBadAttr;
    }
}

int getColumnAttr(TableWidget &t, int ci, int attr, Value &v) {
    const Column &col = t.model.cols[ci];
    switch (attr) {
        case ATTR_LABEL_TEXT: v = Value::ofText(col.label); return 0;
        case ATTR_VISIBLE: v = Value::ofInt(col.visible); return 0;
        case ATTR_COLUMN_WIDTH: v = Value::ofInt(t.columnWidth(ci)); return 0;
        case ATTR_TEXT_COLOR: v = Value::ofInt(col.color); return 0;
        case ATTR_CELL_TYPE: v = Value::ofInt(col.cellType); return 0;
        case ATTR_CELL_JUSTIFY: v = Value::ofInt(col.justify); return 0;
        default: return kErrBadAttr;
    }
}

int columnAttr(int panel, int ctrl, int column, int attr, const Value &v) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    const int n = static_cast<int>(t->model.cols.size());
    if (column == -1) {   // every column
        for (int i = 0; i < n; ++i)
            if (const int e = setColumnAttr(*t, i, attr, v)) return e;
        return 0;
    }
    if (column < 1 || column > n) return kErrBadIndex;
    return setColumnAttr(*t, column - 1, attr, v);
}

int columnAttrGet(int panel, int ctrl, int column, int attr, Value &v) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (column < 1 || column > static_cast<int>(t->model.cols.size())) return kErrBadIndex;
    return getColumnAttr(*t, column - 1, attr, v);
}

int setCellAttr(Cell &cell, int attr, int value) {
    switch (attr) {
        case ATTR_TEXT_COLOR: cell.color = value & 0xFFFFFF; return 0;
        case ATTR_TEXT_BGCOLOR: cell.bg = value & 0xFFFFFF; return 0;
        default: return kErrBadAttr;
    }
}

}   // namespace

QWidget *tableCreate(QWidget *parent) { return new TableWidget(parent); }

bool isTableAttr(int attr) {
    return attr == ATTR_NUM_VISIBLE_COLUMNS || attr == ATTR_TABLE_RUN_STATE || attr == ATTR_CELL_TYPE ||
           attr == ATTR_CELL_JUSTIFY || attr == ATTR_COLUMN_WIDTH || attr == ATTR_ROW_LABELS_VISIBLE;
}

int tableSetAttr(Ctrl &c, int attr, const Value &v) {
    auto *t = static_cast<TableWidget *>(c.widget);
    if (!v.isNumber()) return kErrBadType;
    switch (attr) {
        case ATTR_NUM_VISIBLE_COLUMNS: {
            const int n = v.toInt();
            if (n < 0) return kErrBadValue;
            t->numVisible = n;
            for (std::size_t i = 0; i < t->model.cols.size(); ++i) t->model.cols[i].visible = static_cast<int>(i) < n;
            applyColumnVisibility(*t);
            return 0;
        }
        case ATTR_TABLE_RUN_STATE: c.tableRunState = v.toInt(); return 0;
        case ATTR_ROW_LABELS_VISIBLE: t->verticalHeader()->setVisible(v.toInt() != 0); return 0;
        case ATTR_CELL_TYPE:
        case ATTR_CELL_JUSTIFY:
        case ATTR_COLUMN_WIDTH:
            for (std::size_t i = 0; i < t->model.cols.size(); ++i)
                if (const int e = setColumnAttr(*t, static_cast<int>(i), attr, v)) return e;
            if (attr == ATTR_CELL_TYPE) c.cellType = v.toInt();
            if (attr == ATTR_CELL_JUSTIFY) c.cellJustify = v.toInt();
            return 0;
        default: return kErrBadAttr;
    }
}

int tableGetAttr(Ctrl &c, int attr, Value &v) {
    auto *t = static_cast<TableWidget *>(c.widget);
    switch (attr) {
        case ATTR_NUM_VISIBLE_COLUMNS: {
            int n = 0;
            for (const Column &col : t->model.cols) n += col.visible ? 1 : 0;
            v = Value::ofInt(n);
            return 0;
        }
        case ATTR_TABLE_RUN_STATE: v = Value::ofInt(c.tableRunState); return 0;
        case ATTR_ROW_LABELS_VISIBLE: v = Value::ofInt(t->verticalHeader()->isHidden() ? 0 : 1); return 0;
        case ATTR_CELL_TYPE: v = Value::ofInt(c.cellType); return 0;
        case ATTR_CELL_JUSTIFY: v = Value::ofInt(c.cellJustify); return 0;
        case ATTR_COLUMN_WIDTH: v = Value::ofInt(t->horizontalHeader()->defaultSectionSize()); return 0;
        default: return kErrBadAttr;
    }
}

}   // namespace rt::detail

using namespace rt::detail;

int InsertTableRows(int panel, int ctrl, int index, int count, int cellType) {
    (void)cellType;
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (count < 0) return kErrBadValue;
    if (index == -1) index = t->model.rows + 1;
    if (index < 1 || index > t->model.rows + 1) return kErrBadIndex;
    if (count > 0) t->model.insertRows_(index - 1, count);
    return 0;
}

int DeleteTableRows(int panel, int ctrl, int index, int count) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (index < 1 || index > t->model.rows) return kErrBadIndex;
    if (count == -1 || index - 1 + count > t->model.rows) count = t->model.rows - index + 1;
    if (count < 0) return kErrBadValue;
    if (count > 0) t->model.removeRows_(index - 1, count);
    return 0;
}

int InsertTableColumns(int panel, int ctrl, int index, int count, int cellType) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    const int n = static_cast<int>(t->model.cols.size());
    if (count < 0) return kErrBadValue;
    if (index == -1) index = n + 1;
    if (index < 1 || index > n + 1) return kErrBadIndex;
    if (count > 0) t->model.insertColumns_(index - 1, count, cellType);
    applyColumnVisibility(*t);
    return 0;
}

int DeleteTableColumns(int panel, int ctrl, int index, int count) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    const int n = static_cast<int>(t->model.cols.size());
    if (index < 1 || index > n) return kErrBadIndex;
    if (count == -1 || index - 1 + count > n) count = n - index + 1;
    if (count < 0) return kErrBadValue;
    if (count > 0) t->model.removeColumns_(index - 1, count);
    applyColumnVisibility(*t);
    return 0;
}

int GetNumTableRows(int panel, int ctrl, int *rows) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!rows) return kErrNullArg;
    *rows = t->model.rows;
    return 0;
}

int GetNumTableColumns(int panel, int ctrl, int *columns) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!columns) return kErrNullArg;
    *columns = static_cast<int>(t->model.cols.size());
    return 0;
}

int SetTableCellRangeVals(int panel, int ctrl, Rect range, const int *values, int fillDirection) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!rectFits(*t, range)) return kErrBadIndex;
    if (!values) return kErrNullArg;
    fillRange(*t, range, fillDirection, [values](int i) { return QString::number(values[i]); });
    return 0;
}

int SetTableCellRangeVals(int panel, int ctrl, Rect range, const char *const *texts, int fillDirection) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!rectFits(*t, range)) return kErrBadIndex;
    if (!texts) return kErrNullArg;
    fillRange(*t, range, fillDirection, [texts](int i) { return texts[i] ? QString::fromUtf8(texts[i]) : QString(); });
    return 0;
}

int SetTableCellVal(int panel, int ctrl, Point cell, int value) {
    return SetTableCellRangeVals(panel, ctrl, MakeRect(cell.y, cell.x, 1, 1), &value, VAL_COLUMN_MAJOR);
}

int SetTableCellVal(int panel, int ctrl, Point cell, const char *value) {
    const char *texts[1] = {value};
    return SetTableCellRangeVals(panel, ctrl, MakeRect(cell.y, cell.x, 1, 1), texts, VAL_COLUMN_MAJOR);
}

int GetTableCellVal(int panel, int ctrl, Point cell, char *value, std::size_t capacity) {
    TableWidget *t = nullptr;
    int e = tableOf(panel, ctrl, t);
    if (!e && !cellFits(*t, cell)) e = kErrBadIndex;
    if (e) {
        if (value && capacity) value[0] = '\0';
        return e;
    }
    return copyOut(t->model.cols[cell.x - 1].cells[cell.y - 1].text, value, capacity);
}

int SetTableColumnAttribute(int panel, int ctrl, int column, int attr, int value) {
    return columnAttr(panel, ctrl, column, attr, Value::ofInt(value));
}

int SetTableColumnAttribute(int panel, int ctrl, int column, int attr, const char *value) {
    if (!value) return kErrNullArg;
    return columnAttr(panel, ctrl, column, attr, Value::ofText(QString::fromUtf8(value)));
}

int GetTableColumnAttribute(int panel, int ctrl, int column, int attr, int *value) {
    Value v;
    if (const int e = columnAttrGet(panel, ctrl, column, attr, v)) return e;
    if (!value) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *value = v.toInt();
    return 0;
}

int GetTableColumnAttribute(int panel, int ctrl, int column, int attr, char *value, std::size_t capacity) {
    Value v;
    int e = columnAttrGet(panel, ctrl, column, attr, v);
    if (!e && v.isNumber()) e = kErrBadType;
    if (e) {
        if (value && capacity) value[0] = '\0';
        return e;
    }
    return copyOut(v.s, value, capacity);
}

int SetTableCellAttribute(int panel, int ctrl, Point cell, int attr, int value) {
    return SetTableCellRangeAttribute(panel, ctrl, MakeRect(cell.y, cell.x, 1, 1), attr, value);
}

int GetTableCellAttribute(int panel, int ctrl, Point cell, int attr, int *value) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!cellFits(*t, cell)) return kErrBadIndex;
    if (!value) return kErrNullArg;
    const Column &col = t->model.cols[cell.x - 1];
    const Cell &c = col.cells[cell.y - 1];
    switch (attr) {
        case ATTR_TEXT_COLOR: *value = c.color >= 0 ? c.color : col.color; return 0;
        case ATTR_TEXT_BGCOLOR: *value = c.bg >= 0 ? c.bg : 0xFFFFFF; return 0;
        case ATTR_CELL_TYPE: *value = col.cellType; return 0;
        default: return kErrBadAttr;
    }
}

int SetTableCellRangeAttribute(int panel, int ctrl, Rect range, int attr, int value) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!rectFits(*t, range)) return kErrBadIndex;
    if (attr != ATTR_TEXT_COLOR && attr != ATTR_TEXT_BGCOLOR) return kErrBadAttr;
    for (int c = 0; c < range.width; ++c) {
        Column &col = t->model.cols[range.left - 1 + c];
        for (int r = 0; r < range.height; ++r) setCellAttr(col.cells[range.top - 1 + r], attr, value);
    }
    t->model.touched(range.top - 1, range.left - 1, range.top - 2 + range.height, range.left - 2 + range.width);
    return 0;
}

int SetTableSelection(int panel, int ctrl, Rect range) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (range.height == 0 || range.width == 0) {
        t->selectionModel()->clearSelection();
        return 0;
    }
    if (!rectFits(*t, range)) return kErrBadIndex;
    const QModelIndex a = t->model.index(range.top - 1, range.left - 1);
    const QModelIndex b = t->model.index(range.top - 2 + range.height, range.left - 2 + range.width);
    t->selectionModel()->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
    t->selectionModel()->setCurrentIndex(a, QItemSelectionModel::NoUpdate);
    t->scrollTo(a);
    return 0;
}

int GetTableSelection(int panel, int ctrl, Rect *range) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    if (!range) return kErrNullArg;
    *range = MakeRect(0, 0, 0, 0);
    const QItemSelection sel = t->selectionModel()->selection();
    if (sel.isEmpty()) return 0;
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    for (const QItemSelectionRange &r : sel) {
        top = std::min(top, r.top());
        left = std::min(left, r.left());
        bottom = std::max(bottom, r.bottom());
        right = std::max(right, r.right());
    }
    *range = MakeRect(top + 1, left + 1, bottom - top + 1, right - left + 1);
    return 0;
}

int HideBuiltInCtrlMenuItem(int panel, int ctrl, int item) {
    TableWidget *t = nullptr;
    if (const int e = tableOf(panel, ctrl, t)) return e;
    t->hiddenMenuItems.insert(item);
    return 0;
}
