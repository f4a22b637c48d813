// Making controls: the Qt widget of each kind of control with its signals turned into
// the control's events, the watchers that deliver clicks and focus changes, and the
// callbacks a layout installs.
#include "runtime/ui_internal.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <climits>

namespace rt::detail {
namespace {

// Kinds of control shown with a caption beside them.
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
        case CTRL_TABLE: return true;
        default: return false;
    }
}

// A new control's size where the layout gives none; empty: the widget's own size.
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
        case CTRL_PROGRESS_BAR: return {200, 20};
    }
    return {80, 22};
}

// Clicks and focus changes on a control's widget, or on one of its parts, become the
// control's events.
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

// One maker per kind of control: it makes the widget and turns the user's changes into
// the control's events. A callback may discard the panel, so every handler finds its
// control again by panel and id before it touches it.

QWidget *makeNumeric(QWidget *parent, Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

QWidget *makeNumericReal(QWidget *parent, Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

// Each keystroke is a VAL_CHANGED; the COMMIT comes when the editing ends.
QWidget *makeString(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

QWidget *makeTextMessage(QWidget *parent) {
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The COMMIT of a text box comes when the focus leaves it (EventWatcher).
QWidget *makeTextBox(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

QWidget *makeRing(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
    auto *cb = new QComboBox(parent);
    QObject::connect(cb, &QComboBox::activated, cb, [ph, id](int index) {
        Ctrl *cc = liveCtrl(ph, id);
        if (!cc || index < 0 || index >= static_cast<int>(cc->items.size()) || index == cc->ringIndex) return;
        cc->ringIndex = index;
        userChanged(ph, id, true);
    });
    return cb;
}

QWidget *makeBinarySwitch(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

QWidget *makeCommandButton(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
    auto *b = new QPushButton(parent);
    QObject::connect(b, &QPushButton::clicked, b, [ph, id]() { fireCtrl(ph, id, EVENT_COMMIT, 0, 0); });
    return b;
}

// A click opens the colour dialog; the colour chosen becomes the value.
QWidget *makeColorNumeric(QWidget *parent, const Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
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

QWidget *makePicture(QWidget *parent) {
    auto *l = new QLabel(parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

// A timer has no widget; it ticks once a second until ATTR_INTERVAL says otherwise.
void startTimer(QWidget *parent, Ctrl &c) {
    const int ph = c.panel;
    const int id = c.id;
    c.timer = new QTimer(parent);
    c.timer->setInterval(1000);
    QObject::connect(c.timer, &QTimer::timeout, c.timer, [ph, id]() {
        if (modalDepth() > 0) return;   // a pop-up is open: no overlapping callbacks
        fireCtrl(ph, id, EVENT_TIMER_TICK, 0, 0);
    });
    c.timer->start();
}

// The widget of a new control (null for a timer, which has none).
QWidget *makeWidget(Panel &p, Ctrl &c) {
    QWidget *parent = p.widget;
    switch (c.kind) {
        case CTRL_NUMERIC: return makeNumeric(parent, c);
        case CTRL_NUMERIC_REAL: return makeNumericReal(parent, c);
        case CTRL_STRING: return makeString(parent, c);
        case CTRL_TEXT_MSG: return makeTextMessage(parent);
        case CTRL_TEXT_BOX: return makeTextBox(parent, c);
        case CTRL_RING: return makeRing(parent, c);
        case CTRL_BINARY_SWITCH: return makeBinarySwitch(parent, c);
        case CTRL_COMMAND_BUTTON: return makeCommandButton(parent, c);
        case CTRL_COLOR_NUM: return makeColorNumeric(parent, c);
        case CTRL_PICTURE: return makePicture(parent);
        case CTRL_GRAPH: return graphCreate(parent, c.panel, c.id);
        case CTRL_TABLE: return tableCreate(parent);
        case CTRL_TIMER: startTimer(parent, c); return nullptr;
        case CTRL_DECORATION: return new QGroupBox(parent);
        case CTRL_PROGRESS_BAR: return makeProgressBar(parent);
    }
    return nullptr;
}

}   // namespace

void watchWidget(QWidget *w, int panel, int ctrl) {
    auto watchOne = [&](QWidget *x) {
        x->setProperty("tvxPanel", panel);
        x->setProperty("tvxCtrl", ctrl);
        x->installEventFilter(&watcher());
    };
    watchOne(w);
    for (QWidget *child : w->findChildren<QWidget *>()) watchOne(child);
}

}   // namespace rt::detail

using namespace rt::detail;

// ---------------------------------------------------------------- building

int NewCtrl(int panel, CtrlKind kind, int ctrlId, const char *label, int top, int left, int width, int height) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (kind < CTRL_NUMERIC || kind > CTRL_PROGRESS_BAR) return kErrBadValue;
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
