// Graph controls on QCustomPlot: curves, bars, point markers and texts on a left or a
// right y axis, axis scaling and label strings, an x axis shown with gain and offset, and
// two cursors the user drags, snapping to the plotted points.
#include "runtime/ui_internal.h"

#include <qcustomplot.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace rt::detail {
namespace {

// The faint background behind a text plot drawn without one.
const QColor kLabelVeil(255, 255, 255, 190);
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

QCPScatterStyle scatterFor(int pointStyle, const QColor &color, double size) {
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

Qt::PenStyle penStyleFor(int lineStyle) {
    switch (lineStyle) {
        case VAL_DASH: return Qt::DashLine;
        case VAL_DOT: return Qt::DotLine;
        default: return Qt::SolidLine;
    }
}

class GraphWidget : public QCustomPlot {
public:
    GraphWidget(QWidget *parent, int panel, int ctrl) : QCustomPlot(parent), panel_(panel), ctrl_(ctrl) {
        setAutoAddPlottableToLegend(false);
        setFocusPolicy(Qt::StrongFocus);
        yAxis2->setVisible(true);
        yAxis2->setTickLabels(true);
        for (int i = 0; i < 3; ++i) {
            tick[i] = QSharedPointer<Ticker>(new Ticker);
            tick[i]->state = &ax[i];
            axisOf(i)->setTicker(tick[i]);
            axisOf(i)->setRange(ax[i].min, ax[i].max);
        }
        addLayer(QStringLiteral("cursors"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
        layer(QStringLiteral("cursors"))->setMode(QCPLayer::lmBuffered);
        // curve labels above the curves and the cursors, so that nothing hides them
        addLayer(QStringLiteral("labels"), layer(QStringLiteral("cursors")), QCustomPlot::limAbove);
        setCurrentLayer(QStringLiteral("main"));
        legend->setFillOrder(QCPLegend::foColumnsFirst);
        legend->setWrap(kLegendColumns);
        legend->setBorderPen(Qt::NoPen);
        legend->setBrush(Qt::NoBrush);
        legend->setVisible(false);
        connect(this, &QCustomPlot::beforeReplot, this, [this]() {
            prepare();
            pending = false;
        });
    }

    int activeY = VAL_LEFT_YAXIS;
    AxisState ax[3];   // x, left y, right y
    QSharedPointer<Ticker> tick[3];
    std::vector<PlotRec> plots;
    int nextHandle = 1;
    std::vector<CursorRec> cursors;
    int activeCursor = 0;
    bool pending = false;
    bool legendOn = true;
    int gridColor = 0xC8C8C8;
    int bgColor = 0xFFFFFF;
    int shiftText = 0;

    static int axisIndex(int axis) {
        switch (axis) {
            case VAL_XAXIS: return 0;
            case VAL_LEFT_YAXIS: return 1;
            case VAL_RIGHT_YAXIS: return 2;
            default: return -1;
        }
    }
    QCPAxis *axisOf(int index) const { return index == 0 ? xAxis : index == 1 ? yAxis : yAxis2; }
    QCPAxis *valueAxis(int yaxis) const { return yaxis == VAL_RIGHT_YAXIS ? yAxis2 : yAxis; }

    // Something changed: redraw at the next turn of the event loop (once per batch of calls).
    void changed(bool draw = true) {
        pending = true;
        dirty_ = true;
        if (draw) replot(QCustomPlot::rpQueuedReplot);
    }

    // Bring derived state up to date: point markers, the legend, autoscaled ranges, snapped
    // cursors, labels kept inside the plotting area.
    void prepare() {
        if (pointsDirty_) rebuildPoints();
        if (!dirty_) return;
        dirty_ = false;
        rebuildLegend();
        for (int i = 0; i < 3; ++i) {
            if (ax[i].mode == VAL_AUTOSCALE)
                axisOf(i)->rescale(false);
            else
                axisOf(i)->setRange(ax[i].min, ax[i].max);
        }
        for (CursorRec &c : cursors) snap(c);
        updateCursorItems();
        keepLabelsInside();
    }

    // ---------------------------------------------------------------- legend
    // The labelled curves: each curve with the first text plot in its colour on its axis made
    // after it (that text is the curve's label); each text labels one curve.
    std::vector<std::pair<const PlotRec *, const PlotRec *>> labelledCurves() const {
        std::vector<std::pair<const PlotRec *, const PlotRec *>> out;
        std::vector<bool> used(plots.size(), false);
        for (std::size_t i = 0; i < plots.size(); ++i) {
            const PlotRec &curve = plots[i];
            if (curve.kind != PLOT_CURVE) continue;
            for (std::size_t k = i + 1; k < plots.size(); ++k) {
                const PlotRec &t = plots[k];
                if (used[k] || t.kind != PLOT_TEXT || t.color != curve.color || t.axis != curve.axis) continue;
                used[k] = true;
                out.emplace_back(&curve, &t);
                break;
            }
        }
        return out;
    }

    // The legend stands in a row of its own above the plotting area while it has entries.
    void rebuildLegend() {
        legend->clearItems();
        const auto entries = legendOn ? labelledCurves() : decltype(labelledCurves()){};
        for (const auto &[curve, label] : entries) {
            curve->plottable->setName(label->text);
            curve->plottable->addToLegend(legend);
            if (QCPPlottableLegendItem *item = legend->itemWithPlottable(curve->plottable))
                item->setTextColor(toQColor(curve->color));
        }
        fitLegendColumns();
        const bool show = !entries.empty();
        const bool inRow = plotLayout()->rowCount() > 1;
        if (show && !inRow) {
            plotLayout()->insertRow(0);
            plotLayout()->addElement(0, 0, legend);
            plotLayout()->setRowStretchFactor(0, 0.001);
        } else if (!show && inRow) {
            plotLayout()->take(legend);
            plotLayout()->simplify();
        }
        legend->setVisible(show);
    }

    // As many entries in a row as the graph's width holds whole.
    void fitLegendColumns() {
        int widest = 1;
        for (int i = 0; i < legend->itemCount(); ++i)
            if (QCPLayoutElement *item = legend->elementAt(i))
                widest = std::max(widest, item->minimumOuterSizeHint().width());
        const QMargins m = legend->margins();
        const int room = width() - m.left() - m.right();
        const int columns = (room + legend->columnSpacing()) / (widest + legend->columnSpacing());
        legend->setWrap(std::clamp(columns, 1, kLegendColumns));
        legend->setFillOrder(QCPLegend::foColumnsFirst, true);
    }

    // A label whose point lies near the top of the plotting area hangs below the point
    // instead of standing above it, so that it is never cut off.
    void keepLabelsInside() {
        const int top = axisRect()->top();
        for (const PlotRec &p : plots) {
            if (p.kind != PLOT_TEXT || !p.item) continue;
            const double y = valueAxis(p.axis)->coordToPixel(p.y[0]);
            const bool hang = y - QFontMetrics(p.item->font()).height() < top;
            p.item->setPositionAlignment(Qt::AlignLeft | (hang ? Qt::AlignTop : Qt::AlignBottom));
        }
    }

    void applyAxisText(int i) {
        QCPAxis *a = axisOf(i);
        a->setLabel(ax[i].nameVisible ? ax[i].name : QString());
        a->setTickLabels(ax[i].labelsVisible);
    }

    PlotRec *findPlot(int handle) {
        for (PlotRec &p : plots)
            if (p.handle == handle) return &p;
        return nullptr;
    }

    int addPlot(PlotRec rec) {
        rec.handle = nextHandle++;
        if (rec.kind == PLOT_POINT) pointsDirty_ = true;
        plots.push_back(std::move(rec));
        changed();
        return plots.back().handle;
    }

    void removePlot(std::size_t i) {
        PlotRec &p = plots[i];
        if (p.plottable) removePlottable(p.plottable);
        if (p.item) removeItem(p.item);
        if (p.kind == PLOT_POINT) pointsDirty_ = true;
        plots.erase(plots.begin() + static_cast<std::ptrdiff_t>(i));
    }

    void removeAllPlots() {
        for (PlotRec &p : plots) {
            if (p.plottable) removePlottable(p.plottable);
            if (p.item) removeItem(p.item);
        }
        plots.clear();
        pointsDirty_ = true;
    }

    // ---------------------------------------------------------------- cursors
    bool nearestPoint(double x, std::size_t &plotIdx, int &pointIdx) const {
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < plots.size(); ++i) {
            const PlotRec &p = plots[i];
            if ((p.kind != PLOT_CURVE && p.kind != PLOT_BARS) || p.x.empty()) continue;
            int idx = 0;
            if (p.sorted) {
                auto it = std::lower_bound(p.x.begin(), p.x.end(), x);
                idx = static_cast<int>(it - p.x.begin());
                if (idx >= static_cast<int>(p.x.size())) idx = static_cast<int>(p.x.size()) - 1;
                if (idx > 0 && std::fabs(p.x[idx - 1] - x) <= std::fabs(p.x[idx] - x)) --idx;
            } else {
                double b = std::numeric_limits<double>::infinity();
                for (std::size_t k = 0; k < p.x.size(); ++k)
                    if (std::fabs(p.x[k] - x) < b) {
                        b = std::fabs(p.x[k] - x);
                        idx = static_cast<int>(k);
                    }
            }
            const double d = std::fabs(p.x[idx] - x);
            if (d < best) {
                best = d;
                plotIdx = i;
                pointIdx = idx;
            }
        }
        return best < std::numeric_limits<double>::infinity();
    }

    void snap(CursorRec &c) const {
        if (c.mode != VAL_SNAP_TO_POINT) {
            c.plot = -1;
            c.index = -1;
            return;
        }
        std::size_t pi = 0;
        int idx = -1;
        if (nearestPoint(c.x, pi, idx)) {
            c.x = plots[pi].x[idx];
            c.y = plots[pi].y[idx];
            c.plot = plots[pi].handle;
            c.index = idx;
        } else {
            c.plot = -1;
            c.index = -1;
        }
    }

    void makeCursorItems(CursorRec &c, int number) {
        setCurrentLayer(QStringLiteral("cursors"));
        c.line = new QCPItemStraightLine(this);
        c.marker = new QCPItemTracer(this);
        c.tag = new QCPItemText(this);
        setCurrentLayer(QStringLiteral("main"));
        c.line->point1->setAxes(xAxis, yAxis);
        c.line->point2->setAxes(xAxis, yAxis);
        c.marker->setStyle(QCPItemTracer::tsCircle);
        c.marker->setSize(8);
        c.tag->setText(QString::number(number));
        c.tag->position->setAxes(xAxis, yAxis);
        c.tag->position->setTypeX(QCPItemPosition::ptPlotCoords);
        c.tag->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        c.tag->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        c.tag->setColor(Qt::white);
        c.tag->setPadding(QMargins(3, 1, 3, 1));
        c.tag->setClipToAxisRect(true);
    }

    void updateCursorItems() {
        for (CursorRec &c : cursors) {
            const QColor col = toQColor(c.color);
            c.line->setPen(QPen(col, 1));
            c.line->point1->setCoords(c.x, 0);
            c.line->point2->setCoords(c.x, 1);
            c.tag->setBrush(QBrush(col));
            c.tag->position->setCoords(c.x, 0);
            const PlotRec *p = c.plot >= 0 ? findPlotConst(c.plot) : nullptr;
            c.marker->position->setAxes(xAxis, p ? valueAxis(p->axis) : yAxis);
            c.marker->position->setCoords(c.x, c.y);
            c.marker->setPen(QPen(col, 1.5));
            c.marker->setStyle(c.pointStyle == VAL_NO_POINT                         ? QCPItemTracer::tsNone
                               : c.pointStyle == VAL_CROSS || c.pointStyle == VAL_X ? QCPItemTracer::tsPlus
                               : c.pointStyle == VAL_EMPTY_SQUARE || c.pointStyle == VAL_SOLID_SQUARE
                                   ? QCPItemTracer::tsSquare
                                   : QCPItemTracer::tsCircle);
            c.marker->setVisible(c.mode != VAL_SNAP_TO_POINT || c.plot >= 0);
        }
    }

    const PlotRec *findPlotConst(int handle) const {
        for (const PlotRec &p : plots)
            if (p.handle == handle) return &p;
        return nullptr;
    }

    void setCursorCount(int n, double x1, double x2) {
        for (CursorRec &c : cursors) {
            removeItem(c.line);
            removeItem(c.marker);
            removeItem(c.tag);
        }
        cursors.clear();
        for (int i = 0; i < n; ++i) {
            CursorRec c;
            c.x = i == 0 ? x1 : x2;
            makeCursorItems(c, i + 1);
            cursors.push_back(c);
        }
        activeCursor = 0;
        changed();
    }

    void redrawCursors() {
        updateCursorItems();
        if (pending)
            replot(QCustomPlot::rpQueuedReplot);
        else
            layer(QStringLiteral("cursors"))->replot();
    }

    void moveCursorToPixel(int which, double px, double py) {
        CursorRec &c = cursors[which];
        c.x = xAxis->pixelToCoord(px);
        c.y = yAxis->pixelToCoord(py);
        snap(c);
        redrawCursors();
    }

    int nearestCursor(double px) const {
        int best = 0;
        double d = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < cursors.size(); ++i) {
            const double e = std::fabs(xAxis->coordToPixel(cursors[i].x) - px);
            if (e < d) {
                d = e;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

protected:
    // the legend's rows follow the width
    void resizeEvent(QResizeEvent *e) override {
        dirty_ = true;
        QCustomPlot::resizeEvent(e);
    }

    void mousePressEvent(QMouseEvent *e) override {
        const QPointF pos = e->position();
        if (e->button() == Qt::LeftButton && !cursors.empty() && axisRect()->rect().contains(pos.toPoint()) &&
            interactive()) {
            prepare();
            dragging_ = nearestCursor(pos.x());
            activeCursor = dragging_;
            moveCursorToPixel(dragging_, pos.x(), pos.y());
            e->accept();
            return;
        }
        QCustomPlot::mousePressEvent(e);
    }

    void mouseMoveEvent(QMouseEvent *e) override {
        if (dragging_ >= 0 && dragging_ < static_cast<int>(cursors.size())) {
            moveCursorToPixel(dragging_, e->position().x(), e->position().y());
            e->accept();
            return;
        }
        QCustomPlot::mouseMoveEvent(e);
    }

    void mouseReleaseEvent(QMouseEvent *e) override {
        if (dragging_ >= 0) {
            dragging_ = -1;
            e->accept();
            fireCtrl(panel_, ctrl_, EVENT_COMMIT, 0, 0);
            return;
        }
        QCustomPlot::mouseReleaseEvent(e);
    }

    void keyPressEvent(QKeyEvent *e) override {
        if ((e->key() == Qt::Key_Left || e->key() == Qt::Key_Right) && !cursors.empty() && interactive()) {
            prepare();
            CursorRec &c = cursors[std::min<std::size_t>(activeCursor, cursors.size() - 1)];
            const PlotRec *p = c.plot >= 0 ? findPlotConst(c.plot) : nullptr;
            if (p && p->sorted) {
                const int next = c.index + (e->key() == Qt::Key_Left ? -1 : 1);
                if (next >= 0 && next < static_cast<int>(p->x.size())) {
                    c.x = p->x[next];
                    snap(c);
                    redrawCursors();
                    fireCtrl(panel_, ctrl_, EVENT_COMMIT, 0, 0);
                }
            }
            e->accept();
            return;
        }
        QCustomPlot::keyPressEvent(e);
    }

private:
    bool interactive() const {
        Panel *p = nullptr;
        Ctrl *c = nullptr;
        return lookup(panel_, ctrl_, p, c) == 0 && c->mode != VAL_INDICATOR;
    }

    void rebuildPoints() {
        pointsDirty_ = false;
        dirty_ = true;
        using Key = std::tuple<int, int, int>;
        std::map<Key, QVector<QCPGraphData>> data;
        for (const PlotRec &p : plots)
            if (p.kind == PLOT_POINT) data[Key(p.axis, p.pointStyle, p.color)].push_back(QCPGraphData(p.x[0], p.y[0]));
        for (auto it = groups_.begin(); it != groups_.end();) {
            if (!data.count(it->first)) {
                removePlottable(it->second);
                it = groups_.erase(it);
            } else {
                ++it;
            }
        }
        for (auto &[key, d] : data) {
            QCPGraph *&g = groups_[key];
            if (!g) {
                g = addGraph(xAxis, valueAxis(std::get<0>(key)));
                const QColor col = toQColor(std::get<2>(key));
                g->setLineStyle(QCPGraph::lsNone);
                g->setScatterStyle(scatterFor(std::get<1>(key), col, 7));
                g->setPen(QPen(col));
            }
            g->data()->set(d, false);
        }
    }

    int panel_, ctrl_;
    int dragging_ = -1;
    bool dirty_ = true;
    bool pointsDirty_ = false;
    // point markers of one axis, style and colour share one plottable
    std::map<std::tuple<int, int, int>, QCPGraph *> groups_;
};

int graphOf(int panel, int ctrl, GraphWidget *&g) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_GRAPH, p, c)) return e;
    g = static_cast<GraphWidget *>(c->widget);
    return 0;
}

int plotCurve(int panel, int ctrl, std::vector<double> x, std::vector<double> y, int plotStyle, int pointStyle,
              int lineStyle, int pointFrequency, int color) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const QColor col = toQColor(color);
    PlotRec rec;
    rec.axis = g->activeY;
    rec.color = color & 0xFFFFFF;
    rec.plotStyle = plotStyle;
    rec.pointStyle = pointStyle;
    rec.lineStyle = lineStyle;
    rec.sorted = std::is_sorted(x.begin(), x.end());
    QVector<double> keys(x.begin(), x.end());
    QVector<double> values(y.begin(), y.end());
    if (plotStyle == VAL_VERTICAL_BAR) {
        auto *bars = new QCPBars(g->xAxis, g->valueAxis(rec.axis));
        std::vector<double> sx = x;
        std::sort(sx.begin(), sx.end());
        double width = 1;
        double minGap = std::numeric_limits<double>::infinity();
        for (std::size_t i = 1; i < sx.size(); ++i)
            if (sx[i] > sx[i - 1]) minGap = std::min(minGap, sx[i] - sx[i - 1]);
        if (std::isfinite(minGap)) width = minGap * 0.9;
        bars->setWidth(width);
        bars->setPen(QPen(col.darker(130)));
        bars->setBrush(QBrush(col));
        bars->setData(keys, values, rec.sorted);
        rec.kind = PLOT_BARS;
        rec.plottable = bars;
    } else {
        QCPGraph *gr = g->addGraph(g->xAxis, g->valueAxis(rec.axis));
        QPen pen(col, plotStyle == VAL_FAT_LINE ? 2 : 1);
        pen.setStyle(penStyleFor(lineStyle));
        gr->setPen(pen);
        gr->setLineStyle(plotStyle == VAL_SCATTER ? QCPGraph::lsNone : QCPGraph::lsLine);
        if (plotStyle == VAL_CONNECTED_POINTS || plotStyle == VAL_SCATTER) {
            gr->setScatterStyle(scatterFor(pointStyle, col, 6));
            gr->setScatterSkip(std::max(0, pointFrequency - 1));
        }
        gr->setData(keys, values, rec.sorted);
        rec.kind = PLOT_CURVE;
        rec.plottable = gr;
    }
    rec.x = std::move(x);
    rec.y = std::move(y);
    return g->addPlot(std::move(rec));
}

}   // namespace

