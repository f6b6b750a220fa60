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
using qav::test::runCliStdout;
using qav::test::tempPath;

namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Case {
    const char* name;
    std::string args;
    int status;
    std::string says;
};

void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.out;
        EXPECT_TRUE(has(r.out, c.says)) << c.name << " lacks \"" << c.says << "\": " << r.out;
    }
}

}  // namespace

TEST(CliCommandLine, NoRunWritesOverItsOwnInputsOrOutputs) {
    const std::string sec = tempPath("own.sec"), loads = tempPath("own_loads.csv");
    fs::copy_file(examplePath("rectangular_column.sec"), sec, fs::copy_options::overwrite_existing);
    qav::writeTextLines(loads, {"no.,Load,P,M2,M3", "1,A,-1000000,5e7,3e7"});
    const std::string secBytes = qav::readTextFile(sec), loadBytes = qav::readTextFile(loads);
    const std::string link = tempPath("own_link.sec"), png = tempPath("own_state.png");
    fs::remove(link);
    fs::create_symlink(sec, link);
    fs::remove(png);
    // Another spelling of the section's name: the same file.
    const std::string other = (fs::path(sec).parent_path() / "." / fs::path(sec).filename()).string();
    const std::string load = " --load=-3000,500,200";
    const std::vector<Case> cases = {
        {"export", "export " + sec + " --dxf -o " + sec, 2, "-o names the file that FILE.sec reads"},
        {"export, earlier form", "export " + sec + " --xtract " + other, 2,
         "--xtract names the file that FILE.sec"},
        {"mesh", "mesh " + sec + " -o " + link, 2, "-o names the file that FILE.sec reads"},
        {"mesh --fibres", "mesh " + sec + " --fibres " + sec, 2, "--fibres names the file that FILE.sec"},
        {"report", "report " + sec + " --doc text -o " + sec, 2, "-o names the file that FILE.sec"},
        {"table", "table " + sec + " --entry 1 -o " + sec, 2, "-o names the file that FILE.sec"},
        {"table loads", "table " + sec + " --entry 1 --loads " + loads + " -o " + loads, 2,
         "-o names the file that --loads reads"},
        {"workbook", "workbook " + sec + " -o " + sec, 2, "-o names the file that FILE.sec"},
        {"chart", "chart " + sec + " --pm 0 -o " + sec, 2, "-o names the file that FILE.sec"},
        {"state", "state " + sec + load + " -o " + sec, 2, "-o names the file that FILE.sec"},
        {"state outputs", "state " + sec + load + " -o " + png + " --fibres " + png, 2,
         "-o and --fibres name the same file"},
        {"resave", "resave " + sec + " " + other, 2, "OUT.sec names the file that IN.sec reads"},
        {"build into", "build typical --into " + sec + " -o " + sec, 2,
         "-o names the file that --into reads"},
        {"import-dxf", "import-dxf " + sec + " -o " + sec, 2, "-o names the file that IN.dxf reads"},
    };
    expectAll(cases);
    EXPECT_EQ(qav::readTextFile(sec), secBytes);
    EXPECT_EQ(qav::readTextFile(loads), loadBytes);
    EXPECT_FALSE(fs::exists(png)) << "refused before anything was written";
    for (const auto& f : {sec, loads, link}) fs::remove(f);
}

