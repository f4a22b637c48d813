// Panel layouts: controls placed in grids and groups, stretch, the minimum size, and the
// geometry read back in panel coordinates, beside panels that keep pixel positions.
#include "CtrlRect.h"
#include "runtime/inspect.h"
#include "runtime/inspect_layout.h"
#include "runtime/ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

namespace {

enum { RES_GRID = 1, RES_PIXELS, RES_BADGROUP };
enum { C_GRAPH = 1, C_NAME, C_OK, C_GROUP, C_IN_GROUP, C_TIMER, C_LONG, C_RING };

int buildGrid(int panel) {
    NewCtrl(panel, CTRL_GRAPH, C_GRAPH, "", 0, 0, 300, 200);
    NewCtrl(panel, CTRL_STRING, C_NAME, "Name", 0, 0, 120, -1);
    NewCtrl(panel, CTRL_COMMAND_BUTTON, C_OK, "OK", 0, 0, 80, 24);
    NewCtrl(panel, CTRL_DECORATION, C_GROUP, "Group", 0, 0, 10, 10);
    NewCtrl(panel, CTRL_NUMERIC, C_IN_GROUP, "Inside", 0, 0, 60, -1);
    NewCtrl(panel, CTRL_TIMER, C_TIMER, "", 0, 0, 0, 0);
    NewCtrl(panel, CTRL_RING, C_RING, "", 0, 0, 60, -1);
    if (PlaceCtrl(panel, C_GRAPH, 0, 0, 0, 1, 2) < 0) return -1;
    if (PlaceCtrl(panel, C_NAME, 0, 1, 0) < 0) return -1;
    if (PlaceCtrl(panel, C_OK, 0, 1, 1) < 0) return -1;
    if (PlaceCtrl(panel, C_GROUP, 0, 2, 0, 1, 2) < 0) return -1;
    if (PlaceCtrl(panel, C_IN_GROUP, C_GROUP, 0, 0) < 0) return -1;
    if (PlaceCtrl(panel, C_RING, C_GROUP, 0, 1) < 0) return -1;
    SetGridStretch(panel, 0, VAL_GRID_ROW, 0, 1);
    SetGridStretch(panel, 0, VAL_GRID_COLUMN, 0, 1);
    return 0;
}

int buildPixels(int panel) {
    NewCtrl(panel, CTRL_COMMAND_BUTTON, C_OK, "OK", 40, 30, 80, 24);
    return 0;
}

QSize panelSize(int panel) {
    int w = 0, h = 0;
    GetPanelAttribute(panel, ATTR_WIDTH, &w);
    GetPanelAttribute(panel, ATTR_HEIGHT, &h);
    return {w, h};
}

class LayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterPanelResource(RES_GRID, "Grid", 200, 100, buildGrid);
        RegisterPanelResource(RES_PIXELS, "Pixels", 300, 200, buildPixels);
    }
    void SetUp() override {
        panel = LoadPanel(0, RES_GRID);
        ASSERT_GT(panel, 0);
        ASSERT_EQ(DisplayPanel(panel), 0);
        ProcessSystemEvents();
    }
    void TearDown() override {
        DiscardPanel(panel);
        ProcessSystemEvents();
    }
    int panel = 0;
};

TEST_F(LayoutTest, AGridPanelGrowsToWhatItsControlsNeedAndNoControlOverlaps) {
    const QSize size = panelSize(panel);
    EXPECT_GE(size.width(), 300);   // the graph's pixel size is its minimum
    EXPECT_GE(size.height(), 200);
    const int ids[] = {C_GRAPH, C_NAME, C_OK, C_GROUP};
    for (int a : ids) {
        const QRect ra = ctrlRect(panel, a);
        EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(ra)) << a;
        for (int b : ids)
            if (a < b) {
                EXPECT_FALSE(ra.intersects(ctrlRect(panel, b))) << a << " " << b;
            }
    }
    // The control in the group lies inside the group, in panel coordinates.
    EXPECT_TRUE(ctrlRect(panel, C_GROUP).contains(ctrlRect(panel, C_IN_GROUP)));
}