QWidget *graphCreate(QWidget *parent, int panel, int ctrl) {
    auto *graph = new GraphWidget(parent, panel, ctrl);
    graphInstallInput(graph, panel, ctrl);
    return graph;
}

bool isGraphAttr(int attr) {
    switch (attr) {
        case ATTR_ACTIVE_YAXIS:
        case ATTR_YNAME:
        case ATTR_YNAME_VISIBLE:
        case ATTR_YLABEL_VISIBLE:
        case ATTR_XNAME:
        case ATTR_XAXIS_OFFSET:
        case ATTR_XAXIS_GAIN:
        case ATTR_XUSE_LABEL_STRINGS:
        case ATTR_YUSE_LABEL_STRINGS:
        case ATTR_NUM_CURSORS:
        case ATTR_GRAPH_BGCOLOR:
        case ATTR_GRID_COLOR:
        case ATTR_XGRID_VISIBLE:
        case ATTR_YGRID_VISIBLE:
        case ATTR_SHIFT_TEXT_PLOTS:
        case ATTR_LEGEND_VISIBLE: return true;
        default: return false;
    }
}

int graphSetAttr(Ctrl &c, int attr, const Value &v) {
    auto *g = static_cast<GraphWidget *>(c.widget);
    const bool num = v.isNumber();
    const bool textAttr = attr == ATTR_YNAME || attr == ATTR_XNAME;
    if (textAttr == num) return kErrBadType;
    const int yi = g->activeY == VAL_RIGHT_YAXIS ? 2 : 1;
    switch (attr) {
        case ATTR_ACTIVE_YAXIS:
            if (v.toInt() != VAL_LEFT_YAXIS && v.toInt() != VAL_RIGHT_YAXIS) return kErrBadValue;
            g->activeY = v.toInt();
            return 0;
        case ATTR_YNAME:
            g->ax[yi].name = v.s;
            g->applyAxisText(yi);
            break;
        case ATTR_XNAME:
            g->ax[0].name = v.s;
            g->applyAxisText(0);
            break;
        case ATTR_YNAME_VISIBLE:
            g->ax[yi].nameVisible = v.num() != 0;
            g->applyAxisText(yi);
            break;
        case ATTR_YLABEL_VISIBLE:
            g->ax[yi].labelsVisible = v.num() != 0;
            g->applyAxisText(yi);
            break;
        case ATTR_XAXIS_OFFSET:
            if (!std::isfinite(v.num())) return kErrBadValue;
            g->tick[0]->offset = v.num();
            break;
        case ATTR_XAXIS_GAIN:
            if (!std::isfinite(v.num()) || v.num() == 0) return kErrBadValue;
            g->tick[0]->gain = v.num();
            break;
        case ATTR_XUSE_LABEL_STRINGS: g->ax[0].useLabels = v.num() != 0; break;
        case ATTR_YUSE_LABEL_STRINGS: g->ax[yi].useLabels = v.num() != 0; break;
        case ATTR_NUM_CURSORS: return kErrBadAttr;   // read only: SetGraphCursorCount
        case ATTR_GRAPH_BGCOLOR:
            g->bgColor = v.toInt() & 0xFFFFFF;
            g->axisRect()->setBackground(QBrush(toQColor(g->bgColor)));
            break;
        case ATTR_GRID_COLOR:
            g->gridColor = v.toInt() & 0xFFFFFF;
            for (int i = 0; i < 3; ++i) g->axisOf(i)->grid()->setPen(QPen(toQColor(g->gridColor), 0, Qt::DotLine));
            break;
        case ATTR_XGRID_VISIBLE: g->xAxis->grid()->setVisible(v.num() != 0); break;
        case ATTR_YGRID_VISIBLE: g->valueAxis(g->activeY)->grid()->setVisible(v.num() != 0); break;
        case ATTR_SHIFT_TEXT_PLOTS: g->shiftText = v.toInt(); return 0;
        case ATTR_LEGEND_VISIBLE: g->legendOn = v.num() != 0; break;
        default: return kErrBadAttr;
    }
    g->changed();
    return 0;
}

