#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <ostream>

#include "model/number_text.h"

#ifndef QAVSEC_VERSION
#define QAVSEC_VERSION "unknown"
#endif

namespace qav::cli {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> all;
    return all;
}
}  // namespace

void registerCommand(Command c) { registry().push_back(std::move(c)); }

const std::vector<Command>& commands() { return registry(); }

std::optional<std::string> Args::take(const std::string& name) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] != name) continue;
        if (i + 1 >= words_.size()) throw UsageError(name + " needs a value");
        std::string v = words_[i + 1];
        words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i), words_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return v;
    }
    return std::nullopt;
}

std::vector<std::string> Args::takeAll(const std::string& name) {
    std::vector<std::string> values;
    while (auto v = take(name)) values.push_back(*v);
    return values;
}

bool Args::flag(const std::string& name) {
    const auto it = std::find(words_.begin(), words_.end(), name);
    if (it == words_.end()) return false;
    words_.erase(it);
    return true;
}

std::vector<std::string> Args::positional(std::size_t count) {
    for (const auto& w : words_)
        if (w.size() > 2 && w.rfind("--", 0) == 0) throw UsageError("unknown option " + w);
    if (words_.size() != count)
        throw UsageError(words_.size() < count ? "missing argument" : "too many arguments");
    return words_;
}

std::vector<std::string> Args::positionalOr(std::size_t count, const std::optional<std::string>& lastOperand) {
    if (!lastOperand) return positional(count);
    std::vector<std::string> words = positional(count - 1);
    words.push_back(*lastOperand);
    return words;
}

std::string outputPath(Args& args, const std::string& file) {
    const auto out = args.take("-o");
    if (!out) throw UsageError("-o " + file + " is needed");
    return *out;
}

double numberOption(Args& args, const std::string& name, double fallback) {
    const auto v = args.take(name);
    return v ? ToFloat(*v) : fallback;
}

int integerOption(Args& args, const std::string& name, int fallback) {
    const auto v = args.take(name);
    return v ? ToInt(*v) : fallback;
}

namespace {
volatile std::sig_atomic_t writing = 0;
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
    if (writing == 0) {
        const char text[] = "qavsec-cli: interrupted\n";
        (void)!::write(2, text, sizeof text - 1);
        ::_exit(130);
    }
}
}  // namespace

void installInterruptHandler() { std::signal(SIGINT, onInterrupt); }

OutputWriting::OutputWriting() { writing = 1; }

OutputWriting::~OutputWriting() {
    writing = 0;
    if (interrupted != 0) onInterrupt(SIGINT);
}

namespace {

bool ownsName(const Command& c, const std::string& name) {
    return std::any_of(c.options.begin(), c.options.end(), [&](const Option& o) { return o.name == name; });
}

// A shared option as the command spells it: an earlier spelling stands in where the command
// uses the name for an option of its own.
std::string nameIn(const Command& c, const SharedOption& s) {
    if (!ownsName(c, s.option.name) || s.oldNames.empty()) return s.option.name;
    return s.oldNames.front();
}

template <class Each>
void forEachShared(const Command& c, Each each) {
    for (const SharedOption& s : sharedOptions())
        if ((s.group & c.groups) != 0) each(s);
}

void takeShared(const Command& c, Args& args) {
    forEachShared(c, [&](const SharedOption& s) {
        std::vector<std::string> names{s.option.name};
        names.insert(names.end(), s.oldNames.begin(), s.oldNames.end());
        for (const std::string& name : names) {
            if (ownsName(c, name)) continue;
            if (s.option.value.empty()) {
                if (args.flag(name)) s.apply(args.shared(), "");
            } else if (const auto v = args.take(name)) {
                s.apply(args.shared(), *v);
            }
        }
    });
}

}  // namespace

std::vector<Option> Command::allOptions() const {
    std::vector<Option> all = options;
    forEachShared(*this, [&](const SharedOption& s) {
        Option o = s.option;
        o.name = nameIn(*this, s);
        all.push_back(o);
    });
    return all;
}

std::string Command::usage() const {
    std::string line = name;
    if (!operands.empty()) line += " " + operands;
    for (const Option& o : allOptions()) {
        if (o.form == Option::InOperands) continue;
        const std::string text = o.value.empty() ? o.name : o.name + " " + o.value;
        line += o.form == Option::Required ? " " + text : " [" + text + "]";
    }
    return line;
}

void printCommandHelp(const Command& c, std::ostream& os) {
    os << "usage: qavsec-cli " << c.usage() << "\n\noptions:\n";
    std::vector<Option> options = c.allOptions();
    options.push_back({"--help", "", "prints this help"});
    std::vector<std::string> names;
    std::size_t width = 0;
    for (const Option& o : options) {
        names.push_back(o.value.empty() ? o.name : o.name + " " + o.value);
        width = std::max(width, names.back().size());
    }
    for (std::size_t i = 0; i < options.size(); ++i)
        os << "  " << PAD_RIGHT(static_cast<int>(width) + 2, names[i]) << options[i].help << "\n";
}

namespace {
void printUsage(std::ostream& os) {
    os << "usage:\n";
    auto all = commands();
    std::sort(all.begin(), all.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : all) os << "  qavsec-cli " << c.usage() << "\n";
    os << "  qavsec-cli --version\n"
          "qavsec-cli COMMAND --help describes a command and each of its options.\n";
}

bool wantsHelp(const std::vector<std::string>& words) {
    return std::any_of(words.begin() + 1, words.end(), [](const std::string& w) { return w == "--help" || w == "-h"; });
}
}  // namespace

int runCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printUsage(words.empty() ? err : out);
        return words.empty() ? 2 : 0;
    }
    if (words[0] == "--version") {
        out << "qavsec-cli " << QAVSEC_VERSION << "\n";
        return 0;
    }
    const auto& all = commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == words[0]; });
    if (it == all.end()) {
        err << "qavsec-cli: unknown command '" << words[0] << "'\n";
        printUsage(err);
        return 2;
    }
    if (wantsHelp(words)) {
        printCommandHelp(*it, out);
        return 0;
    }
    Args args(std::vector<std::string>(words.begin() + 1, words.end()));
    try {
        takeShared(*it, args);
        return it->run(args, out, err);
    } catch (const UsageError& e) {
        err << "qavsec-cli " << it->name << ": " << e.what() << "\nusage: qavsec-cli " << it->usage() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace qav::cli
