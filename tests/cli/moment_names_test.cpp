// One name for each moment: on a column 400 wide and 800 deep the moment about X (Mx, bending
// across the 800 depth) carries far more than the one about Y (My). Every output that names a
// moment is read and its name checked against the size of the value beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/text_file.h"
#include "support/cli_runner.h"

using nlohmann::json;
using qav::test::CliRun;
using qav::test::runCli;
using qav::test::runCliStdout;
using qav::test::tempPath;

namespace {

const std::string& deepColumn() {
    static const std::string path = [] {
        const std::string p = tempPath("deep_column.sec");
        const CliRun r = runCli("build typical rectangle --B 400 --H 800 -o " + p);
        EXPECT_EQ(r.status, 0) << r.out;
        return p;
    }();
    return path;
}

json document(const std::string& args) {
    const CliRun r = runCliStdout(args + " --json");
    EXPECT_EQ(r.status, 0) << args << ": " << r.out;
    return json::parse(r.out);
}

double largest(const json& points, const char* key) {
    double m = 0;
    for (const json& p : points) m = std::max(m, std::abs(p[key].get<double>()));
    return m;
}

// A force file (N, N mm) of one combination: P and the file's M2, M3 columns.
std::string loadFile(const std::string& name, double PkN, double M2kNm, double M3kNm) {
    const std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary);
    out << "no.,Load,P,M2,M3\r\n1,A," << PkN * 1e3 << "," << M2kNm * 1e6 << "," << M3kNm * 1e6
        << "\r\n";
    return path;
}

const char* const kNoMinimum = " --kp 0 --kmx 0 --kmy 0";

// The curve at 1000 kN: the capacity about X (Mx) at the angle-0 point.
double capacityAboutX() {
    const json mm = document("mm " + deepColumn() + " --axial 1000 --nmm 8");
    return std::abs(mm["points"][0]["Mx"].get<double>());
}

}  // namespace

TEST(MomentNames, BiaxialCurveNamesTheLargerCapacityMx) {
    const json mm = document("mm " + deepColumn() + " --axial 1000 --nmm 8");
    const double mx = largest(mm["points"], "Mx"), my = largest(mm["points"], "My");
    // Depth 800 against 400: about twice the lever arm and the depth.
    EXPECT_GT(mx, 1.6 * my) << mx << " " << my;
    // Angle 0 is pure Mx: its My is zero.
    EXPECT_EQ(mm["points"][0]["My"].get<double>(), 0.0);
    // The listing's second column, "Moment_Mxx", is the larger one.
    const auto lines =
        qav::splitLines(runCliStdout("mm " + deepColumn() + " --axial 1000 --nmm 8").out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "  Moment_Myy  Moment_Mxx");
    double col1 = 0, col2 = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        double a = 0, b = 0;
        if (std::sscanf(lines[i].c_str(), "%lf %lf", &a, &b) != 2) continue;
        col1 = std::max(col1, std::abs(a));
        col2 = std::max(col2, std::abs(b));
    }
    EXPECT_NEAR(col2, mx, 1e-3);
    EXPECT_NEAR(col1, my, 1e-3);
}

TEST(MomentNames, PmAngleZeroIsMxAndNinetyIsMy) {
    const json a0 = document("pm " + deepColumn() + " --angle 0 --npm 6 --key-points");
    const json a90 = document("pm " + deepColumn() + " --angle 90 --npm 6 --key-points");
    auto bending = [](const json& doc) {
        for (const json& k : doc["key_points"])
            if (k["label"].get<std::string>().rfind("Pure bending", 0) == 0) return k;
        return json();
    };
    const json b0 = bending(a0), b90 = bending(a90);
    ASSERT_FALSE(b0.is_null());
    ASSERT_FALSE(b90.is_null());
    // Each key point's M is all Mx at 0 and all My at 90, and the one about X is the larger.
    EXPECT_NEAR(std::abs(b0["Mx"].get<double>()), b0["M"].get<double>(), 1e-6);
    EXPECT_NEAR(b0["My"].get<double>(), 0.0, 1e-6);
    EXPECT_NEAR(std::abs(b90["My"].get<double>()), b90["M"].get<double>(), 1e-6);
    EXPECT_NEAR(b90["Mx"].get<double>(), 0.0, 1e-6 * b90["M"].get<double>());
    EXPECT_GT(b0["M"].get<double>(), 1.6 * b90["M"].get<double>());
}

