// Pages from a plain description (page.h): laid out in points on an A4 portrait page and drawn
// with one procedure into a PDF, onto the printer or into a preview image.
//
// The layout goes top-down: heading and verdict, facts, then the chart, which takes whatever
// height the tables, notes and footer below it leave. When that is less than a readable chart
// the type is made smaller step by step until the chart fits. A long curve is drawn as the
// lowest and highest value of each narrow column of the chart, which looks the same as every
// point and keeps the PDF small.
#include "runtime/page.h"

#include "runtime/agent.h"
#include "runtime/ui.h"
#include "runtime/ui_internal.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

using rt::Page;
using rt::PageChart;
using rt::PageTable;

constexpr double kMarginMm = 15.0;
constexpr int kPdfResolution = 600;
constexpr double kBodyPoints = 8.5;        // the type of facts, tables and notes at first
constexpr double kSmallestPoints = 6.0;    // the type never gets smaller than this
constexpr double kChartMinimumMm = 55.0;   // a chart lower than this is not readable
constexpr int kChartColumns = 1400;        // columns a long curve is reduced to
constexpr int kPreviewDpi = 110;           // resolution of the preview image

// Points to device pixels on a device of the given resolution.
struct Scale {
    double dpi;
    double px(double points) const { return points * dpi / 72.0; }
    double mm(double millimetres) const { return millimetres * dpi / 25.4; }
};

QFont pageFont(double points, bool bold = false) {
    QFont f = rt::detail::resolveFont(VAL_APP_META_FONT, 0);
    f.setPointSizeF(points);
    f.setBold(bold);
    // no ligatures: "fi" stays two letters that a search in the PDF finds
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::PreferNoShaping));
    return f;
}

QColor colorOf(int rgb, int alpha = 255) {
    QColor c = rt::detail::toQColor(rgb);
    c.setAlpha(alpha);
    return c;
}

// ---------------------------------------------------------------- tables and notes

// The width each column of a table takes: its widest cell first; the room left goes to the
// headings wider than their cells, then to every column in proportion. A heading that still
// does not fit is narrowed rather than a cell.
std::vector<double> columnWidths(const PageTable &t, const QFontMetricsF &body, const QFontMetricsF &bold, double width,
                                 double pad) {
    const std::size_t n = t.header.size();
    std::vector<double> cells(n, 2 * pad), heads(n, 0.0);
    for (std::size_t c = 0; c < n; ++c)
        heads[c] = bold.horizontalAdvance(QString::fromUtf8(t.header[c].c_str())) + 2 * pad;
    for (const auto &row : t.rows)
        for (std::size_t c = 0; c < row.size() && c < n; ++c)
            cells[c] = std::max(cells[c], body.horizontalAdvance(QString::fromUtf8(row[c].c_str())) + 2 * pad);
    double total = 0, wanted = 0;
    for (std::size_t c = 0; c < n; ++c) total += cells[c], wanted += std::max(0.0, heads[c] - cells[c]);
    std::vector<double> w = cells;
    const double room = width - total;
    if (room <= 0) {
        for (double &x : w) x *= width / total;
        return w;
    }
    const double share = wanted > room ? room / wanted : 1.0;
    double used = 0;
    for (std::size_t c = 0; c < n; ++c) used += (w[c] += share * std::max(0.0, heads[c] - cells[c]));
    for (double &x : w) x *= width / used;
    return w;
}

double tableHeight(const PageTable &t, double line) {
    return (t.caption.empty() ? 0 : 1.3 * line) + (1 + t.rows.size()) * 1.25 * line + 0.6 * line;
}

