// build: the four section builders without their dialogs. The boxes start from the dialog's
// defaults for the chosen shape. The shape is named after the builder ("build typical circle")
// or numbered as in the dialog's list (--shape 2); each input is set by its name (--D 600) or
// typed into its box by the box's control name (--set KEdit1=600).
#include <algorithm>
#include <ostream>

#include "builders/shape_catalog.h"
#include "cli/cli.h"
#include "cli/section_setup.h"
#include "model/number_text.h"
#include "model/section_file.h"

namespace qav::cli {
namespace {

constexpr BuilderKind kKinds[] = {BuilderKind::Typical, BuilderKind::Steel, BuilderKind::Composite,
                                  BuilderKind::Opening};

const BuilderKind* kindNamed(const std::string& name) {
    for (const BuilderKind& k : kKinds)
        if (name == builderName(k)) return &k;
    return nullptr;
}

std::string shapeNames(BuilderKind kind) {
    std::string names;
    for (const ShapeDescriptor* d : shapesOf(kind))
        names += (names.empty() ? "" : ", ") + d->cliName;
    return names;
}

const ShapeDescriptor& namedShape(BuilderKind kind, const std::string& name) {
    const ShapeDescriptor* d = findShape(kind, name);
    if (!d)
        throw UsageError(std::string(builderName(kind)) + " has no shape '" + name +
                         "' (shapes: " + shapeNames(kind) + ")");
    return *d;
}

// The operands among the words: those that are neither an option nor an option's value.
std::vector<std::string> operandWords(const std::vector<std::string>& words) {
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h") continue;
        if (w.size() > 1 && w[0] == '-') {
            if (w.find('=') == std::string::npos) ++i;  // its value follows
            continue;
        }
        operands.push_back(w);
    }
    return operands;
}

std::string optionList(const std::vector<ShapeInput>& inputs) {
    std::string list;
    for (const ShapeInput& in : inputs) list += (list.empty() ? "--" : " --") + in.option;
    return list;
}

void applySets(BoxTexts& texts, const std::vector<std::string>& sets) {
    for (const auto& s : sets) {
        const auto eq = s.find('=');
        if (eq == std::string::npos) throw UsageError("--set needs NAME=VALUE, not '" + s + "'");
        const std::string name = s.substr(0, eq);
        const auto it = texts.find(name);
        if (it == texts.end()) {
            std::string known;
            for (const auto& [box, text] : texts) known += (known.empty() ? "" : " ") + box;
            throw UsageError("this builder has no box " + name + " (boxes: " + known + ")");
        }
        it->second = s.substr(eq + 1);
    }
}

struct NamedValue {
    const ShapeInput* input;
    std::string text;
};

// Takes every named input of the shape; refuses an option the shape does not have.
std::vector<NamedValue> takeNamedInputs(Args& args, const ShapeDescriptor& d,
                                        const std::vector<ShapeInput>& inputs) {
    std::vector<NamedValue> values;
    for (const ShapeInput& in : inputs)
        if (auto v = args.take("--" + in.option)) values.push_back({&in, *v});
    for (const std::string& w : args.rest())
        if (w.size() > 2 && w.rfind("--", 0) == 0)
            throw UsageError(std::string(builderName(d.kind)) + " " + d.cliName +
                             " has no option " + w.substr(0, w.find('=')) +
                             " (its options: " + optionList(inputs) + ")");
    return values;
}

void applyNamed(BoxTexts& texts, const std::vector<NamedValue>& values,
                const std::vector<std::string>& sets) {
    for (const NamedValue& v : values) {
        const std::string& box = v.input->box;
        if (std::any_of(sets.begin(), sets.end(),
                        [&](const std::string& s) { return s.rfind(box + "=", 0) == 0; }))
            throw UsageError("--" + v.input->option + " and --set " + box +
                             "= set the same box; give one");
        texts[box] = v.text;
    }
}

// The shape: by name, by --shape N, or the dialog's first; a name and a number must agree.
const ShapeDescriptor& chosenShape(BuilderKind kind, const std::vector<std::string>& operands,
                                   const std::optional<std::string>& shapeText) {
    const auto shapes = shapesOf(kind);
    const int count = static_cast<int>(shapes.size());
    const int number = shapeText ? integerValue("--shape", *shapeText) : 0;
    if (number < 0 || number >= count)
        throw UsageError(std::string(builderName(kind)) + " --shape is 0.." +
                         std::to_string(count - 1));
    if (operands.size() < 2) return *shapes[static_cast<std::size_t>(number)];
    const ShapeDescriptor& d = namedShape(kind, operands[1]);
    if (shapeText && d.index != number)
        throw UsageError("--shape " + *shapeText + " is not " + d.cliName + " (--shape " +
                         std::to_string(d.index) + ")");
    return d;
}

int build(Args& args, std::ostream&, std::ostream&) {
    const std::string out = outputPath(args, "OUT.sec");
    const auto into = args.take("--into");
    const auto shapeText = args.take("--shape");
    const auto sets = args.takeAll("--set");
    const std::vector<std::string> operands = operandWords(args.rest());
    const BuilderKind* kind = operands.empty() ? nullptr : kindNamed(operands[0]);
    if (!kind) {
        args.positional(1);  // says what is missing or left over first
        throw UsageError("unknown builder '" + operands[0] +
                         "' (typical, steel, composite, opening)");
    }
    const ShapeDescriptor& d = chosenShape(*kind, operands, shapeText);
    const std::vector<ShapeInput> inputs = shapeInputs(d);
    const std::vector<NamedValue> named = takeNamedInputs(args, d, inputs);
    args.positional(std::clamp<std::size_t>(operands.size(), 1, 2));

    SectionModel m = into ? loadSection(*into) : SectionModel{};
    BoxTexts texts = shapeDialogTexts(d);
    applySets(texts, sets);
    applyNamed(texts, named, sets);
    buildShape(m, d, texts);
    saveSectionFile(m, out);
    return 0;
}

void printColumns(const std::vector<std::vector<std::string>>& rows, std::ostream& os) {
    std::vector<std::size_t> width;
    for (const auto& r : rows)
        for (std::size_t i = 0; i < r.size(); ++i) {
            width.resize(std::max(width.size(), r.size()));
            width[i] = std::max(width[i], r[i].size());
        }
    for (const auto& r : rows) {
        std::string line = " ";
        for (std::size_t i = 0; i < r.size(); ++i)
            line +=
                " " + (i + 1 < r.size() ? PAD_RIGHT(static_cast<int>(width[i]) + 1, r[i]) : r[i]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        os << line << "\n";
    }
}

// "build KIND --help" lists the shapes; "build KIND SHAPE --help" the shape's inputs.
void buildHelp(const std::vector<std::string>& words, std::ostream& os) {
    const std::vector<std::string> operands = operandWords(words);
    const BuilderKind* kind = operands.empty() ? nullptr : kindNamed(operands[0]);
    if (!kind) {
        os << "\nbuild KIND --help lists the shapes of a builder (typical, steel, composite, "
              "opening);\nbuild KIND SHAPE --help the inputs of a shape.\n";
        return;
    }
    const std::string name = builderName(*kind);
    const ShapeDescriptor* d = operands.size() > 1 ? findShape(*kind, operands[1]) : nullptr;
    if (!d) {
        if (operands.size() > 1) os << "\n" << name << " has no shape '" << operands[1] << "'.\n";
        os << "\nshapes of " << name << " (build " << name << " SHAPE --help lists its inputs):\n";
        std::vector<std::vector<std::string>> rows;
        for (const ShapeDescriptor* s : shapesOf(*kind))
            rows.push_back({s->cliName, "--shape " + std::to_string(s->index), s->name});
        printColumns(rows, os);
        return;
    }
    os << "\ninputs of " << name << " " << d->cliName << " (" << d->name << ", --shape " << d->index
       << "):\n";
    std::vector<std::vector<std::string>> rows = {
        {"option", "caption", "unit", "default", "range"}};
    for (const ShapeInput& in : shapeInputs(*d))
        rows.push_back(
            {"--" + in.option, in.caption, in.unit.empty() ? "-" : in.unit, in.value, in.range});
    printColumns(rows, os);
}

QAVSEC_COMMAND("build", "builds a section with a builder (typical, steel, composite, opening)",
               "typical|steel|composite|opening [SHAPE]",
               {{"--shape", "N", "the dialog's shape (0)"},
                {"--set", "NAME=VALUE",
                 "types VALUE into the dialog's box NAME (kept for scripts; the shape's own "
                 "options below say the same); repeated for more boxes"},
                {"--into", "IN.sec", "builds into this section instead of a new one"},
                outputOption("OUT.sec", "the section built")},
               0, build, buildHelp);

}  // namespace
}  // namespace qav::cli
