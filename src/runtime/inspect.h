// Read-back and event injection for tests and the command-line tool: what a user would
// see (plots and their data, axis state, cursor positions, printed text) and what a user
// would do (a click, a typed value, a cursor drag, a menu choice, a timer tick).
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace rt {

struct PlotInfo {
    int handle = 0;
    int kind = 0;        // PLOT_CURVE, PLOT_POINT, PLOT_TEXT, PLOT_BARS
    int axis = 0;        // VAL_LEFT_YAXIS or VAL_RIGHT_YAXIS
    int color = 0;       // RGB (text colour for texts)
    int plotStyle = 0;   // VAL_CONNECTED_POINTS, ...
    int pointStyle = 0;
    int lineStyle = 0;
    std::vector<double> x;   // one entry for points and texts
    std::vector<double> y;
    std::string text;   // texts
    std::string font;   // texts
    int bgColor = 0;    // texts
};
enum { PLOT_CURVE = 1, PLOT_POINT = 2, PLOT_TEXT = 3, PLOT_BARS = 4 };

// The plots a graph holds, in the order they were made.
std::vector<PlotInfo> GraphPlots(int panel, int ctrl);

// The legend a graph shows: one entry per labelled curve, in the order the curves were made
// (the curve's label text and colour); empty while the graph shows no legend.
struct LegendEntry {
    std::string text;
    int color = 0;
};
std::vector<LegendEntry> GraphLegend(int panel, int ctrl);

struct AxisInfo {
    int mode = 0;              // VAL_AUTOSCALE or VAL_MANUAL
    double min = 0, max = 0;   // the range requested for a manual axis, the shown range otherwise
    std::string name;
    bool nameVisible = true;
    bool labelsVisible = true;
    std::vector<std::pair<double, std::string>> items;   // label strings (x axis)
};
// axis: VAL_LEFT_YAXIS, VAL_RIGHT_YAXIS or VAL_XAXIS
AxisInfo GraphAxis(int panel, int ctrl, int axis);

// Send an event to a control's or a panel's callback, as the user's action would.
int FireCtrlEvent(int panel, int ctrl, int event, int eventData1 = 0, int eventData2 = 0);
int FirePanelEvent(int panel, int event, int eventData1 = 0, int eventData2 = 0);
// Choose a menu item (runs its callback).
void FireMenuItem(int menuBar, int itemId, int panel);
// What the next RunPopupMenu answers without showing anything (-1 = show the menu).
void SetPopupMenuAnswer(int itemId);

// True while the panel is shown.
bool PanelVisible(int panel);
// Panel handles loaded now.
std::vector<int> LoadedPanels();
// Control ids of a panel in the order they were made.
std::vector<int> PanelControls(int panel);
// The kind (CtrlKind) of a control; 0 when it does not exist.
int CtrlKindOf(int panel, int ctrl);
// The widget of a control, for tests that send it the toolkit's own input events (wheel,
// mouse, keys); nullptr when the control does not exist or has none (timers).
QWidget *CtrlWidget(int panel, int ctrl);

// The keyboard shortcuts of a window in the order they were bound: the keys in the toolkit's
// portable text ("Ctrl+O") and the control they click (0 for a procedure).
struct ShortcutInfo {
    std::string keys;
    int ctrl = 0;
};
std::vector<ShortcutInfo> PanelShortcuts(int panel);

// Printing: send everything to a capture instead of a printer ("" = the real printer).
// With capture on, whether a printer is present is printerPresent's word; when it is, the
// printer name is "capture" and PrintTextBuffer/PrintPanel succeed without printing. A PDF
// target (ATTR_PRINT_PDF_FILE) is still written. Switching the capture gives up an open job.
void CapturePrinting(bool on, bool printerPresent = true);
// The texts printed while capturing (to the capture or a PDF target), one entry per
// PrintTextBuffer call, and the panel prints that went to the capture.
const std::vector<std::string> &PrintedTexts();
int PrintedPanels();
void ClearPrinted();

// QuitUserInterface called outside the event loop: true until RunUserInterface has run
// (which then returns at once with the code) or the request is cleared.
bool QuitPending(int *code = nullptr);
void ClearQuitRequest();

// Save a picture of a panel (PNG) as it is drawn now; 0 = ok.
int SavePanelImage(int panel, const char *pngFile);
// Save a picture of one graph control (PNG) at the given size; 0 = ok.
int SaveGraphImage(int panel, int ctrl, const char *pngFile, int width, int height);
// The same as a PDF page of that size in points, in vector graphics (text stays text); 0 = ok.
int SaveGraphPdf(int panel, int ctrl, const char *pdfFile, int width, int height);
// The graph on an A4 landscape PDF page below a heading (lines split at '\n', as text), drawn
// at width x height pixels and scaled to fill the page; 0 = ok.
int SaveGraphPdfPage(int panel, int ctrl, const char *pdfFile, const char *heading, int width, int height);
// Redraw a graph now (drawing and painting), as the event loop would after a batch of
// changes, instead of at the next turn of the loop (benchmarks); 0 = ok.
int ReplotNow(int panel, int ctrl);

}   // namespace rt
