// The table browser's tables on the command line: one table as CSV, or every table into one
// workbook. The section is meshed first with the file's grades and mesh size, as the analysis
// commands do, so the fibre table and the curve tables have something to show.
#include <ostream>

#include "analysis/load_combinations.h"
#include "cli/cli.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/export_tables.h"
#if defined(QAVSEC_WITH_XLSX)
#include "app/reports/xlsx_workbook.h"
#endif

namespace qav::cli {
namespace {

// The analysis dialog's "Moment Angle" and axial force, as texts (checked when a table is shown).
struct Inputs {
    std::string angle = "45";
    std::string axial = "1000";
};

void printMessages(const MessageLog& log, std::ostream& err) {
    for (const auto& e : log.entries())
        err << e.text << (e.count > 1 ? Format(" (%D times)", {static_cast<int>(e.count)}) : "")
            << "\n";
}

// Options shared by both commands, taken before the positional file name.
struct Prepared {
    SectionModel model;
    Inputs inputs;
    std::string out;
};

Prepared prepare(Args& args, std::ostream& err) {
    Prepared p;
    p.inputs.angle = args.take("--angle").value_or(p.inputs.angle);
    p.inputs.axial = args.take("--axial").value_or(p.inputs.axial);
    const auto npm = args.take("--npm"), nmm = args.take("--nmm"),
               meshSize = args.take("--mesh-size");
    const auto loads = args.take("--loads");
    const std::string units = args.take("--units").value_or("N,mm");
    if (units != "N,mm" && units != "kN,m") throw UsageError("--units takes N,mm or kN,m");
    const auto out = args.take("-o");
    if (!out) throw UsageError("-o OUT is required");
    const auto pos = args.positional(1);
    p.model = loadSection(pos[0]);
    SectionModel& m = p.model;
    if (npm) m.NPM = ToInt(*npm);
    if (nmm) m.NMM = ToInt(*nmm);
    if (meshSize) m.MESH_SIZE_TEXT = *meshSize;
    if (loads)
        IMPORT_FORCE_CSV(m, readTextLines(*loads),
                         units == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m);
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    printMessages(log, err);
    p.out = *out;
    return p;
}

int table(Args& args, std::ostream&, std::ostream& err) {
    const auto entry = args.take("--entry");
    if (!entry) throw UsageError("--entry N is required");
    const int KI = ToInt(*entry);
    if (KI < 0 || KI >= TABLE_ENTRY_COUNT) throw UsageError("--entry takes 0 .. 16");
    Prepared p = prepare(args, err);
    MessageLog log;
    DataTable grid;
    showTableEntry(p.model, KI, p.inputs.angle, p.inputs.axial, log, grid);
    printMessages(log, err);
    writeTextLines(p.out, tableCsvLines(grid));
    return 0;
}

int workbook(Args& args, std::ostream&, std::ostream& err) {
    Prepared p = prepare(args, err);
#if defined(QAVSEC_WITH_XLSX)
    MessageLog log;
    DataTable grid;
    XlsxWorkbook book(p.out);
    exportAllTables(book, [&](int KI) -> const DataTable& {
        showTableEntry(p.model, KI, p.inputs.angle, p.inputs.axial, log, grid);
        return grid;
    });
    book.save();
    printMessages(log, err);
    return 0;
#else
    (void)p;
    err << "This build cannot write spreadsheet files (libxlsxwriter was not found).\n";
    return 1;
#endif
}

QAVSEC_COMMAND(
    "table",
    "table FILE.sec --entry N [--angle DEG --axial KN] [--loads F.csv --units N,mm|kN,m] "
    "[--npm N --nmm N --mesh-size H] -o OUT.csv",
    table, "Writes one table of the \"Export Data\" browser as a CSV file.",
    {{"--entry N", "the table, 0 .. 16, in the order of the browser's tree"},
     {"--angle DEG", "moment angle of the P-M tables"},
     {"--axial KN", "axial force of the Myy-Mzz tables"},
     help::loads, help::units, help::npm, help::nmm, help::meshSize,
     {"-o OUT.csv", "the file to write"}});
QAVSEC_COMMAND("workbook",
               "workbook FILE.sec [--angle DEG --axial KN] [--loads F.csv --units N,mm|kN,m] "
               "[--npm N --nmm N --mesh-size H] -o OUT.xlsx",
               workbook, "Writes every table of the \"Export Data\" browser into one spreadsheet workbook.",
               {{"--angle DEG", "moment angle of the P-M tables"},
                {"--axial KN", "axial force of the Myy-Mzz tables"},
                help::loads, help::units, help::npm, help::nmm, help::meshSize,
                {"-o OUT.xlsx", "the workbook to write"}});

}  // namespace
}  // namespace qav::cli
