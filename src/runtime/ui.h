// The user-interface run-time: windows (panels), controls, graphs, tables, menus,
// pop-ups, printing and the event loop, offered as plain functions over integer
// handles. It is built on Qt Widgets and QCustomPlot; nothing outside runtime/ sees Qt.
//
// Conventions
// - Panels, menu bars, plots: positive integer handles; a negative result is a failure.
// - Controls: integer ids chosen by the layout (panels/Controls.h), unique within a panel.
// - Colours: 24-bit RGB integers 0xRRGGBB.
// - Every text copied out of the run-time is bounded by the caller's capacity.
// - All calls are made on the event-loop thread.
#pragma once

#include <cstddef>

// ---------------------------------------------------------------- events
enum {
    EVENT_NONE = 0,
    EVENT_COMMIT = 1,
    EVENT_VAL_CHANGED = 2,
    EVENT_LEFT_CLICK = 3,
    EVENT_LEFT_DOUBLE_CLICK = 4,
    EVENT_RIGHT_CLICK = 5,   // eventData1 = mouse y (top), eventData2 = mouse x (left), panel coordinates
    EVENT_RIGHT_DOUBLE_CLICK = 6,
    EVENT_GOT_FOCUS = 7,
    EVENT_LOST_FOCUS = 8,
    EVENT_CLOSE = 9,   // panel callback: the window's close box
    EVENT_TIMER_TICK = 10,
    EVENT_DISCARD = 11,
    EVENT_PANEL_SIZE = 12,
    // graphs: eventData1 = wheel steps (positive away from the user), eventData2 = x-axis value
    // under the pointer (rounded)
    EVENT_MOUSE_WHEEL = 13,
    // graphs, a drag with the middle button or Shift + left: eventData1 = x-axis units the
    // content was pulled to the right since the last event, eventData2 = x-axis value under the pointer
    EVENT_MOUSE_DRAG = 14,
};

