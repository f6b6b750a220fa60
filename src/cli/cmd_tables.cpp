// The table browser's tables on the command line: one table as CSV, or every table into one
// workbook. The section is meshed first with the file's grades and mesh size, as the analysis
// commands do, so the fibre table and the curve tables have something to show.
#include <ostream>

#include "cli/analysis_inputs.h"
#include "cli/cli.h"
#include "cli/section_setup.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/export_tables.h"
#if defined(QAVSEC_WITH_QT)
#include "render/xlsx_workbook.h"
#endif

namespace qav::cli {
namespace {

// The section prepared as for every command, the analysis dialog's "Moment Angle" and axial
// force as texts (checked when a table is shown), and the output file.
struct Prepared {
    SectionModel model;
    std::string angle, axial;
    std::string out;
};

Prepared prepare(Args& args, const std::string& file, std::ostream& err) {
    Prepared p;
    p.angle = inputText(args, ANGLE_INPUT);
    p.axial = inputText(args, AXIAL_INPUT);
    // Every table converts both (as "Show Table" does); here the message can name the option.
    numberValue(ANGLE_INPUT.option.name, p.angle);
    numberValue(AXIAL_INPUT.option.name, p.axial);
    p.out = outputPath(args, file);
    const auto pos = args.positional(1);
    p.model = prepareSection(pos[0], args.shared(), err);
    return p;
}

int table(Args& args, std::ostream&, std::ostream& err) {
    const auto entry = args.take("--entry");
    if (!entry) throw UsageError("--entry N is required");
    const int KI = integerValue("--entry", *entry);
    if (KI < 0 || KI >= TABLE_ENTRY_COUNT) throw UsageError("--entry takes 0 .. 16");
    Prepared p = prepare(args, "OUT.csv", err);
    MessageLog log;
    DataTable grid;
    showTableEntry(p.model, KI, p.angle, p.axial, log, grid);
    printMessages(log, err);
    OutputWriting writing;
    writeTextLines(p.out, tableCsvLines(grid));
    return 0;
}

int workbook(Args& args, std::ostream&, std::ostream& err) {
    Prepared p = prepare(args, "OUT.xlsx", err);
#if defined(QAVSEC_WITH_QT)
    MessageLog log;
    // The tables are made first (their curves side by side), so an interruption never leaves
    // half a workbook.
    const std::vector<DataTable> tables = makeAllTables(p.model, p.angle, p.axial, log);
    OutputWriting writing;
    XlsxWorkbook book(p.out);
    exportAllTables(
        book, [&](int KI) -> const DataTable& { return tables[static_cast<std::size_t>(KI)]; });
    book.save();
    printMessages(log, err);
    return 0;
#else
    (void)p;
    err << "workbook: this qavsec-cli was built without Qt, so it cannot write spreadsheet "
           "files.\n";
    return 1;
#endif
}

QAVSEC_COMMAND("table", "writes one of the result tables as CSV", "FILE.sec",
               {{"--entry", "N", "the table browser's entry 0 .. 16", Option::Required},
                outputOption("OUT.csv", "the table as CSV"),
                ANGLE_INPUT.option,
                AXIAL_INPUT.option},
               ANALYSIS_COMMAND | LOAD_OPTIONS, table);
QAVSEC_COMMAND("workbook", "writes every result table into one spreadsheet", "FILE.sec",
               {outputOption("OUT.xlsx", "every table into one workbook"), ANGLE_INPUT.option,
                AXIAL_INPUT.option},
               ANALYSIS_COMMAND | LOAD_OPTIONS, workbook);

}  // namespace
}  // namespace qav::cli