int graphGetAttr(Ctrl &c, int attr, Value &v) {
    auto *g = static_cast<GraphWidget *>(c.widget);
    const int yi = g->activeY == VAL_RIGHT_YAXIS ? 2 : 1;
    switch (attr) {
        case ATTR_ACTIVE_YAXIS: v = Value::ofInt(g->activeY); return 0;
        case ATTR_YNAME: v = Value::ofText(g->ax[yi].name); return 0;
        case ATTR_XNAME: v = Value::ofText(g->ax[0].name); return 0;
        case ATTR_YNAME_VISIBLE: v = Value::ofInt(g->ax[yi].nameVisible); return 0;
        case ATTR_YLABEL_VISIBLE: v = Value::ofInt(g->ax[yi].labelsVisible); return 0;
        case ATTR_XAXIS_OFFSET: v = Value::ofDouble(g->tick[0]->offset); return 0;
        case ATTR_XAXIS_GAIN: v = Value::ofDouble(g->tick[0]->gain); return 0;
        case ATTR_XUSE_LABEL_STRINGS: v = Value::ofInt(g->ax[0].useLabels); return 0;
        case ATTR_YUSE_LABEL_STRINGS: v = Value::ofInt(g->ax[yi].useLabels); return 0;
        case ATTR_NUM_CURSORS: v = Value::ofInt(static_cast<long long>(g->cursors.size())); return 0;
        case ATTR_GRAPH_BGCOLOR: v = Value::ofInt(g->bgColor); return 0;
        case ATTR_GRID_COLOR: v = Value::ofInt(g->gridColor); return 0;
        case ATTR_XGRID_VISIBLE: v = Value::ofInt(g->xAxis->grid()->visible()); return 0;
        case ATTR_YGRID_VISIBLE: v = Value::ofInt(g->valueAxis(g->activeY)->grid()->visible()); return 0;
        case ATTR_SHIFT_TEXT_PLOTS: v = Value::ofInt(g->shiftText); return 0;
        case ATTR_LEGEND_VISIBLE: v = Value::ofInt(g->legendOn); return 0;
        default: return kErrBadAttr;
    }
}

