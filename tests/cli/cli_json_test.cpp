// --json: each document read back with the same JSON library and compared, number by number,
// with the listing the same command prints without it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/text_file.h"
#include "support/cli_runner.h"

using nlohmann::json;
using qav::test::CliRun;
using qav::test::examplePath;
using qav::test::runCli;
using qav::test::runCliStdout;
using qav::test::tempPath;

namespace {

// The numbers of a listing line ("  -2535.448,     12.032," or "    3    -400.000   500.000").
std::vector<double> numbers(const std::string& line) {
    std::string s = line;
    for (char& c : s)
        if (c == ',') c = ' ';
    std::istringstream in(s);
    std::vector<double> v;
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        const double x = std::strtod(word.c_str(), &end);
        if (end && *end == '\0') v.push_back(x);
    }
    return v;
}

std::vector<std::string> listing(const std::string& args) {
    const CliRun r = runCliStdout(args);
    EXPECT_EQ(r.status, 0) << args;
    return qav::splitLines(r.out);
}

json document(const std::string& args) {
    const CliRun r = runCliStdout(args + " --json");
    EXPECT_EQ(r.status, 0) << args << ": " << r.out;
    return json::parse(r.out);
}

// "N of M solves did not converge (worst residual R)." from the listing run's stderr; the
// line is there only when some solve did not converge ({0, -1} when it is not).
std::pair<long long, long long> convergence(const std::string& args) {
    const auto l = qav::splitLines(runCli(args).out);
    for (const auto& line : l) {
        long long a = -1, b = -1;
        if (std::sscanf(line.c_str(), "%lld of %lld solves did not converge", &a, &b) == 2)
            return {a, b};
    }
    return {0, -1};
}

// Returns the number of points flagged as not converged.
long long expectStatus(const json& doc, const std::string& args) {
    const auto [unconverged, solves] = convergence(args);
    if (solves >= 0) {
        EXPECT_EQ(doc["status"]["solves"].get<long long>(), solves) << args;
    }
    EXPECT_GT(doc["status"]["solves"].get<long long>(), 0) << args;
    EXPECT_EQ(doc["status"]["unconverged"].get<long long>(), unconverged) << args;
    // Every point says whether it converged; no more points are flagged than solves failed.
    long long flagged = 0;
    for (const auto& c :
         doc.contains("curves") ? doc["curves"] : json::array({doc.value("points", json::array())}))
        for (const auto& p : c) flagged += !p.at("converged").get<bool>();
    EXPECT_LE(flagged, unconverged) << args;
    return flagged;
}

// A point list against listing rows from `first` on: each field to the listing's precision.
void expectRows(const json& pts, const std::vector<std::string>& rows, std::size_t first,
                std::vector<std::pair<const char*, double>> fields, const std::string& what) {
    ASSERT_EQ(pts.size(), rows.size() - first) << what;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const auto n = numbers(rows[first + i]);
        ASSERT_EQ(n.size(), fields.size()) << what << " row " << i << ": " << rows[first + i];
        for (std::size_t k = 0; k < fields.size(); ++k) {
            const double value = pts[i][fields[k].first].get<double>();
            EXPECT_NEAR(value, n[k], fields[k].second * (1 + std::abs(n[k])))
                << what << " row " << i << " " << fields[k].first;
        }
    }
}

}  // namespace

TEST(CliJson, CurvesMatchTheirListings) {
    const std::string file = examplePath("rectangular_column.sec");
    const double abs3 = 0.0006;  // %0.3F listings, as a relative bound on 1 + |x|
    {
        const std::string args = "pm " + file + " --angle 30 --npm 6";
        const json doc = document(args);
        EXPECT_EQ(doc["command"], "pm");
        EXPECT_EQ(doc["angle"].get<double>(), 30.0);
        expectRows(doc["points"], listing(args), 1, {{"P", abs3}, {"M", abs3}}, "pm");
        expectStatus(doc, args);
    }
    {
        // The reference solver leaves solves near pure tension of a biaxial curve unconverged.
        const std::string args = "pm " + file + " --angle 30 --npm 6 --solver reference";
        EXPECT_GT(expectStatus(document(args), args), 0);
    }
    {
        const std::string args = "mm " + file + " --axial 2500 --nmm 8";
        const json doc = document(args);
        EXPECT_EQ(doc["axial"].get<double>(), 2500.0);
        expectRows(doc["points"], listing(args), 1, {{"My", abs3}, {"Mx", abs3}}, "mm");
        expectStatus(doc, args);
    }
    {
        const std::string args = "mphi " + file + " --axis y --negative --steps 6";
        const json doc = document(args);
        EXPECT_EQ(doc["axis"], "y");
        EXPECT_TRUE(doc["negative"].get<bool>());
        expectRows(doc["points"], listing(args), 1, {{"M", abs3}, {"curvature", 1e-5}}, "mphi");
        expectStatus(doc, args);
    }
    {
        const std::string args = "pmm " + file + " --npm 4";
        const json doc = document(args);
        ASSERT_EQ(doc["curves"].size(), 6u);
        json all = json::array();
        for (const auto& c : doc["curves"]) {
            EXPECT_EQ(c.size(), 10u);
            for (const auto& p : c) all.push_back(p);
        }
        expectRows(all, listing(args), 2, {{"P", abs3}, {"My", abs3}, {"Mx", abs3}}, "pmm");
        expectStatus(doc, args);
    }
}