TEST(MomentNames, CapacityAboutXCopiedIntoTheLoadFileChecksTheSameAxis) {
    const double mx = capacityAboutX();
    ASSERT_GT(mx, 0);
    // M3 is Mx: the curve's own capacity has a load fraction of 1 (the curve stops within 1 %).
    const std::string aboutX = loadFile("about_x.csv", -1000, 0, mx);
    const json cx = document("check " + deepColumn() + " --loads " + aboutX + kNoMinimum);
    const json& x = cx["combinations"][0];
    EXPECT_NEAR(x["load_fraction"].get<double>(), 1.0, 0.02);
    EXPECT_NEAR(x["Mx"].get<double>(), mx, 1e-3);
    EXPECT_EQ(x["My"].get<double>(), 0.0);
    // The same value as M2 bends about Y, the weak axis: far from carried.
    const std::string aboutY = loadFile("about_y.csv", -1000, mx, 0);
    const json cy = document("check " + deepColumn() + " --loads " + aboutY + kNoMinimum);
    EXPECT_LT(cy["combinations"][0]["load_fraction"].get<double>(), 0.7);
    EXPECT_NEAR(cy["combinations"][0]["My"].get<double>(), mx, 1e-3);
    // The listing's critical box names the value from M3 "Mxx".
    const std::string text =
        runCliStdout("check " + deepColumn() + " --loads " + aboutX + kNoMinimum).out;
    std::ostringstream want;
    want.setf(std::ios::fixed);
    want.precision(3);
    want << "Moment Mxx[kNm]     " << mx;
    EXPECT_NE(text.find(want.str()), std::string::npos) << text;
    EXPECT_NE(text.find("Moment Myy[kNm]     0.000"), std::string::npos) << text;
    // The exported load table heads M2 "My" and M3 "Mx".
    EXPECT_NE(text.find("No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,"), std::string::npos)
        << text;
}

TEST(MomentNames, StateOfATypedLoadReadsMxAboutX) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "the state draws its picture, which needs Qt";
    const double mx = capacityAboutX();
    // --load P,Mx,My: the capacity about X is carried at a fraction of about 1.
    std::ostringstream load;
    load << "-1000," << mx << ",0";
    const json s = document("state " + deepColumn() + " --load=" + load.str() + " -o " +
                            tempPath("deep_state.png"));
    EXPECT_NEAR(s["load_fraction"].get<double>(), 1.0, 0.02);
    // At capacity the state is the load times its fraction, all about X.
    EXPECT_NEAR(s["Mx_kNm"].get<double>(), mx * s["load_fraction"].get<double>(), 1e-6 * mx);
    EXPECT_EQ(s["My_kNm"].get<double>(), 0.0);
    // eps = a1 + a2 X + a3 Y: a positive Mx compresses the side above X (a3 > 0) and leaves
    // the strain nearly the same across the width (the mesh is not quite symmetric).
    const json& plane = s["strain_plane"];
    EXPECT_GT(plane[2].get<double>(), 0.0);
    EXPECT_LT(std::abs(plane[1].get<double>()), 0.01 * plane[2].get<double>());
}

TEST(MomentNames, ExportTableHeadsTheLargerColumnMx) {
    const std::string csv = tempPath("mm_table.csv");
    const CliRun r = runCli("table " + deepColumn() + " --entry 16 --axial 1000 -o " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    std::ifstream in(csv);
    std::string header, line;
    std::getline(in, header);
    EXPECT_NE(header.find("Moment(My)"), std::string::npos) << header;
    const bool myFirst = header.find("Moment(My)") < header.find("Moment(Mx)");
    double first = 0, second = 0;
    while (std::getline(in, line)) {
        for (char& c : line)
            if (c == ',' || c == ';') c = ' ';
        double n = 0, a = 0, b = 0;
        if (std::sscanf(line.c_str(), "%lf %lf %lf", &n, &a, &b) != 3) continue;
        first = std::max(first, std::abs(a));
        second = std::max(second, std::abs(b));
    }
    const double mx = myFirst ? second : first, my = myFirst ? first : second;
    EXPECT_GT(mx, 1.6 * my) << header;
}
