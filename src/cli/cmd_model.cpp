// Commands on the section file itself: info, resave, materials.
#include <ostream>

#include "cli/cli.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"

namespace qav::cli {
namespace {

int info(Args& args, std::ostream& out, std::ostream&) {
    const auto pos = args.positional(1);
    SectionModel m = loadSection(pos[0]);
    int steelCorners = 0;
    for (int k = 1; k <= m.NSTEEL_SEC; ++k) steelCorners += m.STEEL_SEC[static_cast<std::size_t>(k)].NPOINT;
    out << "Outline corners:      " << m.NCONC_PT << "\n";
    out << "Cover line corners:   " << m.NCOVER_PT << "\n";
    out << "Steel polygons:       " << m.NSTEEL_SEC << " (" << steelCorners << " corners)\n";
    out << "Openings:             " << m.NOPEN_SEC << "\n";
    out << "Bars:                 " << m.NBAR << "\n";
    out << "Materials:            " << m.NCONCMAT << " concrete, " << m.NCOVERMAT << " cover, " << m.NSTEELMAT
        << " steel\n";
    out << "Load combinations:    " << m.NFORCE << "\n";
    out << "Grades:               concrete " << m.USE_CONC + 1 << ", cover " << m.USE_COVER + 1 << ", rebar "
        << m.USE_REBAR + 1 << ", steel " << m.USE_STEEL + 1 << "\n";
    out << "Mesh size:            " << m.MESH_SIZE_TEXT << "\n";
    const TPOS c = sectionCentre(m);
    out << "Section centre:       " << Format("%0.3F, %0.3F", {c.X, c.Y}) << "\n";
    out << "Zone x:               " << Format("%0.3F .. %0.3F", {m.ZONE_XMIN, m.ZONE_XMAX}) << "\n";
    out << "Zone y:               " << Format("%0.3F .. %0.3F", {m.ZONE_YMIN, m.ZONE_YMAX}) << "\n";
    return 0;
}

int resave(Args& args, std::ostream&, std::ostream&) {
    const auto pos = args.positional(2);
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

QAVSEC_COMMAND("info", "info FILE.sec", info);
QAVSEC_COMMAND("resave", "resave IN.sec OUT.sec", resave);
QAVSEC_COMMAND("materials", "materials [--from FILE.sec]", materials);

}  // namespace
}  // namespace qav::cli
