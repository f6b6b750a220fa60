// Golden listings of every example's analysis results, made by the reference solver: P-M at
// 0, 30 and 90 degrees, Myy-Mxx at two axial forces, M-Phi, the PMM surface and the check of
// the 42 sample combinations. A change of results shows as a diff of tests/data/analysis/.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "example_sections.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "reports/load_report.h"
#include "reports/text_reports.h"
#include "support/golden.h"

using namespace qav;

namespace {

using test::EXAMPLES;
using test::meshedExample;

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

// Whole kN, so the axial forces of the cases read well in the golden files.
double kN(double x) {
    return std::round(x);
}

void expectGolden(const std::string& name, const std::string& kind, const std::string& text) {
    const std::string diff =
        test::compareWithGolden("analysis/" + name + "." + kind + ".txt", text);
    EXPECT_TRUE(diff.empty()) << diff;
}

class AnalysisGolden : public ::testing::TestWithParam<const char*> {};

}  // namespace

// The listings of one example under one solver; the golden files hold the reference solver's.
namespace qav::test {

std::string pmListings(SectionModel& m) {
    std::string text;
    NullMessages msgs;
    for (double angle : {0.0, 30.0, 90.0}) {
        RUN_PM_CURVE_ANALYSIS(m, angle, msgs);
        std::vector<std::string> lines;
        GEN_PM_CURVE_TEXT(m, lines);
        text += "P-M at " + Format("%0.0F", {angle}) + " degrees\n" + joined(lines);
    }
    return text;
}

std::string mmListings(SectionModel& m) {
    CALC_NMAX(m);
    std::string text;
    NullMessages msgs;
    for (double axial : {0.0, kN(0.4 * m.results.PMAX)}) {
        RUN_MM_CURVE_ANALYSIS(m, axial, msgs);
        std::vector<std::string> lines;
        GEN_MM_CURVE_TEXT(m, lines);
        text += "Myy-Mxx at " + Format("%0.0F", {axial}) + " kN\n" + joined(lines);
    }
    return text;
}

std::string mphiListing(SectionModel& m) {
    CALC_NMAX(m);
    MphiInput in;
    in.axialForce = kN(0.2 * m.results.PMAX);
    in.maxStrain = 0.0035;
    in.steps = 20;
    NullMessages msgs;
    RUN_MPHI_ANALYSIS(m, in, msgs);
    std::vector<std::string> lines;
    GEN_M_fai_CURVE_TEXT(m, in.steps, lines);
    return "M-Phi about X at " + Format("%0.0F", {in.axialForce}) + " kN\n" + joined(lines);
}

std::string pmmListing(SectionModel& m) {
    NullMessages msgs;
    RUN_PMM_ANALYSIS(m, msgs);
    std::vector<std::string> lines;
    GEN_PMM_CURVE_TEXT(m, lines);
    return joined(lines);
}

std::string sampleCheckListing(SectionModel& m) {
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    NullMessages msgs;
    NullProgress progress;
    // The minimums given explicitly: the raised loads listed where they govern.
    const CheckResult r = CHECK_MEMBER(m, 1000, 1000, 1000, msgs, progress);
    return joined(CHECK_LISTING_LINES(m, r.critical));
}

}  // namespace qav::test

TEST_P(AnalysisGolden, PmCurves) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Reference);
    expectGolden(GetParam(), "pm", test::pmListings(m));
}

TEST_P(AnalysisGolden, MmCurves) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Reference);
    expectGolden(GetParam(), "mm", test::mmListings(m));
}

TEST_P(AnalysisGolden, MphiCurve) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Reference);
    expectGolden(GetParam(), "mphi", test::mphiListing(m));
}

TEST_P(AnalysisGolden, PmmSurface) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Reference);
    expectGolden(GetParam(), "pmm", test::pmmListing(m));
}

TEST_P(AnalysisGolden, SampleCheck) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Reference);
    expectGolden(GetParam(), "check", test::sampleCheckListing(m));
}

INSTANTIATE_TEST_SUITE_P(Examples, AnalysisGolden, ::testing::ValuesIn(EXAMPLES),
                         [](const ::testing::TestParamInfo<const char*>& i) {
                             return std::string(i.param);
                         });