TEST(CliJson, CheckMatchesItsListing) {
    const std::string file = examplePath("rectangular_column.sec");
    const std::string loads = tempPath("json_loads.csv");
    ASSERT_EQ(runCli("sample-loads " + loads).status, 0);
    const std::string args = "check " + file + " --loads " + loads;
    const json doc = document(args);
    const auto rows = listing(args);
    const json& combos = doc["combinations"];
    ASSERT_EQ(combos.size(), 42u);
    for (std::size_t i = 0; i < combos.size(); ++i) {
        // "No,LoadComb,P[kN],My[kNm],Mx[kNm],Load_Fraction,Mark,"
        std::istringstream in(rows[1 + i]);
        std::string no, name;
        std::getline(in, no, ',');
        std::getline(in, name, ',');
        EXPECT_EQ(combos[i]["number"].get<int>(), std::stoi(no));
        EXPECT_EQ(combos[i]["name"], name);
        std::string rest;
        std::getline(in, rest);
        const auto n = numbers(rest);
        ASSERT_EQ(n.size(), 4u);
        EXPECT_NEAR(combos[i]["P"].get<double>(), n[0], 0.0006);
        EXPECT_NEAR(combos[i]["My"].get<double>(), n[1], 0.0006);
        EXPECT_NEAR(combos[i]["Mx"].get<double>(), n[2], 0.0006);
        // The listing cuts the fraction at three decimals, never rounding it up.
        const double lf = combos[i]["load_fraction"].get<double>();
        EXPECT_TRUE(n[3] <= lf + 1e-12 && lf < n[3] + 0.001) << lf << " listed " << n[3];
    }
    const auto critical = rows[1 + combos.size()];
    EXPECT_EQ(critical,
              "Critical LoadComb   " + std::to_string(doc["critical"]["number"].get<int>()));
    EXPECT_EQ(rows[2 + combos.size()],
              "Comb Name           " + doc["critical"]["name"].get<std::string>());
    expectStatus(doc, args);
    std::remove(loads.c_str());
}

