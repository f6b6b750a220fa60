// What a new user of qavsec-cli reaches for: --version, COMMAND --help, and the bash completion
// that reads the same help.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "model/text_file.h"
#include "support/cli_runner.h"

using qav::test::CliRun;
using qav::test::runCli;
using qav::test::tempPath;

namespace {

// The commands the general help lists, one line each: the name, then what it does.
std::vector<std::string> commandNames() {
    std::vector<std::string> names;
    for (const auto& l : qav::splitLines(runCli("--help").out)) {
        if (l.rfind("  ", 0) != 0 || l.rfind("  --", 0) == 0) continue;
        const auto end = l.find(' ', 2);
        EXPECT_NE(l.find_first_not_of(' ', end), std::string::npos) << "no summary: " << l;
        names.push_back(l.substr(2, end - 2));
    }
    return names;
}

// The options a command's help lists, as typed ("--angle", "-o").
std::set<std::string> helpOptions(const std::string& help) {
    std::set<std::string> options;
    for (const auto& l : qav::splitLines(help))
        if (l.rfind("  -", 0) == 0) options.insert(l.substr(2, l.find(' ', 2) - 2));
    return options;
}

// The options of a usage line ("[--angle DEG]", "(--dxf OUT | ...)").
std::set<std::string> usageOptions(const std::string& usage) {
    std::set<std::string> options;
    std::string word;
    std::istringstream in(usage);
    while (in >> word) {
        const auto start = word.find('-');
        if (start == std::string::npos || (start > 0 && word[start - 1] != '[' &&
                                           word[start - 1] != '(' && word[start - 1] != '|'))
            continue;
        std::string o = word.substr(start);
        o = o.substr(0, o.find_first_of("])|"));
        if (o.size() > 1 && o[1] != ' ') options.insert(o);
    }
    return options;
}

}  // namespace

TEST(CliUsage, VersionAndEveryCommandsHelp) {
    const CliRun v = runCli("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "qavsec-cli 1.0\n");

    const auto names = commandNames();
    ASSERT_GE(names.size(), 17u);
    for (const auto& name : names) {
        const CliRun r = runCli(name + " --help");
        ASSERT_EQ(r.status, 0) << name << ": " << r.out;
        const auto lines = qav::splitLines(r.out);
        ASSERT_GE(lines.size(), 5u) << name;
        EXPECT_EQ(lines[0].rfind("usage: qavsec-cli " + name, 0), 0u) << name;
        EXPECT_EQ(lines[2], "options:") << name;
        // Every option of the usage line has its own line of help, and --help is there too.
        const auto listed = helpOptions(r.out);
        EXPECT_TRUE(listed.count("--help")) << name;
        for (const auto& o : usageOptions(lines[0].substr(18)))
            EXPECT_TRUE(listed.count(o)) << name << " --help misses " << o << "\n" << r.out;
        // -h is the same, and help wins over anything else on the line.
        EXPECT_EQ(runCli(name + " nosuch.sec -h").out, r.out) << name;
    }
}

TEST(CliUsage, ManualPageDescribesEveryCommand) {
    std::ifstream in(std::string(QAVSEC_SOURCE_DIR) + "/data/qavsec-cli.1");
    std::stringstream page;
    page << in.rdbuf();
    for (const auto& name : commandNames()) {
        const bool described = page.str().find("\n.BI \"" + name) != std::string::npos ||
                               page.str().find("\n.B " + name) != std::string::npos;
        EXPECT_TRUE(described) << name << " has no entry in qavsec-cli.1";
    }
}

TEST(CliUsage, JsonAndLoadsAreOneNameEverywhere) {
    for (const char* name : {"info", "mesh", "pm", "mm", "mphi", "pmm", "check"})
        EXPECT_TRUE(helpOptions(runCli(std::string(name) + " --help").out).count("--json")) << name;
    for (const char* name : {"check", "report", "chart", "table", "workbook"})
        EXPECT_TRUE(helpOptions(runCli(std::string(name) + " --help").out).count("--loads"))
            << name;
}

TEST(CliUsage, BashCompletionOffersCommandsAndOptions) {
    if (std::system("bash -c 'compgen -W x x' > /dev/null 2>&1") != 0) GTEST_SKIP() << "no bash";
    const std::string script = std::string(QAVSEC_SOURCE_DIR) + "/data/qavsec-cli.bash-completion";
    // Completes the words as bash would on TAB, with the program under test first on the line.
    auto complete = [&](const std::string& words, int index) {
        const std::string out = tempPath("completion.txt");
        const std::string cmd = "bash -c 'source \"" + script + "\"; COMP_WORDS=(" + QAVSEC_CLI +
                                " " + words + "); COMP_CWORD=" + std::to_string(index) +
                                "; _qavsec_cli; printf \"%s\\n\" \"${COMPREPLY[@]}\"' > " + out +
                                " 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        std::ifstream in(out);
        std::set<std::string> got;
        for (std::string l; std::getline(in, l);)
            if (!l.empty()) got.insert(l);
        std::remove(out.c_str());
        return got;
    };
    EXPECT_EQ(complete("p", 1), (std::set<std::string>{"pm", "pmm"}));
    EXPECT_TRUE(complete("--v", 1).count("--version"));
    EXPECT_EQ(complete("pm file.sec --a", 3), (std::set<std::string>{"--angle"}));
    EXPECT_TRUE(complete("check file.sec --", 3).count("--json"));
    EXPECT_EQ(complete("report file.sec --doc s", 4), (std::set<std::string>{"section-data"}));
    EXPECT_EQ(complete("check file.sec --units k", 4), (std::set<std::string>{"kN,m"}));
    EXPECT_EQ(complete("build c", 2), (std::set<std::string>{"composite"}));
    EXPECT_EQ(complete("mesh file.sec --st", 3), (std::set<std::string>{"--steel-grid"}));
}
