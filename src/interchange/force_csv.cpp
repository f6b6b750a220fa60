#include "interchange/force_csv.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "model/value_checks.h"

namespace qav {

namespace {
constexpr std::size_t CSV_MAX_FIELDS = 50;
// A row's fields: its number, the combination's name, P and the two moments.
constexpr std::size_t CSV_ROW_FIELDS = 5;

// Nothing but blanks and control characters (an empty last line, a line of spaces, a stray CR):
// no row, wherever it stands.
bool isBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// A column as the file's own header names it, or by its number when the header has no short
// name there.
std::string columnName(const std::vector<std::string>& header, std::size_t k) {
    constexpr std::size_t SHORT_NAME = 24;
    if (k < header.size() && !header[k].empty() && header[k].size() <= SHORT_NAME) return header[k];
    return Format("%D", {static_cast<int>(k)});
}

// The file as messages name it, when it names no line.
std::string fileWord(const std::string& file) {
    return file.empty() ? "The force file" : "\"" + file + "\"";
}

// A file of 16-bit characters splits into lines full of NUL bytes, whose fields would be
// refused one by one as numbers with a message that does not say why.
void requireEightBitText(const std::vector<std::string>& lines, const std::string& file) {
    const bool mark = !lines.empty() && lines[0].size() >= 2 &&
                      ((lines[0][0] == '\xFF' && lines[0][1] == '\xFE') ||
                       (lines[0][0] == '\xFE' && lines[0][1] == '\xFF'));
    const bool nul = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find('\0') != std::string::npos;
    });
    if (!mark && !nul) return;
    throw InputError(fileWord(file) +
                     (mark ? " is UTF-16 text" : " holds NUL bytes, as UTF-16 text does") +
                     "; save it as CSV in UTF-8 or ASCII and import it again: nothing was "
                     "imported.");
}

// The unit a header's column name gives in brackets, "P[kN]" or "M2 (kNm)"; false when none.
bool unitOf(const std::string& name, std::string& unit) {
    const auto open = name.find_first_of("[(");
    if (open == std::string::npos) return false;
    const char close = name[open] == '[' ? ']' : ')';
    const auto end = name.find(close, open);
    unit = name.substr(open + 1, end == std::string::npos ? std::string::npos : end - open - 1);
    return true;
}

// The factor that takes a value of the unit to kN (force) or kNm (moment); 0 for a unit the file
// does not take. Blanks, dots, stars, hyphens and middle dots between N and mm are all one.
double factorOf(const std::string& unit, bool moment) {
    std::string u;
    for (std::size_t i = 0; i < unit.size(); ++i) {
        const char c = unit[i];
        if (unit.compare(i, 2, "\xC2\xB7") == 0) {
            ++i;
            continue;
        }
        if (c == ' ' || c == '.' || c == '*' || c == '-') continue;
        u += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (moment) return u == "nmm" ? 1e-6 : u == "knm" ? 1.0 : 0.0;
    return u == "n" ? 1e-3 : u == "kn" ? 1.0 : 0.0;
}

const char* unitsName(ForceUnits u) {
    return u == ForceUnits::N_mm ? "N,mm" : "kN,m";
}

// Factors to kN and kNm of the columns P, M2 and M3.
struct Factors {
    double p = 1, m2 = 1, m3 = 1;
    bool operator==(const Factors&) const = default;
};

Factors factorsOf(ForceUnits u) {
    return u == ForceUnits::N_mm ? Factors{1e-3, 1e-6, 1e-6} : Factors{1, 1, 1};
}

// The factors the header names, when it names units for P and both moments; refuses a header
// that names them for some columns only, or a unit the file does not take.
std::optional<Factors> headerFactors(const std::vector<std::string>& h, const std::string& place) {
    std::string units[3];
    int named = 0;
    for (std::size_t k = 3; k <= 5; ++k) named += unitOf(h[k], units[k - 3]) ? 1 : 0;
    if (named == 0) return std::nullopt;
    if (named < 3)
        throw InputError(place +
                         ": the header names the units of some of the columns P, M2, M3 "
                         "and not of the others: name them for all three or for none; "
                         "nothing was imported.");
    double f[3];
    for (std::size_t k = 0; k < 3; ++k) {
        f[k] = factorOf(units[k], k > 0);
        if (f[k] == 0)
            throw InputError(
                place + Format(": the header gives column %D the unit '%s'; P is in N or kN, the "
                               "moments in Nmm or kNm: nothing was imported.",
                               {static_cast<int>(k) + 3, units[k]}));
    }
    return Factors{f[0], f[1], f[2]};
}

// The factors the file is read with: its header's units, which must be those chosen when units
// were chosen; else the units chosen, N and N mm when none were.
Factors readFactors(const std::vector<std::string>& h, const std::string& headerLine,
                    std::optional<ForceUnits> chosen, const std::string& place) {
    const std::optional<Factors> named = headerFactors(h, place);
    if (!named) return factorsOf(chosen.value_or(ForceUnits::N_mm));
    if (!chosen || *named == factorsOf(*chosen)) return *named;
    const ForceUnits other = *chosen == ForceUnits::N_mm ? ForceUnits::kN_m : ForceUnits::N_mm;
    const bool otherFits = *named == factorsOf(other);
    throw InputError(place + ": the header \"" + headerLine +
                     "\" names its units, and they are not " + unitsName(*chosen) +
                     ", the units chosen: " +
                     (otherFits ? std::string("choose ") + unitsName(other) + " and import again"
                                : std::string("mend the header")) +
                     "; nothing was imported.");
}

}  // namespace