void graphFlush(Ctrl &c) {
    auto *g = static_cast<GraphWidget *>(c.widget);
    if (g->pending) g->replot(QCustomPlot::rpImmediateRefresh);
}

}   // namespace rt::detail

using namespace rt::detail;

int SetGraphCursorCount(int panel, int ctrl, int count, double x1, double x2) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (count < 0 || count > 2) return kErrBadValue;
    g->setCursorCount(count, x1, x2);
    return 0;
}

int PlotY(int panel, int ctrl, const double *y, int n, int plotStyle, int pointStyle, int lineStyle, int pointFrequency,
          int color) {
    if (n < 0 || (n > 0 && !y)) return n < 0 ? kErrBadValue : kErrNullArg;
    std::vector<double> xs(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) xs[i] = i;
    std::vector<double> ys(y, y + n);
    return plotCurve(panel, ctrl, std::move(xs), std::move(ys), plotStyle, pointStyle, lineStyle, pointFrequency,
                     color);
}

int PlotXY(int panel, int ctrl, const double *x, const double *y, int n, int plotStyle, int pointStyle, int lineStyle,
           int pointFrequency, int color) {
    if (n < 0 || (n > 0 && (!x || !y))) return n < 0 ? kErrBadValue : kErrNullArg;
    return plotCurve(panel, ctrl, std::vector<double>(x, x + n), std::vector<double>(y, y + n), plotStyle, pointStyle,
                     lineStyle, pointFrequency, color);
}

