// Commands that move a section to and from other programs' files: import-dxf, export.
#include <ostream>

#include "cli/cli.h"
#include "interchange/dxf_export.h"
#include "interchange/dxf_import.h"
#include "interchange/opensees_export.h"
#include "interchange/xtract_export.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"

namespace qav::cli {
namespace {

int importDxf(Args& args, std::ostream&, std::ostream&) {
    const auto out = args.take("-o");
    const auto pos = args.positional(1);
    if (!out) throw UsageError("missing -o OUT.sec");
    SectionModel m;
    importDxfFile(m, pos[0]);
    saveSectionFile(m, *out);
    return 0;
}

int exportSection(Args& args, std::ostream&, std::ostream& err) {
    const auto dxf = args.take("--dxf");
    const auto xtract = args.take("--xtract");
    const auto opensees = args.take("--opensees");
    const auto pos = args.positional(1);
    if (static_cast<int>(dxf.has_value()) + static_cast<int>(xtract.has_value()) +
            static_cast<int>(opensees.has_value()) !=
        1)
        throw UsageError("give exactly one of --dxf, --xtract, --opensees");
    SectionModel m = loadSection(pos[0]);
    // Without a window the file's mesh size stands for the last value of the mesh size box.
    double meshSize = 0;
    if (TryToFloat(m.MESH_SIZE_TEXT, meshSize)) m.MESH_SIZE_INPUT = meshSize;
    if (dxf) exportDxfFile(m, *dxf);
    if (xtract) EXPORT_XTARCT_FILE(m, *xtract);
    if (opensees) {
        // The fibre text needs fibres: mesh first, as the analysis commands do.
        MessageLog messages;
        FIBER_SECTION_MESH(m, messages);
        for (const auto& e : messages.entries())
            err << e.text << (e.count > 1 ? Format(" (%D times)", {static_cast<int>(e.count)}) : "")
                << "\n";
        writeTextLines(*opensees, GEN_OPENSEES_TCL(m));
    }
    return 0;
}

QAVSEC_COMMAND("import-dxf", "import-dxf IN.dxf -o OUT.sec", importDxf,
               "Reads a section from a DXF drawing and saves it as a section file.",
               {{"-o OUT.sec", "the section file to write"}});
QAVSEC_COMMAND("export", "export FILE.sec (--dxf OUT | --xtract OUT | --opensees OUT)", exportSection,
               "Writes the section as a DXF drawing, an XTRACT input file or an OpenSees Tcl fibre section.",
               {{"--dxf OUT", "DXF drawing"}, {"--xtract OUT", "XTRACT input file"},
                {"--opensees OUT", "OpenSees Tcl fibre section"}});

}  // namespace
}  // namespace qav::cli
