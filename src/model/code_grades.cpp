#include "model/code_grades.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>

namespace qav {

CodeConcrete ec2Concrete(double fck, double alphaCC) {
    CodeConcrete c;
    c.fck = fck;
    c.fcd = alphaCC * fck / EC2_GAMMA_C;  // 3.1.6(1)
    // EN 1992-1-1 Table 3.1: the parabola-rectangle's strains and exponent, in per mille.
    if (fck <= 50) {
        c.epsC2 = 2.0e-3;
        c.epsCu2 = 3.5e-3;
        c.n = 2.0;
    } else {
        const double r4 = std::pow((90.0 - fck) / 100.0, 4);
        c.epsC2 = (2.0 + 0.085 * std::pow(fck - 50.0, 0.53)) * 1e-3;
        c.epsCu2 = (2.6 + 35.0 * r4) * 1e-3;
        c.n = 1.4 + 23.4 * r4;
    }
    c.Ecm = 22000.0 * std::pow((fck + 8.0) / 10.0, 0.3);  // Table 3.1, fcm = fck + 8
    return c;
}

double aciBeta1(double fc) {
    if (fc <= 28) return 0.85;
    return std::max(0.65, 0.85 - 0.05 * (fc - 28.0) / 7.0);
}

double aciEc(double fc) {
    return 4700.0 * std::sqrt(std::max(fc, 0.0));
}

CodeConcrete aciConcrete(double fc) {
    CodeConcrete c;
    c.fck = fc;
    c.fcd = 0.85 * fc;
    c.Ecm = aciEc(fc);
    c.epsC2 = 2.0 * c.fcd / c.Ecm;
    c.epsCu2 = ACI_EPS_CU;
    c.n = 2.0;
    c.beta1 = aciBeta1(fc);
    return c;
}

TMAT concreteMaterial(const CodeConcrete& c, const std::string& name) {
    TMAT t;
    t.NAME = name;
    t.FCU = c.fck;
    t.EC = c.Ecm;
    t.FC = c.fcd;
    t.EPS_0 = c.epsC2;
    t.EPS_CU = c.epsCu2;
    return t;
}

namespace {

TMAT steelMaterial(const char* name, double fy, double gamma) {
    TMAT s;
    s.NAME = name;
    s.ES = CODE_STEEL_ES;
    s.FY = fy;
    s.RF = 1.0 / gamma;
    s.FY1 = s.FY * s.RF;
    return s;
}

void addConcrete(CodeGradeTables& t, const CodeConcrete& law, const std::string& name) {
    t.law.push_back(law);
    t.concrete.push_back(concreteMaterial(law, name));
    t.cover.push_back(concreteMaterial(law, name + "_Cover"));
}

}  // namespace

namespace {
// EN 1992-1-1 Table 3.1: cylinder / cube characteristic strengths.
constexpr std::pair<int, int> EC2_GRADES[] = {{12, 15}, {16, 20}, {20, 25}, {25, 30}, {30, 37},
                                              {35, 45}, {40, 50}, {45, 55}, {50, 60}, {55, 67},
                                              {60, 75}, {70, 85}, {80, 95}, {90, 105}};
}  // namespace

CodeGradeTables codeGradeTables(CodeId code, double alphaCC) {
    CodeGradeTables t;
    if (code != CodeId::Ec2 && code != CodeId::Aci318) return t;
    t.concrete.resize(1);
    t.cover.resize(1);
    t.steel.resize(1);
    t.law.resize(1);
    if (code == CodeId::Ec2) {
        for (const auto& [fck, cube] : EC2_GRADES) {
            CodeConcrete c = ec2Concrete(fck, alphaCC);
            c.fcube = cube;
            addConcrete(t, c, "C" + std::to_string(fck) + "/" + std::to_string(cube));
        }
        t.steel.push_back(steelMaterial("B500B", 500, EC2_GAMMA_S));
        t.steel.push_back(steelMaterial("B450C", 450, EC2_GAMMA_S));
        t.reinforcementCount = 2;
        for (const auto& [name, fy] : {std::pair{"S235", 235}, {"S275", 275}, {"S355", 355}})
            t.steel.push_back(steelMaterial(name, fy, EC2_GAMMA_M0));
    } else {
        for (const int fc : {20, 25, 28, 30, 35, 40, 50, 60, 70, 80})
            addConcrete(t, aciConcrete(fc), "FC" + std::to_string(fc));
        // Grade 60 and Grade 80 bars (ASTM A615M / A706M), and two structural steels.
        t.steel.push_back(steelMaterial("GR420", 420, 1.0));
        t.steel.push_back(steelMaterial("GR550", 550, 1.0));
        t.reinforcementCount = 2;
        t.steel.push_back(steelMaterial("A36", 250, 1.0));
        t.steel.push_back(steelMaterial("A992", 345, 1.0));
    }
    return t;
}

double cubeToCylinder(double fcube) {
    const std::size_t n = std::size(EC2_GRADES);
    const auto& first = EC2_GRADES[0];
    const auto& last = EC2_GRADES[n - 1];
    if (fcube <= first.second) return fcube * first.first / first.second;
    if (fcube >= last.second) return fcube * last.first / last.second;
    std::size_t i = 1;
    while (EC2_GRADES[i].second < fcube) ++i;
    const auto& [c0, q0] = EC2_GRADES[i - 1];
    const auto& [c1, q1] = EC2_GRADES[i];
    return c0 + (c1 - c0) * (fcube - q0) / static_cast<double>(q1 - q0);
}

double cylinderStrength(CodeId code, const TMAT& grade) {
    return code == CodeId::Ec2 || code == CodeId::Aci318 ? grade.FCU : cubeToCylinder(grade.FCU);
}

namespace {
template <class Strength>
int nearest(const std::vector<TMAT>& table, int first, int last, double target, Strength strength) {
    int best = 0;
    double gap = 0;
    last = std::min(last, static_cast<int>(table.size()) - 1);
    for (int i = std::max(first, 1); i <= last; ++i) {
        const double g = std::fabs(strength(table[static_cast<std::size_t>(i)]) - target);
        if (best == 0 || g < gap) best = i, gap = g;
    }
    return best;
}
}  // namespace

int nearestConcreteGrade(const std::vector<TMAT>& table, CodeId code, double cylinder) {
    return nearest(table, 1, static_cast<int>(table.size()) - 1, cylinder,
                   [&](const TMAT& t) { return cylinderStrength(code, t); });
}

int nearestSteelGrade(const std::vector<TMAT>& table, int first, int last, double fy) {
    return nearest(table, first, last, fy, [](const TMAT& t) { return t.FY; });
}

}  // namespace qav