TEST_F(LayoutTest, TheStretchedCellTakesTheRoomAndTheMinimumHolds) {
    const QRect graph = ctrlRect(panel, C_GRAPH);
    const QRect ok = ctrlRect(panel, C_OK);
    const QSize before = panelSize(panel);
    SetPanelAttribute(panel, ATTR_WIDTH, before.width() + 200);
    SetPanelAttribute(panel, ATTR_HEIGHT, before.height() + 100);
    ProcessSystemEvents();
    EXPECT_EQ(ctrlRect(panel, C_GRAPH).width(), graph.width() + 200);
    EXPECT_EQ(ctrlRect(panel, C_GRAPH).height(), graph.height() + 100);
    EXPECT_EQ(ctrlRect(panel, C_OK).size(), ok.size());

    const auto shrink = [this] {
        SetPanelAttribute(panel, ATTR_WIDTH, 10);
        SetPanelAttribute(panel, ATTR_HEIGHT, 10);
        ProcessSystemEvents();
        return panelSize(panel);
    };
    const QSize least = shrink();   // what the grid needs
    EXPECT_GT(least.height(), 200);
    ASSERT_EQ(SetPanelMinimumSize(panel, 900, 50), 0);
    EXPECT_EQ(shrink(), QSize(900, least.height()));   // never below the grid's need
}

TEST_F(LayoutTest, ALongerCaptionWidensItsCell) {
    const int before = ctrlRect(panel, C_NAME).width();
    const std::string longer(60, 'W');
    SetCtrlAttribute(panel, C_NAME, ATTR_LABEL_TEXT, longer.c_str());
    HidePanel(panel);
    DisplayPanel(panel);
    ProcessSystemEvents();
    EXPECT_GT(ctrlRect(panel, C_NAME).width(), before);
    EXPECT_GE(panelSize(panel).width(), ctrlRect(panel, C_NAME).right());
}

// Texts that grow inside a group after the panel was loaded (a caption, a ring's new item)
// widen the group when the panel is shown again, down to its smallest size.
TEST_F(LayoutTest, TextsThatGrowInAGroupStayWholeAtTheSmallestSize) {
    const std::string caption(40, 'W');
    SetCtrlAttribute(panel, C_IN_GROUP, ATTR_LABEL_TEXT, caption.c_str());
    const std::string item = "COM16  /dev/serial/by-id/usb-FTDI_FT232R_USB_UART-if00-port0";
    InsertListItem(panel, C_RING, -1, item.c_str(), 16);
    SetCtrlVal(panel, C_RING, 16);
    HidePanel(panel);
    DisplayPanel(panel);
    SetPanelAttribute(panel, ATTR_WIDTH, 10);
    ProcessSystemEvents();
    EXPECT_EQ(rt::CtrlGroup(panel, C_RING), C_GROUP);
    for (int id : {C_IN_GROUP, C_RING}) {
        EXPECT_TRUE(ctrlRect(panel, C_GROUP).contains(ctrlRect(panel, id))) << id;
        const auto texts = rt::CtrlTexts(panel, id);
        ASSERT_EQ(texts.size(), 1u) << id;
        EXPECT_EQ(texts[0].text, id == C_RING ? item : caption);
        EXPECT_LE(texts[0].needed, texts[0].room) << id;
    }
}

// In a row, a field with a caption and a button without one stand on the same line.
TEST_F(LayoutTest, FieldsOfARowLineUpAtTheBottom) {
    EXPECT_EQ(ctrlRect(panel, C_NAME).bottom(), ctrlRect(panel, C_OK).bottom());
    EXPECT_GT(ctrlRect(panel, C_NAME).top(), ctrlRect(panel, C_GRAPH).bottom());
}

TEST_F(LayoutTest, PlacedSizesAreMinimumsAndPositionsBelongToTheGrid) {
    const QRect ok = ctrlRect(panel, C_OK);
    EXPECT_EQ(SetCtrlAttribute(panel, C_OK, ATTR_LEFT, 3), 0);
    EXPECT_EQ(SetCtrlAttribute(panel, C_OK, ATTR_WIDTH, ok.width() + 40), 0);
    ProcessSystemEvents();
    EXPECT_GE(ctrlRect(panel, C_OK).width(), ok.width() + 40);
    EXPECT_NE(ctrlRect(panel, C_OK).left(), 3);
}

