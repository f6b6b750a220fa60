// Under a code's limits every triangle is integrated exactly, so the mesh no longer shows in the
// answers: the examples under each code, and sections no other test uses (a grade of
// non-integer exponent, a plain centroid-rule section asked to integrate exactly), give the same
// P-M curve, Myy-Mxx curve, check and key points at 100, 37 and 10 mm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "code_sections.h"
#include "interchange/force_csv.h"

namespace qav {
namespace {

struct MeshCase {
    std::string example;
    test::CodeChoice code;
    Integration integration = Integration::Auto;
    std::string name;
};

// Every value an engineer reads off the four analyses, in one list, each with the size it is
// compared against (a curve's or a check's largest value).
struct Answers {
    std::vector<double> values, scales;
    void add(const std::vector<double>& v, std::size_t from) {
        double scale = 0;
        for (std::size_t i = from; i < v.size(); ++i) scale = std::max(scale, std::fabs(v[i]));
        for (std::size_t i = from; i < v.size(); ++i) {
            values.push_back(v[i]);
            scales.push_back(scale);
        }
    }
};

Answers answersAt(const MeshCase& c, const char* meshSize) {
    SectionModel m =
        test::codeExample(c.example, c.code, {.meshSize = meshSize, .npm = 6, .nmm = 8});
    m.settings.INTEGRATION = c.integration;
    NullMessages msgs;
    NullProgress progress;
    Answers a;
    RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
    a.add(m.results.PM_P, 1);
    a.add(m.results.PM_M, 1);
    // At a third of the pure compression end.
    RUN_MM_CURVE_ANALYSIS(m, m.results.PM_P[static_cast<std::size_t>(m.settings.NPM) + 1] / 3,
                          msgs);
    a.add(m.results.MM_MX, 1);
    a.add(m.results.MM_MY, 1);
    std::vector<double> key;
    for (const KeyPoint& k : PM_KEY_POINTS(m, 30, msgs))
        if (k.exists) key.insert(key.end(), {k.P, k.MX, k.MY});
    a.add(key, 0);
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    const CheckResult r = CHECK_MEMBER(m, 0, 0, 0, msgs, progress);
    std::vector<double> fractions;
    for (std::size_t i = 1; i < r.fractions.size(); ++i)
        if (r.fractions[i] < 999) fractions.push_back(r.fractions[i]);
    a.add(fractions, 0);
    return a;
}

std::vector<MeshCase> meshCases() {
    std::vector<MeshCase> out;
    for (const char* e : {"rectangular_column", "circular_column", "column_with_opening",
                          "cft_rectangular_column", "src_column_cross"}) {
        out.push_back({e, test::ec2Choice(), Integration::Auto, std::string(e) + "_ec2"});
        out.push_back({e, test::aciChoice(), Integration::Auto, std::string(e) + "_aci318"});
        out.push_back({e, test::hkChoice(), Integration::Auto, std::string(e) + "_hk_code"});
    }
    // Steel alone: ACI 318-19 refuses it, HK-COP 2013 keeps its control strain (no concrete
    // limit), so it integrates exactly under EN 1992-1-1 or when asked.
    test::CodeChoice hkControl = test::hkChoice();
    hkControl.limit = StrainLimit::Control;
    out.push_back({"steel_i_section", test::ec2Choice(), Integration::Auto, "steel_i_section_ec2"});
    out.push_back({"steel_i_section", hkControl, Integration::Exact, "steel_i_section_exact"});
    // C70/85: the parabola's exponent 1.44, integrated in closed form.
    test::CodeChoice c70 = test::ec2Choice();
    c70.concrete = "C70/85";
    out.push_back({"column_with_opening", c70, Integration::Auto, "column_with_opening_c70"});
    // The program's own control strain, asked to integrate exactly.
    out.push_back({"circular_column", hkControl, Integration::Exact, "circular_column_exact"});
    return out;
}

class MeshIndependence : public ::testing::TestWithParam<MeshCase> {};

TEST_P(MeshIndependence, AnswersAgreeAt100And37And10Millimetres) {
    const Answers fine = answersAt(GetParam(), "10");
    for (const char* size : {"100", "37"}) {
        const Answers coarse = answersAt(GetParam(), size);
        ASSERT_EQ(coarse.values.size(), fine.values.size()) << size;
        for (std::size_t i = 0; i < fine.values.size(); ++i)
            EXPECT_NEAR(coarse.values[i], fine.values[i], 1e-6 * fine.scales[i])
                << size << " mm, value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, MeshIndependence, ::testing::ValuesIn(meshCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qav
