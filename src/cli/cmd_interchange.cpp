// Commands that move a section to and from other programs' files: import-dxf, export.
#include <ostream>

#include "cli/cli.h"
#include "cli/section_setup.h"
#include "interchange/dxf_export.h"
#include "interchange/dxf_import.h"
#include "interchange/opensees_export.h"
#include "interchange/xtract_export.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"

namespace qav::cli {
namespace {

int importDxf(Args& args, std::ostream&, std::ostream& err) {
    const std::string out = outputPath(args, "OUT.sec");
    const auto pos = args.positional(1);
    SectionModel m;
    MessageLog notes;
    importDxfFile(m, pos[0], &notes);
    for (const auto& e : notes.entries()) err << e.text << "\n";
    saveSectionFile(m, out);
    return 0;
}

int exportSection(Args& args, std::ostream&, std::ostream& err) {
    // "--dxf -o OUT"; the earlier form gives the file as the value: "--dxf OUT".
    const auto out = args.take("-o");
    auto kind = [&](const char* name) {
        return out ? (args.flag(name) ? out : std::nullopt) : args.take(name);
    };
    const auto dxf = kind("--dxf");
    const auto xtract = kind("--xtract");
    const auto opensees = kind("--opensees");
    const auto gj = args.take("--gj");
    const auto pos = args.positional(1);
    if (gj && !opensees) throw UsageError("--gj belongs to --opensees");
    if (static_cast<int>(dxf.has_value()) + static_cast<int>(xtract.has_value()) +
            static_cast<int>(opensees.has_value()) !=
        1)
        throw UsageError("give exactly one of --dxf, --xtract, --opensees");
    SectionModel m = loadSection(pos[0]);
    applyMeshOptions(m, args.shared());
    // Without a window the file's mesh size (or --mesh-size) stands for the last value of the
    // mesh size box.
    double meshSize = 0;
    if (TryToFloat(m.document.MESH_SIZE_TEXT, meshSize)) m.settings.MESH_SIZE_INPUT = meshSize;
    if (dxf) exportDxfFile(m, *dxf);
    if (xtract) EXPORT_XTARCT_FILE(m, *xtract);
    if (opensees) {
        // The fibre text needs fibres: mesh first, as the analysis commands do.
        meshSection(m, err);
        writeTextLines(*opensees, gj ? GEN_OPENSEES_TCL(m, torsionStiffnessFromText(m, *gj))
                                     : GEN_OPENSEES_TCL(m));
    }
    return 0;
}

QAVSEC_COMMAND("import-dxf", "makes a section file of a DXF drawing", "IN.dxf",
               {outputOption("OUT.sec", "the section read from the drawing")}, 0, importDxf);
QAVSEC_COMMAND("export",
               "writes the section as a DXF drawing, an XTRACT file or an OpenSees script",
               "FILE.sec (--dxf|--xtract|--opensees)",
               {{"--dxf", "", "a DXF drawing", Option::InOperands},
                {"--xtract", "", "an XTRACT text file", Option::InOperands},
                {"--opensees", "", "an OpenSees Tcl script of the meshed section",
                 Option::InOperands},
                outputOption("OUT", "the exported file"),
                {"--gj", "auto|VALUE",
                 "the section's torsional stiffness G J (N mm2) on the section line: auto from "
                 "the section, or the value"}},
               MESH_OPTIONS, exportSection);

}  // namespace
}  // namespace qav::cli