void IMPORT_FORCE_CSV(SectionModel& m, const std::vector<std::string>& lines,
                      std::optional<ForceUnits> units, const std::string& file) {
    requireEightBitText(lines, file);
    // Combination i is the i-th row after the header, counting only lines that hold something:
    // a blank line makes no combination and moves no number. Messages give the file's own
    // line numbers.
    std::vector<std::size_t> rows;
    for (std::size_t at = 0; at < lines.size(); ++at)
        if (!isBlank(lines[at])) rows.push_back(at);
    if (rows.empty())
        throw InputError(fileWord(file) +
                         " is empty (not even a header line): nothing was imported.");
    const std::string& headerLine = lines[rows[0]];
    const std::string headerPlace = linePlace(file, static_cast<int>(rows[0]) + 1);
    const std::vector<std::string> header = getstr(headerLine, CSV_MAX_FIELDS);
    double number = 0;
    if (TryToFloat(header[3], number) && TryToFloat(header[4], number) &&
        TryToFloat(header[5], number))
        throw InputError(headerPlace + " is a load, not a header: \"" + headerLine +
                         "\"; a force file starts with a header line such as \"no.,Load,P,M2,M3\": "
                         "nothing was imported.");
    const Factors factors = readFactors(header, headerLine, units, headerPlace);
    const int n = static_cast<int>(rows.size()) - 1;
    std::vector<TFORCE> force(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const std::size_t at = rows[static_cast<std::size_t>(i)];
        const std::string& line = lines[at];
        const int lineNo = static_cast<int>(at) + 1;
        // Each row carries its own values: a short one is a mistake in the file, not a repeat of
        // the row before.
        const auto count = static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
        if (count < CSV_ROW_FIELDS)
            throw InputError(linePlace(file, lineNo) +
                             Format(" has %D field%s, %D are needed.",
                                    {static_cast<int>(count), count == 1 ? "" : "s",
                                     static_cast<int>(CSV_ROW_FIELDS)}));
        // Fields past the fifth are outside what a row means and are not read.
        const std::vector<std::string> f = getstr(line, CSV_ROW_FIELDS);
        TFORCE& t = force[static_cast<std::size_t>(i)];
        t.COMB_NAME = f[2];
        auto value = [&](std::size_t k, double factor) {
            double v = 0;
            try {
                v = ToFloat(f[k]) * factor;
            } catch (const ConversionError& e) {
                throw ConversionError(linePlace(file, lineNo) + ", column " +
                                      columnName(header, k) + ": " + e.what());
            }
            if (!std::isfinite(v)) refuseLineValue(lineNo, line, f[k]);
            return v;
        };
        t.P = value(3, factors.p);
        t.MX = value(4, factors.m2);
        t.MY = value(5, factors.m3);
        t.LOAD_FRACTION = 0;
    }
    m.document.FORCE = std::move(force);
    m.document.NFORCE = n;
    checkTables(m);
}