TEST_F(LayoutTest, BadPlacementsAreRefused) {
    EXPECT_LT(PlaceCtrl(panel, C_OK, 0, 3, 0), 0);                   // placed already
    EXPECT_LT(PlaceCtrl(panel, C_TIMER, 0, 3, 0), 0);                // a timer has no place
    EXPECT_LT(PlaceCtrl(panel, 99, 0, 3, 0), 0);                     // no such control
    EXPECT_LT(PlaceCtrl(-1, C_OK, 0, 3, 0), 0);                      // no such panel
    EXPECT_LT(SetGridStretch(panel, C_OK, VAL_GRID_ROW, 0, 1), 0);   // a button holds no group
    EXPECT_LT(SetGridStretch(panel, 0, 7, 0, 1), 0);
    EXPECT_LT(SetPanelMinimumSize(panel, -1, 10), 0);
}

TEST(LayoutPixels, PanelsWithoutAGridKeepPixelPositions) {
    RegisterPanelResource(RES_PIXELS, "Pixels", 300, 200, buildPixels);
    const int panel = LoadPanel(0, RES_PIXELS);
    ASSERT_GT(panel, 0);
    EXPECT_EQ(ctrlRect(panel, C_OK), QRect(30, 40, 80, 24));
    EXPECT_EQ(panelSize(panel), QSize(300, 200));
    SetCtrlAttribute(panel, C_OK, ATTR_LEFT, 50);
    EXPECT_EQ(ctrlRect(panel, C_OK).left(), 50);
    DiscardPanel(panel);
}

// ---------------------------------------------------------------- window geometry

QRect windowRect(int panel) {
    int l = 0, t = 0;
    GetPanelAttribute(panel, ATTR_LEFT, &l);
    GetPanelAttribute(panel, ATTR_TOP, &t);
    return {QPoint(l, t), panelSize(panel)};
}

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterPanelResource(RES_GRID, "Grid", 200, 100, buildGrid);
        RegisterPanelResource(RES_PIXELS, "Pixels", 300, 200, buildPixels);
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath("TavixWindows.ini").toStdString();
        main = LoadPanel(0, RES_PIXELS);
        ASSERT_EQ(UseWindowGeometryFile(file.c_str(), main), 0);
        SetPanelAttribute(main, ATTR_LEFT, 100);
        SetPanelAttribute(main, ATTR_TOP, 80);
        DisplayPanel(main);
    }
    void TearDown() override {
        UseWindowGeometryFile("", 0);
        DiscardPanel(main);
        ProcessSystemEvents();
    }
    QTemporaryDir dir;
    std::string file;
    int main = 0;
};

TEST_F(GeometryTest, ASecondaryWindowOpensCentredOverTheMainWindowThenWhereItWasLeft) {
    int second = LoadPanel(0, RES_GRID);
    DisplayPanel(second);
    const QPoint centre = windowRect(second).center() - windowRect(main).center();
    EXPECT_LE(centre.manhattanLength(), 2);
    SetPanelAttribute(second, ATTR_LEFT, 20);
    SetPanelAttribute(second, ATTR_TOP, 30);
    SetPanelAttribute(second, ATTR_WIDTH, 520);
    HidePanel(second);   // written now
    DiscardPanel(second);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(file)));

    UseWindowGeometryFile(file.c_str(), main);   // as at the next start
    second = LoadPanel(0, RES_GRID);
    DisplayPanel(second);
    EXPECT_EQ(windowRect(second).topLeft(), QPoint(20, 30));
    EXPECT_EQ(windowRect(second).width(), 520);
    DiscardPanel(second);
}

TEST_F(GeometryTest, ARememberedPlaceOffTheScreenIsBroughtBackWhole) {
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Window 1]\r\nLeft = -3000\r\nTop = 5000\r\nWidth = 20000\r\nHeight = 300\r\n");
    f.close();
    UseWindowGeometryFile(file.c_str(), main);
    const int second = LoadPanel(0, RES_GRID);
    DisplayPanel(second);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(room.contains(windowRect(second))) << windowRect(second).x() << "," << windowRect(second).y();
    DiscardPanel(second);
}

TEST_F(GeometryTest, SavingWritesEveryShownWindow) {
    ASSERT_EQ(SaveWindowGeometry(), 0);
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("[Window 2]"));
    EXPECT_TRUE(text.contains("Left = 100"));
    EXPECT_FALSE(text.contains("[Window 1]"));   // never shown
}

}   // namespace
