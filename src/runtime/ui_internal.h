// Private parts of the user-interface run-time shared by its source files.
// Nothing outside runtime/ includes this header.
#pragma once

#include "runtime/inspect.h"
#include "runtime/ui.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPrinter;
class QShortcut;
class QTimer;

namespace rt::detail {

// Negative statuses of the run-time (GetUILErrorString gives their texts).
enum UiError : int {
    kErrNoRunTime = -1,
    kErrBadPanel = -2,
    kErrBadCtrl = -3,
    kErrBadAttr = -4,
    kErrBadType = -5,
    kErrBadValue = -6,
    kErrBadIndex = -7,
    kErrIdTaken = -8,
    kErrExists = -9,   // MakeDir: the folder exists already
    kErrNoResource = -10,
    kErrBuild = -11,
    kErrFileRead = -12,
    kErrFileWrite = -13,
    kErrStateMismatch = -14,
    kErrNoPrinter = -15,
    kErrPrint = -16,
    kErrTooLong = -17,
    kErrBadMenu = -18,
    kErrBadPlot = -19,
    kErrCancel = -20,
    kErrNullArg = -21,
    kErrNoItem = -22,
};

// A value or attribute in one of the three types the API passes.
struct Value {
    enum Type { Int, Double, Text } type = Int;
    long long i = 0;
    double d = 0;
    QString s;

    static Value ofInt(long long v) {
        Value r;
        r.type = Int;
        r.i = v;
        r.d = static_cast<double>(v);
        return r;
    }
    static Value ofDouble(double v) {
        Value r;
        r.type = Double;
        r.d = v;
        return r;
    }
    static Value ofText(const QString &v) {
        Value r;
        r.type = Text;
        r.s = v;
        return r;
    }
    bool isNumber() const { return type != Text; }
    double num() const { return type == Int ? static_cast<double>(i) : d; }
    int toInt() const;   // rounded and clamped to the int range
};

struct RingItem {
    QString label;
    int value = 0;
};

struct Ctrl {
    int id = 0;
    CtrlKind kind = CTRL_NUMERIC;
    int panel = 0;
    QWidget *widget = nullptr;   // null for timers
    QLabel *caption = nullptr;   // the label shown beside the control (kinds with a caption)
    CtrlCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    CtrlCallbackPtr captionCallback = nullptr;   // a left click on the caption
    void *captionCallbackData = nullptr;

    QString label;
    // values
    int ival = 0;
    double dval = 0;
    QString text;
    double minV = 0, maxV = 0;
    int precision = 2;
    std::vector<RingItem> items;
    int ringIndex = -1;
    QString onText = QStringLiteral("On");
    QString offText = QStringLiteral("Off");
    // appearance
    int textColor = 0x000000;
    int bgColor = 0xFFFFFF;
    int frameColor = 0x000000;
    std::string fontName = VAL_APP_META_FONT;
    int pointSize = 0;
    int mode = VAL_HOT;
    bool dimmed = false;
    bool visible = true;
    int maxEntryLength = -1;
    int cellType = VAL_CELL_STRING;
    int cellJustify = 0;
    int tableRunState = 0;
    // timer
    QTimer *timer = nullptr;
    double interval = 1.0;
    bool enabled = true;
    // event bookkeeping
    bool focused = false;
    bool editedSinceCommit = false;
    bool hasPixmap = false;
    bool placed = false;   // in a grid of the panel (ui_layout.cpp)
};

// A key sequence bound to a window (ui_shortcuts.cpp): it clicks a control or runs a procedure.
struct ShortcutRec {
    QString keys;   // portable text
    int ctrl = 0;   // 0: the procedure below
    ShortcutCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    QShortcut *shortcut = nullptr;   // owned by the panel's widget
};

struct Panel {
    int handle = 0;
    int resource = 0;
    int parent = 0;
    QWidget *widget = nullptr;
    std::map<int, std::unique_ptr<Ctrl>> ctrls;
    std::vector<int> order;
    PanelCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    int backColor = -1;
    bool dimmed = false;
    int menuBar = 0;               // attached menu bar handle
    QSize minSize;                 // SetPanelMinimumSize
    bool placedOnScreen = false;   // its remembered or centred place applied (ui_geometry.cpp)
    std::vector<ShortcutRec> shortcuts;
};

// A panel layout that LoadPanel builds (RegisterPanelResource).
struct Resource {
    QString title;
    int width = -1;   // negative: the panel is sized to its controls
    int height = -1;
    PanelBuilder build = nullptr;
};

// The state of the run-time, one instance (ui_runtime.cpp).
struct RunTimeState {
    std::map<int, std::unique_ptr<Panel>> panels;
    std::map<int, Resource> resources;
    int nextPanel = 1;
    int dispatchDepth = 0;
    int modalDepth = 0;
    // Windows of panels discarded while a callback or a pop-up was running: deleted once every
    // callback has returned, never under one that is still on the stack.
    std::vector<QPointer<QWidget>> doomed;
    int loopDepth = 0;   // RunUserInterface running
    bool quitPending = false;
    int quitCode = 0;
    std::string geometryFile;   // UseWindowGeometryFile; empty = none
    int mainPanel = 0;
    std::map<int, QRect> geometry;   // by resource
};
RunTimeState &st();

// Registry
Panel *findPanel(int handle);
// 0 with both pointers set, or kErrBadPanel / kErrBadCtrl.
int lookup(int panel, int ctrl, Panel *&p, Ctrl *&c);
// Same, and the control must be of the kind given.
int lookupKind(int panel, int ctrl, CtrlKind kind, Panel *&p, Ctrl *&c);
std::vector<Panel *> allPanels();

// Event delivery (every callback of the run-time goes through these).
int fireCtrl(int panel, int ctrl, int event, int eventData1, int eventData2);
int firePanel(int panel, int event, int eventData1, int eventData2);
// Hand wheel and drag input on a graph widget to its control callback.
void graphInstallInput(QWidget *graph, int panel, int ctrl);
int dispatchDepth();
// The window of a discarded panel: deleted now, or (a callback or a pop-up is running) hidden
// and deleted once the last of them has returned.
void destroyPanelWidget(QWidget *w);
// A pop-up is open: what the user does to the windows behind it (a button pressed through the
// accessibility interface, a key, a menu item, a close box) reaches no callback, as a modal
// pop-up promises. The callback running under the pop-up thus never sees its window change.
bool heldByPopup();
// Marks a callback running (a panel discarded meanwhile is deleted later, not under it).
struct DispatchScope {
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope &) = delete;
    DispatchScope &operator=(const DispatchScope &) = delete;
};

