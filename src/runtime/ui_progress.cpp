// The progress bar: value from 0 to its maximum (ATTR_MAX_VALUE), with its label as the text
// inside the bar (the caller words it, e.g. "120 / 5333 records"). It is redrawn as soon as it
// changes, even inside a command that keeps the event loop waiting.
#include "runtime/ui_internal.h"

#include <QProgressBar>

#include <algorithm>

namespace rt::detail {

QWidget *makeProgressBar(QWidget *parent) {
    auto *bar = new QProgressBar(parent);
    bar->setTextVisible(true);
    bar->setAlignment(Qt::AlignCenter);
    return bar;
}

void refreshProgressBar(Ctrl &c) {
    auto *bar = static_cast<QProgressBar *>(c.widget);
    const int max = std::max(0, static_cast<int>(c.maxV));
    bar->setRange(0, max);
    bar->setValue(std::clamp(c.ival, 0, max));
    // the label as it is: the bar replaces only %p, %v and %m, which no text of ours holds
    bar->setFormat(c.label);
    // Drawn at once: the bar moves while a long command (saving a large file) holds the event loop.
    if (bar->isVisible()) bar->repaint();
}

}   // namespace rt::detail
