// Panel layouts: controls placed in grids (of the panel or of a group box) instead of pixel
// positions, row and column stretch, and the panel's minimum size.
#include "runtime/ui_internal.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>

namespace rt::detail {
namespace {

// The grid of group 0 (the panel) or of a placed decoration; made on first use.
QGridLayout *gridOf(Panel &p, int group, int &err) {
    QWidget *owner = p.widget;
    if (group != 0) {
        auto it = p.ctrls.find(group);
        if (it == p.ctrls.end()) {
            err = kErrBadCtrl;
            return nullptr;
        }
        Ctrl &g = *it->second;
        if (g.kind != CTRL_DECORATION || !g.placed) {
            err = kErrBadValue;   // only a decoration already in a grid holds a group
            return nullptr;
        }
        owner = g.widget;
    }
    if (auto *grid = qobject_cast<QGridLayout *>(owner->layout())) return grid;
    if (owner->layout()) {
        err = kErrBadValue;
        return nullptr;
    }
    auto *grid = new QGridLayout(owner);
    if (group == 0) grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    return grid;
}

// A control with a caption goes into the cell as a small column: the caption, then the control.
QWidget *cellWidget(Ctrl &c, QWidget *owner) {
    if (!c.caption) return c.widget;
    auto *holder = new QWidget(owner);
    auto *box = new QVBoxLayout(holder);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(2);
    box->addWidget(c.caption);
    box->addWidget(c.widget, 1);
    return holder;
}

// Where a control stands in its cell when the row is taller than it: what grows (a chart, a
// table, a text box, a frame, a picture) fills the cell; a text stands in the middle; fields
// and buttons, with their captions above them, stand at the bottom, so that the fields of a
// row line up whether they have a caption or not.
Qt::Alignment cellAlignment(const Ctrl &c) {
    switch (c.kind) {
        case CTRL_GRAPH:
        case CTRL_TABLE:
        case CTRL_TEXT_BOX:
        case CTRL_DECORATION:
        case CTRL_PICTURE: return {};
        case CTRL_TEXT_MSG: return Qt::AlignVCenter;
        default: return Qt::AlignBottom;
    }
}

// What a widget needs to show its contents whole. A ring shows its widest item (its own hint
// is worked out once and misses items added later).
QSize contentsMinimum(QWidget *w) {
    QSize need = w->minimumSizeHint();
    if (auto *box = qobject_cast<QComboBox *>(w)) {
        const QFontMetrics fm = box->fontMetrics();
        int widest = 0;
        for (int i = 0; i < box->count(); ++i)
            widest = std::max(widest, fm.size(Qt::TextSingleLine, box->itemText(i)).width());
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        need =
            need.expandedTo(box->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(widest, fm.height()), box));
    }
    return need;
}

}   // namespace

void setPlacedMinimum(Ctrl &c, QSize size) {
    c.widget->setProperty("tvxMinSize", size);
    // An explicit minimum hides the widget's own need (its text) from the grid: take both.
    c.widget->setMinimumSize(QSize(0, 0));
    c.widget->setMinimumSize(size.expandedTo(contentsMinimum(c.widget)));
}

void fitPanelToGrid(Panel &p, bool initial) {
    QLayout *grid = p.widget->layout();
    if (!grid) return;
    // Texts may have changed since the controls were placed: every grid and cell computes its
    // needs anew, the controls first, then the frames that hold them.
    for (QWidget *w : p.widget->findChildren<QWidget *>()) w->updateGeometry();
    for (QLayout *inner : p.widget->findChildren<QLayout *>()) inner->invalidate();
    for (const bool frames : {false, true})
        for (auto &kv : p.ctrls) {
            Ctrl &c = *kv.second;
            if (c.placed && (c.kind == CTRL_DECORATION) == frames)
                setPlacedMinimum(c, c.widget->property("tvxMinSize").toSize());
        }
    grid->activate();
    const QSize need = grid->totalMinimumSize().expandedTo(p.minSize);
    p.widget->setMinimumSize(need);
    QSize size = p.widget->size();
    if (initial) size = size.expandedTo(grid->totalSizeHint());
    p.widget->resize(size.expandedTo(need));
}

QRect ctrlRectInPanel(const Ctrl &c) {
    if (!c.widget) return {};
    if (!c.placed) return c.widget->geometry();
    const Panel *p = findPanel(c.panel);
    if (!p) return c.widget->geometry();
    // A laid-out panel that was never shown has its grid applied only on demand.
    if (QLayout *grid = p->widget->layout()) grid->activate();
    return QRect(c.widget->mapTo(p->widget, QPoint(0, 0)), c.widget->size());
}

}   // namespace rt::detail

using namespace rt::detail;

int PlaceCtrl(int panel, int ctrl, int group, int row, int column, int rowSpan, int columnSpan) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    if (!c->widget || c->placed || ctrl == group) return kErrBadValue;   // timers have no place
    if (row < 0 || column < 0 || rowSpan < 1 || columnSpan < 1) return kErrBadValue;
    int err = 0;
    QGridLayout *grid = gridOf(*p, group, err);
    if (!grid) return err;
    QWidget *owner = grid->parentWidget();
    c->placed = true;
    grid->addWidget(cellWidget(*c, owner), row, column, rowSpan, columnSpan, cellAlignment(*c));
    // A frame is as large as its group needs; other controls at least their pixel size.
    setPlacedMinimum(*c, c->kind == CTRL_DECORATION ? QSize() : c->widget->size().boundedTo(QSize(4000, 4000)));
    if (c->caption) c->caption->setVisible(!c->label.isEmpty() && c->visible);
    return 0;
}

int SetGridStretch(int panel, int group, int direction, int index, int stretch) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (index < 0 || stretch < 0) return kErrBadValue;
    int err = 0;
    QGridLayout *grid = gridOf(*p, group, err);
    if (!grid) return err;
    switch (direction) {
        case VAL_GRID_ROW: grid->setRowStretch(index, stretch); return 0;
        case VAL_GRID_COLUMN: grid->setColumnStretch(index, stretch); return 0;
        default: return kErrBadValue;
    }
}

int SetPanelMinimumSize(int panel, int width, int height) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (width < 0 || height < 0) return kErrBadValue;
    p->minSize = QSize(width, height);
    if (p->widget->layout())
        fitPanelToGrid(*p, false);
    else
        p->widget->setMinimumSize(p->minSize);
    return 0;
}
