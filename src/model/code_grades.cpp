#include "model/code_grades.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

namespace {
// Table 3.1's pairs read from one strength to the other (first: cylinder, second: cube): linear
// between pairs, in proportion to the nearest pair beyond either end.
double alongGradePairs(double x, bool fromCube) {
    auto from = [&](std::size_t i) {
        return static_cast<double>(fromCube ? EC2_GRADES[i].second : EC2_GRADES[i].first);
    };
    auto to = [&](std::size_t i) {
        return static_cast<double>(fromCube ? EC2_GRADES[i].first : EC2_GRADES[i].second);
    };
    const std::size_t last = std::size(EC2_GRADES) - 1;
    if (x <= from(0)) return x * to(0) / from(0);
    if (x >= from(last)) return x * to(last) / from(last);
    std::size_t i = 1;
    while (from(i) < x) ++i;
    return to(i - 1) + (to(i) - to(i - 1)) * (x - from(i - 1)) / (from(i) - from(i - 1));
}
}  // namespace

double cubeToCylinder(double fcube) {
    return alongGradePairs(fcube, true);
}

double cylinderToCube(double fcyl) {
    return alongGradePairs(fcyl, false);
}

double cylinderStrength(CodeId code, const TMAT& grade) {
    return code == CodeId::Ec2 || code == CodeId::Aci318 ? grade.FCU : cubeToCylinder(grade.FCU);
}

namespace {
bool cubeCode(CodeId c) {
    return c == CodeId::HkCop2013 || c == CodeId::Bs8110;
}
}  // namespace

StrengthMeasure concreteMeasure(CodeId from, CodeId to) {
    if (cubeCode(to)) return StrengthMeasure::Cube;
    if (to == CodeId::Aci318) return StrengthMeasure::Cylinder;
    return cubeCode(from) ? StrengthMeasure::Cube : StrengthMeasure::Cylinder;
}

double concreteStrength(CodeId code, const TMAT& grade, StrengthMeasure measure) {
    if (measure == StrengthMeasure::Cylinder) return cylinderStrength(code, grade);
    return cubeCode(code) ? grade.FCU : cylinderToCube(grade.FCU);
}

std::string strengthText(double strength, StrengthMeasure measure) {
    char text[64];
    if (measure == StrengthMeasure::Cube)
        std::snprintf(text, sizeof text, "cube %.4g N/mm2", strength);
    else
        std::snprintf(text, sizeof text, "cylinder %.4g N/mm2", strength);
    return text;
}

bool codeHasGrade(CodeId code, GradeKind kind, const std::string& name) {
    std::vector<TMAT> table;
    if (codeHasOwnTables(code)) {
        CodeGradeTables t = codeGradeTables(code);
        table = kind == GradeKind::Steel   ? std::move(t.steel)
                : kind == GradeKind::Cover ? std::move(t.cover)
                                           : std::move(t.concrete);
    } else {
        const SectionModel own;  // the program's own tables
        const SectionDocument& d = own.document;
        table = kind == GradeKind::Steel   ? d.STEEL_MAT
                : kind == GradeKind::Cover ? d.COVER_MAT
                                           : d.CONC_MAT;
    }
    return std::any_of(table.begin() + (table.empty() ? 0 : 1), table.end(),
                       [&](const TMAT& g) { return g.NAME == name; });
}

}  // namespace qav
