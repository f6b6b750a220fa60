// The torsional stiffness on the OpenSees section line: St Venant's J of known shapes against
// their exact values, G from the fibres' modulus, and the command line's --gj.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

#include "interchange/opensees_export.h"
#include "model/errors.h"
#include "model/text_file.h"
#include "support/cli_runner.h"

using namespace qav;

namespace {

constexpr double PI = std::numbers::pi;

std::vector<TPOS> ellipse(double a, double b, int n) {
    std::vector<TPOS> p;
    for (int i = 0; i < n; ++i)
        p.push_back({a * std::cos(2 * PI * i / n), b * std::sin(2 * PI * i / n)});
    return p;
}

// The exact series of a b x h rectangle (b >= h).
double rectangleJ(double b, double h) {
    double s = 0;
    for (int n = 1; n < 200; n += 2) s += std::tanh(n * PI * b / (2 * h)) / std::pow(n, 5);
    return b * h * h * h / 3 * (1 - 192 / std::pow(PI, 5) * h / b * s);
}

}  // namespace

TEST(OpenSeesGJ, TorsionConstantsOfKnownShapes) {
    struct Case {
        const char* name;
        std::vector<TPOS> pt;
        double exact, tolerance;
    };
    // clang-format off
    const Case cases[] = {
        {"circle", ellipse(300, 300, 720), PI * std::pow(600.0, 4) / 32, 1e-4},
        {"ellipse", ellipse(400, 150, 720), PI * std::pow(400 * 150.0, 3) / (400 * 400 + 150 * 150), 1e-4},
        {"square", {{0, 0}, {500, 0}, {500, 500}, {0, 500}}, rectangleJ(500, 500), 5e-3},
        {"rectangle 10:1 closed", {{0, 0}, {0, 100}, {-1000, 100}, {-1000, 0}, {0, 0}}, rectangleJ(1000, 100), 5e-3},
        // As the builders write a column: a corner in the middle of every side.
        {"rectangle with mid-side corners", {{-400, -500}, {-400, 0}, {-400, 500}, {0, 500}, {400, 500},
                                             {400, 0}, {400, -500}, {0, -500}, {-400, -500}}, rectangleJ(1000, 800), 5e-3},
        // Thin plates (flanges 200 x 12, web 376 x 8) against the thin-wall sum of b t^3 / 3.
        {"thin I", {{-100, -200}, {100, -200}, {100, -188}, {4, -188}, {4, 188}, {100, 188},
                    {100, 200}, {-100, 200}, {-100, 188}, {-4, 188}, {-4, -188}, {-100, -188}},
         2 * 200 * 1728.0 / 3 + 376 * 512.0 / 3, 0.15},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_NEAR(polygonTorsionJ(c.pt, static_cast<int>(c.pt.size())) / c.exact, 1, c.tolerance)
            << c.name;
}

TEST(OpenSeesGJ, AutoTakesTheSectionsShapeAndModulus) {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-300, -200}, {300, -200}, {300, 200}, {-300, 200}};
    EXPECT_THROW(autoTorsionStiffness(m), InputError);  // no fibres: no modulus
    m.mesh.NFIB = 2;
    m.mesh.FIB.assign(3, TFIB{});
    m.mesh.FIB[1].TY = FIB_REBAR;
    m.mesh.FIB[1].E = 205000;
    m.mesh.FIB[2].TY = FIB_CORE_CONCRETE;
    m.mesh.FIB[2].E = 30000;
    const TorsionStiffness t = autoTorsionStiffness(m);
    EXPECT_NEAR(t.Jc / rectangleJ(600, 400), 1, 5e-3);
    EXPECT_DOUBLE_EQ(t.Gc, 30000 / 2.4);
    EXPECT_DOUBLE_EQ(t.GJ, t.Gc * t.Jc);
    // An opening takes off area and polar moment.
    m.document.NOPEN_SEC = 1;
    m.document.OPEN_SEC.assign(2, TPOLYSHAPE{});
    m.document.OPEN_SEC[1].NPOINT = 4;
    m.document.OPEN_SEC[1].PT = {{-100, -50}, {100, -50}, {100, 50}, {-100, 50}};
    EXPECT_LT(autoTorsionStiffness(m).Jc, t.Jc);

    // The text lines: the default stays, -GJ only when asked, with the comment before it.
    const auto plain = GEN_OPENSEES_TCL(m), with = GEN_OPENSEES_TCL(m, givenTorsionStiffness(1e12));
    ASSERT_EQ(with.size(), plain.size() + 1);
    const auto opening = static_cast<std::size_t>(
        std::find(plain.begin(), plain.end(), "section Fiber 1 {") - plain.begin());
    ASSERT_LT(opening, plain.size());
    EXPECT_EQ(with[opening], "# GJ given: 1.00000E+012 N mm2");
    EXPECT_EQ(with[opening + 1], "section Fiber 1 -GJ 1.00000E+012 {");
    for (const char* bad : {"0", "x", "inf"}) EXPECT_ANY_THROW(torsionStiffnessFromText(m, bad));
    EXPECT_EQ(torsionStiffnessFromText(m, " auto ").GJ, autoTorsionStiffness(m).GJ);
}

