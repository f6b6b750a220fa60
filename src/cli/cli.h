#pragma once
// qavsec-cli: each command lives in its own file and registers itself with QAVSEC_COMMAND,
// declaring its operands, its own options and the groups of shared options it takes. The usage
// line of every command is made from that declaration.
#include <algorithm>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/shared_options.h"

namespace qav::cli {

struct Command;

// The words after the command name. Before the command runs, the shared options of its groups
// are taken out into shared(); the command takes its own options one by one; whatever is left
// must be the expected positional arguments.
//
// Every option reads "--name VALUE" or "--name=VALUE"; an option given twice is refused, except
// where takeAll reads a repeatable one. The files a run reads and writes are noted as they are
// taken: the options that name files (-o and --fibres write one, --loads, --into and --from
// read one, in every command) and the operands written as file names in the command's operands
// ("FILE.sec", "IN.dxf"; the last operand of positionalOr is the output). When the command asks
// for its operands, every option has been taken: an output that is one of the run's inputs or
// another of its outputs is refused then, before anything is read or written.
class Args {
public:
    explicit Args(std::vector<std::string> words, const Command* command = nullptr)
        : words_(std::move(words)), command_(command) {}
    // "--name VALUE": the value, removed from the list; nullopt when absent.
    std::optional<std::string> take(const std::string& name);
    // Every "--name VALUE" (for repeated options), removed.
    std::vector<std::string> takeAll(const std::string& name);
    // "--name" alone, removed; true when present.
    bool flag(const std::string& name);
    // Whether "--name" stands alone on the line (not as "--name=VALUE"); nothing is removed.
    bool alone(const std::string& name) const {
        return std::find(words_.begin(), words_.end(), name) != words_.end();
    }
    // The remaining words; throws UsageError when one of them looks like an unknown option or
    // when their count is not `count`, or when an output is also an input or another output.
    std::vector<std::string> positional(std::size_t count);
    // As positional, for commands whose last operand may also be given as "-o OUT": the words
    // left, count - 1 or count of them.
    std::vector<std::string> positionalOr(std::size_t count,
                                          const std::optional<std::string>& lastOperand);

    // The words not taken yet, as they stand.
    const std::vector<std::string>& rest() const { return words_; }

    const SharedOptions& shared() const { return shared_; }
    SharedOptions& shared() { return shared_; }

private:
    enum class Role { Input, Output };
    struct File {
        std::string label;  // "-o", "--loads", "FILE.sec"
        std::string path;
        Role role;
    };
    std::optional<std::string> takeOnce(const std::string& name);
    std::vector<std::string> remaining(std::size_t count);
    void noteOperands(const std::vector<std::string>& words);
    void checkFiles() const;

    std::vector<std::string> words_;
    const Command* command_;
    SharedOptions shared_;
    std::vector<File> files_;
};

// "-o FILE": the file a command writes, named the same way in every command.
inline Option outputOption(const std::string& file, const std::string& what) {
    return {"-o", file, "writes " + what, Option::Required};
}

// A shared option of a command's groups that the command has no use for, and why: given on the
// line it is refused with the reason rather than taken and ignored, and the usage leaves it out.
struct NotApplied {
    std::string option;  // "--strain-limit"
    std::string why;     // "each code is drawn at its own ultimate limits"
};

struct Command {
    std::string name;
    std::string summary;   // what it does, in one line of the general help
    std::string operands;  // "FILE.sec"; required choices of options may be written here too
    std::vector<Option> options;
    unsigned groups = 0;  // OptionGroup bits: the shared options it takes (in args.shared())
    std::function<int(Args&, std::ostream& out, std::ostream& err)> run;
    // More help after the options, for a command whose operands choose among many things: given
    // the words after the command name.
    std::function<void(const std::vector<std::string>& words, std::ostream& out)> moreHelp = {};
    std::vector<NotApplied> notApplied = {};

    // One line, after "qavsec-cli ": name, operands, then every option in brackets.
    std::string usage() const;
    // Every option of the command, its own first, then those of its groups.
    std::vector<Option> allOptions() const;
};

void registerCommand(Command c);
const std::vector<Command>& commands();

struct Registrar {
    explicit Registrar(Command c) { registerCommand(std::move(c)); }
};

#define QAVSEC_CONCAT_(a, b) a##b
#define QAVSEC_CONCAT(a, b) QAVSEC_CONCAT_(a, b)
#define QAVSEC_COMMAND(...)                                                      \
    static const ::qav::cli::Registrar QAVSEC_CONCAT(qavsecCommand_, __LINE__) { \
        ::qav::cli::Command {                                                    \
            __VA_ARGS__                                                          \
        }                                                                        \
    }

// For a command whose runs differ in what they use: throws UsageError when the shared option
// was given on the line ("--nmm does not apply: ...").
void refuseGiven(const Args& args, const NotApplied& unused);

// The value of "-o"; throws UsageError naming file ("-o OUT.pdf is needed") when it is absent.
std::string outputPath(Args& args, const std::string& file);
// The text given to option `name` as a number; a conversion message names the option
// ("--npm: '2.5' is not a valid integer value").
double numberValue(const std::string& name, const std::string& text);
int integerValue(const std::string& name, const std::string& text);
double numberOption(Args& args, const std::string& name, double fallback);

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

// "qavsec-cli COMMAND --help": the usage line, then one line on each option.
void printCommandHelp(const Command& c, std::ostream& os);

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace qav::cli
