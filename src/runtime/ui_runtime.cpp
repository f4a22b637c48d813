// The core of the user-interface run-time: the application object and event loop,
// panels, controls with their values and attributes, rings, events and panel states.
#include "runtime/ui_internal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace rt::detail {
namespace {

struct Resource {
    QString title;
    int width = -1;
    int height = -1;
    PanelBuilder build = nullptr;
};

struct State {
    std::map<int, std::unique_ptr<Panel>> panels;
    std::map<int, Resource> resources;
    int nextPanel = 1;
    int dispatchDepth = 0;
    int modalDepth = 0;
    int loopDepth = 0;
    bool quitPending = false;
    int quitCode = 0;
};

State &st() {
    static State s;
    return s;
}

// The application object keeps pointers to argc/argv: they live as long as the process.
int g_argc = 0;
std::vector<std::string> g_argStore;
std::vector<char *> g_argv;

constexpr double kRealLimit = 1e15;

class PanelWidget : public QWidget {
public:
    PanelWidget(int handle, QWidget *parent) : QWidget(parent, Qt::Window), handle_(handle) {}

protected:
    void closeEvent(QCloseEvent *e) override {
        // The close box never closes the window by itself: the panel callback decides.
        e->ignore();
        firePanel(handle_, EVENT_CLOSE, 0, 0);
    }

private:
    int handle_;
};

bool hasCaption(CtrlKind k) {
    switch (k) {
    case CTRL_NUMERIC:
    case CTRL_NUMERIC_REAL:
    case CTRL_STRING:
    case CTRL_TEXT_BOX:
    case CTRL_RING:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM:
    case CTRL_PICTURE:
    case CTRL_GRAPH:
    case CTRL_TABLE:
        return true;
    default:
        return false;
    }
}

bool holdsValue(CtrlKind k) {
    switch (k) {
    case CTRL_NUMERIC:
    case CTRL_NUMERIC_REAL:
    case CTRL_STRING:
    case CTRL_TEXT_BOX:
    case CTRL_RING:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM:
        return true;
    default:
        return false;
    }
}

QSize defaultSize(CtrlKind k) {
    switch (k) {
    case CTRL_NUMERIC: return {80, 22};
    case CTRL_NUMERIC_REAL: return {90, 22};
    case CTRL_STRING: return {150, 22};
    case CTRL_TEXT_MSG: return {0, 0};   // sized to its text
    case CTRL_TEXT_BOX: return {200, 80};
    case CTRL_RING: return {120, 24};
    case CTRL_BINARY_SWITCH: return {80, 24};
    case CTRL_COMMAND_BUTTON: return {0, 0};   // sized to its text
    case CTRL_COLOR_NUM: return {40, 22};
    case CTRL_PICTURE: return {100, 100};
    case CTRL_GRAPH: return {400, 250};
    case CTRL_TABLE: return {400, 200};
    case CTRL_TIMER: return {0, 0};
    case CTRL_DECORATION: return {200, 100};
    }
    return {80, 22};
}

class EventWatcher : public QObject {
public:
    bool eventFilter(QObject *obj, QEvent *ev) override {
        const QEvent::Type t = ev->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick && t != QEvent::FocusIn &&
            t != QEvent::FocusOut)
            return false;
        bool okP = false, okC = false;
        const int panel = obj->property("tvxPanel").toInt(&okP);
        const int ctrl = obj->property("tvxCtrl").toInt(&okC);
        if (!okP || !okC) return false;
        Panel *p = nullptr;
        Ctrl *c = nullptr;
        if (lookup(panel, ctrl, p, c) != 0 || !c->widget) return false;
        auto *w = qobject_cast<QWidget *>(obj);
        if (!w) return false;
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
            auto *me = static_cast<QMouseEvent *>(ev);
            const QPoint pp = w->mapTo(p->widget, me->position().toPoint());
            const bool dbl = t == QEvent::MouseButtonDblClick;
            if (me->button() == Qt::RightButton)
                fireCtrl(panel, ctrl, dbl ? EVENT_RIGHT_DOUBLE_CLICK : EVENT_RIGHT_CLICK, pp.y(), pp.x());
            else if (me->button() == Qt::LeftButton)
                fireCtrl(panel, ctrl, dbl ? EVENT_LEFT_DOUBLE_CLICK : EVENT_LEFT_CLICK, pp.y(), pp.x());
            return false;
        }
        if (t == QEvent::FocusIn) {
            if (!c->focused) {
                c->focused = true;
                fireCtrl(panel, ctrl, EVENT_GOT_FOCUS, 0, 0);
            }
            return false;
        }
        // Focus out: only when the focus leaves the control (not between its own parts,
        // and not when only the window was deactivated).
        QWidget *now = QApplication::focusWidget();
        if (now && (now == c->widget || c->widget->isAncestorOf(now))) return false;
        if (!c->focused) return false;
        if (c->kind == CTRL_NUMERIC || c->kind == CTRL_NUMERIC_REAL) {
            // a value typed into the field is taken (and committed) before the focus leaves
            static_cast<QAbstractSpinBox *>(c->widget)->interpretText();
            if (lookup(panel, ctrl, p, c) != 0) return false;
        }
        c->focused = false;
        const bool commit = (c->kind == CTRL_TEXT_BOX || c->kind == CTRL_STRING) && c->editedSinceCommit;
        c->editedSinceCommit = false;
        if (commit) fireCtrl(panel, ctrl, EVENT_COMMIT, 0, 0);
        fireCtrl(panel, ctrl, EVENT_LOST_FOCUS, 0, 0);
        return false;
    }
};

EventWatcher &watcher() {
    static EventWatcher *w = new EventWatcher;
    return *w;
}

// ------------------------------------------------------------ widget updates

void applyColors(Ctrl &c) {
    if (!c.widget) return;
    if (c.kind == CTRL_GRAPH || c.kind == CTRL_TABLE) return;
    QPalette pal = c.widget->palette();
    const QColor fg = toQColor(c.textColor);
    pal.setColor(QPalette::Text, fg);
    pal.setColor(QPalette::WindowText, fg);
    pal.setColor(QPalette::ButtonText, fg);
    if (c.bgColor >= 0) {
        const QColor bg = toQColor(c.bgColor);
        pal.setColor(QPalette::Base, bg);
        if (c.kind == CTRL_TEXT_MSG || c.kind == CTRL_PICTURE || c.kind == CTRL_DECORATION) {
            pal.setColor(QPalette::Window, bg);
            c.widget->setAutoFillBackground(true);
        } else if (c.kind == CTRL_COMMAND_BUTTON || c.kind == CTRL_BINARY_SWITCH) {
            pal.setColor(QPalette::Button, bg);
        }
    }
    c.widget->setPalette(pal);
}

void applyFont(Ctrl &c) {
    if (!c.widget) return;
    c.widget->setFont(resolveFont(c.fontName, c.pointSize));
}

