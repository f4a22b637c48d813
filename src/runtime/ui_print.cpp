// Printing (text to the default printer, panel images) and the run-time's error texts.
// Tests route everything into an in-memory capture instead of a printer.
#include "runtime/agent.h"
#include "runtime/ui_internal.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace rt::detail {
namespace {

struct PrintState {
    int orientation = VAL_PORTRAIT;
    int ejectAfter = 1;
    std::string fontName = VAL_APP_META_FONT;
    int pointSize = 10;
    int numberPages = 1;
    int printDate = 0;
    int printTime = 0;
    bool capture = false;
    bool capturePresent = true;
    std::vector<std::string> texts;
    int panels = 0;
    QString pendingJob;   // texts waiting for the page eject
};

PrintState &ps() {
    static PrintState s;
    return s;
}

bool printerPresent() {
    if (ps().capture) return ps().capturePresent;
    return !QPrinterInfo::defaultPrinter().isNull();
}

void setupPrinter(QPrinter &printer) {
    printer.setPageOrientation(ps().orientation == VAL_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// The date and time stamps at the top right of a page, when asked for.
void drawStamps(QPainter &painter, const QRectF &page) {
    QString stamp;
    if (ps().printDate) stamp += QString::fromLatin1(DateStr());
    if (ps().printTime) {
        if (!stamp.isEmpty()) stamp += QLatin1Char(' ');
        stamp += QString::fromLatin1(TimeStr());
    }
    if (stamp.isEmpty()) return;
    painter.save();
    painter.setFont(resolveFont(ps().fontName, 8));
    painter.drawText(page, Qt::AlignTop | Qt::AlignRight, stamp);
    painter.restore();
}

// Lay the text out on the printer's pages, with page numbers when asked for.
int printText(const QString &text) {
    QPrinter &printer = sharedPrinter();
    printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    printer.setOutputFileName(QString());
    setupPrinter(printer);
    QTextDocument doc;
    doc.setDefaultFont(resolveFont(ps().fontName, ps().pointSize));
    doc.setPlainText(text);
    QPainter painter;
    if (!painter.begin(&printer)) return kErrPrint;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double footer =
        ps().numberPages || ps().printDate || ps().printTime ? painter.fontMetrics().height() * 2.0 : 0;
    const QSizeF body(page.width(), page.height() - 2 * footer);
    // The document is laid out in device pixels of the printer.
    doc.documentLayout()->setPaintDevice(&printer);
    doc.setPageSize(body);
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage()) return kErrPrint;
        const QRectF frame(0, 0, page.width(), page.height());
        drawStamps(painter, frame);
        painter.save();
        painter.translate(0, footer - i * body.height());
        doc.drawContents(&painter, QRectF(0, i * body.height(), body.width(), body.height()));
        painter.restore();
        if (ps().numberPages) painter.drawText(frame, Qt::AlignBottom | Qt::AlignHCenter, QString::number(i + 1));
    }
    return painter.end() ? 0 : kErrPrint;
}

int flushJob() {
    PrintState &s = ps();
    if (s.pendingJob.isEmpty()) return 0;
    const QString job = s.pendingJob;
    s.pendingJob.clear();
    if (s.capture) return 0;
    return printText(job);
}

}   // namespace

QPrinter &sharedPrinter() {
    static QPrinter *p = new QPrinter(QPrinter::HighResolution);
    return *p;
}

}   // namespace rt::detail

using namespace rt::detail;

int SetPrintAttribute(int attr, int value) {
    PrintState &s = ps();
    switch (attr) {
        case ATTR_ORIENTATION:
            if (value != VAL_PORTRAIT && value != VAL_LANDSCAPE) return kErrBadValue;
            s.orientation = value;
            return 0;
        case ATTR_EJECT_AFTER:
            s.ejectAfter = value ? 1 : 0;
            return s.ejectAfter ? flushJob() : 0;   // switching the eject back on prints the collected job
        case ATTR_PRINT_POINT_SIZE:
            if (value <= 0) return kErrBadValue;
            s.pointSize = value;
            return 0;
        case ATTR_NUMBER_PAGES: s.numberPages = value ? 1 : 0; return 0;
        case ATTR_PRINT_DATE: s.printDate = value ? 1 : 0; return 0;
        case ATTR_PRINT_TIME: s.printTime = value ? 1 : 0; return 0;
        case ATTR_PRINTER_NAME:
        case ATTR_PRINT_FONT_NAME: return kErrBadType;
        default: return kErrBadAttr;
    }
}

int SetPrintAttribute(int attr, const char *value) {
    if (!value) return kErrNullArg;
    switch (attr) {
        case ATTR_PRINT_FONT_NAME: ps().fontName = value; return 0;
        case ATTR_PRINTER_NAME: return kErrBadAttr;   // the default printer is used
        default: return kErrBadType;
    }
}

