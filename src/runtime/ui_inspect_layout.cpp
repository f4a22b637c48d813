// Read-back of the texts a control shows and the room it gives them (inspect_layout.h).
#include "runtime/inspect_layout.h"
#include "runtime/ui_internal.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <algorithm>

using namespace rt::detail;

namespace {

// The widest line of a text in a font, as the toolkit lays the text out to draw it.
int widthOf(const QFontMetrics &fm, const QString &text) {
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.size(Qt::TextSingleLine, line).width());
    return widest;
}

rt::ShownText shown(const Panel &p, const char *what, QWidget *w, const QString &text, int room) {
    rt::ShownText t;
    t.what = what;
    t.text = text.toStdString();
    t.needed = widthOf(w->fontMetrics(), text);
    t.room = room;
    const QRect r(w->mapTo(p.widget, QPoint(0, 0)), w->size());
    t.left = r.left();
    t.top = r.top();
    t.width = r.width();
    t.height = r.height();
    return t;
}

// A label's room: its contents less its margin and indent (a label that wraps has all it needs).
int labelRoom(const QLabel *l, const QString &text) {
    if (l->wordWrap()) return widthOf(l->fontMetrics(), text);
    return l->contentsRect().width() - 2 * l->margin() - std::max(l->indent(), 0);
}

// A button's room: its contents less the style's margin around the text.
int buttonRoom(QPushButton *b) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const QRect contents = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    return contents.width() - b->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, b);
}

int ringRoom(QComboBox *box) {
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    opt.currentText = box->currentText();
    return box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box).width();
}

}   // namespace

namespace rt {

int CtrlGroup(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    if (!c->placed || !c->widget) return 0;
    // the control, or the cell that holds it with its caption, sits in a frame's box or the panel
    QWidget *owner = c->widget->parentWidget();
    if (owner && c->caption && owner != p->widget) owner = owner->parentWidget();
    for (const auto &kv : p->ctrls)
        if (kv.second->kind == CTRL_DECORATION && kv.second->widget == owner) return kv.first;
    return 0;
}

std::vector<ShownText> CtrlTexts(int panel, int ctrl) {
    std::vector<ShownText> out;
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (lookup(panel, ctrl, p, c) != 0 || !c->widget || !c->widget->isVisibleTo(p->widget)) return out;
    if (c->caption && c->caption->isVisibleTo(p->widget) && !c->caption->text().isEmpty())
        out.push_back(shown(*p, "caption", c->caption, c->caption->text(), labelRoom(c->caption, c->caption->text())));
    if (auto *l = qobject_cast<QLabel *>(c->widget); l && c->kind == CTRL_TEXT_MSG && !l->text().isEmpty())
        out.push_back(shown(*p, "text", l, l->text(), labelRoom(l, l->text())));
    if (auto *b = qobject_cast<QPushButton *>(c->widget); b && !b->text().isEmpty())
        out.push_back(shown(*p, "text", b, b->text(), buttonRoom(b)));
    if (auto *box = qobject_cast<QComboBox *>(c->widget); box && !box->currentText().isEmpty())
        out.push_back(shown(*p, "item", box, box->currentText(), ringRoom(box)));
    if (auto *g = qobject_cast<QGroupBox *>(c->widget); g && !g->title().isEmpty()) {
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.subControls = QStyle::SC_GroupBoxLabel;
        const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        out.push_back(shown(*p, "title", g, g->title(), std::min(label.width(), g->width())));
    }
    return out;
}

}   // namespace rt