// Control callback: (panel, control, event, callbackData, eventData1, eventData2) -> 0.
using CtrlCallbackPtr = int (*)(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Panel callback: (panel, event, callbackData, eventData1, eventData2) -> 0.
using PanelCallbackPtr = int (*)(int panel, int event, void *callbackData, int eventData1, int eventData2);
// Menu callback: (menu bar, menu item, callbackData, panel).
using MenuCallbackPtr = void (*)(int menuBar, int menuItem, void *callbackData, int panel);

// ---------------------------------------------------------------- control kinds
enum CtrlKind {
    CTRL_NUMERIC = 1,      // integer field (up/down arrows); value int
    CTRL_NUMERIC_REAL,     // real field; value double (ATTR_PRECISION decimals shown)
    CTRL_STRING,           // one-line text field; value text
    CTRL_TEXT_MSG,         // text message (static text); value text
    CTRL_TEXT_BOX,         // multi-line text box; value text
    CTRL_RING,             // pop-up list of items, each a label and an integer value; value = item value
    CTRL_BINARY_SWITCH,    // two-state switch with an off text and an on text; value 0 or 1
    CTRL_COMMAND_BUTTON,   // push button; EVENT_COMMIT on click
    CTRL_COLOR_NUM,        // colour selector; value RGB int
    CTRL_PICTURE,          // picture (DisplayImageFile)
    CTRL_GRAPH,            // x/y graph with left and right y axes and cursors
    CTRL_TABLE,            // table of cells
    CTRL_TIMER,            // invisible timer; EVENT_TIMER_TICK every ATTR_INTERVAL seconds
    CTRL_DECORATION,       // frame around a group of controls (no value)
    CTRL_PROGRESS_BAR,     // progress bar; value int from 0 to ATTR_MAX_VALUE, its text is ATTR_LABEL_TEXT
};

// ---------------------------------------------------------------- attributes
enum CtrlAttr {
    // common (controls)
    ATTR_DIMMED = 1,        // int 0/1: greyed out, no input
    ATTR_VISIBLE,           // int 0/1 (also panels, table columns)
    ATTR_LABEL_TEXT,        // text: caption; button text; table column header
    ATTR_TEXT_COLOR,        // int RGB: text colour (also table cells/columns)
    ATTR_TEXT_BGCOLOR,      // int RGB: background colour of the text area
    ATTR_TEXT_FONT,         // text: a font family or one of the meta fonts below
    ATTR_TEXT_POINT_SIZE,   // int
    ATTR_MIN_VALUE,         // numeric limits: int or double in the control's type
    ATTR_MAX_VALUE,
    ATTR_PRECISION,   // int: decimals of a real field
    ATTR_ON_TEXT,     // text: binary switch
    ATTR_OFF_TEXT,    // text: binary switch
    ATTR_CTRL_MODE,   // int: VAL_HOT (user may edit) or VAL_INDICATOR
    ATTR_LEFT,        // int: position in the panel (pixels)
    ATTR_TOP,
    ATTR_WIDTH,
    ATTR_HEIGHT,
    ATTR_FRAME_COLOR,        // int RGB
    ATTR_INTERVAL,           // double seconds: timer
    ATTR_ENABLED,            // int 0/1: timer runs
    ATTR_MAX_ENTRY_LENGTH,   // int: text field length limit (-1 none)
    // panels
    ATTR_TITLE,       // text
    ATTR_BACKCOLOR,   // int RGB
    // graphs
    ATTR_ACTIVE_YAXIS,         // int VAL_LEFT_YAXIS / VAL_RIGHT_YAXIS: the axis new plots attach to and axis attributes
                               // address
    ATTR_YNAME,                // text: name of the active y axis
    ATTR_YNAME_VISIBLE,        // int: name of the active y axis shown
    ATTR_YLABEL_VISIBLE,       // int: tick labels of the active y axis shown
    ATTR_XNAME,                // text
    ATTR_XAXIS_OFFSET,         // double: the x axis shows plot x * gain + offset
    ATTR_XAXIS_GAIN,           // double
    ATTR_XUSE_LABEL_STRINGS,   // int: 1 = x axis shows the label strings of InsertAxisItem
    ATTR_YUSE_LABEL_STRINGS,
    ATTR_NUM_CURSORS,     // int (read only)
    ATTR_GRAPH_BGCOLOR,   // int RGB
    ATTR_GRID_COLOR,
    ATTR_XGRID_VISIBLE,
    ATTR_YGRID_VISIBLE,
    ATTR_SHIFT_TEXT_PLOTS,
    // tables
    ATTR_NUM_VISIBLE_COLUMNS,   // int: columns 1..n shown, the others hidden
    ATTR_COLUMN_WIDTH,          // int: table column
    ATTR_CELL_TYPE,
    ATTR_CELL_JUSTIFY,
    ATTR_TABLE_RUN_STATE,
    ATTR_ROW_LABELS_VISIBLE,   // int 0/1: the numbered row headers at the left (1 at creation)
    // cursors (SetCursorAttribute)
    ATTR_CURSOR_MODE,   // VAL_SNAP_TO_POINT / VAL_FREE_FORM
    ATTR_CURSOR_COLOR,
    ATTR_CURSOR_POINT_STYLE,
    // menu bars (SetMenuBarAttribute)
    ATTR_CHECKED,     // int 0/1
    ATTR_ITEM_NAME,   // text
    // graphs: int 0/1, on by default: a legend in a row above the plotting area names each
    // labelled curve in its colour (a curve's label is the first text plot in the curve's colour
    // on its axis made after it); a graph without labelled curves shows none
    ATTR_LEGEND_VISIBLE,
};

// Meta fonts: the toolkit's application, dialog, menu and system fonts.
#define VAL_APP_META_FONT "AppFont"
#define VAL_DIALOG_META_FONT "DialogFont"
#define VAL_MENU_META_FONT "MenuFont"
#define VAL_SYSTEM_META_FONT "SystemFont"

enum {
    VAL_HOT = 1,
    VAL_INDICATOR = 2,
    VAL_NORMAL = 3,
};

// colours
enum : int {
    VAL_BLACK = 0x000000,
    VAL_WHITE = 0xFFFFFF,
    VAL_RED = 0xFF0000,
    VAL_GREEN = 0x00FF00,
    VAL_BLUE = 0x0000FF,
    VAL_YELLOW = 0xFFFF00,
    VAL_DK_MAGENTA = 0x800080,
    VAL_DK_BLUE = 0x000080,
    VAL_TRANSPARENT = 0x1000000,   // "no background" for PlotText
};

// ---------------------------------------------------------------- graph constants
enum {
    VAL_LEFT_YAXIS = 1,
    VAL_RIGHT_YAXIS = 2,
    VAL_BOTTOM_XAXIS = 3,
    VAL_XAXIS = 3,
};
enum { VAL_MANUAL = 0, VAL_AUTOSCALE = 1, VAL_LOCK = 2, VAL_NO_CHANGE = 3 };
// plot styles
enum { VAL_THIN_LINE = 0, VAL_CONNECTED_POINTS, VAL_SCATTER, VAL_VERTICAL_BAR, VAL_FAT_LINE };
// point styles
enum {
    VAL_EMPTY_SQUARE = 0,
    VAL_SOLID_SQUARE,
    VAL_SIMPLE_DOT,
    VAL_SOLID_CIRCLE,
    VAL_EMPTY_CIRCLE,
    VAL_CROSS,
    VAL_X,
    VAL_NO_POINT,
};
// line styles
enum { VAL_SOLID = 0, VAL_DASH, VAL_DOT };
// delete/draw modes
enum { VAL_IMMEDIATE_DRAW = 0, VAL_DELAYED_DRAW = 1, VAL_NO_DRAW = 2 };
// cursor modes
enum { VAL_FREE_FORM = 0, VAL_SNAP_TO_POINT = 1 };
// data types for the generic plot calls
enum { VAL_DOUBLE = 0, VAL_FLOAT, VAL_INTEGER, VAL_UNSIGNED_INTEGER, VAL_SHORT_INTEGER, VAL_CHAR };

// ---------------------------------------------------------------- tables
struct Rect {
    int top;      // first row, 1-based
    int left;     // first column, 1-based
    int height;   // rows
    int width;    // columns
};
struct Point {
    int x;   // column, 1-based
    int y;   // row, 1-based
};
Rect MakeRect(int top, int left, int height, int width);
Point MakePoint(int x, int y);
enum { VAL_CELL_NUMERIC = 0, VAL_CELL_STRING = 1 };
enum { VAL_USE_MASTER_CELL_TYPE = -1 };
enum { VAL_COLUMN_MAJOR = 0, VAL_ROW_MAJOR = 1 };
// built-in context-menu items of a table (HideBuiltInCtrlMenuItem)
enum { VAL_GOTO = -2, VAL_SEARCH = -3, VAL_SORT = -4, VAL_EXPAND_TO_FIT = -5 };

// ---------------------------------------------------------------- run-time and event loop
// Initialise the run-time (creates the application object unless one exists). 0 = ok, negative = failure.
int InitRunTime(int argc, char **argv);
void CloseRunTime();
// Run the event loop until QuitUserInterface; returns its code.
int RunUserInterface();
void QuitUserInterface(int code);
// Deliver pending events (all of them) / only repaint the visible windows.
void ProcessSystemEvents();
void ProcessDrawEvents();

// ---------------------------------------------------------------- layout resources
// A panel resource is built by a function of the layout (app/panels.cpp) that adds the
// controls to a fresh panel. It returns 0, or a negative value when the panel cannot be built.
using PanelBuilder = int (*)(int panel);
// Register the builder of a resource number, with the panel's default title and size.
void RegisterPanelResource(int resource, const char *title, int width, int height, PanelBuilder build);

// Add a control to a panel being built: kind, id, label, position and size (pixels).
// Returns the id, or a negative value (bad panel, id taken).
int NewCtrl(int panel, CtrlKind kind, int ctrlId, const char *label, int top, int left, int width, int height);
int InstallCtrlCallback(int panel, int ctrl, CtrlCallbackPtr callback, void *callbackData);
int InstallPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData);
// A left click on the control's caption calls the callback with EVENT_LEFT_CLICK (the
// caption of a graph is the chart's title).
int InstallCaptionCallback(int panel, int ctrl, CtrlCallbackPtr callback, void *callbackData);
// Keyboard shortcuts of a window, in the toolkit's key-sequence text ("Ctrl+O", "F1",
// "Home"), written the same whatever the user's language. While the window is active the keys
// do what a click on the control does: the control's callback gets EVENT_COMMIT (nothing while
// the control is dimmed or hidden). Keys a focused text field uses for editing (Home, End)
// stay with the field. A key sequence bound again replaces its earlier binding. 0 or negative.
int SetCtrlShortcut(int panel, int ctrl, const char *keys);
// The same for keys that run a procedure of the program instead of a control's callback.
using ShortcutCallbackPtr = void (*)(int panel, void *callbackData);
int InstallShortcutCallback(int panel, const char *keys, ShortcutCallbackPtr callback, void *callbackData);
// Graph set-up: the number of cursors (0..2) shown by a graph; cursor 1 starts at x1, cursor 2 at x2.
int SetGraphCursorCount(int panel, int ctrl, int count, double x1, double x2);

