// Reports and charts from the command line: a PDF document or a PNG picture, or a refusal.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned bigEndian32(const std::string& b, std::size_t at) {
    unsigned v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

}  // namespace

TEST(CliReport, DocumentsAndCharts) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli has no PDF or PNG output without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string loads = tempPath("report_loads.csv");
    ASSERT_EQ(runCli("sample-loads " + loads).status, 0);
    struct Case {
        const char* name;
        std::string args;
        std::string out;
        bool pdf;
    };
    const Case cases[] = {
        {"figure report",
         "report " + sec + " --figure --npm 6 --nmm 8 --csv " + loads + " --all --critical",
         "fig.pdf", true},
        {"text report", "report " + sec + " --text --npm 6 --nmm 8 --angle 30", "txt.pdf", true},
        {"section data", "report " + sec + " --section-data", "data.pdf", true},
        {"load report", "report " + sec + " --loads --csv " + loads, "loads.pdf", true},
        // The load file is --loads in every command; --doc names the report.
        {"figure by --doc",
         "report " + sec + " --doc figure --npm 6 --nmm 8 --loads " + loads + " --all", "fig2.pdf",
         true},
        {"load report by --doc", "report " + sec + " --doc loads --loads " + loads, "loads2.pdf",
         true},
        {"old flag and --loads file", "report " + sec + " --section-data --loads " + loads,
         "data2.pdf", true},
        {"P-M chart", "chart " + sec + " --pm 45 --npm 6 --loads " + loads + " --all --critical",
         "pm.png", false},
        {"Myy-Mxx chart", "chart " + sec + " --mm 2000 --nmm 8", "mm.png", false},
        {"M-Phi chart", "chart " + sec + " --mphi y --steps 5", "mphi.png", false},
    };
    for (const Case& c : cases) {
        const std::string out = tempPath(c.out);
        std::remove(out.c_str());
        const CliRun r = runCli(c.args + " -o " + out);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.out;
        const std::string bytes = bytesOf(out);
        if (c.pdf) {
            EXPECT_EQ(bytes.rfind("%PDF", 0), 0u) << c.name;
            EXPECT_NE(r.out.find(" page(s) written"), std::string::npos) << c.name << ": " << r.out;
        } else {
            ASSERT_GT(bytes.size(), 24u) << c.name;
            EXPECT_EQ(bytes.substr(1, 3), "PNG") << c.name;
            EXPECT_EQ(bigEndian32(bytes, 16), 534u) << c.name;
            EXPECT_EQ(bigEndian32(bytes, 20), 439u) << c.name;
        }
        std::remove(out.c_str());
    }
    std::remove(loads.c_str());
}

TEST(CliReport, Refusals) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli has no PDF or PNG output without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"no document", "report " + sec + " -o x.pdf", 2, "choose one document"},
        {"two documents", "report " + sec + " --text --figure -o x.pdf", 2, "choose one document"},
        {"--doc and an old flag", "report " + sec + " --doc text --figure -o x.pdf", 2,
         "choose one document"},
        {"unknown --doc", "report " + sec + " --doc summary -o x.pdf", 2,
         "--doc takes figure, text, section-data or loads"},
        {"both load file names",
         "report " + sec + " --doc loads --loads a.csv --csv b.csv -o x.pdf", 2,
         "--csv is the earlier name of --loads"},
        {"no output", "chart " + sec + " --pm 0", 2, "-o OUT.png is needed"},
        {"no chart", "chart " + sec + " -o x.png", 2, "choose one of --pm, --mm, --mphi"},
        {"axial not a number", "chart " + sec + " --mm abc -o " + tempPath("x.png"), 1,
         "'abc' is not a valid floating point value"},
        {"unwritable PDF", "report " + sec + " --section-data -o /nonexistent/dir/x.pdf", 1,
         "No such file or directory"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.name << ": " << r.out;
    }
}
