// The core must build without Qt: no file outside the application and the command line may
// include a Qt header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(Layering, CoreIncludesNoQtHeader) {
    const fs::path src = fs::path(QAVSEC_SOURCE_DIR) / "src";
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)[^>"]*[>"])");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path rel = fs::relative(entry.path(), src);
        const std::string top = rel.begin()->string();
        if (top == "app" || top == "cli") continue;
        const auto ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            EXPECT_FALSE(std::regex_search(line, qtInclude)) << rel << ":" << n << ": " << line;
        }
    }
    EXPECT_GT(files, 0);
}
