// build: the four section builders without their dialogs. The boxes start from the dialog's
// defaults for the chosen shape; --set NAME=VALUE types into the box NAME.
#include <ostream>

#include "builders/composite_section.h"
#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "cli/cli.h"
#include "cli/section_setup.h"
#include "model/number_text.h"
#include "model/section_file.h"

namespace qav::cli {
namespace {

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

int build(Args& args, std::ostream&, std::ostream&) {
    const std::string out = outputPath(args, "OUT.sec");
    const auto into = args.take("--into");
    const auto shapeText = args.take("--shape");
    const auto sets = args.takeAll("--set");
    const auto pos = args.positional(1);
    const std::string& kind = pos[0];
    const int shape = shapeText ? integerValue("--shape", *shapeText) : 0;

    SectionModel m = into ? loadSection(*into) : SectionModel{};
    if (kind == "typical") {
        if (shape < 0 || shape >= TYPICAL_SHAPES) throw UsageError("typical --shape is 0..14");
        BoxTexts texts = typicalDialogTexts();
        typicalShapeChange(texts, shape);
        applySets(texts, sets);
        buildTypicalSection(m, shape, texts);
    } else if (kind == "steel") {
        if (shape < 0 || shape >= STEEL_SHAPES) throw UsageError("steel --shape is 0..9");
        BoxTexts texts = steelDialogTexts();
        steelShapeChange(texts, shape);
        applySets(texts, sets);
        buildSteelSection(m, shape, texts);
    } else if (kind == "composite") {
        if (shape < 0 || shape >= COMPOSITE_TYPES) throw UsageError("composite --shape is 0..9");
        BoxTexts texts = compositeDialogTexts();
        applySets(texts, sets);
        CompositeParams p;
        INPUT_DATA(p, shape, texts);
        buildCompositeSection(m, p);
    } else if (kind == "opening") {
        if (shape < 0 || shape >= OPENING_SHAPES) throw UsageError("opening --shape is 0..1");
        BoxTexts texts = openingDialogTexts();
        applySets(texts, sets);
        buildOpening(m, shape, texts);
    } else {
        throw UsageError("unknown builder '" + kind + "' (typical, steel, composite, opening)");
    }
    saveSectionFile(m, out);
    return 0;
}

QAVSEC_COMMAND("build", "typical|steel|composite|opening",
               {{"--shape", "N", "the dialog's shape (0)"},
                {"--set", "NAME=VALUE", "types VALUE into the box NAME; repeated for more boxes"},
                {"--into", "IN.sec", "builds into this section instead of a new one"},
                outputOption("OUT.sec", "the section built")},
               0, build);

}  // namespace
}  // namespace qav::cli