int GetPrintAttribute(int attr, int *value) {
    if (!value) return kErrNullArg;
    const PrintState &s = ps();
    switch (attr) {
        case ATTR_ORIENTATION: *value = s.orientation; return 0;
        case ATTR_EJECT_AFTER: *value = s.ejectAfter; return 0;
        case ATTR_PRINT_POINT_SIZE: *value = s.pointSize; return 0;
        case ATTR_NUMBER_PAGES: *value = s.numberPages; return 0;
        case ATTR_PRINT_DATE: *value = s.printDate; return 0;
        case ATTR_PRINT_TIME: *value = s.printTime; return 0;
        default: return kErrBadAttr;
    }
}

int GetPrintAttribute(int attr, char *value, std::size_t capacity) {
    if (value && capacity) value[0] = '\0';
    switch (attr) {
        case ATTR_PRINTER_NAME:
            if (!printerPresent()) return kErrNoPrinter;
            if (ps().capture) return copyOut(std::string("capture"), value, capacity);
            return copyOut(QPrinterInfo::defaultPrinter().printerName(), value, capacity);
        case ATTR_PRINT_FONT_NAME: return copyOut(ps().fontName, value, capacity);
        default: return kErrBadAttr;
    }
}

int PrintTextBuffer(const char *text, const char *outputFile) {
    if (!text) return kErrNullArg;
    if (outputFile && *outputFile) {   // to a file instead of the printer
        QFile f(QString::fromUtf8(outputFile));
        if (!f.open(QIODevice::Append)) return kErrFileWrite;
        const qint64 n = static_cast<qint64>(std::strlen(text));
        return f.write(text, n) == n ? 0 : kErrFileWrite;
    }
    PrintState &s = ps();
    if (!printerPresent()) return kErrNoPrinter;
    if (s.capture) s.texts.emplace_back(text);
    s.pendingJob += QString::fromUtf8(text);
    return s.ejectAfter ? flushJob() : 0;
}

int PrintPanel(int panel, const char *outputFile, int scaling, int area, int interactive) {
    (void)area;
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    const bool toFile = outputFile && *outputFile;
    if (!toFile && !interactive && !printerPresent()) return kErrNoPrinter;
    if (interactive && !toFile) {
        bool go = false;
        {
            const ModalScope modal;
            go = rt::Agent().printDialog(p->widget->windowTitle().toStdString());
        }
        if (!go) return 0;   // cancelled
        p = findPanel(panel);
        if (!p) return kErrBadPanel;
    }
    if (ps().capture) {
        if (!ps().capturePresent && !toFile) return kErrNoPrinter;
        ++ps().panels;
        return 0;
    }
    for (auto &kv : p->ctrls)
        if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
    QPrinter &printer = sharedPrinter();
    if (toFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromUtf8(outputFile));
    } else if (!interactive) {
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
        printer.setOutputFileName(QString());
    }
    setupPrinter(printer);
    QPainter painter;
    if (!painter.begin(&printer)) return kErrPrint;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    drawStamps(painter, QRectF(0, 0, page.width(), page.height()));
    QWidget *w = p->widget;
    const double top = ps().printDate || ps().printTime ? painter.fontMetrics().height() * 1.5 : 0;
    double scale = printer.resolution() / double(std::max(1, w->logicalDpiX()));
    if (scaling == VAL_SCALE_TO_PAGE)
        scale = std::min(page.width() / std::max(1, w->width()), (page.height() - top) / std::max(1, w->height()));
    painter.translate(0, top);
    painter.scale(scale, scale);
    w->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return painter.end() ? 0 : kErrPrint;
}

const char *GetUILErrorString(int status) {
    switch (status) {
        case kErrNoRunTime: return "The user interface is not running";
        case kErrBadPanel: return "The panel handle is not valid";
        case kErrBadCtrl: return "The control does not exist on this panel";
        case kErrBadAttr: return "The attribute does not apply";
        case kErrBadType: return "The value has the wrong type";
        case kErrBadValue: return "The value is out of range";
        case kErrBadIndex: return "The index is out of range";
        case kErrIdTaken: return "The identifier is already in use";
        case kErrExists: return "The item exists already";
        case kErrNoResource: return "The resource does not exist";
        case kErrBuild: return "The panel could not be built";
        case kErrFileRead: return "The file cannot be read";
        case kErrFileWrite: return "The file cannot be written";
        case kErrStateMismatch: return "The saved state does not fit the panel";
        case kErrNoPrinter: return "No printer is installed";
        case kErrPrint: return "Printing failed";
        case kErrTooLong: return "The text does not fit";
        case kErrBadMenu: return "The menu or menu item does not exist";
        case kErrBadPlot: return "The plot does not exist";
        case kErrCancel: return "Cancelled by the user";
        case kErrNullArg: return "A required argument is missing";
        case kErrNoItem: return "No item has this value";
        default: return status < 0 ? "Unknown error" : "No error";
    }
}

namespace rt {

void CapturePrinting(bool on, bool printerPresent) {
    ps().capture = on;
    ps().capturePresent = printerPresent;
    ps().pendingJob.clear();
}

const std::vector<std::string> &PrintedTexts() { return ps().texts; }

int PrintedPanels() { return ps().panels; }

void ClearPrinted() {
    ps().texts.clear();
    ps().panels = 0;
    ps().pendingJob.clear();
}

}   // namespace rt