int PlotXY(int panel, int ctrl, const double *x, const int *y, int n, int plotStyle, int pointStyle, int lineStyle,
           int pointFrequency, int color) {
    if (n < 0 || (n > 0 && (!x || !y))) return n < 0 ? kErrBadValue : kErrNullArg;
    std::vector<double> ys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) ys[i] = y[i];
    return plotCurve(panel, ctrl, std::vector<double>(x, x + n), std::move(ys), plotStyle, pointStyle, lineStyle,
                     pointFrequency, color);
}

int PlotPoint(int panel, int ctrl, double x, double y, int pointStyle, int color) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    PlotRec rec;
    rec.kind = rt::PLOT_POINT;
    rec.axis = g->activeY;
    rec.color = color & 0xFFFFFF;
    rec.plotStyle = VAL_SCATTER;
    rec.pointStyle = pointStyle;
    rec.x = {x};
    rec.y = {y};
    return g->addPlot(std::move(rec));
}

int PlotText(int panel, int ctrl, double x, double y, const char *text, const char *font, int textColor, int bgColor) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (!text) return kErrNullArg;
    PlotRec rec;
    rec.kind = rt::PLOT_TEXT;
    rec.axis = g->activeY;
    rec.color = textColor & 0xFFFFFF;
    rec.x = {x};
    rec.y = {y};
    rec.text = QString::fromUtf8(text);
    rec.font = font ? font : "";
    rec.bg = bgColor;
    g->setCurrentLayer(QStringLiteral("labels"));
    auto *t = new QCPItemText(g);
    g->setCurrentLayer(QStringLiteral("main"));
    t->position->setAxes(g->xAxis, g->valueAxis(rec.axis));
    t->position->setCoords(x, y);
    t->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    t->setText(rec.text);
    t->setFont(resolveFont(rec.font, 0));
    t->setColor(toQColor(textColor));
    // a label without a background of its own still gets a faint one: the curves behind it
    // show through without making it unreadable
    t->setBrush(bgColor == VAL_TRANSPARENT ? QBrush(kLabelVeil) : QBrush(toQColor(bgColor)));
    t->setClipToAxisRect(true);
    rec.item = t;
    return g->addPlot(std::move(rec));
}

