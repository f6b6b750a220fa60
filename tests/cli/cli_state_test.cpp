// The key points after the P-M listing, and the section state from the command line: picture,
// summary, fibre CSV, and the clear refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/number_text.h"
#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(CliKeyPoints, TableFollowsTheUnchangedListing) {
    const std::string file = examplePath("rectangular_column.sec");
    const CliRun plain = runCli("pm " + file + " --angle 30 --npm 6");
    const CliRun keyed = runCli("pm " + file + " --angle 30 --npm 6 --key-points");
    ASSERT_EQ(plain.status, 0) << plain.out;
    ASSERT_EQ(keyed.status, 0) << keyed.out;
    // The listing is the same, line for line; the table comes after it.
    const auto a = qav::splitLines(plain.out), b = qav::splitLines(keyed.out);
    ASSERT_GT(b.size(), a.size());
    for (std::size_t i = 0; i + 1 < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << i;
    const std::string rest =
        keyed.out.substr(keyed.out.find("Key Points (Moment angle = 30, control strain 0.005)"));
    for (const char* label :
         {"Pure compression", "Pure tension", "Decompression (30)", "Decompression (210)",
          "Balanced (30)", "Balanced (210)", "Pure bending (30)", "Pure bending (210)"})
        EXPECT_NE(rest.find(label), std::string::npos) << label;
    // The JSON document carries them too, one entry each.
    const CliRun json = runCli("pm " + file + " --angle 30 --npm 6 --key-points --json");
    ASSERT_EQ(json.status, 0) << json.out;
    ASSERT_NE(json.out.find("\"key_points\""), std::string::npos) << json.out;
    std::size_t labels = 0;
    for (auto at = json.out.find("\"label\""); at != std::string::npos;
         at = json.out.find("\"label\"", at + 1))
        ++labels;
    EXPECT_EQ(labels, 8u);
}

TEST(CliState, PictureSummaryAndFibres) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli has no PNG output without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string loads = tempPath("state_loads.csv");
    ASSERT_EQ(runCli("sample-loads " + loads).status, 0);
    const std::string png = tempPath("state.png"), csv = tempPath("state.csv");
    const CliRun r =
        runCli("state " + sec + " --loads " + loads + " --comb 3 -o " + png + " --fibres " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(fileText(png).substr(1, 3), "PNG");
    EXPECT_NE(r.out.find("Load combination 3 ("), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Load Fraction"), std::string::npos) << r.out;
    // The CSV's forces add up to the summary's total axial force.
    const auto lines = qav::readTextLines(csv);
    ASSERT_GT(lines.size(), 100u);
    double total = 0;
    for (std::size_t i = 1; i < lines.size(); ++i)
        total += qav::ToFloat(lines[i].substr(lines[i].rfind(',') + 1));
    const auto at = r.out.find("Total                      P ");
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_NEAR(total, std::stod(r.out.substr(at + 29)), 0.001 + 1e-6 * lines.size());

    // The critical combination when none is named; a typed load.
    EXPECT_NE(
        runCli("state " + sec + " --loads " + loads + " -o " + png).out.find("the critical one"),
        std::string::npos);
    EXPECT_EQ(runCli("state " + sec + " --load -2000,100,300 -o " + png).status, 0);
    // The solver and the threads are chosen as for every analysis; the states agree.
    const CliRun fast = runCli("state " + sec + " --load -2000,100,300 -o " + png);
    const CliRun ref =
        runCli("state " + sec + " --load -2000,100,300 --solver reference --threads 1 -o " + png);
    ASSERT_EQ(ref.status, 0) << ref.out;
    const auto fraction = [](const std::string& out) {
        const auto at = out.find("Load Fraction");
        return at == std::string::npos ? -1.0 : std::stod(out.substr(at + 13, 20));
    };
    EXPECT_NEAR(fraction(ref.out), fraction(fast.out), 0.01 * fraction(fast.out)) << ref.out;

    // The chart's key points belong to the P-M chart.
    EXPECT_EQ(runCli("chart " + sec + " --pm 0 --npm 6 --key-points -o " + png).status, 0);
    const CliRun mm = runCli("chart " + sec + " --mm 100 --key-points -o " + png);
    EXPECT_EQ(mm.status, 2);
    EXPECT_NE(mm.out.find("--key-points belongs to --pm"), std::string::npos) << mm.out;
}

TEST(CliState, RefusesWhatHasNoState) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string loads = tempPath("state_loads2.csv");
    ASSERT_EQ(runCli("sample-loads " + loads).status, 0);
    const std::string png = tempPath("refused.png");
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::string message;
    };
    // A section with nothing to mesh: an opening alone.
    const std::string empty = tempPath("opening_only.sec");
    ASSERT_EQ(runCli("build opening -o " + empty).status, 0);
    const Case cases[] = {
        {"nothing meshed", "state " + empty + " --load 100,0,0 -o " + png, 1,
         "The section has no fibres"},
        {"combination outside", "state " + sec + " --loads " + loads + " --comb 43 -o " + png, 1,
         "There is no load combination 43: the file holds 42 (1 to 42)."},
        {"combination zero", "state " + sec + " --loads " + loads + " --comb 0 -o " + png, 1,
         "There is no load combination 0"},
        {"zero load", "state " + sec + " --load 0,0,0 -o " + png, 1, "The load is zero"},
        {"not a load", "state " + sec + " --load 1,2 -o " + png, 2, "--load takes P,Mx,My"},
        {"not a number", "state " + sec + " --load 1,x,2 -o " + png, 1,
         "'x' is not a valid floating point value"},
        {"no picture", "state " + sec + " --load 1,2,3", 2, "-o OUT.png is needed"},
        {"both", "state " + sec + " --load 1,2,3 --loads " + loads + " -o " + png, 2, "not both"},
        {"typed load raised", "state " + sec + " --load -100,0,0 --kp 1000 -o " + png, 2,
         "a typed load is never raised"},
        {"at the load raised",
         "state " + sec + " --loads " + loads + " --comb 2 --at load --min-ecc -o " + png, 2,
         "the state at the load is that of the load as given"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.name << ": " << r.out;
    }
}

TEST(CliState, AtTheLoadSaysSoInEveryOutput) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli has no PNG output without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string png = tempPath("at.png"), csv = tempPath("at.csv");
    const std::string run = "state " + sec + " --load -2000,100,300 -o " + png + " --fibres " + csv;
    // Without --at the outputs are those of the state at capacity, as they always were.
    const CliRun plain = runCli(run);
    ASSERT_EQ(plain.status, 0) << plain.out;
    EXPECT_EQ(plain.out.find("State at"), std::string::npos) << plain.out;
    EXPECT_EQ(qav::readTextLines(csv)[0].find(",State"), std::string::npos);

    const CliRun load = runCli(run + " --at load");
    ASSERT_EQ(load.status, 0) << load.out;
    EXPECT_NE(load.out.find("State at the load (load fraction "), std::string::npos) << load.out;
    const auto lines = qav::readTextLines(csv);
    EXPECT_TRUE(lines[0].ends_with(",State") && lines.back().ends_with(",load")) << lines.back();
    const CliRun json = runCli(run + " --at load --json");
    EXPECT_NE(json.out.find("\"at\": \"load\""), std::string::npos) << json.out;

    const CliRun over = runCli("state " + sec + " --load -200000,0,0 --at load -o " + png);
    EXPECT_EQ(over.status, 1);
    EXPECT_NE(over.out.find("exceeds the section's capacity"), std::string::npos) << over.out;
}
