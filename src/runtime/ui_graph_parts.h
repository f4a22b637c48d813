// What the run-time's graph widget keeps per graph, apart from the widget itself: the state
// of an axis, the ticker of the time labels, a plot's and a cursor's record, and the point and
// line styles in QCustomPlot's terms. Included by ui_graph_widget.h only.
#pragma once

#include "runtime/ui_internal.h"

#include <qcustomplot.h>

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace rt::detail {

// The faint background behind a text plot drawn without one.
inline const QColor kLabelVeil(255, 255, 255, 190);
// Entries per row of a legend at most (fewer when the graph is narrow).
constexpr int kLegendColumns = 6;

struct AxisState {
    int mode = VAL_AUTOSCALE;
    double min = 0, max = 10;
    QString name;
    bool nameVisible = true;
    bool labelsVisible = true;
    bool useLabels = false;
    std::vector<std::pair<double, QString>> items;
};

// Ticks of an axis shown as plot value * gain + offset, or the axis's label strings
// (whose values are in shown units).
class Ticker : public QCPAxisTicker {
public:
    double gain = 1, offset = 0;
    const AxisState *state = nullptr;

    void generate(const QCPRange &range, const QLocale &locale, QChar formatChar, int precision, QVector<double> &ticks,
                  QVector<double> *subTicks, QVector<QString> *tickLabels) override {
        if (state && state->useLabels) {
            ticks.clear();
            if (subTicks) subTicks->clear();
            if (tickLabels) tickLabels->clear();
            for (const auto &[v, label] : state->items) {
                const double p = (v - offset) / gain;
                if (p < range.lower || p > range.upper) continue;
                ticks.push_back(p);
                if (tickLabels) tickLabels->push_back(label);
            }
            return;
        }
        const double a = range.lower * gain + offset, b = range.upper * gain + offset;
        QCPAxisTicker::generate(QCPRange(std::min(a, b), std::max(a, b)), locale, formatChar, precision, ticks,
                                subTicks, tickLabels);
        for (double &t : ticks) t = (t - offset) / gain;
        if (subTicks)
            for (double &t : *subTicks) t = (t - offset) / gain;
        if (gain < 0) {
            std::reverse(ticks.begin(), ticks.end());
            if (subTicks) std::reverse(subTicks->begin(), subTicks->end());
            if (tickLabels) std::reverse(tickLabels->begin(), tickLabels->end());
        }
    }
};

struct PlotRec {
    int handle = 0;
    int kind = PLOT_CURVE;
    int axis = VAL_LEFT_YAXIS;
    int color = 0;
    int plotStyle = 0, pointStyle = 0, lineStyle = 0;
    std::vector<double> x, y;
    bool sorted = true;
    QString text;
    std::string font;
    int bg = VAL_TRANSPARENT;
    QCPAbstractPlottable *plottable = nullptr;
    QCPItemText *item = nullptr;
};

struct CursorRec {
    double x = 0, y = 0;
    int mode = VAL_SNAP_TO_POINT;
    int color = 0x606060;
    int pointStyle = VAL_EMPTY_CIRCLE;
    int plot = -1, index = -1;
    QCPItemStraightLine *line = nullptr;
    QCPItemTracer *marker = nullptr;
    QCPItemText *tag = nullptr;
};

inline QCPScatterStyle scatterFor(int pointStyle, const QColor &color, double size) {
    QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssNone;
    bool filled = false;
    switch (pointStyle) {
        case VAL_EMPTY_SQUARE: shape = QCPScatterStyle::ssSquare; break;
        case VAL_SOLID_SQUARE:
            shape = QCPScatterStyle::ssSquare;
            filled = true;
            break;
        case VAL_SIMPLE_DOT: shape = QCPScatterStyle::ssDot; break;
        case VAL_SOLID_CIRCLE:
            shape = QCPScatterStyle::ssDisc;
            filled = true;
            break;
        case VAL_EMPTY_CIRCLE: shape = QCPScatterStyle::ssCircle; break;
        case VAL_CROSS: shape = QCPScatterStyle::ssPlus; break;
        case VAL_X: shape = QCPScatterStyle::ssCross; break;
        default: shape = QCPScatterStyle::ssNone; break;
    }
    return QCPScatterStyle(shape, QPen(color), filled ? QBrush(color) : QBrush(Qt::NoBrush), size);
}

inline Qt::PenStyle penStyleFor(int lineStyle) {
    switch (lineStyle) {
        case VAL_DASH: return Qt::DashLine;
        case VAL_DOT: return Qt::DotLine;
        default: return Qt::SolidLine;
    }
}

}   // namespace rt::detail