// A cell's text fitted into its width: narrowed when it would not fit, never cut.
void drawCell(QPainter &p, const QRectF &cell, const QString &text, double pad, Qt::Alignment align) {
    const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
    const double need = p.fontMetrics().horizontalAdvance(text);
    if (need <= inner.width() || need <= 0) {
        p.drawText(inner, align | Qt::AlignVCenter, text);
        return;
    }
    p.save();
    p.translate(inner.left(), inner.top());
    p.scale(inner.width() / need, 1.0);
    p.drawText(QRectF(0, 0, need, inner.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

double drawTable(QPainter &p, const PageTable &t, double x, double y, double width, const Scale &s, double points) {
    const QFont body = pageFont(points), bold = pageFont(points, true);
    const QFontMetricsF bm(body, p.device()), hm(bold, p.device());
    const double line = bm.lineSpacing(), rowH = 1.25 * line, pad = s.px(2.5);
    if (!t.caption.empty()) {
        p.setFont(pageFont(points + 0.5, true));
        p.setPen(Qt::black);
        p.drawText(QRectF(x, y, width, 1.3 * line), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(t.caption.c_str()));
        y += 1.3 * line;
    }
    const std::vector<double> w = columnWidths(t, bm, hm, width, pad);
    p.fillRect(QRectF(x, y, width, rowH), QColor(0xE8, 0xE8, 0xE8));
    p.setFont(bold);
    p.setPen(Qt::black);
    double cx = x;
    for (std::size_t c = 0; c < t.header.size(); ++c) {
        drawCell(p, QRectF(cx, y, w[c], rowH), QString::fromUtf8(t.header[c].c_str()), pad,
                 c == 0 ? Qt::AlignLeft : Qt::AlignRight);
        cx += w[c];
    }
    y += rowH;
    p.setFont(body);
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        p.setPen(r < t.rowColors.size() ? colorOf(t.rowColors[r]) : QColor(Qt::black));
        cx = x;
        for (std::size_t c = 0; c < t.rows[r].size() && c < w.size(); ++c) {
            drawCell(p, QRectF(cx, y, w[c], rowH), QString::fromUtf8(t.rows[r][c].c_str()), pad,
                     c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            cx += w[c];
        }
        p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 0));
        p.drawLine(QPointF(x, y + rowH), QPointF(x + width, y + rowH));
        y += rowH;
    }
    return y + 0.6 * line;
}

double notesHeight(const Page &page, const QFontMetricsF &m, double width) {
    double h = 0;
    for (const std::string &n : page.notes)
        h += m.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, QString::fromUtf8(n.c_str())).height() +
             0.25 * m.lineSpacing();
    return h;
}

// ---------------------------------------------------------------- the chart

// A step of 1, 2 or 5 times a power of ten that cuts the range into about `parts` parts.
double niceStep(double range, int parts) {
    if (!(range > 0)) return 1;
    const double raw = range / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

// The range of one axis: its curves and the finite ends of its bands, with a little room.
std::pair<double, double> axisRange(const PageChart &c, bool right) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const auto &curve : c.curves)
        if (curve.rightAxis == right)
            for (double y : curve.y)
                if (std::isfinite(y)) lo = std::min(lo, y), hi = std::max(hi, y);
    for (const auto &b : c.bands)
        if (b.rightAxis == right)
            for (double y : {b.from, b.to})
                if (std::isfinite(y)) lo = std::min(lo, y), hi = std::max(hi, y);
    if (!std::isfinite(lo)) return {0, 1};
    if (hi - lo < 1) lo -= 0.5, hi += 0.5;
    const double room = 0.06 * (hi - lo);
    return {lo - room, hi + room};
}

bool hasAxis(const PageChart &c, bool right) {
    for (const auto &curve : c.curves)
        if (curve.rightAxis == right) return true;
    return false;
}

