// The long runs of the command line: every command that analyses says on stderr how many solves
// did not converge, with the worst residual, once per run and only when there are any; its
// output file is the same for any thread count; Ctrl-C stops it without leaving a file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::runCliStdout;
using qav::test::tempPath;

namespace {

std::size_t countLines(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(CliLongRuns, CountedOnceWhereSolvesDidNotConvergeAndNowhereElse) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string common = " --angle 30 --axial 500 --npm 6 --nmm 8";
    struct Case {
        const char* name;
        std::string args;
        bool needsQt;
    };
    const Case cases[] = {
        {"pm with key points", "pm " + sec + " --angle 30 --npm 6 --key-points", false},
        {"one curve table", "table " + sec + common + " --entry 15 -o " + tempPath("u15.csv"),
         false},
        {"chart", "chart " + sec + " --pm 30 --npm 6 -o " + tempPath("u.png"), true},
        {"text report", "report " + sec + common + " --doc text -o " + tempPath("u.pdf"), true},
        {"figure report", "report " + sec + common + " --doc figure -o " + tempPath("uf.pdf"),
         true},
        {"workbook", "workbook " + sec + common + " -o " + tempPath("u.xlsx"), true},
    };
    const bool noQt = qav::test::cliWithoutQt();
    for (const Case& c : cases) {
        if (c.needsQt && noQt) continue;
        // The reference iteration leaves biaxial solves near pure tension unconverged.
        const CliRun ref = runCli(c.args + " --solver reference");
        ASSERT_EQ(ref.status, 0) << c.name << ": " << ref.out;
        EXPECT_EQ(countLines(ref.out, "solves did not converge (worst residual "), 1u)
            << c.name << ": " << ref.out;
        const CliRun fast = runCli(c.args);
        ASSERT_EQ(fast.status, 0) << c.name << ": " << fast.out;
        EXPECT_EQ(fast.out.find("did not converge"), std::string::npos)
            << c.name << ": " << fast.out;
    }
}

TEST(CliLongRuns, WorkbookAndTablesAreTheSameOnOneAndFourThreads) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "no workbook without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string common = " --angle 30 --axial 500 --npm 6 --nmm 8";
    for (const char* entry : {"13", "16"}) {
        const std::string one = tempPath(std::string("t1_") + entry + ".csv");
        const std::string four = tempPath(std::string("t4_") + entry + ".csv");
        ASSERT_EQ(
            runCli("table " + sec + common + " --entry " + entry + " --threads 1 -o " + one).status,
            0);
        ASSERT_EQ(runCli("table " + sec + common + " --entry " + entry + " --threads 4 -o " + four)
                      .status,
                  0);
        EXPECT_EQ(bytesOf(one), bytesOf(four)) << entry;
        EXPECT_FALSE(bytesOf(one).empty());
    }
    const std::string one = tempPath("w1.xlsx"), four = tempPath("w4.xlsx");
    ASSERT_EQ(runCli("workbook " + sec + common + " --threads 1 -o " + one).status, 0);
    ASSERT_EQ(runCli("workbook " + sec + common + " --threads 4 -o " + four).status, 0);
    // The sheets themselves (the archive also stamps its time).
    for (int sheet = 1; sheet <= 14; ++sheet) {
        const std::string part = "xl/worksheets/sheet" + std::to_string(sheet) + ".xml";
        auto unzip = [&](const std::string& zip) {
            std::string text;
            if (FILE* p = popen(("unzip -p " + zip + " " + part).c_str(), "r")) {
                char buf[4096];
                std::size_t n;
                while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
                pclose(p);
            }
            return text;
        };
        const std::string a = unzip(one);
        EXPECT_FALSE(a.empty()) << part;
        EXPECT_EQ(a, unzip(four)) << part;
    }
}

// Ctrl-C, a kill or a closed terminal during a run ends it with 128 + the signal, and the output
// is as it was: absent, or the earlier file byte for byte.
TEST(CliLongRuns, SignalDuringTheCurvesLeavesTheEarlierFile) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "no report or workbook without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    // The reference iteration on a fine P-M curve at 30 degrees takes several seconds, even alone
    // on two cores.
    const std::string slow = " --angle 30 --npm 400 --mesh-size 20 --solver reference --threads 2";
    struct Case {
        std::string what, signal;
        int status;
        bool earlier;
    };
    for (const Case& c :
         {Case{"workbook", "INT", 130, false}, Case{"report --doc text", "TERM", 143, true},
          Case{"table --entry 15", "HUP", 129, true}}) {
        const std::string out = tempPath("interrupted.out");
        std::remove(out.c_str());
        if (c.earlier) qav::writeTextFile(out, "earlier");
        const std::string cmd = "timeout --preserve-status -s " + c.signal + " 1 " +
                                std::string(QAVSEC_CLI) + " " + c.what + " " + sec + slow + " -o " +
                                out + " > /dev/null 2>&1";
        const int rc = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(rc)) << c.what;
        EXPECT_EQ(WEXITSTATUS(rc), c.status) << c.what << ": stopped during the run";
        if (c.earlier)
            EXPECT_EQ(qav::readTextFile(out), "earlier") << c.what;
        else
            EXPECT_FALSE(std::filesystem::exists(out)) << c.what;
        std::remove(out.c_str());
    }
}

// A write that fails (a full disk, here a file size limit) exits non-zero with the reason and
// leaves the earlier file; "-" is the standard output and a device is written, not replaced.
TEST(CliLongRuns, FailedWritesKeepTheEarlierFileAndSayWhy) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "no report or picture without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string dir = tempPath("full");
    std::filesystem::create_directories(dir);
    for (const std::string what :
         {"report --doc section-data", "chart --pm 0", "workbook", "sample-loads"}) {
        const std::string out = dir + "/out.file";
        qav::writeTextFile(out, "earlier");
        const std::string input = what == "sample-loads" ? "" : " " + sec;
        const std::string said = tempPath("full.txt");
        const int rc = std::system(("(trap '' XFSZ; ulimit -f 2; exec " + std::string(QAVSEC_CLI) +
                                    " " + what + input + " -o " + out + ") > " + said + " 2>&1")
                                       .c_str());
        const std::string text = qav::readTextFile(said);
        EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) != 0) << what;
        EXPECT_NE(text.find("File too large"), std::string::npos) << what << ": " << text;
        EXPECT_EQ(text.find("written"), std::string::npos) << what << ": " << text;
        std::remove(said.c_str());
        EXPECT_EQ(qav::readTextFile(out), "earlier") << what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator{}),
                  1)
            << what << ": a temporary was left";
    }
    std::filesystem::remove_all(dir);
    EXPECT_EQ(runCliStdout("report " + sec + " --doc section-data -o -").out.substr(0, 5), "%PDF-");
    EXPECT_EQ(runCli("chart " + sec + " --pm 0 -o /dev/null").status, 0);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}
