// Showing a control's model in its Qt widget: colours, font, mode, caption, value and
// texts. Nothing here calls back: the widgets' signals are blocked while they change.
#include "runtime/ui_internal.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

namespace rt::detail {

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
    if (c.placed) {   // its cell in the grid places it
        c.caption->setVisible(!c.label.isEmpty() && c.visible);
        return;
    }
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
        case CTRL_PROGRESS_BAR: refreshProgressBar(c); break;
        default: break;
    }
}

}   // namespace rt::detail
