#include <gtest/gtest.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char **argv) {
    // Listing the cases must work without a display: the offscreen platform unless the
    // caller chose one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The PDF offer's file dialog starts in the default data folder, in the user's documents
    // folder: the tests get a home of their own, so that they never touch the real one.
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tavix-print-home-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.string().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DOCUMENTS_DIR");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return rc;
}