int DeleteGraphPlot(int panel, int ctrl, int plotHandle, int drawMode) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (plotHandle == -1) {
        g->removeAllPlots();
    } else {
        std::size_t i = 0;
        while (i < g->plots.size() && g->plots[i].handle != plotHandle) ++i;
        if (i == g->plots.size()) return kErrBadPlot;
        g->removePlot(i);
    }
    g->changed(drawMode == VAL_IMMEDIATE_DRAW);
    return 0;
}

int SetAxisScalingMode(int panel, int ctrl, int axis, int mode, double min, double max) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    AxisState &a = g->ax[i];
    switch (mode) {
        case VAL_MANUAL:
            if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return kErrBadValue;
            a.mode = VAL_MANUAL;
            a.min = min;
            a.max = max;
            break;
        case VAL_AUTOSCALE: a.mode = VAL_AUTOSCALE; break;
        case VAL_LOCK: {
            g->prepare();
            const QCPRange r = g->axisOf(i)->range();
            a.mode = VAL_MANUAL;
            a.min = r.lower;
            a.max = r.upper;
            break;
        }
        case VAL_NO_CHANGE: return 0;
        default: return kErrBadValue;
    }
    g->changed();
    return 0;
}

int GetAxisScalingMode(int panel, int ctrl, int axis, int *mode, double *min, double *max) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    g->prepare();
    const AxisState &a = g->ax[i];
    const QCPRange r = g->axisOf(i)->range();
    if (mode) *mode = a.mode;
    if (min) *min = a.mode == VAL_MANUAL ? a.min : r.lower;
    if (max) *max = a.mode == VAL_MANUAL ? a.max : r.upper;
    return 0;
}