TEST(CliCommandLine, OptionsAndTheirRefusals) {
    const std::string sec = examplePath("rectangular_column.sec");
    EXPECT_EQ(runCli("pm " + sec + " --npm=4 --angle=30").out,
              runCli("pm " + sec + " --npm 4 --angle 30").out);
    const std::string png = tempPath("equals.png");
    const CliRun state = runCli("state " + sec + " --npm 4 --load=-3000,500,200 -o=" + png);
    EXPECT_EQ(state.status, 0) << state.out;
    fs::remove(png);

    const std::string bad = tempPath("bad_number.sec"), folder = tempPath("loads_folder");
    auto lines = qav::readTextLines(sec);
    lines[11] = "PT,1,5O0.00000,2.00000";
    qav::writeTextLines(bad, lines);
    fs::create_directories(folder);
    const std::vector<Case> cases = {
        {"given twice", "pm " + sec + " --angle 30 --angle=40", 2, "--angle given twice"},
        {"switch twice", "pm " + sec + " --key-points --key-points", 2, "--key-points given twice"},
        {"switch with a value", "pm " + sec + " --json=1", 2, "--json takes no value"},
        {"old and new name", "check " + sec + " --loads a.csv --csv b.csv", 2,
         "--csv is the earlier name of --loads"},
        {"unknown with a value", "pm " + sec + " --angel=30", 2, "unknown option --angel\n"},
        {"integer named", "pm " + sec + " --npm 2.5", 1, "--npm: '2.5' is not a valid integer value"},
        {"number named", "state " + sec + " --load=-3000,x,200 -o " + png, 1, "--load: 'x' is not a valid"},
        {"folder of loads", "check " + sec + " --loads " + folder, 1, "It is a folder, not a file."},
        {"bad number in the section", "info " + bad, 1,
         bad + ", line 12: '5O0.00000' is not a valid floating point value"},
        {"section folder", "info " + folder + "/../" + fs::path(folder).filename().string(), 1,
         "It is a folder"},
    };
    expectAll(cases);
    // A file of another kind is refused in the command line's own words.
    const CliRun other = runCli("info " + std::string(QAVSEC_SOURCE_DIR) + "/README.md");
    EXPECT_EQ(other.status, 1);
    EXPECT_TRUE(has(other.out, "is not a section file")) << other.out;
    EXPECT_FALSE(has(other.out, "on screen")) << other.out;
    fs::remove(bad);
    fs::remove(folder);
}

TEST(CliCommandLine, ABlankLastLineOfALoadFileIsNoCombination) {
    const std::string loads = tempPath("blank_last_line.csv");
    qav::writeTextFile(loads, "no.,Load,P,M2,M3\n1,A,-1000000,5e7,3e7\n\n");
    const CliRun r =
        runCliStdout("check " + examplePath("rectangular_column.sec") + " --npm 4 --loads " + loads);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "\n1,A,")) << r.out;
    EXPECT_FALSE(has(r.out, "\n2,")) << r.out;
    EXPECT_TRUE(has(r.out, "Critical LoadComb   1\n")) << r.out;
    fs::remove(loads);
}

TEST(CliCommandLine, EveryUsageLineNamesEachOptionOnce) {
    for (const std::string& line : qav::splitLines(runCli("--help").out)) {
        std::istringstream words(line);
        std::set<std::string> seen;
        for (std::string w; words >> w;) {
            const auto start = w.find("--");
            if (start == std::string::npos) continue;
            const std::string option = w.substr(start, w.find_first_of("])|=", start) - start);
            EXPECT_TRUE(seen.insert(option).second) << option << " twice in: " << line;
        }
    }
}

TEST(CliCommandLine, PicturesAndDocumentsLeaveStderrToTheProgram) {
    const std::string sec = examplePath("rectangular_column.sec");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string kept = runtime ? runtime : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string png = tempPath("quiet.png"), pdf = tempPath("quiet.pdf");
    EXPECT_EQ(runCli("chart " + sec + " --npm 4 --pm 0 -o " + png).out, "");
    const CliRun state = runCli("state " + sec + " --npm 4 --load=-3000,500,200 -o " + png);
    EXPECT_FALSE(has(state.out, "QStandardPaths")) << state.out;
    EXPECT_EQ(runCli("report " + sec + " --doc section-data -o " + pdf).out,
              "1 page(s) written to " + pdf + "\n");
    if (runtime) ::setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
    fs::remove(png);
    fs::remove(pdf);
}
