// Graph controls on QCustomPlot: making graphs, their attributes, and the plots on them
// (curves, bars, point markers and texts on a left or a right y axis), read back with the
// legend they give; pictures of a graph. Axes and cursors are in ui_graph_axes.cpp.
#include "runtime/ui_graph_widget.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rt::detail {

int graphOf(int panel, int ctrl, GraphWidget *&g) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_GRAPH, p, c)) return e;
    g = static_cast<GraphWidget *>(c->widget);
    return 0;
}

namespace {

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
    t->setColor(readableTextColor(textColor));
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

int SaveGraphPdfPage(int panel, int ctrl, const char *pdfFile, const char *heading, int width, int height) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (!pdfFile || !heading) return kErrNullArg;
    if (width <= 0 || height <= 0) return kErrBadValue;
    g->prepare();
    // written aside and put in place whole, so that a failed page leaves the target as it was
    QSaveFile file(QString::fromUtf8(pdfFile));
    if (!file.open(QIODevice::WriteOnly)) return kErrFileWrite;
    constexpr double kMarginMm = 15.0;
    {
        QPdfWriter pdf(&file);
        // the screen's resolution: the chart's fonts, given in points, keep their size to the chart
        pdf.setResolution(g->logicalDpiX());
        pdf.setCreator(QStringLiteral("Tavix"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        QCPPainter painter;
        if (!painter.begin(&pdf)) {
            file.cancelWriting();
            return kErrFileWrite;
        }
        const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const double pageWidth = area.width();
        const double pageHeight = area.height();
        // the heading as text (searchable), one line after the other above the chart
        QFont font = g->font();
        font.setPointSize(12);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &pdf);
        double top = 0;
        for (const QString &line : QString::fromUtf8(heading).split(QLatin1Char('\n'))) {
            painter.drawText(QRectF(0, top, pageWidth, metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignTop, line);
            top += metrics.lineSpacing();
        }
        top += metrics.lineSpacing() / 2;
        // the chart drawn at its own size in pixels, then scaled up to fill what is left of the page
        const double scale = std::max(0.0, std::min(pageWidth / width, (pageHeight - top) / height));
        painter.translate(0, top);
        painter.scale(scale, scale);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        painter.setMode(QCPPainter::pmNonCosmetic);   // lines keep their width at any zoom of the viewer
        g->toPainter(&painter, width, height);
        if (!painter.end()) {
            file.cancelWriting();
            return kErrFileWrite;
        }
    }
    return file.error() == QFileDevice::NoError && file.commit() ? 0 : kErrFileWrite;
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
