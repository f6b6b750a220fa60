#pragma once
// qavsec-cli: each command lives in its own file and registers itself with QAVSEC_COMMAND.
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav::cli {

// Wrong words on the command line: exit status 2 with the usage text.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command name. Commands take their options out one by one; whatever is
// left must be the expected positional arguments.
class Args {
public:
    explicit Args(std::vector<std::string> words) : words_(std::move(words)) {}
    // "--name VALUE": the value, removed from the list; nullopt when absent.
    std::optional<std::string> take(const std::string& name);
    // Every "--name VALUE" (for repeated options), removed.
    std::vector<std::string> takeAll(const std::string& name);
    // "--name" alone, removed; true when present.
    bool flag(const std::string& name);
    // The remaining words; throws UsageError when one of them looks like an unknown option or
    // when their count is not `count`.
    std::vector<std::string> positional(std::size_t count);

private:
    std::vector<std::string> words_;
};

// One line of a command's --help: the option as typed, and what it does.
struct OptionHelp {
    std::string option;
    std::string text;
};

struct Command {
    std::string name;
    std::string usage;  // one line, after "qavsec-cli "
    std::function<int(Args&, std::ostream& out, std::ostream& err)> run;
    std::string summary;               // what the command does, one line
    std::vector<OptionHelp> options;   // every option, in the order of the usage line
};

// Options several commands share, for their --help.
namespace help {
inline const OptionHelp npm{"--npm N", "steps of a P-M curve (default 30)"};
inline const OptionHelp nmm{"--nmm N", "angle steps of a Myy-Mzz curve (default 24)"};
inline const OptionHelp meshSize{"--mesh-size H", "mesh size in mm instead of the file's"};
inline const OptionHelp loads{"--loads F.csv", "load combinations to import from a CSV file"};
inline const OptionHelp units{"--units N,mm|kN,m", "units of the load file (default N,mm)"};
inline const OptionHelp json{"--json", "print the results as one JSON document instead of the listing"};
}  // namespace help

// "qavsec-cli COMMAND --help": the usage, the summary and one line per option.
void printCommandHelp(const Command& c, std::ostream& os);

void registerCommand(Command c);
const std::vector<Command>& commands();

struct Registrar {
    explicit Registrar(Command c) { registerCommand(std::move(c)); }
};

#define QAVSEC_CONCAT_(a, b) a##b
#define QAVSEC_CONCAT(a, b) QAVSEC_CONCAT_(a, b)
#define QAVSEC_COMMAND(...) static const ::qav::cli::Registrar QAVSEC_CONCAT(qavsecCommand_, __LINE__){::qav::cli::Command{__VA_ARGS__}}

// Reads a section file into a fresh model, as the Open command does.
SectionModel loadSection(const std::string& path);
double numberOption(Args& args, const std::string& name, double fallback);
int integerOption(Args& args, const std::string& name, int fallback);

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace qav::cli