int SetAxisRange(int panel, int ctrl, int xMode, double xMin, double xMax, int yMode, double yMin, double yMax) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (const int e = SetAxisScalingMode(panel, ctrl, VAL_XAXIS, xMode, xMin, xMax)) return e;
    return SetAxisScalingMode(panel, ctrl, g->activeY, yMode, yMin, yMax);
}

int InsertAxisItem(int panel, int ctrl, int axis, int index, const char *label, double value) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    auto &items = g->ax[i].items;
    if (index == -1) index = static_cast<int>(items.size());
    if (index < 0 || index > static_cast<int>(items.size())) return kErrBadIndex;
    items.insert(items.begin() + index, {value, fromUtf8(label)});
    g->changed();
    return 0;
}

int ClearAxisItems(int panel, int ctrl, int axis) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    g->ax[i].items.clear();
    g->changed();
    return 0;
}

namespace {
int cursorOf(int panel, int ctrl, int cursor, GraphWidget *&g) {
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (cursor < 1 || cursor > static_cast<int>(g->cursors.size())) return kErrBadIndex;
    g->prepare();
    return 0;
}
}   // namespace

int GetGraphCursor(int panel, int ctrl, int cursor, double *x, double *y) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    const CursorRec &c = g->cursors[cursor - 1];
    if (x) *x = c.x;
    if (y) *y = c.y;
    return 0;
}

int SetGraphCursor(int panel, int ctrl, int cursor, double x, double y) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    CursorRec &c = g->cursors[cursor - 1];
    c.x = x;
    c.y = y;
    g->snap(c);
    g->redrawCursors();
    return 0;
}

