#pragma once
// Runs qavsec-cli as a user would and captures its status and its output (stdout then stderr).
// tempPath names are unique per test process.
#include <string>

namespace qav::test {

struct CliRun {
    int status = -1;
    std::string out;  // stdout and stderr together
};

CliRun runCli(const std::string& args);
// The same with stdout alone in out (stderr is dropped): what a script reading the output sees.
CliRun runCliStdout(const std::string& args);
std::string examplePath(const std::string& name);
std::string tempPath(const std::string& name);
// A command line built without Qt has no picture, PDF or workbook output and says so.
bool cliWithoutQt();

}  // namespace qav::test
