// Printing: texts laid out into pages and panel images, to the default printer or to a PDF
// file (the PDF target), the printer probe and the run-time's status texts.
//
// Paper and PDF share one page set-up: the same margins, the same print font, the same tab
// stops, page numbers and stamps; only the page size differs (the printer's paper, A4 or US
// Letter for a PDF after the locale). A PDF is written through a temporary file that replaces
// the target only when the job ends well, and its text stays text (searchable).
//
// Tests and tavix-cli route the printer into a capture: no printer is used, whether one is
// present is the capture's word, and every text printed is kept. A PDF target still writes
// its file with the capture on.
#include "runtime/agent.h"
#include "runtime/ui_internal.h"

#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <memory>

namespace rt::detail {
namespace {

constexpr double kMarginMm = 15.0;    // every side of every page
constexpr int kPdfResolution = 600;   // dots per inch of a PDF page
constexpr int kTabColumns = 8;        // character widths from one tab stop to the next

// Where a print goes while it runs: a PDF file, or the shared printer.
struct Target {
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPdfWriter> pdf;
    QPagedPaintDevice *device = nullptr;
    QPainter painter;
    bool active = false;
};

// ---------------------------------------------------------------- state of the printing

struct PrintState {
    int orientation = VAL_PORTRAIT;
    int ejectAfter = 1;
    std::string fontName = VAL_APP_META_FONT;
    int pointSize = 10;
    int numberPages = 1;
    int printDate = 0;
    int printTime = 0;
    std::string pdfFile;   // the PDF target, "" = the printer
    std::string heading;   // lines repeated at the top of every page after the first
    std::string title;     // the document's title
    bool capture = false;
    bool capturePresent = true;
    std::vector<std::string> texts;
    int panels = 0;
};

PrintState g_print;
// Made at first use: a printer needs the application object.
std::unique_ptr<QPrinter> g_printer;

// ---------------------------------------------------------------- the printer

QString defaultPrinterName() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) return info.printerName();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    return names.isEmpty() ? QString() : names.front();
}

bool printerPresent() {
    if (g_print.capture) return g_print.capturePresent;
    return !defaultPrinterName().isEmpty();
}

QPageLayout::Orientation orientation() {
    return g_print.orientation == VAL_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPageLayout pdfPageLayout() {
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), orientation(),
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// The shared printer set up for a print: the default printer with the print attributes. After
// the print dialog it stays as the user left it there (printer, orientation, a PDF file...).
void setUpPrinter(QPrinter &printer, bool dialogChose) {
    if (dialogChose) return;
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(defaultPrinterName());
    printer.setOutputFileName(QString());
    printer.setPageOrientation(orientation());
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

// ---------------------------------------------------------------- targets

// Open a print on the PDF file at path ("" = the printer). 0 or a negative status.
int openTarget(Target &t, const std::string &path, bool dialogChose) {
    if (!path.empty()) {
        t.file = std::make_unique<QSaveFile>(QString::fromUtf8(path.c_str()));
        if (!t.file->open(QIODevice::WriteOnly)) return kErrFileWrite;
        t.pdf = std::make_unique<QPdfWriter>(t.file.get());
        t.pdf->setResolution(kPdfResolution);
        t.pdf->setPageLayout(pdfPageLayout());
        t.pdf->setCreator(QStringLiteral("Tavix"));
        t.pdf->setTitle(QString::fromUtf8(g_print.title.c_str()));
        t.device = t.pdf.get();
    } else {
        QPrinter &printer = sharedPrinter();
        setUpPrinter(printer, dialogChose);
        printer.setDocName(QString::fromUtf8(g_print.title.c_str()));
        t.device = &printer;
    }
    if (!t.painter.begin(t.device)) {
        if (t.file) t.file->cancelWriting();
        return t.file ? kErrFileWrite : kErrPrint;
    }
    t.active = true;
    return 0;
}

// The device has refused something written to it so far.
bool targetFailed(const Target &t) {
    if (t.file) return t.file->error() != QFileDevice::NoError;
    return !t.painter.isActive();
}

// Close a print: the PDF replaces its target only when everything was written.
int closeTarget(Target &t) {
    if (!t.active) return 0;
    t.active = false;
    const bool ended = t.painter.end();
    int status = ended ? 0 : kErrPrint;
    if (t.file) status = ended && t.file->error() == QFileDevice::NoError && t.file->commit() ? 0 : kErrFileWrite;
    t.pdf.reset();
    t.file.reset();
    return status;
}

// Give a failed print up: nothing of a PDF reaches its target.
void abandonTarget(Target &t) {
    if (!t.active) return;
    t.active = false;
    if (t.file) t.file->cancelWriting();
    t.painter.end();
    t.pdf.reset();
    t.file.reset();
}

// The paintable area of a page in device pixels, from the painter's origin.
QRectF pageArea(const Target &t) {
    const QRect r = t.device->pageLayout().paintRectPixels(t.device->logicalDpiX());
    return QRectF(0, 0, r.width(), r.height());
}

// The date and time stamps at the top right of a page, when asked for, in the print font.
void drawStamps(QPainter &painter, const QRectF &page) {
    QString stamp;
    if (g_print.printDate) stamp += QString::fromLatin1(DateStr());
    if (g_print.printTime) {
        if (!stamp.isEmpty()) stamp += QLatin1Char(' ');
        stamp += QString::fromLatin1(TimeStr());
    }
    if (stamp.isEmpty()) return;
    painter.save();
    painter.setFont(resolveFont(g_print.fontName, g_print.pointSize));
    painter.drawText(page, Qt::AlignTop | Qt::AlignRight, stamp);
    painter.restore();
}

// ---------------------------------------------------------------- text jobs

// The texts of one job, drawn line by line as they come.
struct TextJob {
    Target target;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;   // of the font on the device
    double column = 0;                        // device pixels of one character column
    double ascent = 0;
    QRectF page;   // the paintable area
    QRectF body;   // where the lines go: the page without the bands of stamps and number
    double lineHeight = 0;
    double y = 0;   // top of the next line
    int pageNumber = 0;
    QString partial;   // the start of a line whose newline has not come yet
};

std::unique_ptr<TextJob> g_job;

// Begin the next page: stamps, its number, the first line at the top.
bool startPage(TextJob &j) {
    if (j.pageNumber > 0 && !j.target.device->newPage()) return false;
    ++j.pageNumber;
    drawStamps(j.target.painter, j.page);
    if (g_print.numberPages)
        j.target.painter.drawText(j.page, Qt::AlignBottom | Qt::AlignHCenter, QString::number(j.pageNumber));
    j.y = j.body.top();
    return true;
}

bool drawLine(TextJob &j, const QString &line);

// The heading lines at the top of a page after the first (the lines of the job go on below).
bool drawHeading(TextJob &j) {
    if (j.pageNumber <= 1 || g_print.heading.empty()) return true;
    const QStringList lines = QString::fromUtf8(g_print.heading.c_str()).split(QLatin1Char('\n'));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k == lines.size() - 1 && lines[k].isEmpty()) break;   // the text's last newline
        if (!drawLine(j, lines[k])) return false;
    }
    return true;
}

