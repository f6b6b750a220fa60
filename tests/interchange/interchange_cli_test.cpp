// The command line's import-dxf and export, and the golden exports of the example sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "model/section_file.h"
#include "model/text_file.h"
#include "support/cli_runner.h"
#include "support/golden.h"

using namespace qav;
namespace fs = std::filesystem;

namespace {

std::string temp(const std::string& name) {
    return test::tempPath("ic_" + name);
}
int cli(const std::string& args) {
    return test::runCli(args).status;
}
std::string example(const std::string& name) {
    return test::examplePath(name + ".sec");
}
std::string golden(const std::string& name) {
    return std::string(QAVSEC_TEST_DATA) + "/interchange/" + name;
}

// The examples whose golden exports are checked in (NAME.dxf next to the other goldens).
std::vector<std::string> examplesWithGoldens() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(golden("")))
        if (e.path().extension() == ".dxf") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

void expectSamePoints(const std::vector<TPOS>& got, int ngot, const std::vector<TPOS>& want,
                      int nwant, const std::string& what) {
    ASSERT_EQ(ngot, nwant) << what;
    for (std::size_t i = 0; i < static_cast<std::size_t>(nwant); ++i) {
        EXPECT_NEAR(got[i].X, want[i].X, 5e-4) << what << " corner " << i;
        EXPECT_NEAR(got[i].Y, want[i].Y, 5e-4) << what << " corner " << i;
    }
}

}  // namespace

TEST(InterchangeCli, GoldenExportsOfTheExamples) {
    ASSERT_FALSE(examplesWithGoldens().empty());
    struct Kind {
        const char* option;
        const char* ext;
    };
    const Kind kinds[] = {
        {"--dxf", ".dxf"}, {"--xtract", ".xtract.txt"}, {"--opensees", ".opensees.tcl"}};
    for (const std::string& name : examplesWithGoldens()) {
        for (const Kind& k : kinds) {
            const std::string out = temp(name + k.ext);
            ASSERT_EQ(cli("export \"" + example(name) + "\" " + k.option + " \"" + out + "\""), 0)
                << name << k.option;
            const std::string diff =
                test::compareWithGolden("interchange/" + name + k.ext, readTextFile(out));
            EXPECT_TRUE(diff.empty()) << name << " " << k.option << "\n" << diff;
            std::remove(out.c_str());
        }
    }
}

TEST(InterchangeCli, ExportedDxfImportsBackToTheSameGeometry) {
    for (const std::string& name : examplesWithGoldens()) {
        const std::string dxf = temp(name + "_rt.dxf");
        const std::string sec = temp(name + "_rt.sec");
        ASSERT_EQ(cli("export \"" + example(name) + "\" --dxf \"" + dxf + "\""), 0) << name;
        ASSERT_EQ(cli("import-dxf \"" + dxf + "\" -o \"" + sec + "\""), 0) << name;
        SectionModel a, b;
        openSectionFile(a, example(name));
        openSectionFile(b, sec);
        // Coordinates travel with three decimals.
        expectSamePoints(b.document.CONC_PT, b.document.NCONC_PT, a.document.CONC_PT,
                         a.document.NCONC_PT, name + " outline");
        expectSamePoints(b.document.COVER_PT, b.document.NCOVER_PT, a.document.COVER_PT,
                         a.document.NCOVER_PT, name + " cover line");
        ASSERT_EQ(b.document.NSTEEL_SEC, a.document.NSTEEL_SEC) << name;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(a.document.NSTEEL_SEC); ++k)
            expectSamePoints(b.document.STEEL_SEC[k].PT, b.document.STEEL_SEC[k].NPOINT,
                             a.document.STEEL_SEC[k].PT, a.document.STEEL_SEC[k].NPOINT,
                             name + " steel");
        ASSERT_EQ(b.document.NOPEN_SEC, a.document.NOPEN_SEC) << name;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(a.document.NOPEN_SEC); ++k)
            expectSamePoints(b.document.OPEN_SEC[k].PT, b.document.OPEN_SEC[k].NPOINT,
                             a.document.OPEN_SEC[k].PT, a.document.OPEN_SEC[k].NPOINT,
                             name + " opening");
        ASSERT_EQ(b.document.NBAR, a.document.NBAR) << name;
        for (std::size_t i = 1; i <= static_cast<std::size_t>(a.document.NBAR); ++i) {
            EXPECT_NEAR(b.document.BAR[i].X, a.document.BAR[i].X, 5e-4) << name;
            EXPECT_NEAR(b.document.BAR[i].Y, a.document.BAR[i].Y, 5e-4) << name;
            EXPECT_NEAR(b.document.BAR[i].DB, a.document.BAR[i].DB, 1e-3) << name;
        }
        std::remove(dxf.c_str());
        std::remove(sec.c_str());
    }
}

TEST(InterchangeCli, BadInputAndUsage) {
    struct Case {
        std::string name;
        std::string args;
        int status;
    };
    const std::string missing = temp("missing.dxf");
    const std::string notDxf = temp("text.dxf");
    writeTextLines(notDxf, {"  0", "CIRCLE", " 10", "abc", " 20", "0", " 40", "1"});
    const std::string out = temp("out.any");
    const std::vector<Case> cases = {
        {"no output", "import-dxf \"" + notDxf + "\"", 2},
        {"a file that is not there", "import-dxf \"" + missing + "\" -o \"" + out + "\"", 1},
        {"a value that is not a number", "import-dxf \"" + notDxf + "\" -o \"" + out + "\"", 1},
        {"two kinds at once", "export \"" + example("rectangular_column") + "\" --dxf a --xtract b",
         2},
        {"no kind", "export \"" + example("rectangular_column") + "\"", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(cli(c.args), c.status) << c.name;
    std::remove(notDxf.c_str());
    std::remove(out.c_str());
}

TEST(InterchangeCli, OpenSeesExportTakesTheMeshOptions) {
    // The fibre text is of the mesh the options ask for: --steel-grid gives a steel-only section
    // fibres through its plates, and leaves a section with concrete as it was.
    auto fibres = [](const std::string& name, const std::string& options) {
        const std::string out = temp(name + "_options.tcl");
        EXPECT_EQ(cli("export \"" + example(name) + "\" --opensees -o \"" + out + "\" " + options),
                  0);
        const std::string text = readTextFile(out);
        std::remove(out.c_str());
        return text;
    };
    auto count = [](const std::string& text) {
        int n = 0;
        for (std::size_t at = text.find("fiber "); at != std::string::npos;
             at = text.find("fiber ", at + 1))
            ++n;
        return n;
    };
    const int plain = count(fibres("steel_i_section", "--mesh-size 10"));
    EXPECT_GT(plain, 300);
    EXPECT_GT(count(fibres("steel_i_section", "--mesh-size 10 --steel-grid")), 3 * plain);
    EXPECT_EQ(fibres("src_column_cross", "--steel-grid"), fibres("src_column_cross", ""));
}