void placeCaption(Ctrl &c) {
    if (!c.caption || !c.widget) return;
    c.caption->setText(c.label);
    if (c.label.isEmpty() || !c.visible) {
        c.caption->hide();
        return;
    }
    c.caption->adjustSize();
    const QSize s = c.caption->sizeHint();
    const QRect g = c.widget->geometry();
    int x = g.left();
    int y = g.top() - s.height() - 1;
    if (y < 0) {   // no room above: to the left of the control
        x = g.left() - s.width() - 4;
        y = g.top() + (g.height() - s.height()) / 2;
        if (x < 0) {
            x = g.left();
            y = 0;
        }
    }
    c.caption->setGeometry(x, y, std::max(s.width(), 1), s.height());
    c.caption->show();
}

void applyMode(Ctrl &c) {
    if (!c.widget) return;
    const bool ro = c.mode == VAL_INDICATOR;
    switch (c.kind) {
    case CTRL_NUMERIC:
    case CTRL_NUMERIC_REAL: {
        auto *sb = static_cast<QAbstractSpinBox *>(c.widget);
        sb->setReadOnly(ro);
        sb->setButtonSymbols(ro ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
        break;
    }
    case CTRL_STRING: static_cast<QLineEdit *>(c.widget)->setReadOnly(ro); break;
    case CTRL_TEXT_BOX: static_cast<QPlainTextEdit *>(c.widget)->setReadOnly(ro); break;
    case CTRL_RING:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM:
    case CTRL_COMMAND_BUTTON:
        c.widget->setAttribute(Qt::WA_TransparentForMouseEvents, ro);
        c.widget->setFocusPolicy(ro ? Qt::NoFocus : Qt::StrongFocus);
        break;
    default: break;
    }
}

void colorSwatch(Ctrl &c) {
    c.widget->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
                                .arg(toQColor(c.ival).name()));
}

// Show the model value of a control in its widget (no callbacks).
void refreshWidget(Ctrl &c) {
    if (!c.widget) return;
    const QSignalBlocker block(c.widget);
    switch (c.kind) {
    case CTRL_NUMERIC: {
        auto *sb = static_cast<QSpinBox *>(c.widget);
        sb->setRange(static_cast<int>(c.minV), static_cast<int>(c.maxV));
        sb->setValue(c.ival);
        break;
    }
    case CTRL_NUMERIC_REAL: {
        auto *sb = static_cast<QDoubleSpinBox *>(c.widget);
        sb->setDecimals(c.precision);
        sb->setRange(c.minV, c.maxV);
        sb->setValue(c.dval);
        break;
    }
    case CTRL_STRING: static_cast<QLineEdit *>(c.widget)->setText(c.text); break;
    case CTRL_TEXT_BOX: static_cast<QPlainTextEdit *>(c.widget)->setPlainText(c.text); break;
    case CTRL_TEXT_MSG: static_cast<QLabel *>(c.widget)->setText(c.text); break;
    case CTRL_RING: static_cast<QComboBox *>(c.widget)->setCurrentIndex(c.ringIndex); break;
    case CTRL_BINARY_SWITCH: {
        auto *b = static_cast<QPushButton *>(c.widget);
        b->setChecked(c.ival != 0);
        b->setText(c.ival ? c.onText : c.offText);
        break;
    }
    case CTRL_COMMAND_BUTTON: static_cast<QPushButton *>(c.widget)->setText(c.label); break;
    case CTRL_COLOR_NUM: colorSwatch(c); break;
    case CTRL_DECORATION: static_cast<QGroupBox *>(c.widget)->setTitle(c.label); break;
    default: break;
    }
}

// A value the user chose: store it, then VAL_CHANGED and COMMIT.
void userChanged(int panel, int ctrl, bool commit) {
    fireCtrl(panel, ctrl, EVENT_VAL_CHANGED, 0, 0);
    if (commit) fireCtrl(panel, ctrl, EVENT_COMMIT, 0, 0);
}

Ctrl *liveCtrl(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    return lookup(panel, ctrl, p, c) == 0 ? c : nullptr;
}

QWidget *makeWidget(Panel &p, Ctrl &c) {
    QWidget *parent = p.widget;
    const int ph = p.handle;
    const int id = c.id;
    switch (c.kind) {
    case CTRL_NUMERIC: {
        auto *sb = new QSpinBox(parent);
        c.minV = INT_MIN;
        c.maxV = INT_MAX;
        sb->setRange(INT_MIN, INT_MAX);
        sb->setKeyboardTracking(false);
        QObject::connect(sb, &QSpinBox::valueChanged, sb, [ph, id](int v) {
            if (Ctrl *cc = liveCtrl(ph, id)) {
                cc->ival = v;
                userChanged(ph, id, true);
            }
        });
        return sb;
    }
    case CTRL_NUMERIC_REAL: {
        auto *sb = new QDoubleSpinBox(parent);
        c.minV = -kRealLimit;
        c.maxV = kRealLimit;
        sb->setDecimals(c.precision);
        sb->setRange(c.minV, c.maxV);
        sb->setKeyboardTracking(false);
        QObject::connect(sb, &QDoubleSpinBox::valueChanged, sb, [ph, id](double v) {
            if (Ctrl *cc = liveCtrl(ph, id)) {
                cc->dval = v;
                userChanged(ph, id, true);
            }
        });
        return sb;
    }
    case CTRL_STRING: {
        auto *le = new QLineEdit(parent);
        QObject::connect(le, &QLineEdit::textEdited, le, [ph, id](const QString &t) {
            if (Ctrl *cc = liveCtrl(ph, id)) {
                cc->text = t;
                cc->editedSinceCommit = true;
                fireCtrl(ph, id, EVENT_VAL_CHANGED, 0, 0);
            }
        });
        QObject::connect(le, &QLineEdit::editingFinished, le, [ph, id]() {
            Ctrl *cc = liveCtrl(ph, id);
            if (cc && cc->editedSinceCommit) {
                cc->editedSinceCommit = false;
                fireCtrl(ph, id, EVENT_COMMIT, 0, 0);
            }
        });
        return le;
    }
    case CTRL_TEXT_MSG: {
        auto *l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        return l;
    }
    case CTRL_TEXT_BOX: {
        auto *te = new QPlainTextEdit(parent);
        QObject::connect(te, &QPlainTextEdit::textChanged, te, [ph, id, te]() {
            if (Ctrl *cc = liveCtrl(ph, id)) {
                cc->text = te->toPlainText();
                cc->editedSinceCommit = true;
                fireCtrl(ph, id, EVENT_VAL_CHANGED, 0, 0);
            }
        });
        return te;
    }
    case CTRL_RING: {
        auto *cb = new QComboBox(parent);
        QObject::connect(cb, &QComboBox::activated, cb, [ph, id](int index) {
            Ctrl *cc = liveCtrl(ph, id);
            if (!cc || index < 0 || index >= static_cast<int>(cc->items.size()) || index == cc->ringIndex) return;
            cc->ringIndex = index;
            userChanged(ph, id, true);
        });
        return cb;
    }
    case CTRL_BINARY_SWITCH: {
        auto *b = new QPushButton(parent);
        b->setCheckable(true);
        QObject::connect(b, &QPushButton::clicked, b, [ph, id, b](bool on) {
            Ctrl *cc = liveCtrl(ph, id);
            if (!cc) return;
            cc->ival = on ? 1 : 0;
            b->setText(on ? cc->onText : cc->offText);
            userChanged(ph, id, true);
        });
        return b;
    }
    case CTRL_COMMAND_BUTTON: {
        auto *b = new QPushButton(parent);
        QObject::connect(b, &QPushButton::clicked, b, [ph, id]() { fireCtrl(ph, id, EVENT_COMMIT, 0, 0); });
        return b;
    }
    case CTRL_COLOR_NUM: {
        auto *b = new QPushButton(parent);
        QObject::connect(b, &QPushButton::clicked, b, [ph, id, b]() {
            Ctrl *cc = liveCtrl(ph, id);
            if (!cc) return;
            QColor chosen;
            {
                const ModalScope modal;
                chosen = QColorDialog::getColor(toQColor(cc->ival), b->window(), cc->label);
            }
            cc = liveCtrl(ph, id);
            if (!cc || !chosen.isValid()) return;
            cc->ival = fromQColor(chosen);
            colorSwatch(*cc);
            userChanged(ph, id, true);
        });
        return b;
    }
    case CTRL_PICTURE: {
        auto *l = new QLabel(parent);
        l->setAlignment(Qt::AlignCenter);
        return l;
    }
    case CTRL_GRAPH: return graphCreate(parent, ph, id);
    case CTRL_TABLE: return tableCreate(parent);
    case CTRL_TIMER: {
        c.timer = new QTimer(parent);
        c.timer->setInterval(1000);
        QObject::connect(c.timer, &QTimer::timeout, c.timer, [ph, id]() {
            if (modalDepth() > 0) return;   // a pop-up is open: no overlapping callbacks
            fireCtrl(ph, id, EVENT_TIMER_TICK, 0, 0);
        });
        c.timer->start();
        return nullptr;
    }
    case CTRL_DECORATION: return new QGroupBox(parent);
    }
    return nullptr;
}