int openJob() {
    auto j = std::make_unique<TextJob>();
    if (const int status = openTarget(j->target, g_print.pdfFile, false)) return status;
    j->font = resolveFont(g_print.fontName, g_print.pointSize);
    // no ligatures: "fi" stays two letters that a search in the PDF finds
    j->font.setStyleStrategy(QFont::StyleStrategy(j->font.styleStrategy() | QFont::PreferNoShaping));
    j->target.painter.setFont(j->font);
    j->metrics = std::make_unique<QFontMetricsF>(j->font, j->target.device);
    j->lineHeight = j->metrics->lineSpacing();
    j->ascent = j->metrics->ascent();
    j->column = j->metrics->horizontalAdvance(QLatin1Char('0'));
    j->page = pageArea(j->target);
    const double top = g_print.printDate || g_print.printTime ? 1.5 * j->lineHeight : 0;
    const double bottom = g_print.numberPages ? 1.5 * j->lineHeight : 0;
    j->body = j->page.adjusted(0, top, 0, -bottom);
    if (!startPage(*j)) {
        abandonTarget(j->target);
        return kErrPrint;
    }
    g_job = std::move(j);
    return 0;
}

// The words of a line at their places, laid out in character columns as on a typewriter: a
// blank is one column, a tab goes on to the next stop, and each word starts at its column (a
// column is a digit's width, so that numbers padded with blanks line up on their right as they
// do in a fixed-width font). Returns where the last word ends.
double layOutLine(const TextJob &j, const QString &line, std::vector<std::pair<double, QString>> &words) {
    double end = 0;
    qsizetype column = 0;
    for (qsizetype i = 0; i < line.size();) {
        const QChar c = line[i];
        if (c == QLatin1Char(' ')) {
            ++column, ++i;
        } else if (c == QLatin1Char('\t')) {
            column = (column / kTabColumns + 1) * kTabColumns, ++i;
        } else {
            qsizetype stop = i;
            while (stop < line.size() && line[stop] != QLatin1Char(' ') && line[stop] != QLatin1Char('\t')) ++stop;
            words.emplace_back(column * j.column, line.mid(i, stop - i));
            end = words.back().first + j.metrics->horizontalAdvance(words.back().second);
            column += stop - i;
            i = stop;
        }
    }
    return end;
}

