// Pages drawn from a plain description: a heading with a large coloured word beside it, facts
// as label and value in two columns, a chart of curves over time with bands across it and
// shaded stretches of time, tables and notes, and a footer. The caller says what the page
// holds; the run-time lays it out on one A4 portrait page (the chart takes the room the rest
// leaves, the type shrinks a little when the tables are long) and draws it into a PDF file,
// onto the printer or into a picture control as a preview. Nothing here knows what the page
// is about; no Qt type is seen by the caller.
//
// Conventions: colours are 0xRRGGBB; texts are UTF-8 and are drawn as text (a PDF stays
// searchable); x values of the chart are seconds from any origin the caller chooses.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rt {

// A curve of the chart; a NaN y leaves a gap in the line.
struct PageCurve {
    std::vector<double> x;
    std::vector<double> y;
    int color = 0;
    bool rightAxis = false;
    std::string name;   // shown in the legend; "" = not listed
};

// A band across the chart between two values of one axis (a zone beyond a threshold); an
// infinite end reaches the edge of the chart. Its finite ends are drawn as dashed lines.
struct PageBand {
    double from = 0;
    double to = 0;
    int color = 0;
    bool rightAxis = false;
};

// A stretch of time shaded over the chart's whole height.
struct PageSpan {
    double from = 0;
    double to = 0;
    int color = 0;
};

struct PageChart {
    double xFrom = 0, xTo = 0;                            // the time shown
    std::vector<std::pair<double, std::string>> xTicks;   // where and what the time axis says
    std::string leftName, rightName;                      // the axes' names ("" = none)
    std::vector<PageCurve> curves;
    std::vector<PageBand> bands;
    std::vector<PageSpan> spans;
};

struct PageTable {
    std::string caption;                          // above the table ("" = none)
    std::vector<std::string> header;              // the columns' headings
    std::vector<std::vector<std::string>> rows;   // as many cells as headings
    std::vector<int> rowColors;                   // text colour of each row (missing = black)
};

struct Page {
    std::string heading;
    std::string verdict;   // the large word at the top right
    int verdictColor = 0;
    std::vector<std::pair<std::string, std::string>> facts;   // label, value
    PageChart chart;
    std::vector<PageTable> tables;
    std::vector<std::string> notes;   // paragraphs below the tables, wrapped to the page
    std::string footer;               // small, at the bottom of the page
};

// Each page on a page of its own in one A4 portrait PDF at path, written through a temporary
// file that replaces the target only when every page went out. 0, or a negative run-time
// status (the file cannot be written).
int WritePagesPdf(const std::vector<Page> &pages, const char *path, const char *title);
// The pages on the printer, after the print dialog when interactive (and then what the user
// chose there). 0, a negative status (no printer, printing failed) or PRINT_STATUS_CANCELLED.
int PrintPagesToPrinter(const std::vector<Page> &pages, const char *title, int interactive);
// The page as a picture in a picture control, fitted into the control's size.
int ShowPagePreview(int panel, int ctrl, const Page &page);
// The page as a PNG picture at the resolution given (dots per inch). 0, or a negative status.
int WritePagePicture(const Page &page, const char *path, int dpi);

}   // namespace rt