// ------------------------------------------------------------ values

int setValue(Ctrl &c, const Value &v) {
    switch (c.kind) {
    case CTRL_NUMERIC: {
        if (!v.isNumber()) return kErrBadType;
        double x = std::round(v.num());
        x = std::clamp(x, c.minV, c.maxV);
        c.ival = static_cast<int>(x);
        break;
    }
    case CTRL_NUMERIC_REAL:
        if (!v.isNumber()) return kErrBadType;
        c.dval = std::clamp(v.num(), c.minV, c.maxV);
        break;
    case CTRL_STRING:
    case CTRL_TEXT_BOX:
    case CTRL_TEXT_MSG:
        if (v.type != Value::Text) return kErrBadType;
        c.text = v.s;
        if (c.kind == CTRL_STRING && c.maxEntryLength >= 0) c.text.truncate(c.maxEntryLength);
        if (c.kind == CTRL_TEXT_MSG) c.label = c.text;
        break;
    case CTRL_RING: {
        if (!v.isNumber()) return kErrBadType;
        const int want = v.toInt();
        auto it = std::find_if(c.items.begin(), c.items.end(), [want](const RingItem &r) { return r.value == want; });
        if (it == c.items.end()) return kErrNoItem;
        c.ringIndex = static_cast<int>(it - c.items.begin());
        break;
    }
    case CTRL_BINARY_SWITCH:
        if (!v.isNumber()) return kErrBadType;
        c.ival = v.num() != 0 ? 1 : 0;
        break;
    case CTRL_COLOR_NUM:
        if (!v.isNumber()) return kErrBadType;
        c.ival = v.toInt() & 0xFFFFFF;
        break;
    default: return kErrBadType;
    }
    refreshWidget(c);
    return 0;
}

int getValue(const Ctrl &c, Value &v) {
    switch (c.kind) {
    case CTRL_NUMERIC:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM: v = Value::ofInt(c.ival); return 0;
    case CTRL_NUMERIC_REAL: v = Value::ofDouble(c.dval); return 0;
    case CTRL_STRING:
    case CTRL_TEXT_BOX:
    case CTRL_TEXT_MSG: v = Value::ofText(c.text); return 0;
    case CTRL_RING:
        if (c.ringIndex < 0 || c.ringIndex >= static_cast<int>(c.items.size())) return kErrNoItem;
        v = Value::ofInt(c.items[c.ringIndex].value);
        return 0;
    default: return kErrBadType;
    }
}

// ------------------------------------------------------------ attributes

int setGeometryAttr(Ctrl &c, int attr, int v) {
    if (!c.widget) return kErrBadAttr;
    QRect g = c.widget->geometry();
    switch (attr) {
    case ATTR_LEFT: g.moveLeft(v); break;
    case ATTR_TOP: g.moveTop(v); break;
    case ATTR_WIDTH:
        if (v < 0) return kErrBadValue;
        g.setWidth(v);
        break;
    case ATTR_HEIGHT:
        if (v < 0) return kErrBadValue;
        g.setHeight(v);
        break;
    default: return kErrBadAttr;
    }
    c.widget->setGeometry(g);
    placeCaption(c);
    return 0;
}