// One line at the next place of the page (on a new page when this one is full). A line wider
// than the page is narrowed to fit rather than cut.
bool drawLine(TextJob &j, const QString &line) {
    if (j.y + j.lineHeight > j.body.bottom() + 0.5 && j.y > j.body.top() && (!startPage(j) || !drawHeading(j)))
        return false;
    std::vector<std::pair<double, QString>> words;
    const double end = layOutLine(j, line, words);
    QPainter &painter = j.target.painter;
    painter.save();
    painter.translate(j.body.left(), j.y + j.ascent);
    if (end > j.body.width()) painter.scale(j.body.width() / end, 1.0);
    for (const auto &[x, word] : words) painter.drawText(QPointF(x, 0), word);
    painter.restore();
    j.y += j.lineHeight;
    return !targetFailed(j.target);
}

void abandonJob() {
    if (!g_job) return;
    abandonTarget(g_job->target);
    g_job.reset();
}

// Draw the complete lines of a text; a rest without its newline waits for the next text.
int addToJob(const char *text) {
    TextJob &j = *g_job;
    QString all = j.partial + QString::fromUtf8(text);
    qsizetype start = 0;
    for (qsizetype nl = all.indexOf(QLatin1Char('\n')); nl >= 0; nl = all.indexOf(QLatin1Char('\n'), start)) {
        if (!drawLine(j, all.mid(start, nl - start))) {
            const int status = j.target.file ? kErrFileWrite : kErrPrint;
            abandonJob();
            return status;
        }
        start = nl + 1;
    }
    j.partial = all.mid(start);
    return 0;
}

// The page eject: the job's last page goes out (a PDF replaces its target).
int endJob() {
    if (!g_job) return 0;
    if (!g_job->partial.isEmpty() && !drawLine(*g_job, g_job->partial)) {
        const int status = g_job->target.file ? kErrFileWrite : kErrPrint;
        abandonJob();
        return status;
    }
    const bool pdf = g_job->target.file != nullptr;
    const int status = closeTarget(g_job->target);
    g_job.reset();
    return status < 0 && !pdf ? kErrPrint : status;
}

// ---------------------------------------------------------------- panels

// Lay the panel's window out on the page: its own size (shrunk when larger than the page) or
// as large as the page allows, below the stamps.
int drawPanel(Target &t, QWidget *w, int scaling) {
    const QRectF page = pageArea(t);
    drawStamps(t.painter, page);
    const QFontMetricsF stamp(resolveFont(g_print.fontName, g_print.pointSize), t.device);
    const double top = g_print.printDate || g_print.printTime ? 1.5 * stamp.lineSpacing() : 0;
    const double fit =
        std::min(page.width() / std::max(1, w->width()), (page.height() - top) / std::max(1, w->height()));
    double scale = t.device->logicalDpiX() / double(std::max(1, w->logicalDpiX()));
    if (scaling == VAL_SCALE_TO_PAGE || scale > fit) scale = fit;
    t.painter.translate(0, top);
    t.painter.scale(scale, scale);
    w->render(&t.painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return targetFailed(t) ? kErrPrint : 0;
}

// The print dialog for a panel: 0 = go on, or the PRINT_STATUS that ends the print.
int askPrintDialog(const Panel &p) {
    setUpPrinter(sharedPrinter(), false);
    PrintPages pages;
    bool go = false;
    {
        const ModalScope modal;
        go = rt::Agent().printDialog(p.widget->windowTitle().toStdString(), pages);
    }
    if (!go) return PRINT_STATUS_CANCELLED;
    // the window is one page: a range that starts later leaves it out
    return pages.from > 1 ? PRINT_STATUS_PAGES_LEFT_OUT : 0;
}

}   // namespace

QPrinter &sharedPrinter() {
    if (!g_printer) g_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *g_printer;
}

void closePrinting() {
    endJob();
    g_printer.reset();
}

bool printerAvailable() { return printerPresent(); }

bool printCaptured() { return g_print.capture; }

void countCapturedPrint() { ++g_print.panels; }

}   // namespace rt::detail

using namespace rt::detail;

// ---------------------------------------------------------------- attributes

int SetPrintAttribute(int attr, int value) {
    PrintState &s = g_print;
    switch (attr) {
        case ATTR_ORIENTATION:
            if (value != VAL_PORTRAIT && value != VAL_LANDSCAPE) return kErrBadValue;
            s.orientation = value;
            return 0;
        case ATTR_EJECT_AFTER:
            s.ejectAfter = value ? 1 : 0;
            return s.ejectAfter ? endJob() : 0;   // switching the eject back on ends the job
        case ATTR_PRINT_POINT_SIZE:
            if (value <= 0) return kErrBadValue;
            s.pointSize = value;
            return 0;
        case ATTR_NUMBER_PAGES: s.numberPages = value ? 1 : 0; return 0;
        case ATTR_PRINT_DATE: s.printDate = value ? 1 : 0; return 0;
        case ATTR_PRINT_TIME: s.printTime = value ? 1 : 0; return 0;
        case ATTR_PRINTER_NAME:
        case ATTR_PRINT_FONT_NAME:
        case ATTR_PRINT_PDF_FILE:
        case ATTR_PAGE_HEADING:
        case ATTR_PRINT_TITLE: return kErrBadType;
        default: return kErrBadAttr;
    }
}

