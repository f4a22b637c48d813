// The main of the tests that run the program's windows in-process: the offscreen platform
// unless the caller chose one (so that listing the cases needs no display), and a home folder
// of the test's own, because Save File, Export CSV and the PDF offer start in the user's
// documents folder and the tests must never touch the real one.
#include <gtest/gtest.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tavix-test-home-" + std::to_string(::getpid()));
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