// One curve, reduced to the lowest and highest value of each column when it is long.
void drawCurve(QPainter &p, const rt::PageCurve &curve, const QRectF &plot, double x0, double x1, double y0,
               double y1) {
    const std::size_t n = std::min(curve.x.size(), curve.y.size());
    auto px = [&](double x) { return plot.left() + (x - x0) / (x1 - x0) * plot.width(); };
    auto py = [&](double y) { return plot.bottom() - (y - y0) / (y1 - y0) * plot.height(); };
    QPainterPath path;
    bool open = false;
    const bool reduce = n > 2 * kChartColumns;
    std::size_t i = 0;
    while (i < n) {
        if (!std::isfinite(curve.y[i])) {
            open = false;
            ++i;
            continue;
        }
        if (!reduce) {
            const QPointF pt(px(curve.x[i]), py(curve.y[i]));
            open ? path.lineTo(pt) : path.moveTo(pt);
            open = true;
            ++i;
            continue;
        }
        // the points of one column: first, lowest, highest, last, in their order of time
        const int column = int((curve.x[i] - x0) / (x1 - x0) * kChartColumns);
        std::size_t j = i, lo = i, hi = i;
        while (j < n && std::isfinite(curve.y[j]) && int((curve.x[j] - x0) / (x1 - x0) * kChartColumns) == column) {
            if (curve.y[j] < curve.y[lo]) lo = j;
            if (curve.y[j] > curve.y[hi]) hi = j;
            ++j;
        }
        const std::size_t picks[] = {i, std::min(lo, hi), std::max(lo, hi), j - 1};
        for (std::size_t k : picks) {
            const QPointF pt(px(curve.x[k]), py(curve.y[k]));
            open ? path.lineTo(pt) : path.moveTo(pt);
            open = true;
        }
        i = j;
    }
    p.setPen(QPen(colorOf(curve.color), 0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// Tick labels of a y axis at the left or right of the plot; returns their widest.
void yTicks(QPainter &p, const QRectF &plot, double y0, double y1, bool right, double gap) {
    const double step = niceStep(y1 - y0, 6);
    const int decimals = step < 1 ? (step < 0.1 ? 2 : 1) : 0;
    for (double v = std::ceil(y0 / step) * step; v <= y1 + 1e-9; v += step) {
        const double y = plot.bottom() - (v - y0) / (y1 - y0) * plot.height();
        if (!right) {
            p.setPen(QPen(QColor(0xE4, 0xE4, 0xE4), 0));
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
        p.setPen(Qt::black);
        const QString t = QString::number(std::abs(v) < 1e-9 ? 0.0 : v, 'f', decimals);
        const QRectF box = right ? QRectF(plot.right() + gap, y - 20 * gap, 40 * gap, 40 * gap)
                                 : QRectF(plot.left() - 41 * gap, y - 20 * gap, 40 * gap, 40 * gap);
        p.drawText(box, (right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, t);
    }
}

void drawChart(QPainter &p, const PageChart &c, const QRectF &area, const Scale &s, double points) {
    const QFont body = pageFont(points - 0.5);
    const QFontMetricsF m(body, p.device());
    const bool left = hasAxis(c, false) || c.curves.empty(), right = hasAxis(c, true);
    const double gap = s.px(2), tickWidth = m.horizontalAdvance(QStringLiteral("-000.0")) + 2 * gap;
    const double nameWidth = 1.4 * m.lineSpacing();
    QRectF plot = area.adjusted(nameWidth + tickWidth, 1.4 * m.lineSpacing(), right ? -(nameWidth + tickWidth) : -gap,
                                -2.4 * m.lineSpacing());
    if (plot.width() <= 0 || plot.height() <= 0) return;
    const double x0 = c.xFrom, x1 = c.xTo > c.xFrom ? c.xTo : c.xFrom + 1;
    const auto [ly0, ly1] = axisRange(c, false);
    const auto [ry0, ry1] = axisRange(c, true);
    auto px = [&](double x) { return plot.left() + (std::clamp(x, x0, x1) - x0) / (x1 - x0) * plot.width(); };
    p.save();
    p.setFont(body);
    p.setClipRect(plot);
    // the zones' bands, then the excursions over the whole height
    for (const auto &b : c.bands) {
        const double y0 = b.rightAxis ? ry0 : ly0, y1 = b.rightAxis ? ry1 : ly1;
        auto py = [&](double y) { return plot.bottom() - (std::clamp(y, y0, y1) - y0) / (y1 - y0) * plot.height(); };
        const double top = py(std::max(b.from, b.to)), bottom = py(std::min(b.from, b.to));
        p.fillRect(QRectF(plot.left(), top, plot.width(), bottom - top), colorOf(b.color, 28));
        p.setPen(QPen(colorOf(b.color), s.px(0.6), Qt::DashLine));
        for (double y : {b.from, b.to})
            if (std::isfinite(y) && y > y0 && y < y1)
                p.drawLine(QPointF(plot.left(), py(y)), QPointF(plot.right(), py(y)));
    }
    for (const auto &span : c.spans) {
        const double a = px(span.from), b = std::max(px(span.to), a + s.px(0.5));
        p.fillRect(QRectF(a, plot.top(), b - a, plot.height()), colorOf(span.color, 70));
    }
    p.setClipping(false);
    if (left) yTicks(p, plot, ly0, ly1, false, gap);
    if (right) yTicks(p, plot, ry0, ry1, true, gap);
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    for (const auto &curve : c.curves)
        drawCurve(p, curve, plot, x0, x1, curve.rightAxis ? ry0 : ly0, curve.rightAxis ? ry1 : ly1);
    p.setClipping(false);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
    // the time axis: its ticks and labels, the first left-aligned and the last right-aligned
    for (std::size_t k = 0; k < c.xTicks.size(); ++k) {
        const double x = px(c.xTicks[k].first);
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + gap));
        const QString t = QString::fromUtf8(c.xTicks[k].second.c_str());
        double w = gap;   // the widest of its lines
        for (const QString &line : t.split(QLatin1Char('\n'))) w = std::max(w, m.horizontalAdvance(line) + gap);
        const double lx = k == 0 ? x : k + 1 == c.xTicks.size() ? x - w : x - w / 2;
        p.drawText(QRectF(lx, plot.bottom() + gap, w, 2.3 * m.lineSpacing()), Qt::AlignHCenter | Qt::AlignTop, t);
    }
    // the axes' names, turned along them
    auto axisName = [&](const std::string &name, double x) {
        if (name.empty()) return;
        p.save();
        p.translate(x, plot.center().y());
        p.rotate(-90);
        p.drawText(QRectF(-plot.height() / 2, -m.lineSpacing() / 2, plot.height(), m.lineSpacing()), Qt::AlignCenter,
                   QString::fromUtf8(name.c_str()));
        p.restore();
    };
    if (left) axisName(c.leftName, area.left() + m.lineSpacing() / 2);
    if (right) axisName(c.rightName, area.right() - m.lineSpacing() / 2);
    // the legend above the plot: each named curve in its colour
    double lx = plot.left();
    for (const auto &curve : c.curves) {
        if (curve.name.empty()) continue;
        const QString t = QString::fromUtf8(curve.name.c_str());
        p.setPen(QPen(colorOf(curve.color), s.px(1.2)));
        const double y = plot.top() - 0.7 * m.lineSpacing();
        p.drawLine(QPointF(lx, y), QPointF(lx + s.px(10), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(lx + s.px(12), plot.top() - 1.4 * m.lineSpacing(), m.horizontalAdvance(t) + gap,
                          1.4 * m.lineSpacing()),
                   Qt::AlignLeft | Qt::AlignVCenter, t);
        lx += s.px(12) + m.horizontalAdvance(t) + s.px(8);
    }
    p.restore();
}

// ---------------------------------------------------------------- the page

// The heights of what stands below the chart at a size of type.
double belowChart(QPainter &p, const Page &page, double width, double points, double footerLine) {
    const QFontMetricsF m(pageFont(points), p.device());
    double h = 0;
    for (const auto &t : page.tables) h += tableHeight(t, m.lineSpacing());
    return h + notesHeight(page, m, width) + 1.6 * footerLine;
}

void drawPage(QPainter &p, const QRectF &area, const Page &page, const Scale &s) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    double y = area.top();
    const double width = area.width();
    // 1. the heading and the verdict in large type on one line
    const QFont verdictFont = pageFont(26, true);
    const QFontMetricsF vm(verdictFont, p.device());
    const double top = vm.lineSpacing();
    p.setFont(verdictFont);
    p.setPen(colorOf(page.verdictColor));
    const QString verdict = QString::fromUtf8(page.verdict.c_str());
    const double verdictWidth = vm.horizontalAdvance(verdict) + s.px(4);
    p.drawText(QRectF(area.right() - verdictWidth, y, verdictWidth, top), Qt::AlignRight | Qt::AlignVCenter, verdict);
    p.setFont(pageFont(16, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), y, width - verdictWidth, top), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(page.heading.c_str()));
    y += top;
    p.setPen(QPen(Qt::black, s.px(0.8)));
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    y += s.px(4);

    // 2. the size of type that leaves the chart room: the largest that does, down to the smallest
    const QFontMetricsF fm(pageFont(kBodyPoints - 1.5), p.device());
    const double footerLine = fm.lineSpacing();
    double points = kBodyPoints;
    auto factsHeight = [&](double pt) {
        const QFontMetricsF m(pageFont(pt), p.device());
        return ((page.facts.size() + 1) / 2) * 1.2 * m.lineSpacing() + 0.6 * m.lineSpacing();
    };
    while (points > kSmallestPoints &&
           area.bottom() - y - factsHeight(points) - belowChart(p, page, width, points, footerLine) <
               s.mm(kChartMinimumMm))
        points -= 0.25;

    // 3. the facts in two columns: the label in grey, the value after it
    {
        const QFont body = pageFont(points), bold = pageFont(points, true);
        const QFontMetricsF m(body, p.device()), bm(bold, p.device());
        double labelWidth = 0;
        for (const auto &f : page.facts)
            labelWidth = std::max(labelWidth, m.horizontalAdvance(QString::fromUtf8(f.first.c_str())) + s.px(4));
        labelWidth = std::min(labelWidth, width / 4);
        const double line = 1.2 * m.lineSpacing(), half = width / 2;
        for (std::size_t k = 0; k < page.facts.size(); ++k) {
            const double fx = area.left() + (k % 2) * half, fy = y + (k / 2) * line;
            p.setFont(body);
            p.setPen(QColor(0x50, 0x50, 0x50));
            drawCell(p, QRectF(fx, fy, labelWidth, line), QString::fromUtf8(page.facts[k].first.c_str()), 0,
                     Qt::AlignLeft);
            p.setFont(bold);
            p.setPen(Qt::black);
            // a last fact alone on its line has the whole line
            const bool alone = k + 1 == page.facts.size() && k % 2 == 0;
            drawCell(p, QRectF(fx + labelWidth, fy, (alone ? width : half) - labelWidth - s.px(8), line),
                     QString::fromUtf8(page.facts[k].second.c_str()), 0, Qt::AlignLeft);
        }
        y += factsHeight(points);
    }

    // 4. the chart in the room that is left, then the tables and notes below it
    const double chartHeight = std::max(s.mm(25), area.bottom() - y - belowChart(p, page, width, points, footerLine));
    drawChart(p, page.chart, QRectF(area.left(), y, width, chartHeight), s, points);
    y += chartHeight + s.px(3);
    for (const auto &t : page.tables) y = drawTable(p, t, area.left(), y, width, s, points);
    p.setFont(pageFont(points));
    p.setPen(Qt::black);
    const QFontMetricsF nm(p.font(), p.device());
    for (const std::string &n : page.notes) {
        const QString t = QString::fromUtf8(n.c_str());
        const QRectF box = nm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, t);
        p.drawText(QRectF(area.left(), y, width, box.height()), Qt::TextWordWrap | Qt::AlignLeft, t);
        y += box.height() + 0.25 * nm.lineSpacing();
    }

    // 5. the footer at the bottom, under a thin line
    p.setFont(pageFont(kBodyPoints - 1.5));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0));
    p.drawLine(QPointF(area.left(), area.bottom() - 1.3 * footerLine),
               QPointF(area.right(), area.bottom() - 1.3 * footerLine));
    p.drawText(QRectF(area.left(), area.bottom() - footerLine * 1.2, width, footerLine * 1.2),
               Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(page.footer.c_str()));
    p.restore();
}

