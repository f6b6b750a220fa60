// Damaged inputs at the command line: every command says what it met and exits 1; nothing
// non-finite is printed and no file is written that could not be opened again.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

std::string regression(const std::string& target, const std::string& name) {
    return std::string(QAVSEC_TEST_DATA) + "/fuzz-regressions/" + target + "/" + name;
}

bool printsNonFinite(const std::string& out) {
    for (const char* s : {"NAN", "INF", "nan", "inf"})
        if (out.find(std::string(",") + s) != std::string::npos ||
            out.find(std::string(" ") + s) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(CliRefusals, DamagedSectionFilesExitOneNamingTheLine) {
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {"far_cover_corner.sec", ".sec, line 23: \"PT,1,4000000.00000,4000000.00000\""},
        {"negative_bar_diameter.sec",
         ".sec, line 34: \"BAR,1,-121.66667,465.00000,-25.00000\": -25.00000 is refused"},
    };
    for (const Case& c : cases)
        for (const char* command : {"info ", "mesh ", "check "}) {
            const CliRun r = runCli(command + regression("section_file", c.file));
            EXPECT_EQ(r.status, 1) << command << c.file << ": " << r.out;
            EXPECT_NE(r.out.find(c.message), std::string::npos)
                << command << c.file << ": " << r.out;
            EXPECT_FALSE(printsNonFinite(r.out)) << r.out;
        }
}

TEST(CliRefusals, DxfImportWritesNothingItCouldNotOpen) {
    const std::string out = tempPath("refused_import.sec");
    for (const char* name : {"circle_radius_1e308.dxf", "circle_negative_radius.dxf"}) {
        std::remove(out.c_str());
        const CliRun r = runCli("import-dxf " + regression("dxf_import", name) + " -o " + out);
        EXPECT_EQ(r.status, 1) << name << ": " << r.out;
        EXPECT_NE(r.out.find("Line 14:"), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(out)) << name;
    }
}

TEST(CliRefusals, CheckNamesACombinationWithoutAFiniteFraction) {
    const std::string sec = std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec";
    // In N and mm the huge row's solve ends with a residual that is not a number: the message
    // of unconverged combinations must say so in words.
    for (const char* units : {"kN,m", "N,mm"}) {
        const CliRun r = runCli("check " + sec + " --units " + units + " --loads " +
                                regression("force_csv", "huge_moment_first.csv"));
        EXPECT_EQ(r.status, 1) << units << ": " << r.out;
        EXPECT_NE(r.out.find("Load combination 1 (HUGE): the load fraction is not a finite number"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("Critical LoadComb   2"), std::string::npos) << r.out;
        EXPECT_FALSE(printsNonFinite(r.out)) << r.out;
    }
}