// Panel layouts: a panel may place its controls in a grid (rows and columns that share the
// window's room by their stretch) instead of pixel positions; such a panel resizes, and its
// minimum size keeps every control whole. Group 0 is the panel itself; a decoration placed in
// a grid is a group box that holds a grid of its own (give its id as group). A control's
// caption stands above it in its cell, and the pixel size given to NewCtrl is its minimum.
// Panels that place nothing keep their pixel positions. ATTR_LEFT/TOP/WIDTH/HEIGHT read the
// real geometry in panel coordinates; on a placed control WIDTH/HEIGHT set its minimum size.
enum { VAL_GRID_ROW = 0, VAL_GRID_COLUMN = 1 };
int PlaceCtrl(int panel, int ctrl, int group, int row, int column, int rowSpan = 1, int columnSpan = 1);
// The share of extra room a row or column of a grid takes (0 = none, the default).
int SetGridStretch(int panel, int group, int direction, int index, int stretch);
// The smallest size the user can give the panel; never below what its grid needs.
int SetPanelMinimumSize(int panel, int width, int height);

// Window geometry: the place and size of each window (by its resource) kept in an INI file.
// A window opens where it was, moved and shrunk to lie fully on its screen; a window with
// nothing remembered opens centred over the main window (which itself opens where the window
// system puts it). A window's geometry is written when it is hidden or discarded, and for
// all shown windows by SaveWindowGeometry (at exit). 0 or negative.
int UseWindowGeometryFile(const char *path, int mainPanel);
int SaveWindowGeometry();

