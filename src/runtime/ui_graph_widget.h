// The graph widget of the run-time, shared by the graph's source files: a QCustomPlot that
// keeps what the program plotted (curves, bars, point markers, texts, each with its handle),
// the state of its three axes, its cursors and its legend, and draws them at the next turn of
// the event loop. ui_graph.cpp makes graphs and plots on them; ui_graph_axes.cpp scales the
// axes and moves the cursors. Nothing outside runtime/ includes this header.
#pragma once

#include "runtime/ui_graph_parts.h"
#include "runtime/ui_internal.h"

#include <qcustomplot.h>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace rt::detail {

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
        // curve labels above the curves and the cursors, so that nothing hides them; the
        // cursors' handles above everything, so that they can always be seen and grabbed
        addLayer(QStringLiteral("labels"), layer(QStringLiteral("cursors")), QCustomPlot::limAbove);
        addLayer(QStringLiteral("handles"), layer(QStringLiteral("labels")), QCustomPlot::limAbove);
        layer(QStringLiteral("handles"))->setMode(QCPLayer::lmBuffered);
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
        separateLabels();
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
                item->setTextColor(readableTextColor(curve->color));
        }
        fitLegendColumns();
        const bool show = !entries.empty();
        const bool inRow = plotLayout()->rowCount() > 1;
        if (show && !inRow) {
            plotLayout()->insertRow(0);
            plotLayout()->addElement(0, 0, legend);
            plotLayout()->setRowStretchFactor(0, 0.001);
        } else if (!show && inRow) {
            // back, hidden, where the plot keeps an unused legend (so it goes with the plot)
            axisRect()->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
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

    // Curve labels never cover each other: each in the order made stands at its point, or is
    // moved just below or above the labels in its way while it stays inside the plotting area;
    // a label with no room left is not drawn (the legend names its curve).
    void separateLabels() {
        const QRectF area = axisRect()->rect();
        std::vector<QRectF> placed;
        for (const PlotRec &p : plots) {
            if (p.kind != PLOT_TEXT || !p.item) continue;
            QCPItemText *t = p.item;
            t->setVisible(true);
            const QRectF box = QRectF(t->topLeft->pixelPosition(), t->bottomRight->pixelPosition()).normalized();
            const auto clashes = [&](const QRectF &r) {
                for (const QRectF &o : placed)
                    if (o.intersects(r)) return &o;
                return static_cast<const QRectF *>(nullptr);
            };
            const auto inside = [&](const QRectF &r) { return r.top() >= area.top() && r.bottom() <= area.bottom(); };
            std::optional<QRectF> spot;
            for (const int direction : {1, -1}) {
                QRectF r = box;
                for (std::size_t tries = 0; tries <= placed.size() && !spot; ++tries) {
                    const QRectF *o = clashes(r);
                    if (!o) {
                        if (inside(r) || tries == 0) spot = r;
                        break;
                    }
                    r.moveTop(direction > 0 ? o->bottom() + 1 : o->top() - r.height() - 1);
                    if (!inside(r)) break;
                }
                if (spot) break;
            }
            if (!spot) {
                t->setVisible(false);
                continue;
            }
            if (spot->top() != box.top())
                t->position->setPixelPosition(t->position->pixelPosition() + QPointF(0, spot->top() - box.top()));
            placed.push_back(*spot);
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
        setCurrentLayer(QStringLiteral("handles"));
        c.tag = new QCPItemText(this);
        setCurrentLayer(QStringLiteral("main"));
        c.line->point1->setAxes(xAxis, yAxis);
        c.line->point2->setAxes(xAxis, yAxis);
        c.marker->setStyle(QCPItemTracer::tsCircle);
        c.marker->setSize(8);
        c.tag->setText(QString::number(number));
        c.tag->position->setAxes(xAxis, yAxis);
        // the handle stands in pixels across, so that it can be kept whole inside the plot
        c.tag->position->setTypeX(QCPItemPosition::ptAbsolute);
        c.tag->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        c.tag->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        c.tag->setColor(Qt::white);
        c.tag->setPadding(QMargins(3, 1, 3, 1));
        c.tag->setClipToAxisRect(false);
        c.marker->setClipToAxisRect(false);
    }

    void updateCursorItems() {
        for (CursorRec &c : cursors) {
            const QColor col = toQColor(c.color);
            c.line->setPen(QPen(col, 1));
            c.line->point1->setCoords(c.x, 0);
            c.line->point2->setCoords(c.x, 1);
            c.tag->setBrush(QBrush(col));
            // A cursor on the first or last point (or beyond the window) keeps its whole
            // handle inside the plotting area.
            const QRectF area = axisRect()->rect();
            const QMargins pad = c.tag->padding();
            const double half =
                (QFontMetrics(c.tag->font()).horizontalAdvance(c.tag->text()) + pad.left() + pad.right()) / 2.0 + 1;
            double px = xAxis->coordToPixel(c.x);
            if (!std::isfinite(px)) px = area.left();
            px = std::clamp(px, area.left() + half, std::max(area.left() + half, area.right() - half));
            c.tag->position->setCoords(px, 0);
            const PlotRec *p = c.plot >= 0 ? findPlotConst(c.plot) : nullptr;
            c.marker->position->setAxes(xAxis, p ? valueAxis(p->axis) : yAxis);
            c.marker->position->setCoords(c.x, c.y);
            c.marker->setPen(QPen(col, 1.5));
            c.marker->setStyle(c.pointStyle == VAL_NO_POINT                         ? QCPItemTracer::tsNone
                               : c.pointStyle == VAL_CROSS || c.pointStyle == VAL_X ? QCPItemTracer::tsPlus
                               : c.pointStyle == VAL_EMPTY_SQUARE || c.pointStyle == VAL_SOLID_SQUARE
                                   ? QCPItemTracer::tsSquare
                                   : QCPItemTracer::tsCircle);
            // drawn whole at the edges of the plotting area, never outside it
            const QPointF at = c.marker->position->pixelPosition();
            const bool shown = at.x() >= area.left() - 1 && at.x() <= area.right() + 1 && at.y() >= area.top() - 1 &&
                               at.y() <= area.bottom() + 1;
            c.marker->setVisible((c.mode != VAL_SNAP_TO_POINT || c.plot >= 0) && shown);
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
        else {
            layer(QStringLiteral("cursors"))->replot();
            layer(QStringLiteral("handles"))->replot();
        }
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

// The graph widget of a control, or a negative status (no such control, not a graph).
int graphOf(int panel, int ctrl, GraphWidget *&g);

}   // namespace rt::detail