// Modal pop-ups running now (timer ticks are held back meanwhile so that callbacks never overlap).
int modalDepth();
struct ModalScope {
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope &) = delete;
    ModalScope &operator=(const ModalScope &) = delete;
};

// Helpers
QColor toQColor(int rgb);
int fromQColor(const QColor &c);
// Text drawn in a colour the program chose (a curve's label, a marked table cell) must read
// well on white: the contrast ratio it keeps at least, the ratio of a colour against white,
// and the colour itself or, when too light, a darker shade of it.
constexpr double kReadableContrast = 4.5;
double contrastOnWhite(int rgb);
QColor readableTextColor(int rgb);
// A font by family or meta-font name; pointSize <= 0 keeps the font's size.
QFont resolveFont(const std::string &name, int pointSize);
// Copy UTF-8 text into a caller's buffer, cut (on a character boundary) to the capacity.
// kErrNullArg when there is no buffer; 0 otherwise.
int copyOut(const QString &text, char *out, std::size_t capacity);
int copyOut(const std::string &text, char *out, std::size_t capacity);
QString fromUtf8(const char *s);
bool appReady();
// The widget that a control's events are delivered from (itself and its children).
void watchWidget(QWidget *w, int panel, int ctrl);

// The range of a real numeric control: plus or minus this.
constexpr double kRealLimit = 1e15;

// Showing a control's model in its widget (ui_widgets.cpp); no callback runs.
void applyColors(Ctrl &c);
void applyFont(Ctrl &c);
void applyMode(Ctrl &c);
// Panel layouts (ui_layout.cpp): size a panel that has a grid to fit it (at load and show).
void fitPanelToGrid(Panel &p, bool initial);
// A placed control's minimum: the size given, and never less than its own content needs.
void setPlacedMinimum(Ctrl &c, QSize size);
// Window geometry (ui_geometry.cpp): keep a shown panel's place; give a panel its place
// before it is first shown.
void rememberGeometry(Panel &p);
void placeOnScreen(Panel &p);
// A control's rectangle in panel coordinates.
QRect ctrlRectInPanel(const Ctrl &c);
// The caption's text and place: above the control, or to its left when there is no room.
void placeCaption(Ctrl &c);
// A colour control's swatch shows its value.
void colorSwatch(Ctrl &c);
// Show the model value of a control in its widget.
void refreshWidget(Ctrl &c);
// A progress bar (ui_progress.cpp): its widget, and its value, maximum and text shown.
QWidget *makeProgressBar(QWidget *parent);
void refreshProgressBar(Ctrl &c);

// Values of controls (ui_values.cpp). setValue shows the value taken; kErrBadType when the
// value has the wrong type for the control, kErrNoItem when a ring has no such value.
int setValue(Ctrl &c, const Value &v);
int getValue(const Ctrl &c, Value &v);
// Hand a value or attribute out: the status given when it is not 0, kErrNullArg without
// a place to write, kErrBadType when the value has another type; 0 otherwise.
int toIntOut(int status, const Value &v, int *out);
int toDoubleOut(int status, const Value &v, double *out);
int toTextOut(int status, const Value &v, char *out, std::size_t capacity);

// Graph controls (ui_graph.cpp)
QWidget *graphCreate(QWidget *parent, int panel, int ctrl);
bool isGraphAttr(int attr);
int graphSetAttr(Ctrl &c, int attr, const Value &v);
int graphGetAttr(Ctrl &c, int attr, Value &v);
// Draw a pending replot now.
void graphFlush(Ctrl &c);

// Table controls (ui_table.cpp)
QWidget *tableCreate(QWidget *parent);
bool isTableAttr(int attr);
int tableSetAttr(Ctrl &c, int attr, const Value &v);
int tableGetAttr(Ctrl &c, int attr, Value &v);

// Menu bars (ui_menu.cpp)
void discardMenuBarsOf(int panel);
void discardAllMenuBars();

// Printing (ui_print.cpp): the printer the print dialog configures and panel prints use.
QPrinter &sharedPrinter();
// At the run-time's end: a text job still open goes out, the printer is released.
void closePrinting();
// For pages printed by page.cpp: whether a printer is there (the capture's word while it is
// on), whether prints go to the capture, and a page print counted by it (PrintedPanels).
bool printerAvailable();
bool printCaptured();
void countCapturedPrint();

}   // namespace rt::detail
