#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qav::test {

namespace {

std::string readWhole(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string lineAt(const std::string& text, std::size_t index) {
    std::istringstream in(text);
    std::string line;
    for (std::size_t i = 0; std::getline(in, line); ++i)
        if (i == index) return line;
    return "(no line)";
}

}  // namespace

std::string goldenPath(const std::string& relative) {
    return std::string(QAVSEC_TEST_DATA) + "/" + relative;
}

bool updatingGoldens() {
    const char* v = std::getenv("QAVSEC_UPDATE_GOLDEN");
    return v != nullptr && std::string(v) == "1";
}

std::string compareWithGolden(const std::string& relative, const std::string& text) {
    const std::string path = goldenPath(relative);
    if (updatingGoldens()) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return "";
    }
    bool found = false;
    const std::string want = readWhole(path, found);
    if (!found)
        return relative +
               ": no golden file (run the tests with QAVSEC_UPDATE_GOLDEN=1 to write it)";
    if (want == text) return "";
    std::size_t line = 0, i = 0;
    while (i < want.size() && i < text.size() && want[i] == text[i]) {
        if (want[i] == '\n') ++line;
        ++i;
    }
    return relative + ": differs at line " + std::to_string(line + 1) +
           "\n  golden: " + lineAt(want, line) + "\n  now:    " + lineAt(text, line) +
           "\n(QAVSEC_UPDATE_GOLDEN=1 rewrites the golden files)";
}

}  // namespace qav::test