// A menu bar resource: menus with items, each item with an id and a callback.
using MenuBarBuilder = int (*)(int menuBar);
void RegisterMenuBarResource(int resource, MenuBarBuilder build);
// Add a menu (NewMenu) or an item to a menu (NewMenuItem) of a menu bar being built.
int NewMenu(int menuBar, int menuId, const char *name);
int NewMenuItem(int menuBar, int menuId, int itemId, const char *name, MenuCallbackPtr callback, void *callbackData);

// ---------------------------------------------------------------- panels
// Load a panel from its resource; parent 0 = a top-level window. Handle or negative.
int LoadPanel(int parentPanel, int resource);
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
int SetPanelAttribute(int panel, int attr, int value);
int SetPanelAttribute(int panel, int attr, const char *value);
int GetPanelAttribute(int panel, int attr, int *value);
int GetPanelAttribute(int panel, int attr, char *value, std::size_t capacity);
// Store the values of every control of the panel under the state index / restore them.
// Negative when the file or the state cannot be read or does not fit the panel.
int SavePanelState(int panel, const char *file, int stateIndex);
int RecallPanelState(int panel, const char *file, int stateIndex);
// Show an image file (BMP, PNG, ...) in a picture control. Negative when the file cannot be read.
int DisplayImageFile(int panel, int ctrl, const char *file);

// ---------------------------------------------------------------- control values and attributes
int SetCtrlVal(int panel, int ctrl, int value);
int SetCtrlVal(int panel, int ctrl, double value);
int SetCtrlVal(int panel, int ctrl, const char *value);
int GetCtrlVal(int panel, int ctrl, int *value);
int GetCtrlVal(int panel, int ctrl, double *value);
int GetCtrlVal(int panel, int ctrl, char *value, std::size_t capacity);
template <std::size_t N>
int GetCtrlVal(int panel, int ctrl, char (&value)[N]) {
    return GetCtrlVal(panel, ctrl, value, N);
}
// Ring: the selected item's index (0-based).
int SetCtrlIndex(int panel, int ctrl, int index);
int GetCtrlIndex(int panel, int ctrl, int *index);
// Reset a control to its default value.
int DefaultCtrl(int panel, int ctrl);
int SetCtrlAttribute(int panel, int ctrl, int attr, int value);
int SetCtrlAttribute(int panel, int ctrl, int attr, double value);
int SetCtrlAttribute(int panel, int ctrl, int attr, const char *value);
int GetCtrlAttribute(int panel, int ctrl, int attr, int *value);
int GetCtrlAttribute(int panel, int ctrl, int attr, double *value);
int GetCtrlAttribute(int panel, int ctrl, int attr, char *value, std::size_t capacity);