std::vector<std::string> EXPORT_FORCE_CSV(const SectionModel& m) {
    // The header names the units, so that the file reads back as it was meant whatever units
    // the reader has chosen (or is refused saying why).
    std::vector<std::string> out{"No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,"};
    const auto forceRows = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : forceRows) {
        const int32_t i = rowNumber(forceRows, f);
        out.push_back(Format("%D", {i}) + "," + f.COMB_NAME + "," + Format("%0.3F,", {f.P}) +
                      Format("%0.3F,", {f.MX}) + Format("%0.3F,", {f.MY}) +
                      (isChecked(f) ? LoadFractionText(f.LOAD_FRACTION) + "," : std::string(",")));
    }
    return out;
}

const std::vector<std::string>& SAMPLE_FORCE_CSV() {
    static const std::vector<std::string> lines{
        "no.,Load,P,M2,M3",
        "1,DCON1,-2487038.75,0,0",
        "2,DCON1,-2435501.25,-42136467.65,42136467.66",
        "3,DCON1,-2383963.75,-84272935.3,84272935.3",
        "4,DCON2,-3911959.6,0,0",
        "5,DCON2,-3860422.1,-73911380.55,73911380.55",
        "6,DCON2,-3808884.6,-147822761.1,147822761.1",
        "7,DCON3,-2917058.65,0,0",
        "8,DCON3,-2872883.65,-59948156.95,-126366470.1",
        "9,DCON3,-2828708.65,-119896313.9,-252732940",
        "10,DCON4,-3483817.65,0,0",
        "11,DCON4,-3439642.65,-59948156.95,246262784",
        "12,DCON4,-3395467.65,-119896313.9,492525567.9",
        "13,DCON5,-3481909.45,0,0",
        "14,DCON5,-3437734.45,-244744844,59948156.95",
        "15,DCON5,-3393559.45,-489489688,119896313.9",
        "16,DCON6,-2918966.8,0,0",
        "17,DCON6,-2874791.8,124848530.1,59948156.95",
        "18,DCON6,-2830616.8,249697060.1,119896313.9",
        "19,DCON7,-2156429.3,0,0",
        "20,DCON7,-2104891.8,-42136467.65,-175230597",
        "21,DCON7,-2053354.3,-84272935.3,-350461194.5",
        "22,DCON8,-2817648.15,0,0",
        "23,DCON8,-2766110.65,-42136467.65,259503532.5",
        "24,DCON8,-2714573.15,-84272935.3,519007065",
        "25,DCON9,-2815421.9,0,0",
        "26,DCON9,-2763884.4,-257732602.5,42136467.66",
        "27,DCON9,-2712346.9,-515465205,84272935.3",
        "28,DCON10,-2158655.55,0,0",
        "29,DCON10,-2107118.05,173459667.2,42136467.66",
        "30,DCON10,-2055580.55,346919334.4,84272935.3",
        "31,DCON11,-1445846.8,0,0",
        "32,DCON11,-1409034.3,-30097476.9,-187269588",
        "33,DCON11,-1372221.8,-60194953.8,-374539176",
        "34,DCON12,-2107065.65,0,0",
        "35,DCON12,-2070253.15,-30097476.9,247464541.8",
        "36,DCON12,-2033440.65,-60194953.8,494929083.5",
        "37,DCON13,-2104839.45,0,0",
        "38,DCON13,-2068026.95,-245693611.5,30097476.9",
        "39,DCON13,-2031214.45,-491387223.5,60194953.8",
        "40,DCON14,-1448073.05,0,0",
        "41,DCON14,-1411260.55,185498658,30097476.9",
        "42,DCON14,-1374448.05,370997315.9,60194953.8",
    };
    return lines;
}

}  // namespace qav