int setAttr(Ctrl &c, int attr, const Value &v) {
    if (c.kind == CTRL_GRAPH && isGraphAttr(attr)) return graphSetAttr(c, attr, v);
    if (c.kind == CTRL_TABLE && isTableAttr(attr)) return tableSetAttr(c, attr, v);
    const bool num = v.isNumber();
    switch (attr) {
    case ATTR_DIMMED:
        if (!num) return kErrBadType;
        c.dimmed = v.num() != 0;
        if (c.widget) c.widget->setEnabled(!c.dimmed);
        if (c.caption) c.caption->setEnabled(!c.dimmed);
        return 0;
    case ATTR_VISIBLE:
        if (!num) return kErrBadType;
        c.visible = v.num() != 0;
        if (c.widget) c.widget->setVisible(c.visible);
        placeCaption(c);
        return 0;
    case ATTR_LABEL_TEXT:
        if (num) return kErrBadType;
        c.label = v.s;
        if (c.kind == CTRL_TEXT_MSG) c.text = v.s;
        refreshWidget(c);
        placeCaption(c);
        return 0;
    case ATTR_TEXT_COLOR:
        if (!num) return kErrBadType;
        c.textColor = v.toInt() & 0xFFFFFF;
        applyColors(c);
        return 0;
    case ATTR_TEXT_BGCOLOR:
        if (!num) return kErrBadType;
        c.bgColor = v.toInt() & 0xFFFFFF;
        applyColors(c);
        return 0;
    case ATTR_FRAME_COLOR:
        if (!num) return kErrBadType;
        c.frameColor = v.toInt() & 0xFFFFFF;
        return 0;
    case ATTR_TEXT_FONT:
        if (num) return kErrBadType;
        c.fontName = v.s.toStdString();
        applyFont(c);
        return 0;
    case ATTR_TEXT_POINT_SIZE:
        if (!num) return kErrBadType;
        if (v.toInt() <= 0) return kErrBadValue;
        c.pointSize = v.toInt();
        applyFont(c);
        return 0;
    case ATTR_MIN_VALUE:
    case ATTR_MAX_VALUE: {
        if (c.kind != CTRL_NUMERIC && c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
        if (!num) return kErrBadType;
        double x = v.num();
        if (c.kind == CTRL_NUMERIC) x = std::clamp(std::round(x), double(INT_MIN), double(INT_MAX));
        else x = std::clamp(x, -kRealLimit, kRealLimit);
        if (attr == ATTR_MIN_VALUE) {
            c.minV = x;
            if (c.maxV < x) c.maxV = x;
        } else {
            c.maxV = x;
            if (c.minV > x) c.minV = x;
        }
        if (c.kind == CTRL_NUMERIC) c.ival = static_cast<int>(std::clamp(double(c.ival), c.minV, c.maxV));
        else c.dval = std::clamp(c.dval, c.minV, c.maxV);
        refreshWidget(c);
        return 0;
    }
    case ATTR_PRECISION:
        if (c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
        if (!num) return kErrBadType;
        if (v.toInt() < 0 || v.toInt() > 15) return kErrBadValue;
        c.precision = v.toInt();
        refreshWidget(c);
        return 0;
    case ATTR_ON_TEXT:
    case ATTR_OFF_TEXT:
        if (c.kind != CTRL_BINARY_SWITCH) return kErrBadAttr;
        if (num) return kErrBadType;
        (attr == ATTR_ON_TEXT ? c.onText : c.offText) = v.s;
        refreshWidget(c);
        return 0;
    case ATTR_CTRL_MODE:
        if (!num) return kErrBadType;
        if (v.toInt() != VAL_HOT && v.toInt() != VAL_INDICATOR && v.toInt() != VAL_NORMAL) return kErrBadValue;
        c.mode = v.toInt();
        applyMode(c);
        return 0;
    case ATTR_LEFT:
    case ATTR_TOP:
    case ATTR_WIDTH:
    case ATTR_HEIGHT:
        if (!num) return kErrBadType;
        return setGeometryAttr(c, attr, v.toInt());
    case ATTR_INTERVAL:
        if (c.kind != CTRL_TIMER) return kErrBadAttr;
        if (!num) return kErrBadType;
        if (!(v.num() > 0)) return kErrBadValue;
        c.interval = v.num();
        c.timer->setInterval(static_cast<int>(std::clamp(std::lround(v.num() * 1000.0), 1L, long(INT_MAX))));
        return 0;
    case ATTR_ENABLED:
        if (c.kind != CTRL_TIMER) return kErrBadAttr;
        if (!num) return kErrBadType;
        c.enabled = v.num() != 0;
        if (c.enabled) {
            if (!c.timer->isActive()) c.timer->start();
        } else {
            c.timer->stop();
        }
        return 0;
    case ATTR_MAX_ENTRY_LENGTH:
        if (c.kind != CTRL_STRING) return kErrBadAttr;
        if (!num) return kErrBadType;
        c.maxEntryLength = v.toInt() < 0 ? -1 : v.toInt();
        static_cast<QLineEdit *>(c.widget)->setMaxLength(c.maxEntryLength < 0 ? 32767 : c.maxEntryLength);
        if (c.maxEntryLength >= 0 && c.text.size() > c.maxEntryLength) {
            c.text.truncate(c.maxEntryLength);
            refreshWidget(c);
        }
        return 0;
    default: return kErrBadAttr;
    }
}

int getAttr(const Ctrl &cc, int attr, Value &v) {
    Ctrl &c = const_cast<Ctrl &>(cc);
    if (c.kind == CTRL_GRAPH && isGraphAttr(attr)) return graphGetAttr(c, attr, v);
    if (c.kind == CTRL_TABLE && isTableAttr(attr)) return tableGetAttr(c, attr, v);
    switch (attr) {
    case ATTR_DIMMED: v = Value::ofInt(c.dimmed); return 0;
    case ATTR_VISIBLE: v = Value::ofInt(c.visible); return 0;
    case ATTR_LABEL_TEXT: v = Value::ofText(c.kind == CTRL_TEXT_MSG ? c.text : c.label); return 0;
    case ATTR_TEXT_COLOR: v = Value::ofInt(c.textColor); return 0;
    case ATTR_TEXT_BGCOLOR: {
        int bg = c.bgColor;
        if (bg < 0) bg = c.widget ? fromQColor(c.widget->palette().color(QPalette::Base)) : 0xFFFFFF;
        v = Value::ofInt(bg);
        return 0;
    }
    case ATTR_FRAME_COLOR: v = Value::ofInt(c.frameColor); return 0;
    case ATTR_TEXT_FONT: v = Value::ofText(QString::fromStdString(c.fontName)); return 0;
    case ATTR_TEXT_POINT_SIZE:
        v = Value::ofInt(c.pointSize > 0 ? c.pointSize : resolveFont(c.fontName, 0).pointSize());
        return 0;
    case ATTR_MIN_VALUE:
    case ATTR_MAX_VALUE: {
        const double x = attr == ATTR_MIN_VALUE ? c.minV : c.maxV;
        if (c.kind == CTRL_NUMERIC) v = Value::ofInt(static_cast<long long>(x));
        else if (c.kind == CTRL_NUMERIC_REAL) v = Value::ofDouble(x);
        else return kErrBadAttr;
        return 0;
    }
    case ATTR_PRECISION:
        if (c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
        v = Value::ofInt(c.precision);
        return 0;
    case ATTR_ON_TEXT:
    case ATTR_OFF_TEXT:
        if (c.kind != CTRL_BINARY_SWITCH) return kErrBadAttr;
        v = Value::ofText(attr == ATTR_ON_TEXT ? c.onText : c.offText);
        return 0;
    case ATTR_CTRL_MODE: v = Value::ofInt(c.mode); return 0;
    case ATTR_LEFT:
    case ATTR_TOP:
    case ATTR_WIDTH:
    case ATTR_HEIGHT: {
        if (!c.widget) return kErrBadAttr;
        const QRect g = c.widget->geometry();
        v = Value::ofInt(attr == ATTR_LEFT ? g.left() : attr == ATTR_TOP ? g.top() : attr == ATTR_WIDTH ? g.width() : g.height());
        return 0;
    }
    case ATTR_INTERVAL:
        if (c.kind != CTRL_TIMER) return kErrBadAttr;
        v = Value::ofDouble(c.interval);
        return 0;
    case ATTR_ENABLED:
        if (c.kind != CTRL_TIMER) return kErrBadAttr;
        v = Value::ofInt(c.enabled);
        return 0;
    case ATTR_MAX_ENTRY_LENGTH:
        if (c.kind != CTRL_STRING) return kErrBadAttr;
        v = Value::ofInt(c.maxEntryLength);
        return 0;
    default: return kErrBadAttr;
    }
}

int setCtrlValue(int panel, int ctrl, const Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return setValue(*c, v);
}

int getCtrlValue(int panel, int ctrl, Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return getValue(*c, v);
}

int setCtrlAttr(int panel, int ctrl, int attr, const Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return setAttr(*c, attr, v);
}

int getCtrlAttr(int panel, int ctrl, int attr, Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return getAttr(*c, attr, v);
}

int toIntOut(int status, const Value &v, int *out) {
    if (status) return status;
    if (!out) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *out = v.toInt();
    return 0;
}

int toDoubleOut(int status, const Value &v, double *out) {
    if (status) return status;
    if (!out) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *out = v.num();
    return 0;
}

int toTextOut(int status, const Value &v, char *out, std::size_t capacity) {
    if (status) {
        if (out && capacity) out[0] = '\0';
        return status;
    }
    if (v.type != Value::Text) {
        if (out && capacity) out[0] = '\0';
        return kErrBadType;
    }
    return copyOut(v.s, out, capacity);
}

void destroyPanelWidget(QWidget *w) {
    if (!w) return;
    w->hide();
    if (dispatchDepth() > 0) w->deleteLater();   // a callback of this panel may still be running
    else delete w;
}

int ringCheck(int panel, int ctrl, Ctrl *&c) {
    Panel *p = nullptr;
    return lookupKind(panel, ctrl, CTRL_RING, p, c);
}

void refreshRing(Ctrl &c) {
    auto *cb = static_cast<QComboBox *>(c.widget);
    const QSignalBlocker block(cb);
    cb->clear();
    for (const RingItem &r : c.items) cb->addItem(r.label);
    cb->setCurrentIndex(c.ringIndex);
}

}  // namespace

// ------------------------------------------------------------ shared helpers

int Value::toInt() const {
    if (type == Int) return static_cast<int>(std::clamp<long long>(i, INT_MIN, INT_MAX));
    if (type == Double) {
        if (std::isnan(d)) return 0;
        return static_cast<int>(std::clamp(std::round(d), double(INT_MIN), double(INT_MAX)));
    }
    return 0;
}

Panel *findPanel(int handle) {
    auto &ps = st().panels;
    auto it = ps.find(handle);
    return it == ps.end() ? nullptr : it->second.get();
}

int lookup(int panel, int ctrl, Panel *&p, Ctrl *&c) {
    p = findPanel(panel);
    if (!p) return kErrBadPanel;
    auto it = p->ctrls.find(ctrl);
    if (it == p->ctrls.end()) return kErrBadCtrl;
    c = it->second.get();
    return 0;
}

int lookupKind(int panel, int ctrl, CtrlKind kind, Panel *&p, Ctrl *&c) {
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return c->kind == kind ? 0 : kErrBadCtrl;
}

std::vector<Panel *> allPanels() {
    std::vector<Panel *> out;
    for (auto &kv : st().panels) out.push_back(kv.second.get());
    return out;
}

int fireCtrl(int panel, int ctrl, int event, int eventData1, int eventData2) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    if (!c->callback) return 0;
    const CtrlCallbackPtr cb = c->callback;
    void *data = c->callbackData;
    ++st().dispatchDepth;
    const int r = cb(panel, ctrl, event, data, eventData1, eventData2);
    --st().dispatchDepth;
    return r;
}

int firePanel(int panel, int event, int eventData1, int eventData2) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!p->callback) return 0;
    const PanelCallbackPtr cb = p->callback;
    void *data = p->callbackData;
    ++st().dispatchDepth;
    const int r = cb(panel, event, data, eventData1, eventData2);
    --st().dispatchDepth;
    return r;
}

