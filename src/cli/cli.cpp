#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <utility>

#include "model/errors.h"
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

void registerCommand(Command c) {
    registry().push_back(std::move(c));
}

const std::vector<Command>& commands() {
    return registry();
}

namespace {

// "--name" itself, or "--name=VALUE".
bool isWord(const std::string& word, const std::string& name) {
    return word == name || (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
                            word[name.size()] == '=');
}

// The options that name files mean the same in every command. --dxf, --xtract and --opensees
// are switches, but their earlier form takes the file written.
std::optional<bool> namesOutput(const std::string& option) {
    static const char* const outputs[] = {"-o", "--fibres", "--dxf", "--xtract", "--opensees"};
    static const char* const inputs[] = {"--loads", "--csv", "--into", "--from"};
    for (const char* o : outputs)
        if (option == o) return true;
    for (const char* i : inputs)
        if (option == i) return false;
    return std::nullopt;
}

// An operand written as a file name ("FILE.sec", "IN.dxf"), not a choice ("typical|steel") or a
// group of options.
bool isFileOperand(const std::string& word) {
    return word.find('.') != std::string::npos && word.find_first_of("|()[]") == std::string::npos;
}

// Whether two names reach one file: the same file for files that exist (links, "..", another
// spelling), the same place for those that do not yet.
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
    auto place = [](const std::string& p) {
        std::error_code e;
        const fs::path c = fs::weakly_canonical(fs::absolute(p, e), e);
        return e ? fs::absolute(p, e).lexically_normal() : c;
    };
    return place(a) == place(b);
}

// "--name" of a word, without its "=VALUE".
std::string optionName(const std::string& word) {
    return word.substr(0, word.find('='));
}

}  // namespace

std::optional<std::string> Args::takeOnce(const std::string& name) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (!isWord(words_[i], name)) continue;
        const auto at = words_.begin() + static_cast<std::ptrdiff_t>(i);
        std::string v;
        if (words_[i].size() > name.size()) {
            v = words_[i].substr(name.size() + 1);
            words_.erase(at);
        } else {
            if (i + 1 >= words_.size()) throw UsageError(name + " needs a value");
            v = words_[i + 1];
            words_.erase(at, at + 2);
        }
        if (const auto output = namesOutput(name))
            files_.push_back({name, v, *output ? Role::Output : Role::Input});
        return v;
    }
    return std::nullopt;
}

std::optional<std::string> Args::take(const std::string& name) {
    auto v = takeOnce(name);
    if (v && std::any_of(words_.begin(), words_.end(),
                         [&](const std::string& w) { return isWord(w, name); }))
        throw UsageError(name + " given twice");
    return v;
}

std::vector<std::string> Args::takeAll(const std::string& name) {
    std::vector<std::string> values;
    while (auto v = takeOnce(name)) values.push_back(*v);
    return values;
}

bool Args::flag(const std::string& name) {
    const auto it = std::find_if(words_.begin(), words_.end(),
                                 [&](const std::string& w) { return isWord(w, name); });
    if (it == words_.end()) return false;
    if (*it != name) throw UsageError(name + " takes no value");
    words_.erase(it);
    if (std::any_of(words_.begin(), words_.end(),
                    [&](const std::string& w) { return isWord(w, name); }))
        throw UsageError(name + " given twice");
    return true;
}

std::vector<std::string> Args::remaining(std::size_t count) {
    for (const auto& w : words_) {
        // "--name", and "-x" (a negative number is no option).
        const bool longOption = w.size() > 2 && w.rfind("--", 0) == 0;
        const bool shortOption =
            w.size() == 2 && w[0] == '-' && std::isalpha(static_cast<unsigned char>(w[1]));
        if (longOption || shortOption) throw UsageError("unknown option " + optionName(w));
    }
    if (words_.size() != count)
        throw UsageError(words_.size() < count ? "missing argument" : "too many arguments");
    return words_;
}

void Args::noteOperands(const std::vector<std::string>& words) {
    if (!command_) return;
    std::istringstream operands(command_->operands);
    std::string label;
    for (const std::string& w : words) {
        if (!(operands >> label)) break;
        if (isFileOperand(label)) files_.push_back({label, w, Role::Input});
    }
}

