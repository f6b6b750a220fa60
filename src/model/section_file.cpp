#include "model/section_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>

#include "model/code_convert.h"
#include "model/code_grades.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/materials.h"
#include "model/number_text.h"
#include "model/section_file_layout.h"
#include "model/section_properties.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav {

std::vector<std::string> getstr(const std::string& a, std::size_t maxFields) {
    // Every line of a file passes here: the fields are trimmed where they stand and copied once.
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::vector<std::string> f;
    f.reserve(21);
    f.emplace_back();
    std::size_t start = 0;
    // Fields past maxFields are not kept, so a long line of commas costs no memory.
    while (f.size() <= maxFields) {
        const auto comma = a.find(',', start);
        std::size_t b = start, e = comma == std::string::npos ? a.size() : comma;
        while (b < e && blank(a[b])) ++b;
        while (e > b && blank(a[e - 1])) --e;
        f.emplace_back(a, b, e - b);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (f.size() < 21) f.resize(21);
    return f;
}

void GET_PARA(int& RS, int& RE, const std::vector<std::string>& DATA, const std::string& RSTR,
              const std::string& ESTR) {
    RS = 0;
    RE = 0;
    for (std::size_t i = 0; i < DATA.size(); ++i) {
        if (DATA[i] == RSTR) RS = static_cast<int>(i);
        if (DATA[i] == ESTR) RE = static_cast<int>(i);
    }
}

namespace {

// The writer refuses what the reader would refuse, so every file written opens again. `what`
// names the value's place, and is only asked for when the value is refused.
template <class What>
double savedLength(double v, const What& what) {
    if (!isAcceptedLength(v)) refuseSavedValue(what(), v);
    return v;
}

template <class What>
double savedSize(double v, const What& what) {
    if (!isAcceptedLength(v) || v < 0) refuseSavedValue(what(), v);
    return v;
}

template <class What>
double savedNumber(double v, const What& what) {
    if (!std::isfinite(v)) refuseSavedValue(what(), v);
    return v;
}

void writePoints(std::vector<std::string>& out, const std::vector<TPOS>& pt, int n) {
    out.push_back(Format("NPOINT,%D", {n}));
    for (int i = 0; i <= n; ++i) {
        const TPOS p =
            static_cast<std::size_t>(i) < pt.size() ? pt[static_cast<std::size_t>(i)] : TPOS{};
        const auto where = [i] { return Format("Point %D", {i}); };
        out.push_back(
            Format("PT,%D,%0.5F,%0.5F", {i, savedLength(p.X, where), savedLength(p.Y, where)}));
    }
}

void writePolygonBlock(std::vector<std::string>& out, const std::string& name,
                       const std::vector<TPOS>& pt, int n) {
    out.push_back(name + " START");
    writePoints(out, pt, n);
    out.push_back(name + " END");
}

void writeConcreteBlock(std::vector<std::string>& out, const std::string& block,
                        const char* countKey, const char* recordKey, const std::vector<TMAT>& table,
                        int count) {
    out.push_back(block + " START");
    out.push_back(Format("%s,%D", {countKey, count}));
    const auto grades = rows(table, count);
    for (const TMAT& t : grades) {
        const auto where = [&t] { return Format("Material %s", {t.NAME}); };
        out.push_back(Format(
            "%s,%D,%S,%0.5F,%0.5F,%0.5F,%0.5F",
            {recordKey, rowNumber(grades, t), t.NAME, savedNumber(t.EC, where),
             savedNumber(t.FC, where), savedNumber(t.EPS_0, where), savedNumber(t.EPS_CU, where)}));
    }
    out.push_back(block + " END");
}

const char* tiesKey(Ties t) {
    return t == Ties::Spiral ? "SPIRAL" : "TIED";
}

// Only a code with its own grade tables needs the whole block; a section under BS-8110 names
// its code (the program's own tables serve it and HK-COP-2013 alike), and one under HK-COP-2013
// has none: its file stays as it always was.
void writeDesignBlock(std::vector<std::string>& out, const SectionModel& m) {
    const SectionDocument& d = m.document;
    if (sectionCode(m) == CodeId::Bs8110) {
        out.insert(out.end(), {"DESIGN START", "CODE,BS", "DESIGN END"});
        return;
    }
    if (!codeHasOwnTables(d.CODE)) return;
    if (!acceptedAlphaCC(d.ALPHA_CC)) refuseSavedValue("ALPHA_CC", d.ALPHA_CC);
    out.push_back("DESIGN START");
    out.push_back(std::string("CODE,") + CODE_FILE_KEYS[static_cast<std::size_t>(d.CODE)]);
    out.push_back(Format("ALPHA_CC,%0.2F", {d.ALPHA_CC}));
    out.push_back(std::string("TIES,") + tiesKey(d.TIES));
    out.push_back("DESIGN END");
}

}  // namespace

void SAVE_QAV_SEC_DATA(const SectionModel& m, std::vector<std::string>& DATA) {
    DATA.clear();
    DATA.push_back("GEN START");
    DATA.push_back(Format("USE_CONC,%D", {m.document.USE_CONC}));
    DATA.push_back(Format("USE_REBAR,%D", {m.document.USE_REBAR}));
    DATA.push_back(Format("USE_STEEL,%D", {m.document.USE_STEEL}));
    DATA.push_back(Format("USE_COVER,%D", {m.document.USE_COVER}));
    DATA.push_back(Format("MESH_SIZE,%S", {m.document.MESH_SIZE_TEXT}));
    DATA.push_back("GEN END");
    writeDesignBlock(DATA, m);
    if (m.document.NCONC_PT != 0)
        writePolygonBlock(DATA, "POLY", m.document.CONC_PT, m.document.NCONC_PT);
    for (const TPOLYSHAPE& s : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        writePolygonBlock(DATA, "STEELPOLY", s.PT, s.NPOINT);
    for (const TPOLYSHAPE& s : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        writePolygonBlock(DATA, "OPENPOLY", s.PT, s.NPOINT);
    if (m.document.NCOVER_PT > 0)
        writePolygonBlock(DATA, "REBARPOLY", m.document.COVER_PT, m.document.NCOVER_PT);
    DATA.push_back("REBAR START");
    DATA.push_back(Format("NBAR,%D", {m.document.NBAR}));
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (const TBAR& b : bars) {
        const int32_t i = rowNumber(bars, b);
        const auto where = [i] { return Format("Bar %D", {i}); };
        DATA.push_back(
            Format("BAR,%D,%0.5F,%0.5F,%0.5F",
                   {i, savedLength(b.X, where), savedLength(b.Y, where), savedSize(b.DB, where)}));
    }
    DATA.push_back("REBAR END");
    writeConcreteBlock(DATA, "CONC MAT", "NCONCMAT", "CONCMAT", m.document.CONC_MAT,
                       m.document.NCONCMAT);
    writeConcreteBlock(DATA, "COVER MAT", "NCOVERMAT", "COVERMAT", m.document.COVER_MAT,
                       m.document.NCOVERMAT);
    DATA.push_back("STEEL MAT START");
    DATA.push_back(Format("NSTEELMAT,%D", {m.document.NSTEELMAT}));
    const auto steels = rows(m.document.STEEL_MAT, m.document.NSTEELMAT);
    for (const TMAT& t : steels) {
        const auto where = [&t] { return Format("Material %s", {t.NAME}); };
        DATA.push_back(Format("STEELMAT,%D,%S,%0.5F,%0.5F,%0.5F",
                              {rowNumber(steels, t), t.NAME, savedNumber(t.ES, where),
                               savedNumber(t.FY, where), savedNumber(t.RF, where)}));
    }
    DATA.push_back("STEEL MAT END");
    if (m.document.NFORCE > 0) {
        DATA.push_back("CHECKLOADING START");
        DATA.push_back(Format("NFORCE,%D", {m.document.NFORCE}));
        const auto loads = rows(m.document.FORCE, m.document.NFORCE);
        for (const TFORCE& f : loads) {
            const int32_t i = rowNumber(loads, f);
            const auto where = [i] { return Format("Load combination %D", {i}); };
            DATA.push_back(Format("FORCE,%D,%0.5F,%0.5F,%0.5F,%S,",
                                  {i, savedNumber(f.P, where), savedNumber(f.MX, where),
                                   savedNumber(f.MY, where), f.COMB_NAME}));
        }
        DATA.push_back("CHECKLOADING END");
    }
}

namespace {

// Refuses, before anything changes, the values that would make the reader allocate without
// bound or select a grade that does not exist.
void checkCountsAndGrades(const std::vector<std::string>& DATA) {
    struct Limit {
        const char* key;
        int max;  // -1: what the file could hold
    };
    static const Limit limits[] = {
        {"NPOINT", -1},
        {"NBAR", -1},
        {"NCONCMAT", -1},
        {"NCOVERMAT", -1},
        {"NSTEELMAT", -1},
        {"NFORCE", -1},
        {"USE_CONC", CONC_GRADE_ITEMS - 1},
        {"USE_COVER", COVER_GRADE_ITEMS - 1},
        {"USE_REBAR", OWN_STEEL_GRADES - 1},
        {"USE_STEEL", OWN_STEEL_GRADES - 1},
    };
    // A count never needs more record lines than the file has; the margin lets short
    // hand-made files leave records out, which the reader allows.
    const int lines = static_cast<int>(DATA.size());
    const int countLimit = lines + 1000;
    for (int ln = 0; ln < lines; ++ln) {
        const std::string& line = DATA[static_cast<std::size_t>(ln)];
        // Cheap filter: every key above starts with N or U, after the blanks and control
        // characters the fields lose.
        const auto first = std::find_if(line.begin(), line.end(),
                                        [](char c) { return static_cast<unsigned char>(c) > ' '; });
        if (first == line.end() || (*first != 'N' && *first != 'U')) continue;
        const auto f = getstr(line, 2);
        for (const Limit& l : limits) {
            if (f[1] != l.key) continue;
            int v = 0;
            if (!TryToInt(f[2], v)) break;  // the reader raises the conversion message there
            const int max = l.max < 0 ? countLimit : l.max;
            if (v < 0 || v > max) {
                const bool grade = l.max >= 0;
                throw InputError(
                    Format("Line %D: \"%s\" %s (0 to %D); the section file was not read.",
                           {ln + 1, line,
                            grade ? "selects a grade that is not in its list"
                                  : "gives a count that does not fit the file",
                            max}));
            }
            break;
        }
    }
}

// Blocks may overlap in a damaged file (a START without its END), and every count resizes a
// table: both are charged here so that no file makes the reader loop or allocate far beyond its
// own size.
struct ReadBudget {
    std::size_t lines = 0;
    std::size_t slots = 0;
    std::size_t maxLines = 0;
    std::size_t maxSlots = 0;
    explicit ReadBudget(std::size_t fileLines)
        : maxLines(4 * fileLines + 1000), maxSlots(2 * fileLines + 1000) {}
    void chargeSlots(int n) {
        slots += static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
        if (slots > maxSlots)
            throw InputError(
                "The counts of the section file add up to more entries than the file holds; "
                "reading stopped.");
    }
};

// One record line: its fields and where it stands, so a refused value names its line.
struct Record {
    std::vector<std::string> f;
    int ln = 0;  // 0-based
    const std::string* text = nullptr;

    const std::string& operator[](std::size_t k) const { return f[k]; }

    [[noreturn]] void refuse(std::size_t k) const { refuseLineValue(ln + 1, *text, f[k]); }
    // A coordinate: finite and within the length bound.
    double length(std::size_t k) const {
        const double v = ToFloat(f[k]);
        if (!isAcceptedLength(v)) refuse(k);
        return v;
    }
    // A size (a diameter): a length that is not negative.
    double size(std::size_t k) const {
        const double v = length(k);
        if (v < 0) refuse(k);
        return v;
    }
    // Any other number: finite.
    double number(std::size_t k) const {
        const double v = ToFloat(f[k]);
        if (!std::isfinite(v)) refuse(k);
        return v;
    }
};

// Records use at most seven fields; the rest of a line is not kept.
constexpr std::size_t RECORD_FIELDS = 20;

// Reads lines rs..re of one block; `record` gets each line's fields.
void forLines(const std::vector<std::string>& DATA, int rs, int re, ReadBudget& budget,
              const std::function<void(const Record&)>& record) {
    for (int ln = rs; ln <= re && ln < static_cast<int>(DATA.size()); ++ln) {
        if (++budget.lines > budget.maxLines)
            throw InputError("The blocks of the section file overlap; reading stopped.");
        const std::string& text = DATA[static_cast<std::size_t>(ln)];
        try {
            record(Record{getstr(text, RECORD_FIELDS), ln, &text});
        } catch (const ConversionError& e) {
            throw LineConversionError(ln + 1, e.what());
        }
    }
}

// A point list block (POLY, REBARPOLY, and each STEELPOLY/OPENPOLY).
void readPoints(const std::vector<std::string>& DATA, int rs, int re, ReadBudget& budget,
                std::vector<TPOS>& pt, int32_t& n) {
    bool counted = false;
    forLines(DATA, rs, re, budget, [&](const Record& f) {
        if (f[1] == "NPOINT") {
            const int count = ToInt(f[2]);
            budget.chargeSlots(count);
            n = count;
            resizeTable(pt, n + 1);
            counted = true;
        } else if (f[1] == "PT") {
            const int i = ToInt(f[2]);
            const double x = f.length(3);
            const double y = f.length(4);
            if (counted && i >= 0 && i <= n && static_cast<std::size_t>(i) < pt.size())
                pt[static_cast<std::size_t>(i)] = {x, y};
        }
    });
}

void readPolygonBlocks(const std::vector<std::string>& DATA, const std::string& name,
                       ReadBudget& budget, std::vector<TPOLYSHAPE>& table, int32_t& count) {
    const std::string start = name + " START", end = name + " END";
    // ends[i]: the first END line at or after line i, or 0.
    std::vector<int> ends(DATA.size() + 1, 0);
    std::vector<int> starts;
    for (std::size_t i = DATA.size(); i-- > 0;) {
        ends[i] = DATA[i] == end ? static_cast<int>(i) : ends[i + 1];
    }
    for (std::size_t i = 0; i < DATA.size(); ++i)
        if (DATA[i] == start) starts.push_back(static_cast<int>(i));
    count = static_cast<int32_t>(starts.size());
    resizeTable(table, count + 1);
    for (int k = 1; k <= count; ++k) {
        const int s = starts[static_cast<std::size_t>(k - 1)];
        const int e = ends[static_cast<std::size_t>(s)];
        if (e < s) continue;
        TPOLYSHAPE& p = table[static_cast<std::size_t>(k)];
        readPoints(DATA, s, e, budget, p.PT, p.NPOINT);
    }
}

template <class T, class Fill>
void readTable(const std::vector<std::string>& DATA, int rs, int re, ReadBudget& budget,
               const char* countKey, const char* recordKey, std::vector<T>& table, int32_t& count,
               Fill fill, const char* oldCountKey = nullptr,
               const std::function<void(const T&, const Record&, int)>& check = nullptr) {
    bool counted = false;
    forLines(DATA, rs, re, budget, [&](const Record& f) {
        if (f[1] == countKey) {
            const int n = ToInt(f[2]);
            budget.chargeSlots(n);
            count = n;
            resizeTable(table, count + 1);
            counted = true;
        } else if (oldCountKey && f[1] == oldCountKey) {
            counted = true;  // earlier files: the entries go into the table as it stands
        } else if (f[1] == recordKey) {
            const int i = ToInt(f[2]);
            T value = (i >= 1 && static_cast<std::size_t>(i) < table.size())
                          ? table[static_cast<std::size_t>(i)]
                          : T{};
            fill(value, f);  // converts every field before anything is stored
            if (counted && i >= 1 && i <= count && static_cast<std::size_t>(i) < table.size()) {
                if (check) check(value, f, i);  // before the value enters the model
                table[static_cast<std::size_t>(i)] = value;
            }
        }
    });
}

// The grades the four grade lists select are held to the material dialog's rules: a record of a
// selected grade that the dialog would refuse stops the reading at its line, before it enters the
// model. Grades that are not selected are not used and are only required to be finite (as every
// number read).
void requireSelectedGrade(const TMAT& t, MaterialTable table, const char* list, const Record* f) {
    for (const MaterialRule& r : materialRules(table)) {
        const std::string fault = materialFault(r, t.*(r.field));
        if (fault.empty()) continue;
        if (!f)
            throw InputError(
                Format("%s of %s, the selected %s (kept from before the file was read), %s",
                       {r.key, t.NAME, list, fault}));
        throw InputError(Format("Line %D: \"%s\": %s of %s, the selected %s, %s",
                                {f->ln + 1, *f->text, r.key, t.NAME, list, fault}));
    }
}

// The grade list a table's records are checked against: a list caption and its selected index.
struct Selection {
    const char* list;
    int listIndex;
};

std::function<void(const TMAT&, const Record&, int)> selectedGradeCheck(
    MaterialTable table, std::initializer_list<Selection> lists) {
    return [table, lists = std::vector<Selection>(lists)](const TMAT& t, const Record& f, int i) {
        for (const Selection& s : lists)
            if (i == s.listIndex + 1) requireSelectedGrade(t, table, s.list, &f);
    };
}

// A selected grade the file did not carry: the model held it before and may never have been
// checked (a grade no list selected in an earlier file).
void requireSelectedGradeOf(const std::vector<TMAT>& table, int count, MaterialTable rules,
                            Selection s) {
    const int i = s.listIndex + 1;
    if (i < 1 || i > count || static_cast<std::size_t>(i) >= table.size())
        return;  // the mesh says so
    requireSelectedGrade(table[static_cast<std::size_t>(i)], rules, s.list, nullptr);
}

// The design block: the code the tables belong to and its choices. A file without one is of the
// program's own tables.
struct DesignChoices {
    CodeId code = CodeId::HkCop2013;
    bool block = false;  // the file has the block
    double alphaCC = 1.0;
    Ties ties = Ties::Tied;
};

// Reads and checks the design block before anything changes; a key or a value it does not know
// refuses the file at its line.
DesignChoices readDesignBlock(const std::vector<std::string>& DATA) {
    DesignChoices c;
    const auto start = std::find(DATA.begin(), DATA.end(), "DESIGN START");
    if (start == DATA.end()) return c;
    c.block = true;
    const auto end = std::find(start, DATA.end(), "DESIGN END");
    if (end == DATA.end())
        throw InputError(
            Format("Line %D: \"DESIGN START\" has no \"DESIGN END\"; the section "
                   "file was not read.",
                   {static_cast<int>(start - DATA.begin()) + 1}));
    for (auto it = start + 1; it != end; ++it) {
        const int ln = static_cast<int>(it - DATA.begin()) + 1;
        const auto f = getstr(*it, 3);
        const auto refuse = [&](const std::string& why) {
            throw InputError(
                Format("Line %D: \"%s\": %s; the section file was not read.", {ln, *it, why}));
        };
        if (f[1].empty() && f[2].empty()) continue;
        if (f[1] == "CODE") {
            const auto key = std::find_if(CODE_FILE_KEYS.begin(), CODE_FILE_KEYS.end(),
                                          [&](const char* k) { return f[2] == k; });
            if (key == CODE_FILE_KEYS.end()) refuse("the code is one of HK, BS, EC2, ACI318");
            c.code = static_cast<CodeId>(key - CODE_FILE_KEYS.begin());
        } else if (f[1] == "ALPHA_CC") {
            if (!TryToFloat(f[2], c.alphaCC) || !acceptedAlphaCC(c.alphaCC))
                refuse("ALPHA_CC is a number from 0.8 to 1.0");
        } else if (f[1] == "TIES") {
            if (f[2] != "TIED" && f[2] != "SPIRAL") refuse("TIES is TIED or SPIRAL");
            c.ties = f[2] == "TIED" ? Ties::Tied : Ties::Spiral;
        } else {
            refuse("the design block holds CODE, ALPHA_CC and TIES");
        }
    }
    return c;
}

// The names of every grade of a code's tables; the two first codes share the program's own.
const std::vector<std::string>& gradeNamesOf(CodeId code) {
    static const std::array<std::vector<std::string>, 4> names = [] {
        std::array<std::vector<std::string>, 4> n;
        const SectionModel own;
        const CodeGradeTables ec2 = codeGradeTables(CodeId::Ec2),
                              aci = codeGradeTables(CodeId::Aci318);
        auto add = [](std::vector<std::string>& to, const std::vector<TMAT>& table) {
            for (std::size_t i = 1; i < table.size(); ++i) to.push_back(table[i].NAME);
        };
        for (const auto* t :
             {&own.document.CONC_MAT, &own.document.COVER_MAT, &own.document.STEEL_MAT})
            add(n[0], *t);
        n[1] = n[0];
        for (const auto* t : {&ec2.concrete, &ec2.cover, &ec2.steel}) add(n[2], *t);
        for (const auto* t : {&aci.concrete, &aci.cover, &aci.steel}) add(n[3], *t);
        return n;
    }();
    return names[static_cast<std::size_t>(code)];
}

bool isGradeOf(CodeId code, const std::string& name) {
    const auto& names = gradeNamesOf(code);
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A grade's values mean what its code makes of them (a design strength, a nominal one): a grade
// that is another code's and not the file's own would be read as something it is not. A grade
// of a name no code has (one renamed by its user) is the file's own.
void requireGradesOfCode(const std::vector<std::string>& DATA, const DesignChoices& design) {
    const CodeId codes[] = {CodeId::HkCop2013, CodeId::Ec2, CodeId::Aci318};
    for (std::size_t ln = 0; ln < DATA.size(); ++ln) {
        const std::string& line = DATA[ln];
        const std::vector<std::string> f = getstr(line, 3);
        if (f[1] != "CONCMAT" && f[1] != "COVERMAT" && f[1] != "STEELMAT") continue;
        const std::string& name = f[3];
        if (isGradeOf(design.code, name)) continue;
        for (CodeId other : codes) {
            if (!isGradeOf(other, name)) continue;
            const std::string of =
                codeHasOwnTables(other)
                    ? std::string(codeName(other))
                    : std::string(codeName(CodeId::HkCop2013)) + " and " + codeName(CodeId::Bs8110);
            const std::string fileCode =
                design.block ? Format("the file's DESIGN block says CODE,%s",
                                      {CODE_FILE_KEYS[static_cast<std::size_t>(design.code)]})
                             : std::string("a file without a DESIGN block is under ") +
                                   codeName(CodeId::HkCop2013) + " or " + codeName(CodeId::Bs8110);
            throw SectionLayoutError(
                static_cast<int>(ln) + 1,
                Format("\"%s\": %s is a grade of %s, and %s: a file's grades belong to its code; "
                       "the section file was not read.",
                       {line, name, of, fileCode}));
        }
    }
}

void fillConcrete(TMAT& t, const Record& f) {
    t.NAME = f[3];
    t.EC = f.number(4);
    t.FC = f.number(5);
    t.EPS_0 = f.number(6);
    t.EPS_CU = f.number(7);
}

}  // namespace

void LOAD_QAV_SEC_DATA(SectionModel& m, const std::vector<std::string>& fileLines) {
    // Records and markers are read trimmed, once the layout is known to be whole.
    const std::vector<std::string> DATA = checkedSectionLines(fileLines);
    checkCountsAndGrades(DATA);
    const DesignChoices design = readDesignBlock(DATA);
    requireGradesOfCode(DATA, design);
    ReadBudget budget(DATA.size());
    int RS = 0, RE = 0;
    // Grades the file leaves out keep the values of their slot: the tables of the file's code.
    if (codeHasOwnTables(design.code) || codeHasOwnTables(m.document.CODE)) {
        const CodeGradeTables t = codeGradeTables(design.code, design.alphaCC);
        if (t.concrete.empty()) {
            GEN_MAT(m);
        } else {
            m.document.CONC_MAT = t.concrete;
            m.document.COVER_MAT = t.cover;
            m.document.STEEL_MAT = t.steel;
            m.document.NCONCMAT = static_cast<int32_t>(t.concrete.size()) - 1;
            m.document.NCOVERMAT = static_cast<int32_t>(t.cover.size()) - 1;
            m.document.NSTEELMAT = static_cast<int32_t>(t.steel.size()) - 1;
        }
    }
    m.document.CODE = design.code;
    if (design.code == CodeId::Bs8110) m.settings.DESIGN_CODE = 1;  // labels the section
    m.document.ALPHA_CC = design.alphaCC;
    m.document.TIES = design.ties;

    GET_PARA(RS, RE, DATA, "GEN START", "GEN END");
    if (RE != 0 && RE >= RS) {
        forLines(DATA, RS, RE, budget, [&](const Record& f) {
            if (f[1] == "USE_CONC")
                m.document.USE_CONC = ToInt(f[2]);
            else if (f[1] == "USE_REBAR")
                m.document.USE_REBAR = ToInt(f[2]);
            else if (f[1] == "USE_STEEL")
                m.document.USE_STEEL = ToInt(f[2]);
            else if (f[1] == "USE_COVER")
                m.document.USE_COVER = ToInt(f[2]);
            else if (f[1] == "MESH_SIZE")
                m.document.MESH_SIZE_TEXT = f[2];
        });
    }

    GET_PARA(RS, RE, DATA, "POLY START", "POLY END");
    if (RE != 0 && RE >= RS)
        readPoints(DATA, RS, RE, budget, m.document.CONC_PT, m.document.NCONC_PT);

    readPolygonBlocks(DATA, "STEELPOLY", budget, m.document.STEEL_SEC, m.document.NSTEEL_SEC);
    readPolygonBlocks(DATA, "OPENPOLY", budget, m.document.OPEN_SEC, m.document.NOPEN_SEC);

    GET_PARA(RS, RE, DATA, "REBARPOLY START", "REBARPOLY END");
    if (RS != 0 && RE != 0 && RE >= RS)
        readPoints(DATA, RS, RE, budget, m.document.COVER_PT, m.document.NCOVER_PT);

    GET_PARA(RS, RE, DATA, "REBAR START", "REBAR END");
    if (RE >= RS)
        readTable(DATA, RS, RE, budget, "NBAR", "BAR", m.document.BAR, m.document.NBAR,
                  [](TBAR& b, const Record& f) {
                      b.X = f.length(3);
                      b.Y = f.length(4);
                      b.DB = f.size(5);
                  });

    using T = MaterialTable;
    const Selection conc{"Concrete Grade", m.document.USE_CONC},
        cover{"Concrete Cover Grade", m.document.USE_COVER};
    const Selection rebar{"Rebar Grade", m.document.USE_REBAR},
        steel{"Steel Grade", m.document.USE_STEEL};
    GET_PARA(RS, RE, DATA, "CONC MAT START", "CONC MAT END");
    if (RE >= RS)
        readTable<TMAT>(DATA, RS, RE, budget, "NCONCMAT", "CONCMAT", m.document.CONC_MAT,
                        m.document.NCONCMAT, fillConcrete, nullptr,
                        selectedGradeCheck(T::CoreConcrete, {conc}));

    GET_PARA(RS, RE, DATA, "COVER MAT START", "COVER MAT END");
    if (RE >= RS)
        readTable<TMAT>(DATA, RS, RE, budget, "NCOVERMAT", "COVERMAT", m.document.COVER_MAT,
                        m.document.NCOVERMAT, fillConcrete, "NCONCMAT",
                        selectedGradeCheck(T::CoverConcrete, {cover}));

    GET_PARA(RS, RE, DATA, "STEEL MAT START", "STEEL MAT END");
    if (RE >= RS)
        readTable<TMAT>(
            DATA, RS, RE, budget, "NSTEELMAT", "STEELMAT", m.document.STEEL_MAT,
            m.document.NSTEELMAT,
            [](TMAT& t, const Record& f) {
                t.NAME = f[3];
                t.ES = f.number(4);
                t.FY = f.number(5);
                t.RF = f[6].empty() ? 0.87 : f.number(6);
            },
            nullptr, selectedGradeCheck(T::Steel, {rebar, steel}));

    requireSelectedGradeOf(m.document.CONC_MAT, m.document.NCONCMAT, T::CoreConcrete, conc);
    requireSelectedGradeOf(m.document.COVER_MAT, m.document.NCOVERMAT, T::CoverConcrete, cover);
    requireSelectedGradeOf(m.document.STEEL_MAT, m.document.NSTEELMAT, T::Steel, rebar);
    requireSelectedGradeOf(m.document.STEEL_MAT, m.document.NSTEELMAT, T::Steel, steel);

    GET_PARA(RS, RE, DATA, "CHECKLOADING START", "CHECKLOADING END");
    if (RE >= RS)
        readTable(DATA, RS, RE, budget, "NFORCE", "FORCE", m.document.FORCE, m.document.NFORCE,
                  [](TFORCE& t, const Record& f) {
                      t.P = f.number(3);
                      t.MX = f.number(4);
                      t.MY = f.number(5);
                      t.COMB_NAME = f[6];
                      t.LOAD_FRACTION = 0;
                  });

    restoreCodeGradeValues(m.document);
    deriveCodeLawFields(m.document);
    checkTables(m);
    refreshGeometry(m);
}

namespace {
// A section file holds at least one of its blocks; a line of it starts the block exactly.
bool holdsSectionBlock(const std::vector<std::string>& lines) {
    static const char* const blocks[] = {"GEN START",       "POLY START",        "REBARPOLY START",
                                         "REBAR START",     "CONC MAT START",    "COVER MAT START",
                                         "STEEL MAT START", "CHECKLOADING START"};
    auto ends = [](const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    for (const std::string& l : lines) {
        for (const char* b : blocks)
            if (l == b) return true;
        if ((l.rfind("STEELPOLY", 0) == 0 || l.rfind("OPENPOLY", 0) == 0) && ends(l, " START"))
            return true;
    }
    return false;
}

// "Line 12: ..." as "column.sec, line 12: ...".
std::string namingFile(const std::string& path, const std::string& message) {
    const std::string line = "Line ";
    if (message.rfind(line, 0) != 0) return path + ": " + message;
    return path + ", line " + message.substr(line.size());
}
}  // namespace

void openSectionFile(SectionModel& m, const std::string& path) {
    openSectionLines(m, readTextLines(path), path);
}

void openSectionLines(SectionModel& m, std::vector<std::string> lines, const std::string& path) {
    if (!holdsSectionBlock(lines))
        throw FileRefusedError(
            "\"" + path +
            "\" is not a section file: it holds none of the blocks of one (\"GEN START\", "
            "\"POLY START\", \"REBAR START\", ...).");
    m.document.SECTION_TEXT = std::move(lines);
    try {
        LOAD_QAV_SEC_DATA(m, m.document.SECTION_TEXT);
    } catch (const LineConversionError& e) {
        throw ConversionError(linePlace(path, e.lineNo) + ": " + e.conversion);
    } catch (const SectionLayoutError& e) {
        throw FileRefusedError(linePlace(path, e.lineNo) + ": " + e.detail);
    } catch (const FileRefusedError&) {
        throw;
    } catch (const InputError& e) {
        throw InputError(namingFile(path, e.what()));
    }
}

void saveSectionFile(SectionModel& m, const std::string& path) {
    // Built aside first: a value the writer refuses leaves the text and the file as they were.
    std::vector<std::string> lines;
    SAVE_QAV_SEC_DATA(m, lines);
    writeTextLines(path, lines);
    m.document.SECTION_TEXT = std::move(lines);
}

}  // namespace qav
