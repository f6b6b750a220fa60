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

struct Command {
    std::string name;
    std::string usage;  // one line, after "qavsec-cli "
    std::function<int(Args&, std::ostream& out, std::ostream& err)> run;
};

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

// --solver fast|reference and --threads N, which every command that analyses takes.
struct SolverOptions {
    SolverKind solver = SolverKind::Fast;
    int threads = 0;  // 0: every core
};
SolverOptions takeSolverOptions(Args& args);
void applySolverOptions(SectionModel& m, const SolverOptions& o);

// Ctrl-C ends the program at once (status 130), so an analysis stops without writing anything;
// while an output is being written the interruption waits until the writing is done.
void installInterruptHandler();
class OutputWriting {
public:
    OutputWriting();
    ~OutputWriting();
    OutputWriting(const OutputWriting&) = delete;
    OutputWriting& operator=(const OutputWriting&) = delete;
};

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace qav::cli