TEST(OpenSeesGJ, CommandLineOption) {
    const std::string sec = test::examplePath("steel_i_section.sec"),
                      out = test::tempPath("gj.tcl");
    ASSERT_EQ(test::runCli("export " + sec + " --opensees -o " + out + " --gj auto").status, 0);
    const auto lines = readTextLines(out);
    const auto how = static_cast<std::size_t>(
        std::find_if(
            lines.begin(), lines.end(),
            [](const std::string& l) { return l.rfind("# GJ auto = Gc Jc + Gs Js", 0) == 0; }) -
        lines.begin());
    ASSERT_LT(how + 2, lines.size());
    EXPECT_EQ(lines[how + 2].rfind("section Fiber 1 -GJ ", 0), 0u) << lines[how + 2];
    const test::CliRun wrong = test::runCli("export " + sec + " --dxf -o " + out + " --gj auto");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.out.find("--gj belongs to --opensees"), std::string::npos) << wrong.out;
    std::remove(out.c_str());
}

namespace {
// The fibre areas of a Tcl export, summed by material variable.
std::map<std::string, double> areaByVariable(const std::vector<std::string>& lines) {
    std::map<std::string, double> sum;
    for (const std::string& l : lines) {
        std::istringstream in(l);
        std::string word, variable;
        double x = 0, y = 0, area = 0;
        if (in >> word >> x >> y >> area >> variable && word == "fiber") sum[variable] += area;
    }
    return sum;
}
}  // namespace

// The exports describe the section the analysis sees: under a code whose analysis takes the
// concrete under the bars off, the Tcl model's concrete is the meshed concrete less the bars
// (same mesh, so against the program's own rule that keeps it); the XTRACT file writes the
// section's grades and cover.
TEST(SectionExports, SayWhatTheAnalysisTakes) {
    const std::string sec = test::examplePath("rectangular_column.sec");
    const std::string ec2 = test::tempPath("ec2.sec"), tcl = test::tempPath("a.tcl");
    ASSERT_EQ(test::runCli("export " + sec + " --opensees -o " + tcl).status, 0);
    const auto own = areaByVariable(readTextLines(tcl));
    ASSERT_GT(own.at("$Rebar1"), 0);
    for (const char* key : {"aci318", "ec2"}) {
        SCOPED_TRACE(key);
        ASSERT_EQ(test::runCli("resave " + sec + " --code " + key + " -o " + ec2).status, 0);
        ASSERT_EQ(test::runCli("export " + ec2 + " --opensees -o " + tcl).status, 0);
        const auto code = areaByVariable(readTextLines(tcl));
        EXPECT_NEAR(code.at("$Rebar1"), own.at("$Rebar1"), 1e-6 * own.at("$Rebar1"));
        EXPECT_NEAR(code.at("$Conc1") + code.at("$Conc2"),
                    own.at("$Conc1") + own.at("$Conc2") - own.at("$Rebar1"), 1e-3);
    }

    ASSERT_EQ(test::runCli("export " + ec2 + " --xtract -o " + tcl).status, 0);
    const auto x = readTextLines(tcl);
    EXPECT_NE(std::find(x.begin(), x.end(), "\t\tCOVER = 35.00 "), x.end());
    // C25/30 at alpha_cc 1.0 x 25 / 1.5 (its grade line), B500B at 500 / 1.15.
    for (const char* line : {"\tFc = 16.67", "\tFy = 434.8"})
        EXPECT_NE(std::find(x.begin(), x.end(), line), x.end()) << line;
    std::remove(ec2.c_str());
    std::remove(tcl.c_str());
}
