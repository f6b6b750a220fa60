// The command line behaves like one: no run overwrites its own files, "--opt=value" works,
// every refusal names what it is about, and nothing but the program's messages reaches stderr.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "model/text_file.h"
#include "support/cli_runner.h"

namespace fs = std::filesystem;
using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

struct Case {
    std::string args;
    int status;
    std::string says;
};

// Runs each case; without Qt the commands that draw or print refuse first, and are passed over.
void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const std::string command = c.args.substr(0, c.args.find(' '));
        if (qav::test::cliWithoutQt() && (command == "report" || command == "workbook" ||
                                          command == "chart" || command == "state"))
            continue;
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos)
            << c.args << " lacks " << c.says << ": " << r.out;
    }
}

}  // namespace

TEST(CliCommandLine, NoRunWritesOverItsOwnInputsOrOutputs) {
    const std::string sec = tempPath("own.sec"), loads = tempPath("own_loads.csv");
    const std::string link = tempPath("own_link.sec"), png = tempPath("own_state.png");
    fs::copy_file(examplePath("rectangular_column.sec"), sec, fs::copy_options::overwrite_existing);
    qav::writeTextLines(loads, {"no.,Load,P,M2,M3", "1,A,-1000000,5e7,3e7"});
    const std::string secBytes = qav::readTextFile(sec), loadBytes = qav::readTextFile(loads);
    fs::remove(link);
    fs::create_symlink(sec, link);
    // Another spelling of the section's name is the same file.
    const std::string other =
        (fs::path(sec).parent_path() / "." / fs::path(sec).filename()).string();
    const std::string state = "state " + sec + " --load=-3000,500,200 -o ";
    const std::string reads = " names the file that FILE.sec reads";
    expectAll({
        {"export " + sec + " --dxf -o " + sec, 2, "-o" + reads},
        {"export " + sec + " --xtract " + other, 2, "--xtract" + reads},
        {"mesh " + sec + " -o " + link, 2, "-o" + reads},
        {"mesh " + sec + " --fibres " + sec, 2, "--fibres" + reads},
        {"report " + sec + " --doc text -o " + sec, 2, "-o" + reads},
        {"table " + sec + " --entry 1 -o " + sec, 2, "-o" + reads},
        {"table " + sec + " --entry 1 --loads " + loads + " -o " + loads, 2,
         "-o names the file that --loads"},
        {"workbook " + sec + " -o " + sec, 2, "-o" + reads},
        {"chart " + sec + " --pm 0 -o " + sec, 2, "-o" + reads},
        {state + sec, 2, "-o" + reads},
        {state + png + " --fibres " + png, 2, "-o and --fibres name the same file"},
        {"resave " + sec + " " + other, 2, "OUT.sec names the file that IN.sec reads"},
        {"build typical --into " + sec + " -o " + sec, 2, "-o names the file that --into reads"},
        {"import-dxf " + sec + " -o " + sec, 2, "-o names the file that IN.dxf reads"},
    });
    EXPECT_EQ(qav::readTextFile(sec), secBytes);
    EXPECT_EQ(qav::readTextFile(loads), loadBytes);
    EXPECT_FALSE(fs::exists(png)) << "refused before anything was written";
    for (const auto& f : {sec, loads, link}) fs::remove(f);
}

TEST(CliCommandLine, OptionsAndTheirRefusals) {
    const std::string sec = examplePath("rectangular_column.sec"), png = tempPath("equals.png");
    EXPECT_EQ(runCli("pm " + sec + " --npm=4 --angle=30").out,
              runCli("pm " + sec + " --npm 4 --angle 30").out);
    const std::string bad = tempPath("bad_number.sec"), folder = tempPath("loads_folder");
    auto lines = qav::readTextLines(sec);
    lines[11] = "PT,2,5O0.00000,2.00000";
    qav::writeTextLines(bad, lines);
    fs::create_directories(folder);
    qav::writeTextLines(png + ".csv", {"no.,Load,P,M2,M3", "", "1,A,10,20,3O"});
    expectAll({
        {"state " + sec + " --npm 4 --load=-3000,500,200 -o=" + png, 0, ""},
        {"pm " + sec + " --angle 30 --angle=40", 2, "--angle given twice"},
        {"pm " + sec + " --key-points --key-points", 2, "--key-points given twice"},
        {"pm " + sec + " --json=1", 2, "--json takes no value"},
        {"check " + sec + " --loads a.csv --csv b.csv", 2, "--csv is the earlier name of --loads"},
        {"pm " + sec + " --angel=30", 2, "unknown option --angel\n"},
        {"pm " + sec + " --npm 2.5", 1, "--npm: '2.5' is not a valid integer value"},
        {"state " + sec + " --load=-3000,x,200 -o " + png, 1, "--load: 'x' is not a valid"},
        {"check " + sec + " --loads " + folder, 1, "It is a folder, not a file."},
        {"check " + sec + " --loads " + png + ".csv", 1, ".csv, line 3, column M3: '3O' is not"},
        {"info " + bad, 1, bad + ", line 12: '5O0.00000' is not a valid floating point value"},
        {"info " + std::string(QAVSEC_SOURCE_DIR) + "/README.md", 1, "is not a section file"},
    });
    EXPECT_EQ(runCli("info " + std::string(QAVSEC_SOURCE_DIR) + "/README.md").out.find("on screen"),
              std::string::npos);
    for (const auto& f : {bad, folder, png, png + ".csv"}) fs::remove(f);
}

TEST(CliCommandLine, EveryUsageLineNamesEachOptionOnce) {
    for (const std::string& entry : qav::splitLines(runCli("--help").out)) {
        if (entry.rfind("  ", 0) != 0 || entry.rfind("  --", 0) == 0) continue;
        const std::string name = entry.substr(2, entry.find(' ', 2) - 2);
        const std::string line = qav::splitLines(runCli(name + " --help").out).at(0);
        std::istringstream words(line);
        std::set<std::string> seen;
        for (std::string w; words >> w;) {
            const auto at = w.find("--");
            if (at == std::string::npos) continue;
            EXPECT_TRUE(seen.insert(w.substr(at, w.find_first_of("])|", at) - at)).second) << line;
        }
    }
}

TEST(CliCommandLine, PicturesAndDocumentsLeaveStderrToTheProgram) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli draws and prints nothing without Qt";
    const std::string sec = examplePath("rectangular_column.sec");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string kept = runtime ? runtime : "";
    ::unsetenv("XDG_RUNTIME_DIR");  // Qt warns of it on stderr
    const std::string png = tempPath("quiet.png"), pdf = tempPath("quiet.pdf");
    EXPECT_EQ(runCli("chart " + sec + " --npm 4 --pm 0 -o " + png).out, "");
    EXPECT_EQ(runCli("state " + sec + " --npm 4 --load=-3000,500,200 -o " + png)
                  .out.find("QStandardPaths"),
              std::string::npos);
    EXPECT_EQ(runCli("report " + sec + " --doc section-data -o " + pdf).out,
              "1 page(s) written to " + pdf + "\n");
    if (runtime) ::setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
    for (const auto& f : {png, pdf}) fs::remove(f);
}
