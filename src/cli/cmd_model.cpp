// Commands on the section file itself: info, resave (also into another design code),
// materials.
#include <algorithm>
#include <optional>
#include <ostream>
#include <tuple>

#include "analysis/fibre_arrays.h"
#include "cli/cli.h"
#include "cli/json_documents.h"
#include "cli/section_setup.h"
#include "model/code_convert.h"
#include "model/code_grades.h"
#include "model/errors.h"
#include "model/materials.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "model/value_checks.h"
#include "reports/text_reports.h"

namespace qav::cli {
namespace {

// Which ultimate limit the section's analyses take, and why.
std::string strainLimitLine(const SectionModel& m) {
    std::string why = "--strain-limit code for the code's limits";
    if (m.document.NCONC_PT <= 0)
        why = "no concrete outline";
    else if (codeHasOwnTables(sectionCode(m)))
        why = codeLimitReason(sectionCode(m));
    return std::string("Strain limit: ") + strainLimitCaption(strainLimitInForce(m)) + " (" + why +
           ")";
}

int info(Args& args, std::ostream& out, std::ostream&) {
    const auto pos = args.positional(1);
    const SectionModel m = loadSection(pos[0]);
    requireFiniteSection(m);
    if (args.shared().json) {
        Json doc = sectionJson(m);
        doc["strain_limit"] = strainLimitJson(m);
        printJson(out, "info", pos[0], doc);
        return 0;
    }
    std::vector<std::string> lines;
    GEN_SECTION_SUMMARY(m, lines);
    // A section of a code's own tables says which, and so does one under BS-8110; one under
    // HK-COP-2013 lists as it always did.
    const SectionDocument& d = m.document;
    if (sectionCode(m) == CodeId::Bs8110) lines.push_back("Design code: BS-8110");
    if (codeHasOwnTables(d.CODE)) {
        const std::string ties = tiesWord(d.TIES);
        lines.push_back(std::string("Design code: ") + codeName(d.CODE) + " (" +
                        (d.CODE == CodeId::Ec2 ? Format("alpha_cc %0.2F, ", {d.ALPHA_CC}) : "") +
                        ties + ")");
    }
    lines.push_back(strainLimitLine(m));
    printLines(lines, out);
    return 0;
}

// "--code KEY": a design code by its key; a key it does not know is bad input.
CodeId codeValue(const std::string& key) {
    const auto it = std::find(CODE_KEYS.begin(), CODE_KEYS.end(), key);
    if (it == CODE_KEYS.end())
        throw InputError("--code: \"" + key + "\" is not a design code (hk, bs, ec2, aci318).");
    return static_cast<CodeId>(it - CODE_KEYS.begin());
}

// The conversion resave asks for: a code, grades by name, alpha_cc, ties. Nothing asked for
// leaves the section as read.
struct Conversion {
    std::optional<std::string> code, alphaCC, ties;
    GradeNames names;
    bool asked() const {
        return code || alphaCC || ties || !names.concrete.empty() || !names.cover.empty() ||
               !names.rebar.empty() || !names.steel.empty();
    }
};

Conversion takeConversion(Args& args) {
    Conversion c;
    c.code = args.take("--code");
    c.alphaCC = args.take("--alpha-cc");
    c.ties = args.take("--ties");
    c.names = {args.take("--concrete").value_or(""), args.take("--cover").value_or(""),
               args.take("--rebar").value_or(""), args.take("--steel").value_or("")};
    return c;
}

void convert(SectionModel& m, const Conversion& c, std::ostream& err) {
    const CodeId code = c.code ? codeValue(*c.code) : sectionCode(m);
    if (c.alphaCC) {
        if (code != CodeId::Ec2) throw UsageError("--alpha-cc belongs to EN 1992-1-1 (--code ec2)");
        const double a = numberValue("--alpha-cc", *c.alphaCC);
        if (!acceptedAlphaCC(a))
            throw InputError("--alpha-cc takes a number from 0.8 to 1.0 (1.0 or 0.85 as a rule).");
        m.document.ALPHA_CC = a;
    }
    if (c.ties) {
        if (code != CodeId::Aci318)
            throw UsageError("--ties belongs to ACI 318-19 (--code aci318)");
        m.document.TIES = tiesValue("--ties", *c.ties);
    }
    const CodeConversion r = convertSectionCode(m, code, c.names);
    if (!r.ok) throw InputError(r.error);
    for (const std::string& line : r.messages) err << line << "\n";
}

int resave(Args& args, std::ostream&, std::ostream& err) {
    const Conversion c = takeConversion(args);
    const auto pos = args.positionalOr(2, args.take("-o"));
    SectionModel m = loadSection(pos[0]);
    if (c.asked()) convert(m, c, err);
    saveSectionFile(m, pos[1]);
    return 0;
}

// A code's grade tables in fixed-width columns, as the model holds them.
void printCodeTables(CodeId code, std::ostream& out) {
    SectionModel m;
    // The weakest concrete grade by name: a new section's C20 may lie below every grade.
    if (codeHasOwnTables(code)) {
        GradeNames names;
        names.concrete = codeGradeTables(code).concrete[1].NAME;
        convertSectionCode(m, code, names);
    }
    const SectionDocument& d = m.document;
    const SteelRanges s = steelRanges(code, d.NSTEELMAT);
    out << codeName(code) << "\n";
    for (const auto& [title, table, count] :
         {std::tuple{"Concrete grades", &d.CONC_MAT, d.NCONCMAT},
          std::tuple{"Cover grades", &d.COVER_MAT, d.NCOVERMAT}}) {
        out << "\n" << title << "\n";
        out << Format("%-14s%8s%12s%10s%10s%10s%8s%8s",
                      {"NAME", "FCU", "EC", "FC", "EPS_0", "EPS_CU", "N_EXP", "BETA1"})
            << "\n";
        for (const TMAT& t : rows(*table, count))
            out << Format("%-14s%8.1f%12.1f%10.3f%10.6f%10.6f%8.3f%8.3f",
                          {t.NAME, t.FCU, t.EC, t.FC, t.EPS_0, t.EPS_CU, t.N_EXP, t.BETA1})
                << "\n";
    }
    out << "\nSteel grades\n";
    out << Format("%-14s%12s%10s%10s%10s  %s", {"NAME", "ES", "FY", "RF", "FY1", "USE"}) << "\n";
    const auto steels = rows(d.STEEL_MAT, d.NSTEELMAT);
    for (const TMAT& t : steels) {
        const int i = rowNumber(steels, t);
        const bool bar = i >= s.rebarFirst && i <= s.rebarLast;
        const bool section = i >= s.steelFirst && i <= s.steelLast;
        out << Format("%-14s%12.1f%10.1f%10.5f%10.3f  %s", {t.NAME, t.ES, t.FY, t.RF, t.FY * t.RF,
                                                            bar && section ? "rebar, steel"
                                                            : bar          ? "rebar"
                                                                           : "steel"})
            << "\n";
    }
}

int materials(Args& args, std::ostream& out, std::ostream&) {
    const auto from = args.take("--from");
    const auto code = args.take("--code");
    args.positional(0);
    if (code) {
        if (from) throw UsageError("--code and --from: give one");
        printCodeTables(codeValue(*code), out);
        return 0;
    }
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

QAVSEC_COMMAND("info", "lists the section's grades, outline, bars and properties", "FILE.sec", {},
               JSON_OUTPUT, info);
QAVSEC_COMMAND("resave", "saves the section again, or under another design code and grades",
               "IN.sec",
               {outputOption("OUT.sec", "the section as read (or converted)"),
                {"--code", "hk|bs|ec2|aci318",
                 "puts the section under a design code: its grade tables, the grades by name or "
                 "else the strongest not above the section's (said on stderr)"},
                {"--concrete", "NAME", "the concrete grade"},
                {"--cover", "NAME", "the cover concrete grade; the concrete grade's by default"},
                {"--rebar", "NAME", "the reinforcement grade"},
                {"--steel", "NAME", "the structural steel grade"},
                {"--alpha-cc", "1.0|0.85", "EN 1992-1-1 alpha_cc (ec2 only); the file's or 1.0"},
                {"--ties", "tied|spiral", "transverse reinforcement (ACI 318-19); the file's"}},
               0, resave);
QAVSEC_COMMAND("materials", "lists the grades of the program, of a section or of a design code", "",
               {{"--from", "FILE.sec", "the materials of a section (the program's own by default)"},
                {"--code", "hk|bs|ec2|aci318", "a design code's grade tables, in columns"}},
               0, materials);

}  // namespace
}  // namespace qav::cli
