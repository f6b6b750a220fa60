// Design codes at the command line: grade tables, conversion of a section, the code options of
// the analyses and the comparison chart.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::runCliStdout;
using qav::test::tempPath;

namespace {
bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
}  // namespace

TEST(CliCode, ResaveConvertsAndComesBackByteForByte) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string ec2 = tempPath("code_ec2.sec"), hk = tempPath("code_hk.sec");
    const CliRun to = runCli("resave " + sec + " --code ec2 -o " + ec2);
    ASSERT_EQ(to.status, 0) << to.out;
    EXPECT_TRUE(has(to.out, "Concrete grade: C30 becomes C25/30 (the strongest not above cube 30"))
        << to.out;
    const std::string text = qav::readTextFile(ec2);
    EXPECT_TRUE(has(text, "DESIGN START\r\nCODE,EC2\r\nALPHA_CC,1.00\r\nTIES,TIED\r\n"));
    EXPECT_TRUE(has(text, "CONCMAT,14,C90/105,"));
    // The analyses read the block; the code's ultimate limits are an option of each.
    EXPECT_EQ(runCli("pm " + ec2 + " --strain-limit code").status, 0);
    EXPECT_TRUE(has(runCli("info " + ec2).out, "Design code: EN 1992-1-1 (alpha_cc 1.00, tied)"));

    // Back under HK-COP-2013 on the program's own tables, which now end with two structural
    // steels.
    const CliRun back = runCli("resave " + ec2 + " --code hk --steel STEEL1 -o " + hk);
    ASSERT_EQ(back.status, 0) << back.out;
    std::string expected = qav::readTextFile(sec);
    const auto at = expected.find("STEEL MAT END");
    expected.insert(at,
                    "STEELMAT,6,S275,200000.00000,275.00000,1.00000\r\n"
                    "STEELMAT,7,S355,200000.00000,355.00000,1.00000\r\n");
    expected.replace(expected.find("NSTEELMAT,5"), 11, "NSTEELMAT,7");
    EXPECT_EQ(qav::readTextFile(hk), expected);
    std::remove(ec2.c_str());
    std::remove(hk.c_str());
}

TEST(CliCode, OptionsSayWhatTheyDidOrWhyNotAndRefusalsWriteNothing) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string out = tempPath("code_refused.sec");
    struct Case {
        std::string args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"resave " + sec + " --code ec3 -o " + out, 1, "\"ec3\" is not a design code"},
        {"resave " + sec + " --code aci318 --concrete C40 -o " + out, 1,
         "Concrete grade \"C40\" is not a grade of ACI 318-19"},
        {"resave " + sec + " --code ec2 --rebar S355 -o " + out, 1,
         "Rebar grade \"S355\" is not a grade of EN 1992-1-1"},
        {"resave " + sec + " --code ec2 --alpha-cc 0.5 -o " + out, 1, "from 0.8 to 1.0"},
        {"resave " + sec + " --code aci318 --alpha-cc 0.85 -o " + out, 2, "--alpha-cc belongs"},
        {"resave " + sec + " --code ec2 --ties spiral -o " + out, 2, "--ties belongs"},
        {"resave " + examplePath("circular_column.sec") + " --code aci318 -o " + out, 1,
         "the nearest is FC20"},
        {"materials --code xx", 1, "\"xx\" is not a design code"},
        {"materials --code aci318", 0, "FC28_Cover"},
        {"materials --code ec2", 0, "C90/105_Cover"},
        {"pm " + sec + " --strain-limit corner", 2, "--strain-limit takes control or code"},
        {"check " + sec + " --ties hoops", 2, "--ties takes tied or spiral"},
        // A choice the run would not use is refused, not taken and ignored.
        {"check " + sec + " --ties spiral", 2, ".sec is under HK-COP-2013; the ties set phi"},
        {"mphi " + sec + " --ties tied", 2, "an M-Phi run is not reduced by phi"},
        {"chart " + sec + " --mphi y --ties tied -o " + out, 2, "not reduced by phi"},
        {"state " + sec + " --load -500,9,9 --ties tied -o " + out, 2, "the section's own"},
        {"compare " + sec + " --strain-limit=code -o " + out, 2, "--strain-limit does not apply"},
    };
    for (const Case& c : cases) {
        // Without Qt the chart command stops first for want of its picture writer.
        if (c.args.starts_with("chart ") && qav::test::cliWithoutQt()) continue;
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.out;
        EXPECT_TRUE(has(r.out, c.says)) << c.args << ": " << r.out;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
    }
}

TEST(CliCode, CompareDrawsTheThreeCodes) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "no picture without Qt";
    const std::string png = tempPath("code_compare.png");
    const CliRun r =
        runCli("compare " + examplePath("rectangular_column.sec") + " --angle 30 -o " + png);
    ASSERT_EQ(r.status, 0) << r.out;
    for (const char* code : {"HK-COP-2013: ", "EN 1992-1-1: ", "ACI 318-19: "})
        EXPECT_TRUE(has(r.out, code)) << r.out;
    EXPECT_GT(std::filesystem::file_size(png), 0u);
    std::remove(png.c_str());
}

// A section under EN 1992-1-1 or ACI 318-19 runs at its code's limits: by default as with
// --strain-limit code, and the control strain is refused with the reason. HK-COP-2013 keeps the
// control strain unless asked. Each result says its limit.
TEST(CliCode, CodesWithTheirOwnTablesRunAtTheirLimits) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string aci = tempPath("limits_aci.sec");
    ASSERT_EQ(runCli("resave " + sec + " --code aci318 -o " + aci).status, 0);
    const CliRun plain = runCliStdout("pm " + aci + " --npm 6 --json --key-points");
    EXPECT_EQ(plain.out, runCliStdout("pm " + aci +
                                      " --npm 6 --json --key-points "
                                      "--strain-limit code")
                             .out);
    EXPECT_TRUE(has(plain.out, "\"strain_limit\": \"code\"")) << plain.out;
    const CliRun refused = runCli("mm " + aci + " --strain-limit control");
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(has(refused.out, "ACI 318-19 is analysed at its code's limits")) << refused.out;
    EXPECT_TRUE(has(runCli("info " + aci).out, "Strain limit: code limits")) << aci;
    EXPECT_TRUE(has(runCli("mphi " + aci + " --steps 4 --json").out, "\"max_strain\": 0.003,"));
    for (const char* limit : {"control", "code"}) {
        const std::string option = limit == std::string("code") ? " --strain-limit code" : "";
        const CliRun hk = runCliStdout("mm " + sec + " --nmm 4 --json" + option);
        EXPECT_TRUE(has(hk.out, std::string("\"strain_limit\": \"") + limit + "\"")) << limit;
    }
    std::remove(aci.c_str());
}
