// Reading PDF files back with poppler's own tools, as a reader would see them: the text
// (pdftotext), the page count and size (pdfinfo), and how much of a page is inked (pdftoppm).
#pragma once

#include <QImage>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// Standard output of a shell command; "" when it could not run.
inline std::string commandOutput(const std::string &command) {
    std::string out;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

inline std::string shellQuoted(const std::string &text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The text of a PDF laid out as on the page (pdftotext -layout); pages first..last, 0 = all.
inline std::string pdfText(const std::string &pdf, int first = 0, int last = 0) {
    std::string command = "pdftotext -layout";
    if (first > 0) command += " -f " + std::to_string(first) + " -l " + std::to_string(last);
    return commandOutput(command + " " + shellQuoted(pdf) + " - 2>/dev/null");
}

inline std::vector<std::string> textLines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// One line of pdfinfo ("Pages", "Page size"), "" when it is missing.
inline std::string pdfInfo(const std::string &pdf, const std::string &key) {
    for (const std::string &line : textLines(commandOutput("pdfinfo " + shellQuoted(pdf) + " 2>/dev/null")))
        if (line.rfind(key + ":", 0) == 0)
            return std::regex_replace(line.substr(key.size() + 1), std::regex("^ +"), "");
    return {};
}

inline int pdfPages(const std::string &pdf) {
    const std::string pages = pdfInfo(pdf, "Pages");
    return pages.empty() ? 0 : std::stoi(pages);
}

// Width and height of the first page in points.
inline bool pdfPageSize(const std::string &pdf, double &width, double &height) {
    std::smatch m;
    const std::string size = pdfInfo(pdf, "Page size");
    if (!std::regex_search(size, m, std::regex(R"(([0-9.]+) x ([0-9.]+) pts)"))) return false;
    width = std::stod(m[1]);
    height = std::stod(m[2]);
    return true;
}

// A page rendered at a low resolution (pdftoppm), null when it could not be rendered.
inline QImage pdfPageImage(const std::string &pdf, const std::string &pngBase, int page = 1) {
    const std::string p = std::to_string(page);
    commandOutput("pdftoppm -r 40 -png -singlefile -f " + p + " -l " + p + " " + shellQuoted(pdf) + " " +
                  shellQuoted(pngBase) + " 2>/dev/null");
    return QImage(QString::fromStdString(pngBase + ".png"));
}

// The share of pixels that are not (nearly) white, and their bounding box.
inline double inkShare(const QImage &image, QRect *box = nullptr) {
    if (image.isNull()) return 0;
    long inked = 0;
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 240 && c.green() > 240 && c.blue() > 240) continue;
            ++inked;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (box) *box = inked > 0 ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
    return double(inked) / (double(image.width()) * image.height());
}