int GetGraphCursorIndex(int panel, int ctrl, int cursor, int *plotHandle, int *pointIndex) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    const CursorRec &c = g->cursors[cursor - 1];
    if (plotHandle) *plotHandle = c.plot;
    if (pointIndex) *pointIndex = c.index;
    return 0;
}

int SetCursorAttribute(int panel, int ctrl, int cursor, int attr, int value) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    CursorRec &c = g->cursors[cursor - 1];
    switch (attr) {
        case ATTR_CURSOR_MODE:
            if (value != VAL_SNAP_TO_POINT && value != VAL_FREE_FORM) return kErrBadValue;
            c.mode = value;
            g->snap(c);
            break;
        case ATTR_CURSOR_COLOR: c.color = value & 0xFFFFFF; break;
        case ATTR_CURSOR_POINT_STYLE: c.pointStyle = value; break;
        default: return kErrBadAttr;
    }
    g->redrawCursors();
    return 0;
}

int GetCursorAttribute(int panel, int ctrl, int cursor, int attr, int *value) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    if (!value) return kErrNullArg;
    const CursorRec &c = g->cursors[cursor - 1];
    switch (attr) {
        case ATTR_CURSOR_MODE: *value = c.mode; return 0;
        case ATTR_CURSOR_COLOR: *value = c.color; return 0;
        case ATTR_CURSOR_POINT_STYLE: *value = c.pointStyle; return 0;
        default: return kErrBadAttr;
    }
}

namespace rt {

std::vector<PlotInfo> GraphPlots(int panel, int ctrl) {
    std::vector<PlotInfo> out;
    GraphWidget *g = nullptr;
    if (graphOf(panel, ctrl, g)) return out;
    out.reserve(g->plots.size());
    for (const PlotRec &p : g->plots) {
        PlotInfo i;
        i.handle = p.handle;
        i.kind = p.kind;
        i.axis = p.axis;
        i.color = p.color;
        i.plotStyle = p.plotStyle;
        i.pointStyle = p.pointStyle;
        i.lineStyle = p.lineStyle;
        i.x = p.x;
        i.y = p.y;
        i.text = p.text.toStdString();
        i.font = p.font;
        i.bgColor = p.bg;
        out.push_back(std::move(i));
    }
    return out;
}

std::vector<LegendEntry> GraphLegend(int panel, int ctrl) {
    std::vector<LegendEntry> out;
    GraphWidget *g = nullptr;
    if (graphOf(panel, ctrl, g)) return out;
    g->prepare();
    if (!g->legend->visible()) return out;
    // the legend's cells, row by row; a row that is not full ends in empty cells
    for (int i = 0; i < g->legend->itemCount(); ++i) {
        auto *item = qobject_cast<QCPPlottableLegendItem *>(g->legend->item(i));
        if (!item) continue;
        const QColor c = item->textColor();
        out.push_back({item->plottable()->name().toStdString(), (c.red() << 16) | (c.green() << 8) | c.blue()});
    }
    return out;
}

AxisInfo GraphAxis(int panel, int ctrl, int axis) {
    AxisInfo info;
    GraphWidget *g = nullptr;
    if (graphOf(panel, ctrl, g)) return info;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return info;
    g->prepare();
    const AxisState &a = g->ax[i];
    const QCPRange r = g->axisOf(i)->range();
    info.mode = a.mode;
    info.min = a.mode == VAL_MANUAL ? a.min : r.lower;
    info.max = a.mode == VAL_MANUAL ? a.max : r.upper;
    info.name = a.name.toStdString();
    info.nameVisible = a.nameVisible;
    info.labelsVisible = a.labelsVisible;
    for (const auto &[v, label] : a.items) info.items.emplace_back(v, label.toStdString());
    return info;
}

int SaveGraphImage(int panel, int ctrl, const char *pngFile, int width, int height) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (!pngFile) return kErrNullArg;
    if (width <= 0 || height <= 0) return kErrBadValue;
    g->prepare();
    return g->savePng(QString::fromUtf8(pngFile), width, height) ? 0 : kErrFileWrite;
}

int SaveGraphPdf(int panel, int ctrl, const char *pdfFile, int width, int height) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (!pdfFile) return kErrNullArg;
    if (width <= 0 || height <= 0) return kErrBadValue;
    g->prepare();
    // lines keep their width at any zoom of the viewer
    return g->savePdf(QString::fromUtf8(pdfFile), width, height, QCP::epNoCosmetic, QStringLiteral("Tavix"))
               ? 0
               : kErrFileWrite;
}

int ReplotNow(int panel, int ctrl) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    g->replot(QCustomPlot::rpImmediateRefresh);
    // the redraw the changes had queued for the next turn of the event loop is done now
    QCoreApplication::removePostedEvents(g, QEvent::MetaCall);
    return 0;
}

}   // namespace rt
