// The command line as a user runs it: exit codes, messages and files.
#include <gtest/gtest.h>

#include <cstdio>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

TEST(CliModel, ResaveReproducesAWrittenFileByteForByte) {
    const std::string out = tempPath("resaved.sec");
    const CliRun r = runCli("resave " + examplePath("rectangular_column.sec") + " " + out);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(qav::readTextFile(out), qav::readTextFile(examplePath("rectangular_column.sec")));
    std::remove(out.c_str());
}

TEST(CliModel, InfoSummarisesTheExample) {
    const CliRun r = runCli("info " + examplePath("rectangular_column.sec"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("12"), std::string::npos) << r.out;
}

TEST(CliModel, ExitStatusTellsUsageFromBadInput) {
    EXPECT_EQ(runCli("").status, 2);
    EXPECT_EQ(runCli("no-such-command").status, 2);
    EXPECT_EQ(runCli("resave only-one.sec").status, 2);
    EXPECT_EQ(runCli("info --bogus x.sec").status, 2);
    const CliRun missing = runCli("info /nonexistent/x.sec");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("No such file or directory"), std::string::npos) << missing.out;
    const std::string bad = tempPath("bad.sec");
    qav::writeTextFile(bad, "REBAR START\r\nNBAR,1\r\nBAR,1,x,0,25\r\nREBAR END\r\n");
    const CliRun conv = runCli("info " + bad);
    EXPECT_EQ(conv.status, 1);
    EXPECT_NE(conv.out.find("'x' is not a valid floating point value"), std::string::npos)
        << conv.out;
    std::remove(bad.c_str());
}

TEST(CliModel, MaterialsListsTheThreeTablesAsTheFileWritesThem) {
    const CliRun r = runCli("materials");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("CONC MAT START\n", 0), 0u) << r.out.substr(0, 40);
    EXPECT_NE(r.out.find("STEELMAT,5,STEEL5,200000.00000,500.00000,0.87000\n"), std::string::npos);
    EXPECT_NE(r.out.find("COVERMAT,17,C100_Cover,"), std::string::npos);
}
