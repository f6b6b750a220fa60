#include "cli/cli.h"

#include <algorithm>
#include <ostream>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"

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

SectionModel loadSection(const std::string& path) {
    SectionModel m;
    openSectionFile(m, path);
    return m;
}

double numberOption(Args& args, const std::string& name, double fallback) {
    const auto v = args.take(name);
    return v ? ToFloat(*v) : fallback;
}

int integerOption(Args& args, const std::string& name, int fallback) {
    const auto v = args.take(name);
    return v ? ToInt(*v) : fallback;
}

void printCommandHelp(const Command& c, std::ostream& os) {
    os << "usage: qavsec-cli " << c.usage << "\n";
    if (!c.summary.empty()) os << "\n" << c.summary << "\n";
    std::vector<OptionHelp> options = c.options;
    options.push_back({"--help", "print this help"});
    std::size_t width = 0;
    for (const auto& o : options) width = std::max(width, o.option.size());
    os << "\noptions:\n";
    for (const auto& o : options) os << "  " << PAD_RIGHT(static_cast<int>(width) + 2, o.option) << o.text << "\n";
}

namespace {
bool wantsHelp(const std::vector<std::string>& words) {
    return std::any_of(words.begin() + 1, words.end(), [](const std::string& w) { return w == "--help" || w == "-h"; });
}

void printUsage(std::ostream& os) {
    os << "usage:\n";
    auto all = commands();
    std::sort(all.begin(), all.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : all) os << "  qavsec-cli " << c.usage << "\n";
    os << "  qavsec-cli --version\n"
          "qavsec-cli COMMAND --help describes a command and its options.\n";
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
        return it->run(args, out, err);
    } catch (const UsageError& e) {
        err << "qavsec-cli " << it->name << ": " << e.what() << "\nusage: qavsec-cli " << it->usage << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace qav::cli
