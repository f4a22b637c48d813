// Wheel and drag input on graphs: the wheel and a drag with the middle button (or Shift + left)
// are handed to the graph's control callback, in x-axis units, so the program can zoom and pan
// the data it shows. Left drags without Shift stay with the cursors.
#include "runtime/ui_internal.h"

#include <qcustomplot.h>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace rt::detail {
namespace {

// One notch of a mouse wheel, in the toolkit's wheel units (eighths of a degree).
constexpr int kWheelStep = 120;

class GraphInput : public QObject {
public:
    GraphInput(QCustomPlot *plot, int panel, int ctrl) : QObject(plot), plot_(plot), panel_(panel), ctrl_(ctrl) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
            case QEvent::Wheel: return wheel(static_cast<QWheelEvent *>(event));
            case QEvent::MouseButtonPress: return press(static_cast<QMouseEvent *>(event));
            case QEvent::MouseMove: return move(static_cast<QMouseEvent *>(event));
            case QEvent::MouseButtonRelease:
                if (!dragging_) return false;
                dragging_ = false;
                return true;
            default: return false;
        }
    }

private:
    double xAt(double pixel) const { return plot_->xAxis->pixelToCoord(pixel); }

    bool wheel(QWheelEvent *e) {
        // Touchpads turn the wheel in small parts of a step: they add up to whole steps.
        wheelRest_ += e->angleDelta().y();
        const int steps = wheelRest_ / kWheelStep;
        wheelRest_ -= steps * kWheelStep;
        if (steps == 0) return true;
        const double x = xAt(e->position().x());
        fireCtrl(panel_, ctrl_, EVENT_MOUSE_WHEEL, steps, static_cast<int>(std::lround(x)));
        return true;
    }

    static bool isDrag(const QMouseEvent *e) {
        return e->button() == Qt::MiddleButton ||
               (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier));
    }

    bool press(QMouseEvent *e) {
        if (!isDrag(e)) return false;
        dragging_ = true;
        anchor_ = xAt(e->position().x());
        return true;
    }

    bool move(QMouseEvent *e) {
        if (!dragging_) return false;
        const double x = xAt(e->position().x());
        const int shift = static_cast<int>(std::lround(x - anchor_));
        if (shift != 0) {
            // the axis moves with the data; the anchor stays under the pointer
            anchor_ += shift;
            fireCtrl(panel_, ctrl_, EVENT_MOUSE_DRAG, shift, static_cast<int>(std::lround(x)));
        }
        return true;
    }

    QCustomPlot *plot_;
    int panel_;
    int ctrl_;
    bool dragging_ = false;
    double anchor_ = 0.0;
    int wheelRest_ = 0;
};

}   // namespace

void graphInstallInput(QWidget *graph, int panel, int ctrl) {
    auto *plot = static_cast<QCustomPlot *>(graph);
    plot->installEventFilter(new GraphInput(plot, panel, ctrl));
}

}   // namespace rt::detail
