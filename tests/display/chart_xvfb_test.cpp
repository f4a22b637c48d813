// End to end on a real (virtual) X display: the program starts in a fresh folder with its
// shipped preferences and English texts, a simulated three-channel logger answers on a
// pseudo-terminal, the user presses Start, the main window's own timer runs the download,
// twice, and the chart then shows the three curves. A picture of the main window is kept in
// build/artifacts/chart.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/Tavix.h"
#include "display/Display.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"
#include "sim/SimLogger.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPort = 5;

class ChartOnX : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tavix-chart-x-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
        for (const char *f : {"localORM.ini", "English.ini", "Ormel logo.bmp"})
            fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, dir_ / f);
        rt::SetUserAgent(&agent_);
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        for (int p = 1; p <= MAX_COM_PORT; ++p)
            rt::BindComPort(p, (dir_ / ("no-such-device-" + std::to_string(p))).string());
    }
    void TearDown() override {
        tavixStop();
        if (logger_) logger_->stop();
        rt::SetUserAgent(nullptr);
        rt::ClearClock();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir_);
    }

    // A state file naming the logger's port, so that start-up runs no port detection.
    static void writeState() {
        RegisterLayouts();
        const int panel = LoadPanel(0, SETTING);
        ASSERT_GT(panel, 0);
        SetCtrlVal(panel, SETTING_PORT, kPort);
        ASSERT_GE(SavePanelState(panel, TAVIX_STATE_FILE, 1), 0);
        DiscardPanel(panel);
    }

    // Runs the event loop (with the main window's timer) until done() holds; false after ms.
    static bool runUntil(const std::function<bool()> &done, int ms) {
        bool timedOut = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done()) QuitUserInterface(0);
        });
        poll.start(50);
        QTimer::singleShot(ms, [&] {
            timedOut = true;
            QuitUserInterface(1);
        });
        RunUserInterface();
        rt::ClearQuitRequest();
        return !timedOut && done();
    }

    fs::path dir_;
    rt::ScriptedAgent agent_;
    std::unique_ptr<sim::SimLogger> logger_;
};

// Pixels close to a colour (the curves are drawn antialiased: their core keeps the colour).
int pixelsNear(const QImage &image, int rgb) {
    const int r0 = (rgb >> 16) & 0xFF, g0 = (rgb >> 8) & 0xFF, b0 = rgb & 0xFF;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - r0) < 48 && std::abs(qGreen(p) - g0) < 48 && std::abs(qBlue(p) - b0) < 48) ++n;
        }
    return n;
}

TEST_F(ChartOnX, DownloadShowsTheCurves) {
    sim::LoggerConfig config;
    config.modelName = "4143";   // temperature, second temperature, humidity
    config.records = 1440;
    config.interval = 60;
    sim::followTheDay(config);
    config.errors = {{300, 0, 2}, {301, 0, 2}, {900, 2, 4}};
    logger_ = std::make_unique<sim::SimLogger>(config);
    ASSERT_TRUE(logger_->start());
    rt::BindComPort(kPort, logger_->devicePath());
    writeState();
    ASSERT_EQ(tavixStart(0, nullptr, dir_.string().c_str()), 0);
    ASSERT_TRUE(rt::PanelVisible(idMonitor));
    agent_.clear();

    // Two downloads in one run of the program, as a user repeats one: the second must go as
    // well as the first (the records held are discarded on the user's word).
    for (int download = 1; download <= 2; ++download) {
        agent_.confirmAnswers = {true};
        rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
        ASSERT_TRUE(runUntil([] { return loggedLength == 1440 && fDownloadNow == 0; }, 60000))
            << "download " << download << ": records " << loggedLength;
        EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED) << "download " << download;
    }
    EXPECT_EQ(agent_.count("message"), 0);

    // the chart: three curves over the first 1440 records of the window, the error markers
    int curves = 0, markers = 0;
    for (const rt::PlotInfo &p : rt::GraphPlots(idMonitor, MONITOR_GRAPH)) {
        if (p.kind == rt::PLOT_CURVE) {
            ++curves;
            EXPECT_EQ(p.y.size(), 1440u);
        }
        if (p.kind == rt::PLOT_POINT) ++markers;
    }
    EXPECT_EQ(curves, 3);
    EXPECT_EQ(markers, 3);
    // the cursors stand apart inside the window: at a third and at two thirds of the records
    char readOut[256] = "";
    GetCtrlVal(idMonitor, MONITOR_CURSOR1_TEXT, readOut);
    EXPECT_EQ(std::string(readOut).rfind("No.  481 T1=", 0), 0u) << readOut;
    GetCtrlVal(idMonitor, MONITOR_CURSOR2_TEXT, readOut);
    EXPECT_EQ(std::string(readOut).rfind("No.  961 T1=", 0), 0u) << readOut;
    // the legend names the three channels in their colours
    const auto legend = rt::GraphLegend(idMonitor, MONITOR_GRAPH);
    ASSERT_EQ(legend.size(), 3u);
    EXPECT_EQ(legend[2].text, wHumidity);
    EXPECT_EQ(legend[2].color, VAL_BLUE);

    // what the screen shows: let the event loop paint, then keep a picture
    runUntil([] { return false; }, 300);
    const fs::path artifacts = fs::path(TAVIX_ARTIFACT_DIR);
    fs::create_directories(artifacts);
    const std::string png = (artifacts / "chart.png").string();
    ASSERT_EQ(rt::SavePanelImage(idMonitor, png.c_str()), 0);
    // the graph alone: the curves in their colours and the red error markers
    const std::string graph = (artifacts / "chart-graph.png").string();
    ASSERT_EQ(rt::SaveGraphImage(idMonitor, MONITOR_GRAPH, graph.c_str(), 830, 430), 0);
    const QImage image(QString::fromStdString(graph));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(pixelsNear(image, 0x0000FF), 200);   // humidity
    EXPECT_GT(pixelsNear(image, 0x800080), 200);   // second temperature
    EXPECT_GT(pixelsNear(image, 0x000000), 200);   // temperature (and the axes)
    EXPECT_GT(pixelsNear(image, 0xFF0000), 5);     // error markers
}

}   // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
