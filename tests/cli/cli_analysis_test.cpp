// The analysis commands as a user runs them: listings on stdout, counts and refusals on stderr.
#include <gtest/gtest.h>

#include <cstdio>

#include "interchange/force_csv.h"
#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

std::vector<std::string> lines(const std::string& text) {
    return qav::splitLines(text);
}

}  // namespace

TEST(CliAnalysis, ListingsOfTheExampleColumn) {
    struct Case {
        const char* name;
        std::string args;
        std::size_t listingLines;
        std::string firstLine;
    };
    const std::string file = examplePath("rectangular_column.sec");
    const Case cases[] = {
        {"pm", "pm " + file + " --npm 10", 23, "Axial_Force,   Moment_M,"},
        {"mm", "mm " + file + " --axial 2000 --nmm 8", 10, "  Moment_Myy  Moment_Mxx"},
        {"mphi", "mphi " + file + " --axis y --steps 5", 7, "   Moment_M,  Curvature,"},
        {"pmm", "pmm " + file + " --npm 4", 2 + 6 * 10, "PMM_CURVE_DATA"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.out;
        const auto l = lines(r.out);
        // Every solve converges: nothing is said of it.
        ASSERT_EQ(l.size(), c.listingLines) << c.name << ": " << r.out;
        EXPECT_EQ(l[0], c.firstLine) << c.name;
        EXPECT_EQ(r.out.find("did not converge"), std::string::npos) << c.name << ": " << r.out;
    }
}

TEST(CliAnalysis, SolverChoiceAndUnconvergedCount) {
    const std::string file = examplePath("rectangular_column.sec");
    // The reference iteration leaves solves unconverged at 30 degrees, and says how many.
    const CliRun ref = runCli("pm " + file + " --angle 30 --solver reference");
    ASSERT_EQ(ref.status, 0) << ref.out;
    EXPECT_NE(ref.out.find("solves did not converge (worst residual "), std::string::npos)
        << ref.out;
    const CliRun one = runCli("pmm " + file + " --npm 6 --threads 1");
    const CliRun two = runCli("pmm " + file + " --npm 6 --threads 2");
    ASSERT_EQ(one.status, 0) << one.out;
    EXPECT_EQ(one.out, two.out);
    EXPECT_EQ(runCli("pm " + file + " --solver quick").status, 2);
    EXPECT_EQ(runCli("pm " + file + " --threads 0").status, 2);
}

TEST(CliAnalysis, RefusesBadStepCountsBeforeRunning) {
    struct Case {
        const char* name;
        std::string args;
        std::string message;
    };
    const std::string file = examplePath("rectangular_column.sec");
    const Case cases[] = {
        {"npm", "pm " + file + " --npm 1", "at least 2 steps"},
        {"nmm", "mm " + file + " --nmm 0", "at least 1 angle step"},
        {"steps", "mphi " + file + " --steps 0", "at least 1 strain step"},
        {"steps not a number", "mphi " + file + " --steps x", "'x' is not a valid integer value"},
        {"no loads", "check " + file, "no load combinations"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, 1) << c.name << ": " << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.name << ": " << r.out;
    }
}

TEST(CliAnalysis, SampleLoadsAndTheirCheck) {
    const std::string csv = tempPath("sample_loads.csv");
    ASSERT_EQ(runCli("sample-loads " + csv).status, 0);
    EXPECT_EQ(qav::readTextFile(csv), qav::joinLinesCrLf(qav::SAMPLE_FORCE_CSV()));
    const CliRun r = runCli("check " + examplePath("rectangular_column.sec") + " --loads " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    const auto l = lines(r.out);
    // The listing of the loads as given: no minimum, so no raised load, no mark and no legend
    // (every fraction is above 1).
    ASSERT_EQ(l.size(), 43u + 6) << r.out;
    EXPECT_EQ(l[0], "No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,Mark,");
    EXPECT_EQ(l[2].rfind("2,DCON1,-2435.501,-42.136,42.136,", 0), 0u) << l[2];
    EXPECT_EQ(l[43].rfind("Critical LoadComb   ", 0), 0u) << l[43];
    std::remove(csv.c_str());
}

TEST(CliAnalysis, InfoPrintsTheSectionSummary) {
    const CliRun r = runCli("info " + examplePath("rectangular_column.sec"));
    ASSERT_EQ(r.status, 0) << r.out;
    const auto l = lines(r.out);
    ASSERT_GT(l.size(), 8u);
    EXPECT_EQ(l[1], "(1). Material Properties");
    EXPECT_EQ(l[3], "  Concrete          C30");
    EXPECT_NE(r.out.find("    8     365.000     155.000   25.0"), std::string::npos) << r.out;
}