QPageLayout a4Layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// Every page onto a paged device whose painter is active; false when the device refused one.
bool drawPages(QPainter &p, QPagedPaintDevice &device, const std::vector<Page> &pages) {
    const QRect r = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QRectF area(0, 0, r.width(), r.height());
    const Scale s{double(device.logicalDpiX())};
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (k > 0 && !device.newPage()) return false;
        drawPage(p, area, pages[k], s);
    }
    return p.isActive();
}

// The page drawn on white at a resolution, margins included.
QImage pageImage(const Page &page, int dpi) {
    const Scale s{double(dpi)};
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    QImage image(int(s.mm(a4.width())), int(s.mm(a4.height())), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(dpi / 0.0254));
    image.setDotsPerMeterY(int(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    const double margin = s.mm(kMarginMm);
    drawPage(painter, QRectF(margin, margin, image.width() - 2 * margin, image.height() - 2 * margin), page, s);
    return image;
}

}   // namespace

namespace rt {

int WritePagePicture(const Page &page, const char *path, int dpi) {
    using namespace rt::detail;
    if (!path || !*path) return kErrNullArg;
    if (dpi < 10 || dpi > 1200) return kErrBadValue;
    return pageImage(page, dpi).save(QString::fromUtf8(path), "PNG") ? 0 : kErrFileWrite;
}

int WritePagesPdf(const std::vector<Page> &pages, const char *path, const char *title) {
    using namespace rt::detail;
    if (!path || !*path) return kErrNullArg;
    if (pages.empty()) return kErrBadValue;
    QSaveFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::WriteOnly)) return kErrFileWrite;
    bool drawn = false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(kPdfResolution);
        pdf.setPageLayout(a4Layout());
        pdf.setCreator(QStringLiteral("Tavix"));
        pdf.setTitle(QString::fromUtf8(title ? title : ""));
        QPainter painter;
        if (painter.begin(&pdf)) {
            drawn = drawPages(painter, pdf, pages);
            drawn = painter.end() && drawn;
        }
    }
    if (!drawn || file.error() != QFileDevice::NoError || !file.commit()) {
        file.cancelWriting();
        return kErrFileWrite;
    }
    return 0;
}

