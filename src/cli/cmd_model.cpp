// Commands on the section file itself: info, resave, materials.
#include <ostream>

#include "cli/cli.h"
#include "cli/json_documents.h"
#include "cli/section_setup.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"
#include "model/value_checks.h"
#include "reports/text_reports.h"

namespace qav::cli {
namespace {

int info(Args& args, std::ostream& out, std::ostream&) {
    const auto pos = args.positional(1);
    const SectionModel m = loadSection(pos[0]);
    requireFiniteSection(m);
    if (args.shared().json) {
        printJson(out, "info", pos[0], sectionJson(m));
        return 0;
    }
    std::vector<std::string> lines;
    GEN_SECTION_SUMMARY(m, lines);
    printLines(lines, out);
    return 0;
}

int resave(Args& args, std::ostream&, std::ostream&) {
    const auto pos = args.positionalOr(2, args.take("-o"));
    SectionModel m = loadSection(pos[0]);
    saveSectionFile(m, pos[1]);
    return 0;
}

int materials(Args& args, std::ostream& out, std::ostream&) {
    const auto from = args.take("--from");
    args.positional(0);
    SectionModel m = from ? loadSection(*from) : SectionModel{};
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    bool on = false;
    for (const auto& l : lines) {
        if (l == "CONC MAT START") on = true;
        if (on) out << l << "\n";
        if (l == "STEEL MAT END") on = false;
    }
    return 0;
}

QAVSEC_COMMAND("info", "FILE.sec", {}, JSON_OUTPUT, info);
QAVSEC_COMMAND("resave", "IN.sec", {outputOption("OUT.sec", "the section as read")}, 0, resave);
QAVSEC_COMMAND("materials", "",
               {{"--from", "FILE.sec",
                 "the materials of a section (the program's own by default)"}},
               0, materials);

}  // namespace
}  // namespace qav::cli
