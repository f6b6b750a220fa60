// The build command end to end: the section files it writes and its exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/section_file.h"
#include "model/text_file.h"

using namespace qav;

namespace {
std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("qavsec_build_" + name)).string();
}

int run(const std::string& args) {
    const std::string cmd = std::string(QAVSEC_CLI) + " " + args + " >/dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

SectionModel load(const std::string& path) {
    SectionModel m;
    openSectionFile(m, path);
    return m;
}
}  // namespace

TEST(BuildCommand, BuildsAndComposesSectionFiles) {
    const std::string col = tempPath("col.sec"), src = tempPath("src.sec"),
                      hole = tempPath("hole.sec");
    ASSERT_EQ(run("build typical --shape 0 --set KEdit1=600 --set Edit10=4 -o " + col), 0);
    SectionModel m = load(col);
    EXPECT_EQ(m.document.NBAR, 12);
    EXPECT_NEAR(m.document.ZONE_XMAX, 300, 1e-9);
    EXPECT_NEAR(m.document.BAR[12].DB, 50, 1e-9);

    ASSERT_EQ(run("build steel --shape 3 --into " + col + " -o " + src), 0);
    m = load(src);
    EXPECT_EQ(m.document.NSTEEL_SEC, 1);
    EXPECT_EQ(m.document.NBAR, 12) << "the steel builder keeps the concrete";

    ASSERT_EQ(run("build opening --shape 1 --set KEdit1=100 --into " + src + " -o " + hole), 0);
    m = load(hole);
    EXPECT_EQ(m.document.NOPEN_SEC, 1);
    EXPECT_EQ(m.document.NSTEEL_SEC, 1);

    ASSERT_EQ(run("build composite --shape 7 -o " + col), 0);
    EXPECT_EQ(load(col).document.STEEL_SEC[1].NPOINT, 50);
    for (const auto& p : {col, src, hole}) std::remove(p.c_str());
}

TEST(BuildCommand, ExitStatusTellsBadInputFromBadUsage) {
    const std::string out = tempPath("bad.sec");
    struct Case {
        const char* name;
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"not a number", "build typical --set KEdit1=abc -o " + out, 1},
        {"beam row of one bar", "build typical --shape 1 --set Edit5=1 -o " + out, 1},
        {"cover line outside the section", "build typical --set Edit3=1e6 -o " + out, 1},
        {"unknown box", "build steel --set Edit99=1 -o " + out, 2},
        {"unknown builder", "build bridge -o " + out, 2},
        {"shape out of range", "build opening --shape 2 -o " + out, 2},
        {"no output", "build typical", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.name;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.name;
    }
}

// The example files are what the build command makes; a change in a builder shows up here.
TEST(BuildCommand, ExamplesAreWhatTheBuildersMake) {
    const std::string ex = std::string(QAVSEC_SOURCE_DIR) + "/examples/";
    const std::string column = tempPath("plain_column.sec");
    ASSERT_EQ(run("build typical --shape 0 -o " + column), 0);
    struct Case {
        const char* file;
        std::string args;
    };
    const Case cases[] = {
        {"rectangular_column.sec",
         "build typical --shape 0 --into " + ex + "rectangular_column.sec"},
        {"circular_column.sec", "build typical --shape 2"},
        {"src_column_cross.sec", "build composite --shape 3"},
        {"cft_rectangular_column.sec", "build composite --shape 6"},
        {"steel_i_section.sec", "build steel --shape 3"},
        {"column_with_opening.sec", "build opening --shape 0 --into " + column},
    };
    for (const Case& c : cases) {
        const std::string out = tempPath(c.file);
        ASSERT_EQ(run(c.args + " -o " + out), 0) << c.file;
        EXPECT_EQ(readTextLines(out), readTextLines(ex + c.file)) << c.file;
        std::remove(out.c_str());
    }
    std::remove(column.c_str());
}
