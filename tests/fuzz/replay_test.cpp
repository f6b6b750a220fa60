// Every input a fuzz run found fault with is kept under tests/data/fuzz-regressions/<target>/
// and replayed here, with the seed corpora, through the same bodies the fuzz targets run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_bodies.h"
#include "model/text_file.h"

namespace fs = std::filesystem;
using qav::fuzz::targets;

namespace {

// Runs every file under dir through the target; returns how many there were.
int replay(const qav::fuzz::Target& t, const fs::path& dir) {
    if (!fs::is_directory(dir)) return 0;
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        ++n;
        const std::string bytes = qav::readTextFile(entry.path().string());
        try {
            EXPECT_EQ(t.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
                << t.name << ": " << entry.path();
        } catch (const std::exception& e) {
            ADD_FAILURE() << t.name << ": " << entry.path() << " escaped with " << e.what();
        }
    }
    return n;
}

}  // namespace

TEST(FuzzRegressions, EveryFindingStaysMended) {
    int n = 0;
    for (const auto& t : targets())
        n += replay(t, fs::path(QAVSEC_TEST_DATA) / "fuzz-regressions" / t.name);
    EXPECT_GT(n, 0) << "the findings are kept under tests/data/fuzz-regressions/";
}

TEST(FuzzRegressions, SeedCorporaPass) {
    for (const auto& t : targets())
        EXPECT_GT(replay(t, fs::path(QAVSEC_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / t.name), 0)
            << t.name << " has no seed corpus";
}