int SetPrintAttribute(int attr, const char *value) {
    if (!value) return kErrNullArg;
    switch (attr) {
        case ATTR_PRINT_FONT_NAME: g_print.fontName = value; return 0;
        case ATTR_PRINT_PDF_FILE: {
            // a job that is still open goes out where it began
            const int status = endJob();
            g_print.pdfFile = value;
            return status;
        }
        case ATTR_PAGE_HEADING: g_print.heading = value; return 0;
        case ATTR_PRINT_TITLE: g_print.title = value; return 0;
        case ATTR_PRINTER_NAME: return kErrBadAttr;   // the default printer is used
        default: return kErrBadType;
    }
}

int GetPrintAttribute(int attr, int *value) {
    if (!value) return kErrNullArg;
    const PrintState &s = g_print;
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
            // the probe: a PDF target stands in for the printer
            if (!g_print.pdfFile.empty()) return copyOut(g_print.pdfFile, value, capacity);
            if (!printerPresent()) return kErrNoPrinter;
            if (g_print.capture) return copyOut(std::string("capture"), value, capacity);
            return copyOut(defaultPrinterName(), value, capacity);
        case ATTR_PRINT_FONT_NAME: return copyOut(g_print.fontName, value, capacity);
        case ATTR_PRINT_PDF_FILE: return copyOut(g_print.pdfFile, value, capacity);
        case ATTR_PAGE_HEADING: return copyOut(g_print.heading, value, capacity);
        case ATTR_PRINT_TITLE: return copyOut(g_print.title, value, capacity);
        default: return kErrBadAttr;
    }
}

// ---------------------------------------------------------------- printing

int PrintTextBuffer(const char *text, const char *outputFile) {
    if (!text) return kErrNullArg;
    if (outputFile && *outputFile) {   // to a file instead of the printer
        QFile f(QString::fromUtf8(outputFile));
        if (!f.open(QIODevice::Append)) return kErrFileWrite;
        const qint64 n = static_cast<qint64>(std::strlen(text));
        return f.write(text, n) == n ? 0 : kErrFileWrite;
    }
    PrintState &s = g_print;
    if (s.pdfFile.empty()) {
        if (!printerPresent()) return kErrNoPrinter;
        if (s.capture) {
            s.texts.emplace_back(text);
            return 0;
        }
    }
    if (!g_job)
        if (const int status = openJob()) return status;
    if (const int status = addToJob(text)) return status;
    if (s.capture) s.texts.emplace_back(text);
    return s.ejectAfter ? endJob() : 0;
}

int PrintPanel(int panel, const char *outputFile, int scaling, int area, int interactive) {
    (void)area;   // a panel is always printed whole
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    const std::string pdf = outputFile && *outputFile ? std::string(outputFile) : g_print.pdfFile;
    const bool toPrinter = pdf.empty();
    if (toPrinter && !printerPresent()) return kErrNoPrinter;
    if (toPrinter && interactive) {
        if (const int status = askPrintDialog(*p)) return status;
        p = findPanel(panel);   // the dialog ran the event loop
        if (!p) return kErrBadPanel;
    }
    if (toPrinter && g_print.capture) {
        ++g_print.panels;
        return 0;
    }
    for (auto &kv : p->ctrls)
        if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
    Target target;
    if (const int status = openTarget(target, pdf, toPrinter && interactive)) return status;
    if (const int status = drawPanel(target, p->widget, scaling)) {
        abandonTarget(target);
        return status;
    }
    return closeTarget(target);
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
        case PRINT_STATUS_PAGES_LEFT_OUT: return "The pages chosen leave the window out";
        case PRINT_STATUS_CANCELLED: return "Printing was cancelled";
        default: return status < 0 ? "Unknown error" : "No error";
    }
}

// ---------------------------------------------------------------- the capture

namespace rt {

void CapturePrinting(bool on, bool printerPresent) {
    abandonJob();
    g_print.capture = on;
    g_print.capturePresent = printerPresent;
}

const std::vector<std::string> &PrintedTexts() { return g_print.texts; }

int PrintedPanels() { return g_print.panels; }

void ClearPrinted() {
    abandonJob();
    g_print.texts.clear();
    g_print.panels = 0;
}

}   // namespace rt