int dispatchDepth() { return st().dispatchDepth; }
DispatchScope::DispatchScope() { ++st().dispatchDepth; }
DispatchScope::~DispatchScope() { --st().dispatchDepth; }
int modalDepth() { return st().modalDepth; }
ModalScope::ModalScope() { ++st().modalDepth; }
ModalScope::~ModalScope() { --st().modalDepth; }

QColor toQColor(int rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
int fromQColor(const QColor &c) { return (c.red() << 16) | (c.green() << 8) | c.blue(); }

QFont resolveFont(const std::string &name, int pointSize) {
    QFont f;
    if (name == VAL_APP_META_FONT || name.empty()) f = QApplication::font();
    else if (name == VAL_DIALOG_META_FONT) f = QApplication::font("QMessageBox");
    else if (name == VAL_MENU_META_FONT) f = QApplication::font("QMenu");
    else if (name == VAL_SYSTEM_META_FONT) f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    else {
        f = QApplication::font();
        f.setFamilies({QString::fromStdString(name)});
    }
    if (pointSize > 0) f.setPointSize(pointSize);
    return f;
}

int copyOut(const std::string &text, char *out, std::size_t capacity) {
    if (!out || capacity == 0) return kErrNullArg;
    std::size_t n = std::min(text.size(), capacity - 1);
    // never cut a UTF-8 character in two
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return 0;
}

int copyOut(const QString &text, char *out, std::size_t capacity) { return copyOut(text.toStdString(), out, capacity); }

QString fromUtf8(const char *s) { return s ? QString::fromUtf8(s) : QString(); }

bool appReady() { return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr; }

// A left click on a control's caption goes to the caption callback (a graph's caption is
// the chart's title).
class CaptionWatcher : public QObject {
public:
    bool eventFilter(QObject *obj, QEvent *ev) override {
        if (ev->type() != QEvent::MouseButtonPress) return false;
        auto *me = static_cast<QMouseEvent *>(ev);
        if (me->button() != Qt::LeftButton) return false;
        bool okP = false, okC = false;
        const int panel = obj->property("tvxCaptionPanel").toInt(&okP);
        const int ctrl = obj->property("tvxCaptionCtrl").toInt(&okC);
        if (!okP || !okC) return false;
        Panel *p = nullptr;
        Ctrl *c = nullptr;
        if (lookup(panel, ctrl, p, c) != 0 || !c->captionCallback || c->dimmed) return false;
        const QPoint pp = static_cast<QWidget *>(obj)->mapTo(p->widget, me->position().toPoint());
        c->captionCallback(panel, ctrl, EVENT_LEFT_CLICK, c->captionCallbackData, pp.y(), pp.x());
        return true;
    }
};

CaptionWatcher &captionWatcher() {
    static CaptionWatcher w;
    return w;
}

void watchWidget(QWidget *w, int panel, int ctrl) {
    auto watchOne = [&](QWidget *x) {
        x->setProperty("tvxPanel", panel);
        x->setProperty("tvxCtrl", ctrl);
        x->installEventFilter(&watcher());
    };
    watchOne(w);
    for (QWidget *child : w->findChildren<QWidget *>()) watchOne(child);
}

}  // namespace rt::detail

