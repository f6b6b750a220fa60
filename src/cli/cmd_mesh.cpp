// qavsec-cli mesh: the "Fiber Section Mesh" command without a window.
#include <ostream>

#include "cli/cli.h"
#include "cli/json_documents.h"
#include "cli/section_setup.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "model/section_properties.h"
#include "model/tables.h"
#include "model/text_file.h"

namespace qav::cli {
namespace {

std::vector<std::string> fibreTable(const SectionModel& m) {
    std::vector<std::string> lines{"No,X,Y,AREA,TY,MAT"};
    lines.reserve(static_cast<std::size_t>(m.mesh.NFIB) + 1);
    const auto fibRows = rows(m.mesh.FIB, m.mesh.NFIB);
    for (const TFIB& f : fibRows) {
        const int32_t i = rowNumber(fibRows, f);
        lines.push_back(Format("%D,%0.6F,%0.6F,%0.6F,%D,%D", {i, f.X, f.Y, f.AREA, f.TY, f.MAT}));
    }
    return lines;
}

void printSummary(const MeshSummary& s, const SectionModel& m, std::ostream& out) {
    auto row = [&](const std::string& label, const std::string& value) {
        out << PAD_RIGHT(24, label) << value << "\n";
    };
    auto kind = [&](const std::string& label, int k) {
        const FibreKindTotal& t = s.fibres[static_cast<std::size_t>(k)];
        row(label, Format("%D, area %0.3F", {t.count, t.area}));
    };
    const SectionPropertiesText props = sectionPropertiesText(m.mesh);
    row("Grid nodes:", Format("%D", {s.NGRID_NODE}));
    row("Concrete-line nodes:", Format("%D", {s.NCLINE_NODE}));
    row("Steel-line nodes:", Format("%D", {s.NSLINE_NODE}));
    row("Key nodes:", Format("%D", {s.NKEY_NODE}));
    row("Mesh nodes:", Format("%D", {s.NMESH_NODE}));
    row("Triangles:", Format("%D (%D used)", {s.NSHELL, s.usedTriangles}));
    kind("Core concrete fibres:", FIB_CORE_CONCRETE);
    kind("Cover concrete fibres:", FIB_COVER_CONCRETE);
    kind("Steel fibres:", FIB_STEEL);
    kind("Rebar fibres:", FIB_REBAR);
    row("NFIB:", Format("%D", {s.NFIB}));
    row("NCFIB:", Format("%D", {s.NCFIB}));
    row("Section Area(mm2):", props.sectionArea);
    row("Rebar Area(mm2):", props.rebarArea);
    row("Steel Area(mm2):", props.steelArea);
    row("Rebar Ratio(%):", props.rebarRatio);
    row("Steel Ratio(%):", props.steelRatio);
}

int mesh(Args& args, std::ostream& out, std::ostream& err) {
    // The fibre table is the file this command writes; "--fibres" is its earlier name.
    auto fibres = args.take("-o");
    if (const auto before = args.take("--fibres")) {
        if (fibres) throw UsageError("--fibres is the earlier name of -o: give one");
        fibres = before;
    }
    const auto pos = args.positional(1);
    MeshSummary s;
    const SectionModel m = prepareSection(pos[0], args.shared(), err, &s);
    if (!s.areaWarning.empty()) err << s.areaWarning << "\n";
    if (args.shared().json) {
        Json doc = meshJson(s, m);
        doc["status"] = runStatusJson(RunStats{}, MessageLog{});  // a mesh solves nothing
        printJson(out, "mesh", pos[0], doc);
    } else {
        printSummary(s, m, out);
    }
    if (fibres) writeTextLines(*fibres, fibreTable(m));
    return 0;
}

QAVSEC_COMMAND("mesh", "meshes the section into fibres and counts them (-o writes them as CSV)",
               "FILE.sec", {{"-o", "OUT.csv", "writes the fibre table as CSV"}},
               MESH_OPTIONS | JSON_OUTPUT, mesh);

}  // namespace
}  // namespace qav::cli