// ---------------------------------------------------------------- rings
// Insert an item at index (-1 = at the end).
int InsertListItem(int panel, int ctrl, int index, const char *label, int value);
// Delete count items from index; count -1 deletes to the end.
int DeleteListItem(int panel, int ctrl, int index, int count);
int ClearListCtrl(int panel, int ctrl);
int GetNumListItems(int panel, int ctrl, int *count);
int GetLabelFromIndex(int panel, int ctrl, int index, char *label, std::size_t capacity);
int GetValueFromIndex(int panel, int ctrl, int index, int *value);
int GetIndexFromValue(int panel, int ctrl, int *index, int value);

// ---------------------------------------------------------------- graphs
// Plot y[0..n-1] against 0..n-1. Returns the plot handle (> 0) or negative.
int PlotY(int panel, int ctrl, const double *y, int n, int plotStyle, int pointStyle, int lineStyle, int pointFrequency,
          int color);
int PlotXY(int panel, int ctrl, const double *x, const double *y, int n, int plotStyle, int pointStyle, int lineStyle,
           int pointFrequency, int color);
int PlotXY(int panel, int ctrl, const double *x, const int *y, int n, int plotStyle, int pointStyle, int lineStyle,
           int pointFrequency, int color);
int PlotPoint(int panel, int ctrl, double x, double y, int pointStyle, int color);
// A text at (x, y); bgColor VAL_TRANSPARENT for none.
int PlotText(int panel, int ctrl, double x, double y, const char *text, const char *font, int textColor, int bgColor);
// Delete one plot, or every plot with handle -1.
int DeleteGraphPlot(int panel, int ctrl, int plotHandle, int drawMode);
// Scaling of one axis: VAL_AUTOSCALE, or VAL_MANUAL from min to max.
int SetAxisScalingMode(int panel, int ctrl, int axis, int mode, double min, double max);
int GetAxisScalingMode(int panel, int ctrl, int axis, int *mode, double *min, double *max);
// Both axes at once: x axis and the active y axis; VAL_NO_CHANGE leaves one alone.
int SetAxisRange(int panel, int ctrl, int xMode, double xMin, double xMax, int yMode, double yMin, double yMax);
// Label strings of an axis (shown when ATTR_XUSE_LABEL_STRINGS is 1); index -1 = at the end.
int InsertAxisItem(int panel, int ctrl, int axis, int index, const char *label, double value);
int ClearAxisItems(int panel, int ctrl, int axis);
// Cursor positions in plot coordinates (cursor numbers 1 and 2).
int GetGraphCursor(int panel, int ctrl, int cursor, double *x, double *y);
int SetGraphCursor(int panel, int ctrl, int cursor, double x, double y);
// The plot and point a snapping cursor stands on (plot -1 / index -1 when none).
int GetGraphCursorIndex(int panel, int ctrl, int cursor, int *plotHandle, int *pointIndex);
int SetCursorAttribute(int panel, int ctrl, int cursor, int attr, int value);
int GetCursorAttribute(int panel, int ctrl, int cursor, int attr, int *value);

// ---------------------------------------------------------------- tables
int InsertTableRows(int panel, int ctrl, int index, int count, int cellType);
// Columns are made by the layout: insert count columns before column index (1-based; -1 = at the end).
int InsertTableColumns(int panel, int ctrl, int index, int count, int cellType);
int DeleteTableColumns(int panel, int ctrl, int index, int count);
int DeleteTableRows(int panel, int ctrl, int index, int count);
int GetNumTableRows(int panel, int ctrl, int *rows);
int GetNumTableColumns(int panel, int ctrl, int *columns);
// Fill a range of cells from an array in one call (column-major: down the first column first).
int SetTableCellRangeVals(int panel, int ctrl, Rect range, const int *values, int fillDirection);
int SetTableCellRangeVals(int panel, int ctrl, Rect range, const char *const *texts, int fillDirection);
int SetTableCellVal(int panel, int ctrl, Point cell, int value);
int SetTableCellVal(int panel, int ctrl, Point cell, const char *value);
int GetTableCellVal(int panel, int ctrl, Point cell, char *value, std::size_t capacity);
int SetTableColumnAttribute(int panel, int ctrl, int column, int attr, int value);
int SetTableColumnAttribute(int panel, int ctrl, int column, int attr, const char *value);
int GetTableColumnAttribute(int panel, int ctrl, int column, int attr, int *value);
int GetTableColumnAttribute(int panel, int ctrl, int column, int attr, char *value, std::size_t capacity);
int SetTableCellAttribute(int panel, int ctrl, Point cell, int attr, int value);
int GetTableCellAttribute(int panel, int ctrl, Point cell, int attr, int *value);
int SetTableCellRangeAttribute(int panel, int ctrl, Rect range, int attr, int value);
int SetTableSelection(int panel, int ctrl, Rect range);
int GetTableSelection(int panel, int ctrl, Rect *range);
int HideBuiltInCtrlMenuItem(int panel, int ctrl, int item);

