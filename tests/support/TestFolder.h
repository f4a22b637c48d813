// The running test's own folder in the temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "CaseName.h"

// A fresh, empty folder named by prefix, the process id and the running test's name (made
// flat: a table case's name holds a slash); whatever an earlier run left there is gone.
inline std::filesystem::path makeTestFolder(const std::string &prefix) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      (prefix + "-" + std::to_string(::getpid()) + "-" +
                                       caseName(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}
