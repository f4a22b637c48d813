// tavix-docs: the build steps that make the shipped documents with Qt alone.
//   tavix-docs manual MANUAL.md PICTURE_DIR OUT.pdf
//       lays the Markdown manual out with Qt's text layout and writes it as a PDF (A4, real
//       text); pictures named relative to the manual are read from PICTURE_DIR and shrunk to
//       the width of the page
//   tavix-docs icons LOGO OUT_DIR
//       the program's icon in the usual sizes, OUT_DIR/<size>x<size>/tavix.png: the logo
//       centred on a square, transparent canvas
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
// QTextDocument::print lays the pages out in pixels of 96 dpi, with margins of 2 cm.
constexpr int kLayoutDpi = 96;
constexpr double kPrintMarginPx = 20 / 25.4 * kLayoutDpi;
constexpr double kCodePointSize = 8.5;
constexpr int kResolution = 300;   // dots per inch of the PDF's layout
constexpr double kBodyPointSize = 10.5;
constexpr double kNoLigatureSpacing = 0.05;

// Load every picture the manual names and limit its shown width to the page's.
bool addPictures(QTextDocument &doc, const QString &pictureDir, double pageWidth) {
    bool ok = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString name = format.name();
            const QImage image(pictureDir + "/" + QFileInfo(name).fileName());
            if (image.isNull()) {
                std::fprintf(stderr, "tavix-docs: no picture %s in %s\n", qPrintable(name), qPrintable(pictureDir));
                ok = false;
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
            const double width = image.width() > pageWidth ? pageWidth : image.width();
            format.setWidth(width);
            format.setHeight(image.height() * width / image.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return ok;
}

// Code blocks in a smaller type, so that a command line fits the width of the page.
void shrinkCode(QTextDocument &doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!block.blockFormat().hasProperty(QTextFormat::BlockCodeFence)) continue;
        QTextCharFormat format;
        format.setFontPointSize(kCodePointSize);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
}

int manual(const char *markdownFile, const char *pictureDir, const char *pdfFile) {
    QFile in(QString::fromLocal8Bit(markdownFile));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tavix-docs: cannot read %s\n", markdownFile);
        return 1;
    }
    QPdfWriter writer(QString::fromLocal8Bit(pdfFile));
    writer.setResolution(kResolution);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Tavix user manual"));
    writer.setCreator(QStringLiteral("Tavix"));

    QTextDocument doc;
    QFont font = doc.defaultFont();
    font.setPointSizeF(kBodyPointSize);
    // Any letter spacing switches the ligatures off, so that "fi" stays two letters in the
    // PDF's text and searching it finds "file".
    font.setLetterSpacing(QFont::AbsoluteSpacing, kNoLigatureSpacing);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromUtf8(in.readAll()));
    // pictures keep their pixel size up to the text width
    const double pageWidth = writer.pageLayout().paintRectPixels(kLayoutDpi).width() - 2 * kPrintMarginPx;
    shrinkCode(doc);
    if (!addPictures(doc, QString::fromLocal8Bit(pictureDir), pageWidth)) return 1;
    doc.print(&writer);
    return QFileInfo(QString::fromLocal8Bit(pdfFile)).size() > 0 ? 0 : 1;
}

int icons(const char *logoFile, const char *outDir) {
    const QImage logo(QString::fromLocal8Bit(logoFile));
    if (logo.isNull()) {
        std::fprintf(stderr, "tavix-docs: cannot read %s\n", logoFile);
        return 1;
    }
    for (const int size : kIconSizes) {
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        const QImage scaled = logo.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter painter(&icon);
        painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
        painter.end();
        const QString dir = QString::fromLocal8Bit(outDir) + QStringLiteral("/%1x%1").arg(size);
        if (!QDir().mkpath(dir) || !icon.save(dir + "/tavix.png", "PNG")) {
            std::fprintf(stderr, "tavix-docs: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}

}   // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "manual") == 0) return manual(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "icons") == 0) return icons(argv[2], argv[3]);
    std::fprintf(stderr, "usage: tavix-docs manual MANUAL.md PICTURE_DIR OUT.pdf | icons LOGO OUT_DIR\n");
    return 2;
}