// ---------------------------------------------------------------- menus
// Load a menu bar resource; panel 0 = not attached to any window (used as pop-up menus).
int LoadMenuBar(int panel, int resource);
int DiscardMenuBar(int menuBar);
int SetMenuBarAttribute(int menuBar, int itemId, int attr, int value);
int SetMenuBarAttribute(int menuBar, int itemId, int attr, const char *value);
int GetMenuBarAttribute(int menuBar, int itemId, int attr, int *value);
int GetMenuBarAttribute(int menuBar, int itemId, int attr, char *value, std::size_t capacity);
// Pop a menu of the bar up over a panel at (top, left); runs the chosen item's callback and
// returns its id, 0 when nothing was chosen.
int RunPopupMenu(int menuBar, int menuId, int panel, int top, int left);

// ---------------------------------------------------------------- pop-ups (through the user agent)
int MessagePopup(const char *title, const char *message);
// A message that does not hold the program up: it returns at once and the window stays until
// the user closes it, while timers and serial notifications go on.
int NoticePopup(const char *title, const char *message);
// 1 = yes, 0 = no. defaultButton: the button Enter presses; a question whose Yes destroys
// something (records, a file, the settings) gives VAL_DEFAULT_NO.
enum { VAL_DEFAULT_NO = 0, VAL_DEFAULT_YES = 1 };
int ConfirmPopup(const char *title, const char *message, int defaultButton = VAL_DEFAULT_YES);
// The question about data not saved yet, with the buttons Save, Discard and Cancel (Save is
// the default, Escape cancels): VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER or VAL_CANCEL_ANSWER.
enum { VAL_CANCEL_ANSWER = 0, VAL_SAVE_ANSWER = 1, VAL_DISCARD_ANSWER = 2 };
int SaveDiscardCancelPopup(const char *title, const char *message);
// Ask for a text of at most maxLength characters into response (capacity maxLength + 1).
// 0 = answered, negative = cancelled.
int PromptPopup(const char *title, const char *message, char *response, int maxLength);
enum { VAL_OK_BUTTON = 0, VAL_SAVE_BUTTON = 1, VAL_SELECT_BUTTON = 2, VAL_LOAD_BUTTON = 3 };
enum { VAL_NO_FILE_SELECTED = 0, VAL_EXISTING_FILE_SELECTED = 1, VAL_NEW_FILE_SELECTED = 2 };
// File selection: path receives the chosen path (capacity pathCapacity).
int FileSelectPopupEx(const char *defaultDirectory, const char *defaultFileSpec, const char *fileTypeList,
                      const char *title, int buttonLabel, int restrictDirectory, int restrictExtension, char *path,
                      std::size_t pathCapacity);