TEST(CliJson, InfoAndMeshMatchTheirListings) {
    const std::string file = examplePath("src_column_cross.sec");
    {
        const json doc = document("info " + file);
        const auto rows = listing("info " + file);
        // The blocks of the summary, found by their headings.
        auto block = [&](const std::string& heading) {
            std::vector<std::string> out;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (rows[i].rfind(heading, 0) != 0) continue;
                for (std::size_t j = i + 3; j < rows.size() && rows[j][0] != '-'; ++j)
                    out.push_back(rows[j]);
                break;
            }
            return out;
        };
        auto check = [&](const json& pts, const std::vector<std::string>& r, const char* what) {
            ASSERT_EQ(pts.size(), r.size()) << what;
            for (std::size_t i = 0; i < r.size(); ++i) {
                const auto n = numbers(r[i]);
                EXPECT_NEAR(pts[i]["x"].get<double>(), n[1], 0.0006) << what << i;
                EXPECT_NEAR(pts[i]["y"].get<double>(), n[2], 0.0006) << what << i;
                if (n.size() > 3) {
                    EXPECT_NEAR(pts[i]["diameter"].get<double>(), n[3], 0.06) << what << i;
                }
            }
        };
        check(doc["outline"], block("(2). Concrete Section"), "outline");
        check(doc["cover_line"], block("(3). Concrete Cover Line"), "cover");
        check(doc["bars"], block("(4). Rebar Information"), "bars");
        ASSERT_EQ(doc["steel_polygons"].size(), 1u);
        check(doc["steel_polygons"][0], block("(5). Stru Steel Section"), "steel");
        EXPECT_EQ(rows[3],
                  "  Concrete     " +
                      std::string(8 - doc["materials"]["concrete"].get<std::string>().size(), ' ') +
                      doc["materials"]["concrete"].get<std::string>());
        EXPECT_EQ(doc["mesh_size"], "100");
    }
    {
        const std::string args = "mesh " + file + " --mesh-size 80";
        const json doc = document(args);
        const auto rows = listing(args);
        auto value = [&](const std::string& label) {
            for (const auto& r : rows)
                if (r.rfind(label, 0) == 0) return numbers(r.substr(label.size()));
            ADD_FAILURE() << label;
            return std::vector<double>{};
        };
        EXPECT_EQ(doc["grid_nodes"].get<double>(), value("Grid nodes:")[0]);
        EXPECT_EQ(doc["mesh_nodes"].get<double>(), value("Mesh nodes:")[0]);
        EXPECT_EQ(doc["NFIB"].get<double>(), value("NFIB:")[0]);
        EXPECT_EQ(doc["NCFIB"].get<double>(), value("NCFIB:")[0]);
        const auto core = value("Core concrete fibres:");
        EXPECT_EQ(doc["fibres"]["core_concrete"]["count"].get<double>(), core[0]);
        EXPECT_NEAR(doc["fibres"]["core_concrete"]["area"].get<double>(), core[1],
                    0.0006 * core[1]);
        EXPECT_EQ(doc["fibres"]["steel"]["count"].get<double>(), value("Steel fibres:")[0]);
        EXPECT_NEAR(doc["section_area"].get<double>(), value("Section Area(mm2):")[0], 1.0);
        EXPECT_NEAR(doc["rebar_area"].get<double>(), value("Rebar Area(mm2):")[0], 1.0);
        EXPECT_GT(doc["NFIB"].get<int>(), 0);
    }
}

TEST(CliJson, RefusedInputStaysAMessageOnStderr) {
    // A failing run prints no half document: nothing on stdout, the message and status 1.
    const std::string bad = tempPath("json_bad.sec");
    qav::writeTextLines(bad, {"GEN START", "MESH_SIZE,abc", "GEN END", "POLY START", "NPOINT,3",
                              "PT,0,0,0", "PT,1,100,0", "PT,2,0,100", "PT,3,0,0", "POLY END"});
    const CliRun out = runCliStdout("mesh " + bad + " --json");
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.out, "");
    std::remove(bad.c_str());
}

// load_fraction means the design fraction in every output: the state of a combination under
// ACI 318-19 gives the one the check lists, the nominal one beside it under its own name. The
// state of a combination is that of the load the check listed: raised where the minimum governs.
TEST(CliJson, AStateListsTheCheckFractionOfItsCombination) {
    if (qav::test::cliWithoutQt()) GTEST_SKIP() << "qavsec-cli has no PNG output without Qt";
    const std::string aci = tempPath("state_aci.sec"), loads = tempPath("state_aci_loads.csv");
    const std::string png = tempPath("state_aci.png");
    ASSERT_EQ(runCli("resave " + examplePath("rectangular_column.sec") + " --code aci318 -o " + aci)
                  .status,
              0);
    ASSERT_EQ(runCli("sample-loads " + loads).status, 0);
    for (const std::string minimum : {"", " --kp 3000"}) {
        const json check = document("check " + aci + " --loads " + loads + minimum);
        for (int comb : {1, 9}) {
            const json& c = check["combinations"][static_cast<std::size_t>(comb - 1)];
            const json state = document("state " + aci + " --loads " + loads + " --comb " +
                                        std::to_string(comb) + minimum + " -o " + png);
            EXPECT_NEAR(state["load_fraction"].get<double>(), c["load_fraction"].get<double>(),
                        1e-9)
                << minimum << " " << comb;
            EXPECT_NEAR(state["load_fraction_nominal"].get<double>(),
                        c["load_fraction_nominal"].get<double>(), 1e-9);
            const json& solved = c["raised"].get<bool>() ? c["raised_load"] : c;
            EXPECT_NEAR(state["P_kN"].get<double>(), -solved["P"].get<double>(), 1e-9);
        }
    }
}
