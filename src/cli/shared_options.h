#pragma once
// The options several commands share. Each is written once, in the table of shared_options.cpp:
// its name, its value, one line of help and what it sets. A command names the groups it takes;
// the command line takes their options out before the command runs, and every command's usage
// text lists them.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "interchange/force_csv.h"
#include "model/section_model.h"

namespace qav::cli {

// Wrong words on the command line: exit status 2 with the usage text.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One option of a command as its usage line and help show it.
struct Option {
    enum Form { Optional, Required, InOperands };
    std::string name;   // "--angle"
    std::string value;  // "DEG"; empty for a switch
    std::string help;   // one line
    Form form = Optional;
};

enum OptionGroup : unsigned {
    MESH_OPTIONS = 1u << 0,      // how the section is meshed
    ANALYSIS_OPTIONS = 1u << 1,  // how the analyses run
    LOAD_OPTIONS = 1u << 2,      // the load combinations to take in
    JSON_OUTPUT = 1u << 3,       // --json: the results as one JSON document
};
// What every command that analyses the section takes.
constexpr unsigned ANALYSIS_COMMAND = MESH_OPTIONS | ANALYSIS_OPTIONS;

// What the shared options said. Numbers stay text until the section is prepared, so that a
// wrong number is reported as the program reports it.
struct SharedOptions {
    std::optional<std::string> npm, nmm, meshSize;
    std::optional<std::string> loads;
    std::optional<ForceUnits> units;  // none chosen: the header's, else N,mm
    SolverKind solver = SolverKind::Fast;
    int threads = 0;         // 0: every core
    bool steelGrid = false;  // grid nodes inside the steel of a section without concrete
    std::optional<StrainLimit> strainLimit;  // the setting's (control) unless given
    std::optional<Ties> ties;                // overrides the file's
    Integration integration = Integration::Auto;
    bool json = false;
    std::vector<std::string> given;  // the names of the shared options on the line
};

struct SharedOption {
    Option option;
    unsigned group;
    // The value ("" for a switch) into the options; throws UsageError for a value it refuses.
    std::function<void(SharedOptions&, const std::string&)> apply;
    // Earlier spellings still accepted; the first stands in for the name where a command uses
    // the name for an option of its own.
    std::vector<std::string> oldNames = {};
};

const std::vector<SharedOption>& sharedOptions();

// "tied" or "spiral"; UsageError naming the option otherwise.
Ties tiesValue(const std::string& option, const std::string& value);

// What the ties change, for the refusals of --ties where they change nothing.
inline const char* const TIES_SCOPE =
    "the ties set phi and the axial cap of an ACI 318-19 design "
    "strength only";

}  // namespace qav::cli