using namespace rt::detail;

// ---------------------------------------------------------------- run-time and event loop

int InitRunTime(int argc, char **argv) {
    if (QCoreApplication::instance()) return appReady() ? 0 : kErrNoRunTime;
    g_argStore.clear();
    for (int i = 0; i < argc && argv; ++i) g_argStore.emplace_back(argv[i] ? argv[i] : "");
    if (g_argStore.empty()) g_argStore.emplace_back("tavix");
    g_argv.clear();
    for (auto &s : g_argStore) g_argv.push_back(s.data());
    g_argv.push_back(nullptr);
    g_argc = static_cast<int>(g_argStore.size());
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without a display the toolkit would abort the process; report the failure instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return kErrNoRunTime;
#endif
    auto *app = new QApplication(g_argc, g_argv.data());
    app->setQuitOnLastWindowClosed(false);
    return 0;
}

void CloseRunTime() {
    discardAllMenuBars();
    std::vector<int> handles;
    for (auto &kv : st().panels) handles.push_back(kv.first);
    for (int h : handles) DiscardPanel(h);
}

int RunUserInterface() {
    if (!appReady()) return kErrNoRunTime;
    State &s = st();
    if (s.quitPending) {   // quit was asked for before the loop ran
        s.quitPending = false;
        return s.quitCode;
    }
    ++s.loopDepth;
    const int code = QApplication::exec();
    --s.loopDepth;
    s.quitPending = false;
    return code;
}

void QuitUserInterface(int code) {
    State &s = st();
    s.quitCode = code;
    s.quitPending = true;
    if (s.loopDepth > 0) QCoreApplication::exit(code);
}

void ProcessSystemEvents() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProcessDrawEvents() {
    if (!appReady()) return;
    for (Panel *p : allPanels()) {
        if (!p->widget || !p->widget->isVisible()) continue;
        for (auto &kv : p->ctrls)
            if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
        p->widget->repaint();
    }
}

// ---------------------------------------------------------------- resources and building

void RegisterPanelResource(int resource, const char *title, int width, int height, PanelBuilder build) {
    Resource r;
    r.title = fromUtf8(title);
    r.width = width;
    r.height = height;
    r.build = build;
    st().resources[resource] = r;
}

int NewCtrl(int panel, CtrlKind kind, int ctrlId, const char *label, int top, int left, int width, int height) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (kind < CTRL_NUMERIC || kind > CTRL_DECORATION) return kErrBadValue;
    if (p->ctrls.count(ctrlId)) return kErrIdTaken;
    auto c = std::make_unique<Ctrl>();
    c->id = ctrlId;
    c->kind = kind;
    c->panel = panel;
    c->label = fromUtf8(label);
    if (kind == CTRL_TEXT_MSG) c->text = c->label;
    Ctrl &cr = *c;
    p->ctrls[ctrlId] = std::move(c);
    p->order.push_back(ctrlId);

    cr.widget = makeWidget(*p, cr);
    if (!cr.widget) return ctrlId;   // timer
    refreshWidget(cr);
    QSize size = defaultSize(kind);
    if (size.isEmpty()) size = cr.widget->sizeHint();
    if (width >= 0) size.setWidth(width);
    if (height >= 0) size.setHeight(height);
    cr.widget->setGeometry(left, top, size.width(), size.height());
    if (hasCaption(kind)) {
        cr.caption = new QLabel(p->widget);
        cr.caption->setTextFormat(Qt::PlainText);
        placeCaption(cr);
    }
    watchWidget(cr.widget, panel, ctrlId);
    cr.widget->show();
    return ctrlId;
}

int InstallCtrlCallback(int panel, int ctrl, CtrlCallbackPtr callback, void *callbackData) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    c->callback = callback;
    c->callbackData = callbackData;
    return 0;
}

int InstallCaptionCallback(int panel, int ctrl, CtrlCallbackPtr callback, void *callbackData) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    if (!c->caption) return kErrBadAttr;
    c->captionCallback = callback;
    c->captionCallbackData = callbackData;
    c->caption->setProperty("tvxCaptionPanel", panel);
    c->caption->setProperty("tvxCaptionCtrl", ctrl);
    c->caption->installEventFilter(&captionWatcher());
    c->caption->setCursor(callback ? Qt::PointingHandCursor : Qt::ArrowCursor);
    return 0;
}

int InstallPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    p->callback = callback;
    p->callbackData = callbackData;
    return 0;
}

// ---------------------------------------------------------------- panels

int LoadPanel(int parentPanel, int resource) {
    if (!appReady()) return kErrNoRunTime;
    auto it = st().resources.find(resource);
    if (it == st().resources.end()) return kErrNoResource;
    const Resource res = it->second;
    Panel *parent = nullptr;
    if (parentPanel != 0) {
        parent = findPanel(parentPanel);
        if (!parent) return kErrBadPanel;
    }
    const int handle = st().nextPanel++;
    auto p = std::make_unique<Panel>();
    p->handle = handle;
    p->resource = resource;
    p->parent = parentPanel;
    p->widget = new PanelWidget(handle, parent ? parent->widget : nullptr);
    p->widget->setWindowTitle(res.title);
    p->widget->setProperty("tvxPanelHandle", handle);
    p->widget->resize(res.width > 0 ? res.width : 400, res.height > 0 ? res.height : 300);
    Panel &pr = *p;
    st().panels[handle] = std::move(p);
    if (res.build) {
        const int r = res.build(handle);
        if (r < 0) {
            DiscardPanel(handle);
            return kErrBuild;
        }
    }
    if (res.width < 0 || res.height < 0) {   // size to the controls
        const QRect used = pr.widget->childrenRect();
        pr.widget->resize(res.width > 0 ? res.width : used.right() + 12, res.height > 0 ? res.height : used.bottom() + 12);
    }
    return handle;
}

int DisplayPanel(int panel) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    p->widget->show();
    // The offscreen platform of the tests has no window stacking (and says so on every call).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        p->widget->raise();
        p->widget->activateWindow();
    }
    return 0;
}

int HidePanel(int panel) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    p->widget->hide();
    return 0;
}

int DiscardPanel(int panel) {
    auto &ps = st().panels;
    auto it = ps.find(panel);
    if (it == ps.end()) return kErrBadPanel;
    // child panels go first
    std::vector<int> children;
    for (auto &kv : ps)
        if (kv.second->parent == panel) children.push_back(kv.first);
    for (int ch : children) DiscardPanel(ch);
    it = ps.find(panel);
    if (it == ps.end()) return 0;
    discardMenuBarsOf(panel);
    std::unique_ptr<Panel> p = std::move(it->second);
    ps.erase(it);
    for (auto &kv : p->ctrls)
        if (kv.second->timer) kv.second->timer->stop();
    destroyPanelWidget(p->widget);
    return 0;
}