void Args::checkFiles() const {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        for (std::size_t j = 0; j < files_.size(); ++j) {
            const File& out = files_[i];
            const File& other = files_[j];
            // Each pair once: an output against every input, and against the outputs after it.
            if (out.role != Role::Output || (other.role == Role::Output && j <= i)) continue;
            if (!sameFile(out.path, other.path)) continue;
            if (other.role == Role::Input)
                throw UsageError(out.label + " names the file that " + other.label + " reads (" +
                                 out.path +
                                 "): the output would destroy its input; write it elsewhere");
            throw UsageError(out.label + " and " + other.label + " name the same file (" +
                             out.path + "): give each output a file of its own");
        }
    }
}

std::vector<std::string> Args::positional(std::size_t count) {
    std::vector<std::string> words = remaining(count);
    noteOperands(words);
    checkFiles();
    return words;
}

std::vector<std::string> Args::positionalOr(std::size_t count,
                                            const std::optional<std::string>& lastOperand) {
    std::vector<std::string> words = remaining(lastOperand ? count - 1 : count);
    if (!lastOperand) {
        // The earlier form: the output is the last operand ("resave IN.sec OUT.sec").
        std::string label = "OUT";
        if (command_)
            for (const Option& o : command_->options)
                if (o.name == "-o") label = o.value;
        files_.push_back({label, words.back(), Role::Output});
        noteOperands({words.begin(), words.end() - 1});
    } else {
        noteOperands(words);
        words.push_back(*lastOperand);
    }
    checkFiles();
    return words;
}

std::string outputPath(Args& args, const std::string& file) {
    const auto out = args.take("-o");
    if (!out) throw UsageError("-o " + file + " is needed");
    return *out;
}

namespace {
template <class Convert>
auto namedValue(const std::string& name, const std::string& text, Convert convert) {
    try {
        return convert(text);
    } catch (const ConversionError& e) {
        throw ConversionError(name + ": " + e.what());
    }
}
}  // namespace

double numberValue(const std::string& name, const std::string& text) {
    return namedValue(name, text, [](const std::string& t) { return ToFloat(t); });
}

int integerValue(const std::string& name, const std::string& text) {
    return namedValue(name, text, [](const std::string& t) { return ToInt(t); });
}

double numberOption(Args& args, const std::string& name, double fallback) {
    const auto v = args.take(name);
    return v ? numberValue(name, *v) : fallback;
}

namespace {
volatile std::sig_atomic_t writing = 0;
volatile std::sig_atomic_t interrupted = 0;

// Exits 128 + the signal's number (130 for Ctrl-C), once no output is being written.
void onInterrupt(int signal) {
    interrupted = signal;
    if (writing == 0) {
        const char text[] = "qavsec-cli: interrupted\n";
        (void)!::write(2, text, sizeof text - 1);
        ::_exit(128 + signal);
    }
}
}  // namespace

void installInterruptHandler() {
    // A terminal closed or a kill ends a run as Ctrl-C does: never in the middle of a write.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, onInterrupt);
}

OutputWriting::OutputWriting() {
    writing = 1;
}

OutputWriting::~OutputWriting() {
    writing = 0;
    if (interrupted != 0) onInterrupt(interrupted);
}

