#pragma once

// CTest runs every test in its own process, two or more at a time, so a file
// that tests of one fixture share by a fixed name can be rewritten or removed
// by another test in the middle of a load. testTempPath gives each test its
// own name in the temporary folder: the stem, the suite and the test's name.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace sps {

inline std::filesystem::path testTempPath(const std::string& stem, const std::string& extension = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = stem;
    if (info != nullptr) name += std::string("_") + info->test_suite_name() + "_" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return std::filesystem::temp_directory_path() / (name + extension);
}

} // namespace sps