int SetPanelAttribute(int panel, int attr, int value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    QWidget *w = p->widget;
    switch (attr) {
    case ATTR_VISIBLE: w->setVisible(value != 0); return 0;
    case ATTR_DIMMED:
        p->dimmed = value != 0;
        w->setEnabled(!p->dimmed);
        return 0;
    case ATTR_BACKCOLOR: {
        p->backColor = value & 0xFFFFFF;
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, toQColor(p->backColor));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
        return 0;
    }
    case ATTR_WIDTH:
        if (value <= 0) return kErrBadValue;
        w->resize(value, w->height());
        return 0;
    case ATTR_HEIGHT:
        if (value <= 0) return kErrBadValue;
        w->resize(w->width(), value);
        return 0;
    case ATTR_LEFT: w->move(value, w->y()); return 0;
    case ATTR_TOP: w->move(w->x(), value); return 0;
    default: return kErrBadAttr;
    }
}

int SetPanelAttribute(int panel, int attr, const char *value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (attr != ATTR_TITLE) return attr == ATTR_VISIBLE || attr == ATTR_BACKCOLOR ? kErrBadType : kErrBadAttr;
    p->widget->setWindowTitle(fromUtf8(value));
    return 0;
}

int GetPanelAttribute(int panel, int attr, int *value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!value) return kErrNullArg;
    QWidget *w = p->widget;
    switch (attr) {
    case ATTR_VISIBLE: *value = w->isVisible() ? 1 : 0; return 0;
    case ATTR_DIMMED: *value = p->dimmed ? 1 : 0; return 0;
    case ATTR_BACKCOLOR: *value = p->backColor >= 0 ? p->backColor : fromQColor(w->palette().color(QPalette::Window)); return 0;
    case ATTR_WIDTH: *value = w->width(); return 0;
    case ATTR_HEIGHT: *value = w->height(); return 0;
    case ATTR_LEFT: *value = w->x(); return 0;
    case ATTR_TOP: *value = w->y(); return 0;
    default: return kErrBadAttr;
    }
}

int GetPanelAttribute(int panel, int attr, char *value, std::size_t capacity) {
    Panel *p = findPanel(panel);
    if (!p) {
        if (value && capacity) value[0] = '\0';
        return kErrBadPanel;
    }
    if (attr != ATTR_TITLE) return kErrBadAttr;
    return copyOut(p->widget->windowTitle(), value, capacity);
}

// ---------------------------------------------------------------- panel states

namespace {

QString stateGroup(int index) { return QStringLiteral("PanelState%1").arg(index); }

QString storedValue(const Ctrl &c) {
    switch (c.kind) {
    case CTRL_NUMERIC:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM: return QString::number(c.ival);
    case CTRL_NUMERIC_REAL: return QString::number(c.dval, 'g', 17);
    case CTRL_STRING:
    case CTRL_TEXT_BOX: return c.text;
    case CTRL_RING:
        return c.ringIndex >= 0 && c.ringIndex < static_cast<int>(c.items.size())
                   ? QString::number(c.items[c.ringIndex].value)
                   : QString();
    default: return QString();
    }
}

// Parse a stored value for a control; false when it cannot be taken.
bool parseStored(const Ctrl &c, const QString &s, Value &v) {
    bool ok = true;
    switch (c.kind) {
    case CTRL_NUMERIC:
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM: v = Value::ofInt(s.toLongLong(&ok)); return ok;
    case CTRL_NUMERIC_REAL: v = Value::ofDouble(s.toDouble(&ok)); return ok && std::isfinite(v.d);
    case CTRL_STRING:
    case CTRL_TEXT_BOX: v = Value::ofText(s); return true;
    case CTRL_RING: {
        if (s.isEmpty()) {
            v = Value::ofText(QString());   // nothing was selected: leave the ring alone
            return true;
        }
        const int want = s.toInt(&ok);
        if (!ok) return false;
        v = Value::ofInt(want);
        return std::any_of(c.items.begin(), c.items.end(), [want](const RingItem &r) { return r.value == want; });
    }
    default: return false;
    }
}

}  // namespace

int SavePanelState(int panel, const char *file, int stateIndex) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!file || !*file) return kErrNullArg;
    QSettings s(QFileInfo(QString::fromUtf8(file)).absoluteFilePath(), QSettings::IniFormat);
    const QString group = stateGroup(stateIndex);
    s.remove(group);
    s.beginGroup(group);
    int count = 0;
    for (int id : p->order) {
        const Ctrl &c = *p->ctrls[id];
        if (!holdsValue(c.kind)) continue;
        ++count;
        s.setValue(QStringLiteral("kind%1").arg(id), static_cast<int>(c.kind));
        s.setValue(QStringLiteral("value%1").arg(id), storedValue(c));
    }
    s.setValue(QStringLiteral("resource"), p->resource);
    s.setValue(QStringLiteral("controls"), count);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError ? 0 : kErrFileWrite;
}

int RecallPanelState(int panel, const char *file, int stateIndex) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!file || !*file) return kErrNullArg;
    const QString path = QFileInfo(QString::fromUtf8(file)).absoluteFilePath();
    if (!QFileInfo::exists(path)) return kErrFileRead;
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) return kErrFileRead;
    s.beginGroup(stateGroup(stateIndex));
    if (!s.contains(QStringLiteral("resource"))) return kErrFileRead;
    bool ok = false;
    if (s.value(QStringLiteral("resource")).toString().toInt(&ok) != p->resource || !ok) return kErrStateMismatch;
    int count = 0;
    for (int id : p->order)
        if (holdsValue(p->ctrls[id]->kind)) ++count;
    if (s.value(QStringLiteral("controls")).toString().toInt(&ok) != count || !ok) return kErrStateMismatch;
    // Check everything first: a state that does not fit changes nothing.
    std::vector<std::pair<Ctrl *, Value>> values;
    for (const QString &key : s.childKeys()) {
        if (!key.startsWith(QStringLiteral("kind"))) continue;
        const int id = key.mid(4).toInt(&ok);
        if (!ok) return kErrStateMismatch;
        auto it = p->ctrls.find(id);
        if (it == p->ctrls.end()) return kErrStateMismatch;
        if (s.value(key).toString().toInt(&ok) != static_cast<int>(it->second->kind) || !ok) return kErrStateMismatch;
    }
    for (int id : p->order) {
        Ctrl *c = p->ctrls[id].get();
        if (!holdsValue(c->kind)) continue;
        const QString vk = QStringLiteral("value%1").arg(id);
        if (!s.contains(vk) || !s.contains(QStringLiteral("kind%1").arg(id))) return kErrStateMismatch;
        Value v;
        if (!parseStored(*c, s.value(vk).toString(), v)) return kErrStateMismatch;
        values.emplace_back(c, v);
    }
    for (auto &[c, v] : values) {
        if (c->kind == CTRL_RING && v.type == Value::Text) continue;
        setValue(*c, v);
    }
    return 0;
}

