// The progress bar: value from 0 to its maximum (ATTR_MAX_VALUE), with its label as the text
// inside the bar (the caller words it, e.g. "120 / 5333 records"). While a long command (saving
// a large file) keeps the event loop waiting, the bar is still drawn now and then.
#include "runtime/ui_internal.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QVariant>

#include <algorithm>

namespace {

// A bar that changes is drawn at once at most this often; otherwise the event loop draws it.
constexpr qint64 kRepaintEveryMs = 100;
const char kLastPaint[] = "tvxLastPaintMs";

// Milliseconds on a monotonic clock (the settable clock of the run-time may stand still).
QElapsedTimer g_progressClock;

qint64 nowMs() {
    if (!g_progressClock.isValid()) g_progressClock.start();
    return g_progressClock.elapsed();
}

}   // namespace

namespace rt::detail {

QWidget *makeProgressBar(QWidget *parent) {
    auto *bar = new QProgressBar(parent);
    bar->setTextVisible(true);
    bar->setAlignment(Qt::AlignCenter);
    // the bar comes and goes while the window stays as it is laid out
    QSizePolicy policy = bar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    bar->setSizePolicy(policy);
    return bar;
}

void refreshProgressBar(Ctrl &c) {
    auto *bar = static_cast<QProgressBar *>(c.widget);
    const int max = std::max(0, static_cast<int>(c.maxV));
    bar->setRange(0, max);
    bar->setValue(std::clamp(c.ival, 0, max));
    // the label as it is: the bar replaces only %p, %v and %m, which no text of ours holds
    bar->setFormat(c.label);
    if (!bar->isVisible()) return;
    const QVariant last = bar->property(kLastPaint);
    const qint64 now = nowMs();
    if (last.isValid() && now - last.toLongLong() < kRepaintEveryMs) {
        bar->update();
        return;
    }
    bar->setProperty(kLastPaint, now);
    bar->repaint();
}

}   // namespace rt::detail