// ---------------------------------------------------------------- printing
enum PrintAttr {
    ATTR_PRINTER_NAME = 100,   // text (read); negative status when there is no printer
    ATTR_ORIENTATION,          // VAL_PORTRAIT / VAL_LANDSCAPE
    ATTR_EJECT_AFTER,          // int 0/1
    ATTR_PRINT_FONT_NAME,      // text
    ATTR_PRINT_POINT_SIZE,     // int
    ATTR_NUMBER_PAGES,         // int 0/1
    ATTR_PRINT_DATE,           // int 0/1: the run-time's date stamp
    ATTR_PRINT_TIME,           // int 0/1: the run-time's time stamp
    ATTR_PRINT_PDF_FILE,       // text: "" = the printer; a path = PrintTextBuffer and PrintPanel
                               // write a PDF file there instead (the printer probe then names it)
    ATTR_PAGE_HEADING,         // text: lines printed again at the top of every further page of a
                               // text job ("" = none), such as a report's column headings
    ATTR_PRINT_TITLE,          // text: the document's title (a PDF's title, the printer's job name)
};
enum { VAL_PORTRAIT = 0, VAL_LANDSCAPE = 1 };
enum { VAL_FULL_PANEL = 0, VAL_VISIBLE_AREA = 1 };
enum { VAL_NO_SCALING = 0, VAL_SCALE_TO_PAGE = 1 };
int SetPrintAttribute(int attr, int value);
int SetPrintAttribute(int attr, const char *value);
int GetPrintAttribute(int attr, int *value);
int GetPrintAttribute(int attr, char *value, std::size_t capacity);
// Print a text ("" = to the printer, or to the PDF target; a file name appends the plain text to
// that file). The texts of one job are laid out in the print font with tab stops every eight
// character widths and broken into pages; with page eject after printing off, the texts
// collect in one job until the eject is switched on again. Negative = failure (the job is
// then given up: on paper the pages so far stay printed, a PDF target is left as it was).
int PrintTextBuffer(const char *text, const char *outputFile);
// Results of PrintPanel above 0: nothing failed, but the window did not go out whole.
enum {
    PRINT_STATUS_PAGES_LEFT_OUT = 1,   // the pages chosen in the print dialog leave the window out
    PRINT_STATUS_CANCELLED = 1024,     // the print dialog was cancelled: nothing printed
};
// Print the image of a panel on one page: VAL_NO_SCALING at its size on the screen (shrunk to
// the page when larger), VAL_SCALE_TO_PAGE as large as the page allows. With the print dialog
// when interactive and the target is the printer (a PDF target or outputFile needs none).
// 0 = printed, negative = failure, or a PRINT_STATUS above.
int PrintPanel(int panel, const char *outputFile, int scaling, int area, int interactive);
// The run-time's text for a status: every negative status and the PRINT_STATUS results.
const char *GetUILErrorString(int status);

// ---------------------------------------------------------------- utility
// Today "MM-DD-YYYY" and now "HH:MM:SS" from the settable clock (base/clock.h).
const char *DateStr();
const char *TimeStr();
// Wait (the event loop does not run; windows are repainted). A frozen clock advances instead.
void Delay(double seconds);
// The program's folder (see README: portable build tree or the per-user folder).
int GetProjectDir(char *dir, std::size_t capacity);
void SetProjectDir(const char *dir);
// dir + separator + file into path (capacity). Negative when it does not fit.
int MakePathname(const char *dir, const char *file, char *path, std::size_t capacity);
// Compare s1 from start1 with s2 from start2; 0 = equal, <0 / >0 ordering.
int CompareStrings(const char *s1, int start1, const char *s2, int start2, int caseSensitive);
// Create a folder (and its parents). 0 = made, -9 = already exists, other negative = failure.
int MakeDir(const char *path);
// The log-in name of the current user.
int GetUserName(char *name, std::size_t capacity);
// The user's documents folder.
int GetDocumentsDir(char *dir, std::size_t capacity);
// The language of the toolkit's own texts (standard buttons, file dialogs): "de" loads the
// toolkit's German translation, "en" or "" goes back to English. 0, or negative when the
// translation is not installed (the toolkit then stays in English).
int SetUiLanguage(const char *language);

// ---------------------------------------------------------------- the document opener
// Results of OpenDocumentInDefaultViewer besides 0 (opened).
enum {
    OPEN_DOCUMENT_NOT_FOUND = -94,       // no such file or folder
    OPEN_DOCUMENT_ACCESS_DENIED = -95,   // not a file the user may read
    OPEN_DOCUMENT_FAILED = -5095,        // the opener tried and failed
    OPEN_DOCUMENT_NO_VIEWER = -5096,     // no opener, or no viewer for the file type
};
// Open a document with the application the desktop registers for its type (xdg-open).
// showMode 1 = minimized, 2 = maximized, other = normal, where the desktop allows it.
// The opener is started and not waited for: some desktops' openers stay until the viewer
// closes, and the event loop must go on meanwhile. The result says whether it could be
// started (0) or why not; when it ends later with a failure, or cannot start at all,
// onFailure (if given) is called on the event loop with the result code.
using OpenFailureCallback = void (*)(int result);
int OpenDocumentInDefaultViewer(const char *path, int showMode, OpenFailureCallback onFailure = nullptr);
