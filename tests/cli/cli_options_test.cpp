// One option reader for every command: shared options mean one thing everywhere, every command
// names its output with -o (the earlier forms still work), and the usage text lists what each
// command takes.
#include <gtest/gtest.h>

#include <cstdio>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

// The usage line of one command from "qavsec-cli --help".
// The usage line of a command's own help.
std::string usageOf(const std::string& command) {
    const auto lines = qav::splitLines(runCli(command + " --help").out);
    return lines.empty() ? "" : lines[0];
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(CliOptions, UsageListsTheSharedOptionsOfEachCommand) {
    struct Case {
        const char* command;
        std::vector<std::string> shows, hides;
    };
    const Case cases[] = {
        {"pm",
         {"FILE.sec", "[--angle DEG]", "[--npm N]", "[--nmm N]", "[--mesh-size H]"},
         {"--loads", "-o"}},
        {"check",
         {"[--kp K]", "[--mesh-size H]", "[--loads F.csv]", "[--units N,mm|kN,m]"},
         {"--angle"}},
        {"mesh", {"[--mesh-size H]", "[--steel-grid]", "[-o OUT.csv]"}, {"--npm", "--loads"}},
        {"table",
         {"--entry N", " -o OUT.csv", "[--loads F.csv]", "[--npm N]"},
         {"[--entry", "[-o"}},
        // The report names its document with --doc; its load file is --loads as everywhere.
        {"report",
         {"--doc figure|text|section-data|loads", "-o OUT.pdf", "[--loads F.csv]"},
         {"[--csv", "[--doc"}},
        {"export", {"FILE.sec (--dxf|--xtract|--opensees) -o OUT"}, {"[--dxf"}},
        {"sample-loads", {"-o OUT.csv"}, {"--npm"}},
        {"resave", {"IN.sec -o OUT.sec"}, {}},
    };
    for (const Case& c : cases) {
        const std::string line = usageOf(c.command);
        ASSERT_FALSE(line.empty()) << c.command;
        for (const auto& s : c.shows)
            EXPECT_TRUE(has(line, s)) << c.command << " lacks " << s << ": " << line;
        for (const auto& s : c.hides)
            EXPECT_FALSE(has(line, s)) << c.command << " shows " << s << ": " << line;
    }
}

TEST(CliOptions, EveryOutputIsNamedWithDashOAndTheEarlierFormsStillWork) {
    const std::string sec = examplePath("rectangular_column.sec");
    struct Case {
        const char* name;
        std::string now, before;  // "OUT" stands for the output file
    };
    const Case cases[] = {
        {"sample-loads", "sample-loads -o OUT", "sample-loads OUT"},
        {"resave", "resave " + sec + " -o OUT", "resave " + sec + " OUT"},
        {"export dxf", "export " + sec + " --dxf -o OUT", "export " + sec + " --dxf OUT"},
        {"export xtract", "export " + sec + " -o OUT --xtract", "export " + sec + " --xtract OUT"},
        {"mesh fibres", "mesh " + sec + " --mesh-size 100 -o OUT",
         "mesh " + sec + " --mesh-size 100 --fibres OUT"},
    };
    auto written = [](std::string args, const std::string& file) {
        std::remove(file.c_str());
        args.replace(args.find("OUT"), 3, file);
        const CliRun r = runCli(args);
        EXPECT_EQ(r.status, 0) << args << ": " << r.out;
        return qav::readTextFile(file);
    };
    for (const Case& c : cases) {
        const std::string a = tempPath("dash_o_now.out"), b = tempPath("dash_o_before.out");
        const std::string now = written(c.now, a);
        EXPECT_FALSE(now.empty()) << c.name;
        EXPECT_EQ(now, written(c.before, b)) << c.name;
        std::remove(a.c_str());
        std::remove(b.c_str());
    }
}

TEST(CliOptions, TheMomentAngleDefaultsToTheAnalysisDialogsFortyFiveDegrees) {
    const std::string sec = examplePath("rectangular_column.sec");
    const CliRun byDefault = runCli("pm " + sec + " --npm 4");
    const CliRun at45 = runCli("pm " + sec + " --npm 4 --angle 45");
    const CliRun at0 = runCli("pm " + sec + " --npm 4 --angle 0");
    ASSERT_EQ(byDefault.status, 0) << byDefault.out;
    EXPECT_EQ(byDefault.out, at45.out);
    EXPECT_NE(byDefault.out, at0.out);
}

TEST(CliOptions, SharedOptionsAreCheckedTheSameWayInEveryCommand) {
    const std::string sec = examplePath("rectangular_column.sec");
    const std::string missing = tempPath("no_such_loads.csv");
    std::remove(missing.c_str());
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"units in check", "check " + sec + " --units kN,mm", 2, "--units takes N,mm or kN,m"},
        {"units in table", "table " + sec + " --entry 1 --units x -o x.csv", 2,
         "--units takes N,mm or kN,m"},
        {"npm in pm", "pm " + sec + " --npm x", 1, "'x' is not a valid integer value"},
        {"npm in table", "table " + sec + " --entry 13 --npm x -o " + tempPath("t.csv"), 1,
         "'x' is not a valid integer value"},
        {"mesh size in mesh", "mesh " + sec + " --mesh-size abc", 1, "abc"},
        {"missing load file in check", "check " + sec + " --loads " + missing, 1,
         "No such file or directory"},
        {"missing load file in table",
         "table " + sec + " --entry 1 --loads " + missing + " -o " + tempPath("t.csv"), 1,
         "No such file or directory"},
        {"value missing", "pm " + sec + " --npm", 2, "--npm needs a value"},
        {"option of another command", "info " + sec + " --npm 4", 2, "unknown option --npm"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.out;
        EXPECT_TRUE(has(r.out, c.says)) << c.name << ": " << r.out;
    }
}
