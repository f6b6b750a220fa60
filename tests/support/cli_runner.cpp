#include "support/cli_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qav::test {

std::string tempPath(const std::string& name) {
    // Per process, so tests that ctest runs side by side never share a file.
    return (std::filesystem::temp_directory_path() /
            ("qavsec_test_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

std::string examplePath(const std::string& name) {
    return std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name;
}

namespace {
CliRun run(const std::string& args, const char* errRedirect) {
    // One file per process and run: ctest runs test processes side by side.
    static int runs = 0;
    const std::string outFile = tempPath("cli_output_" + std::to_string(++runs) + ".txt");
    const std::string cmd =
        std::string(QAVSEC_CLI) + " " + args + " > " + outFile + " " + errRedirect + " < /dev/null";
    const int rc = std::system(cmd.c_str());
    std::ifstream in(outFile);
    std::stringstream ss;
    ss << in.rdbuf();
    std::remove(outFile.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ss.str()};
}
}  // namespace

CliRun runCli(const std::string& args) {
    return run(args, "2>&1");
}

CliRun runCliStdout(const std::string& args) {
    return run(args, "2>/dev/null");
}

bool cliWithoutQt() {
    static const bool without = runCli("chart " + examplePath("rectangular_column.sec") +
                                       " --pm 0 -o " + tempPath("probe.png"))
                                    .out.find("built without Qt") != std::string::npos;
    return without;
}

}  // namespace qav::test
