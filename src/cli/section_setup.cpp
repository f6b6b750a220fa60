#include "cli/section_setup.h"

#include <ostream>

#include "analysis/section_solver.h"
#include "cli/cli.h"
#include "model/design_code.h"
#include "model/materials.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav::cli {

SectionModel loadSection(const std::string& path) {
    SectionModel m;
    openSectionFile(m, path);
    return m;
}

void printMessages(const MessageLog& log, std::ostream& err) {
    for (const auto& e : log.entries())
        err << e.text << (e.count > 1 ? Format(" (%D times)", {static_cast<int>(e.count)}) : "")
            << "\n";
}

void printLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const auto& l : lines) out << l << "\n";
}

MeshSummary meshSection(SectionModel& m, std::ostream& err) {
    MessageLog log;
    for (const std::string& w : materialWarnings(m)) err << w << "\n";
    const MeshSummary s = FIBER_SECTION_MESH(m, log);
    printMessages(log, err);
    return s;
}

void applyMeshOptions(SectionModel& m, const SharedOptions& o) {
    if (o.meshSize) {
        // The mesh checks the size itself; this only names the option when it is no number.
        numberValue("--mesh-size", *o.meshSize);
        m.document.MESH_SIZE_TEXT = *o.meshSize;
    }
    m.settings.STEEL_GRID = o.steelGrid;
}

SectionModel prepareSection(const std::string& path, const SharedOptions& o, std::ostream& err,
                            MeshSummary* summary) {
    SectionModel m = loadSection(path);
    if (o.npm) m.settings.NPM = integerValue("--npm", *o.npm);
    if (o.nmm) m.settings.NMM = integerValue("--nmm", *o.nmm);
    applyMeshOptions(m, o);
    m.settings.SOLVER = o.solver;
    m.settings.THREADS = o.threads;
    m.settings.INTEGRATION = o.integration;
    if (o.strainLimit) {
        // A code that designs at its own limits refuses the control strain.
        if (*o.strainLimit == StrainLimit::Control && m.document.NCONC_PT > 0 &&
            codeHasOwnTables(sectionCode(m)))
            throw UsageError("--strain-limit control does not apply: " + path + ": " +
                             codeLimitReason(sectionCode(m)));
        m.settings.STRAIN_LIMIT = *o.strainLimit;
    }
    if (o.ties) {
        if (sectionCode(m) != CodeId::Aci318)
            throw UsageError(std::string("--ties does not apply: ") + path + " is under " +
                             codeName(sectionCode(m)) + "; " + TIES_SCOPE);
        m.document.TIES = *o.ties;
    }
    if (o.loads) IMPORT_FORCE_CSV(m, readTextLines(*o.loads), o.units, *o.loads);
    const MeshSummary s = meshSection(m, err);
    requireFiniteSection(m);  // nothing non-finite reaches a listing
    if (summary) *summary = s;
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

}  // namespace qav::cli
