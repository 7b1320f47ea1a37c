#pragma once
// Helpers for the data-format tests: whole-file reads and writes at
// absolute paths (the scratch folder is EngineTest::TempDir).

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace Flurr::Testing {

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

} // namespace Flurr::Testing
