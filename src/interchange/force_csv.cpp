#include "interchange/force_csv.h"

#include <cmath>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/value_checks.h"

namespace qav {

namespace {
constexpr std::size_t CSV_MAX_FIELDS = 50;
}  // namespace

void IMPORT_FORCE_CSV(SectionModel& m, const std::vector<std::string>& lines, ForceUnits units) {
    if (lines.empty()) throw InputError("The force file is empty (not even a header line): nothing was imported.");
    const double forceFactor = units == ForceUnits::N_mm ? 0.001 : 1.0;
    const double lengthFactor = units == ForceUnits::N_mm ? 0.001 : 1.0;
    const int n = static_cast<int>(lines.size()) - 1;
    std::vector<TFORCE> force(static_cast<std::size_t>(n) + 1);
    // Fields a line lacks keep the text they had on the line before.
    std::vector<std::string> CSV_FIELD(CSV_MAX_FIELDS + 1);
    for (int i = 1; i <= n; ++i) {
        const std::vector<std::string> f = getstr(lines[static_cast<std::size_t>(i)], CSV_MAX_FIELDS);
        std::size_t count = 0;
        for (char ch : lines[static_cast<std::size_t>(i)]) count += ch == ',' ? 1 : 0;
        ++count;
        // Fields past the fiftieth are outside the format and ignored.
        for (std::size_t k = 1; k <= count && k <= CSV_MAX_FIELDS && k < f.size(); ++k) CSV_FIELD[k] = f[k];
        TFORCE& t = force[static_cast<std::size_t>(i)];
        t.COMB_NAME = CSV_FIELD[2];
        auto value = [&](std::size_t k, double factor) {
            const double v = ToFloat(CSV_FIELD[k]) * factor;
            if (!std::isfinite(v)) refuseLineValue(i + 1, lines[static_cast<std::size_t>(i)], CSV_FIELD[k]);
            return v;
        };
        t.P = value(3, forceFactor);
        t.MX = value(4, lengthFactor * forceFactor);
        t.MY = value(5, lengthFactor * forceFactor);
        t.LOAD_FRACTION = 0;
    }
    m.FORCE = std::move(force);
    m.NFORCE = n;
}

std::vector<std::string> EXPORT_FORCE_CSV(const SectionModel& m) {
    std::vector<std::string> out{"No,LoadComb,P,Mx,My,Load_Fraction,"};
    for (int i = 1; i <= m.NFORCE && static_cast<std::size_t>(i) < m.FORCE.size(); ++i) {
        const TFORCE& f = m.FORCE[static_cast<std::size_t>(i)];
        out.push_back(Format("%D", {i}) + "," + f.COMB_NAME + "," + Format("%0.3F,", {f.P}) +
                      Format("%0.3F,", {f.MX}) + Format("%0.3F,", {f.MY}) + Format("%0.3F,", {f.LOAD_FRACTION}));
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