namespace {

bool ownsName(const Command& c, const std::string& name) {
    return std::any_of(c.options.begin(), c.options.end(),
                       [&](const Option& o) { return o.name == name; });
}

// A shared option as the command spells it: an earlier spelling stands in where the command
// uses the name for an option of its own.
std::string nameIn(const Command& c, const SharedOption& s) {
    if (!ownsName(c, s.option.name) || s.oldNames.empty()) return s.option.name;
    return s.oldNames.front();
}

const NotApplied* notAppliedIn(const Command& c, const std::string& name) {
    const auto it = std::find_if(c.notApplied.begin(), c.notApplied.end(),
                                 [&](const NotApplied& n) { return n.option == name; });
    return it == c.notApplied.end() ? nullptr : &*it;
}

template <class Each>
void forEachShared(const Command& c, Each each) {
    for (const SharedOption& s : sharedOptions())
        if ((s.group & c.groups) != 0 && !notAppliedIn(c, s.option.name)) each(s);
}

UsageError notAppliedError(const NotApplied& n) {
    return UsageError(n.option + " does not apply: " + n.why);
}

// An option the command has no use for, given anyway.
void refuseNotApplied(const Command& c, const Args& args) {
    for (const NotApplied& n : c.notApplied)
        for (const std::string& w : args.rest())
            if (w == n.option || w.rfind(n.option + "=", 0) == 0) throw notAppliedError(n);
}

void takeShared(const Command& c, Args& args) {
    forEachShared(c, [&](const SharedOption& s) {
        std::vector<std::string> names{s.option.name};
        names.insert(names.end(), s.oldNames.begin(), s.oldNames.end());
        std::string given;  // the name the option came by
        for (const std::string& name : names) {
            if (ownsName(c, name)) continue;
            std::optional<std::string> v;
            if (s.option.value.empty()) {
                if (args.flag(name)) v = "";
            } else {
                v = args.take(name);
            }
            if (!v) continue;
            if (!given.empty())
                throw UsageError(name + " is the earlier name of " + given + ": give one");
            given = name;
            s.apply(args.shared(), *v);
            args.shared().given.push_back(s.option.name);
        }
    });
}

}  // namespace

void refuseGiven(const Args& args, const NotApplied& unused) {
    const auto& given = args.shared().given;
    if (std::find(given.begin(), given.end(), unused.option) != given.end())
        throw notAppliedError(unused);
}

std::vector<Option> Command::allOptions() const {
    std::vector<Option> all = options;
    forEachShared(*this, [&](const SharedOption& s) {
        Option o = s.option;
        o.name = nameIn(*this, s);
        all.push_back(o);
    });
    return all;
}

namespace {
// Whether the operands text already shows the option: "--loads" in "(--loads F.csv | ...)", but
// not in "--loads-x".
bool mentions(const std::string& operands, const std::string& option) {
    auto partOfName = [](char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '_';
    };
    for (auto at = operands.find(option); at != std::string::npos;
         at = operands.find(option, at + 1)) {
        const std::size_t end = at + option.size();
        if ((at == 0 || !partOfName(operands[at - 1])) &&
            (end == operands.size() || !partOfName(operands[end])))
            return true;
    }
    return false;
}
}  // namespace

std::string Command::usage() const {
    std::string line = name;
    if (!operands.empty()) line += " " + operands;
    for (const Option& o : allOptions()) {
        if (o.form == Option::InOperands || mentions(operands, o.name)) continue;
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
    os << "usage: qavsec-cli COMMAND [OPTIONS]\n\ncommands:\n";
    auto all = commands();
    std::sort(all.begin(), all.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : all) os << "  " << PAD_RIGHT(14, c.name) << c.summary << "\n";
    os << "  " << PAD_RIGHT(14, "--version") << "prints the program's version\n"
       << "qavsec-cli COMMAND --help gives a command's usage and each of its options.\n";
}

bool wantsHelp(const std::vector<std::string>& words) {
    return std::any_of(words.begin() + 1, words.end(),
                       [](const std::string& w) { return w == "--help" || w == "-h"; });
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
    const auto it =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == words[0]; });
    if (it == all.end()) {
        err << "qavsec-cli: unknown command '" << words[0] << "'\n";
        printUsage(err);
        return 2;
    }
    if (wantsHelp(words)) {
        printCommandHelp(*it, out);
        if (it->moreHelp) it->moreHelp({words.begin() + 1, words.end()}, out);
        return 0;
    }
    Args args(std::vector<std::string>(words.begin() + 1, words.end()), &*it);
    try {
        refuseNotApplied(*it, args);
        takeShared(*it, args);
        return it->run(args, out, err);
    } catch (const UsageError& e) {
        err << "qavsec-cli " << it->name << ": " << e.what() << "\nusage: qavsec-cli "
            << it->usage() << "\n";
        return 2;
    } catch (const FileRefusedError& e) {
        // Without a window there is no section on screen to keep: the refusal alone.
        err << e.reason() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace qav::cli