int PrintPagesToPrinter(const std::vector<Page> &pages, const char *title, int interactive) {
    using namespace rt::detail;
    if (pages.empty()) return kErrBadValue;
    if (!printerAvailable()) return kErrNoPrinter;
    QPrinter &printer = sharedPrinter();
    printer.setPageLayout(a4Layout());
    printer.setDocName(QString::fromUtf8(title ? title : ""));
    if (interactive) {
        rt::PrintPages chosen;
        bool go = false;
        {
            const ModalScope modal;
            go = rt::Agent().printDialog(title ? title : "", chosen);
        }
        if (!go) return PRINT_STATUS_CANCELLED;
    }
    if (printCaptured()) {
        countCapturedPrint();
        return 0;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return kErrPrint;
    const bool drawn = drawPages(painter, printer, pages);
    return painter.end() && drawn ? 0 : kErrPrint;
}

int ShowPagePreview(int panel, int ctrl, const Page &page) {
    using namespace rt::detail;
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_PICTURE, p, c)) return e;
    const QImage image = pageImage(page, kPreviewDpi);
    auto *label = static_cast<QLabel *>(c->widget);
    const QSize room = label->size().isEmpty() ? label->minimumSize() : label->size();
    label->setPixmap(QPixmap::fromImage(image).scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    c->hasPixmap = true;
    return 0;
}

}   // namespace rt