int DisplayImageFile(int panel, int ctrl, const char *file) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_PICTURE, p, c)) return e;
    if (!file) return kErrNullArg;
    QPixmap pm;
    if (!pm.load(QString::fromUtf8(file))) return kErrFileRead;
    auto *l = static_cast<QLabel *>(c->widget);
    l->setPixmap(pm.scaled(l->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    c->hasPixmap = true;
    return 0;
}

// ---------------------------------------------------------------- values and attributes

int SetCtrlVal(int panel, int ctrl, int value) { return setCtrlValue(panel, ctrl, Value::ofInt(value)); }
int SetCtrlVal(int panel, int ctrl, double value) { return setCtrlValue(panel, ctrl, Value::ofDouble(value)); }
int SetCtrlVal(int panel, int ctrl, const char *value) {
    if (!value) return kErrNullArg;
    return setCtrlValue(panel, ctrl, Value::ofText(QString::fromUtf8(value)));
}

int GetCtrlVal(int panel, int ctrl, int *value) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toIntOut(e, v, value);
}

int GetCtrlVal(int panel, int ctrl, double *value) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toDoubleOut(e, v, value);
}

int GetCtrlVal(int panel, int ctrl, char *value, std::size_t capacity) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toTextOut(e, v, value, capacity);
}

int SetCtrlIndex(int panel, int ctrl, int index) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return kErrBadIndex;
    c->ringIndex = index;
    refreshWidget(*c);
    return 0;
}

int GetCtrlIndex(int panel, int ctrl, int *index) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!index) return kErrNullArg;
    *index = c->ringIndex;
    return 0;
}

int DefaultCtrl(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    switch (c->kind) {
    case CTRL_NUMERIC:
    case CTRL_NUMERIC_REAL: return setValue(*c, Value::ofInt(0));
    case CTRL_STRING:
    case CTRL_TEXT_BOX:
    case CTRL_TEXT_MSG: return setValue(*c, Value::ofText(QString()));
    case CTRL_RING:
        c->ringIndex = c->items.empty() ? -1 : 0;
        refreshWidget(*c);
        return 0;
    case CTRL_BINARY_SWITCH:
    case CTRL_COLOR_NUM: return setValue(*c, Value::ofInt(0));
    default: return 0;
    }
}

int SetCtrlAttribute(int panel, int ctrl, int attr, int value) {
    return setCtrlAttr(panel, ctrl, attr, Value::ofInt(value));
}
int SetCtrlAttribute(int panel, int ctrl, int attr, double value) {
    return setCtrlAttr(panel, ctrl, attr, Value::ofDouble(value));
}
int SetCtrlAttribute(int panel, int ctrl, int attr, const char *value) {
    if (!value) return kErrNullArg;
    return setCtrlAttr(panel, ctrl, attr, Value::ofText(QString::fromUtf8(value)));
}

int GetCtrlAttribute(int panel, int ctrl, int attr, int *value) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toIntOut(e, v, value);
}
int GetCtrlAttribute(int panel, int ctrl, int attr, double *value) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toDoubleOut(e, v, value);
}
int GetCtrlAttribute(int panel, int ctrl, int attr, char *value, std::size_t capacity) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toTextOut(e, v, value, capacity);
}

// ---------------------------------------------------------------- rings

int InsertListItem(int panel, int ctrl, int index, const char *label, int value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    const int n = static_cast<int>(c->items.size());
    if (index == -1) index = n;
    if (index < 0 || index > n) return kErrBadIndex;
    c->items.insert(c->items.begin() + index, RingItem{fromUtf8(label), value});
    if (c->ringIndex < 0) c->ringIndex = 0;
    else if (index <= c->ringIndex) ++c->ringIndex;
    refreshRing(*c);
    return 0;
}

int DeleteListItem(int panel, int ctrl, int index, int count) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    const int n = static_cast<int>(c->items.size());
    if (index < 0 || index >= n) return n == 0 && index == 0 && count == -1 ? 0 : kErrBadIndex;
    if (count == -1 || index + count > n) count = n - index;
    if (count < 0) return kErrBadValue;
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    const int left = static_cast<int>(c->items.size());
    if (left == 0) c->ringIndex = -1;
    else if (c->ringIndex >= index + count) c->ringIndex -= count;
    else if (c->ringIndex >= index) c->ringIndex = std::min(index, left - 1);
    refreshRing(*c);
    return 0;
}

int ClearListCtrl(int panel, int ctrl) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    c->items.clear();
    c->ringIndex = -1;
    refreshRing(*c);
    return 0;
}

int GetNumListItems(int panel, int ctrl, int *count) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!count) return kErrNullArg;
    *count = static_cast<int>(c->items.size());
    return 0;
}

int GetLabelFromIndex(int panel, int ctrl, int index, char *label, std::size_t capacity) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) {
        if (label && capacity) label[0] = '\0';
        return kErrBadIndex;
    }
    return copyOut(c->items[index].label, label, capacity);
}

int GetValueFromIndex(int panel, int ctrl, int index, int *value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return kErrBadIndex;
    if (!value) return kErrNullArg;
    *value = c->items[index].value;
    return 0;
}

int GetIndexFromValue(int panel, int ctrl, int *index, int value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!index) return kErrNullArg;
    for (std::size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i].value == value) {
            *index = static_cast<int>(i);
            return 0;
        }
    *index = -1;
    return kErrNoItem;
}

Rect MakeRect(int top, int left, int height, int width) { return Rect{top, left, height, width}; }
Point MakePoint(int x, int y) { return Point{x, y}; }

// ---------------------------------------------------------------- read-back and injection

namespace rt {

int FireCtrlEvent(int panel, int ctrl, int event, int eventData1, int eventData2) {
    return fireCtrl(panel, ctrl, event, eventData1, eventData2);
}

int FirePanelEvent(int panel, int event, int eventData1, int eventData2) {
    return firePanel(panel, event, eventData1, eventData2);
}

bool PanelVisible(int panel) {
    Panel *p = findPanel(panel);
    return p && p->widget && p->widget->isVisible();
}

std::vector<int> LoadedPanels() {
    std::vector<int> out;
    for (auto &kv : st().panels) out.push_back(kv.first);
    return out;
}

std::vector<int> PanelControls(int panel) {
    Panel *p = findPanel(panel);
    return p ? p->order : std::vector<int>{};
}

int CtrlKindOf(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    return lookup(panel, ctrl, p, c) == 0 ? static_cast<int>(c->kind) : 0;
}

int SavePanelImage(int panel, const char *pngFile) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!pngFile) return kErrNullArg;
    for (auto &kv : p->ctrls)
        if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
    return p->widget->grab().save(QString::fromUtf8(pngFile), "PNG") ? 0 : kErrFileWrite;
}

bool QuitPending(int *code) {
    if (code) *code = st().quitCode;
    return st().quitPending;
}

void ClearQuitRequest() {
    st().quitPending = false;
    st().quitCode = 0;
}

}  // namespace rt
