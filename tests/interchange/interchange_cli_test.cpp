// The command line's import-dxf and export, and the golden exports of the example sections.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "model/section_file.h"
#include "model/text_file.h"

using namespace qav;
namespace fs = std::filesystem;

namespace {

std::string temp(const std::string& name) { return (fs::temp_directory_path() / ("qavsec_ic_" + name)).string(); }

int cli(const std::string& args) {
    const std::string cmd = std::string("\"") + QAVSEC_CLI + "\" " + args + " > /dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string example(const std::string& name) { return std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec"; }
std::string golden(const std::string& name) { return std::string(QAVSEC_TEST_DATA) + "/interchange/" + name; }

// Every example that has golden exports checked in.
const char* const EXAMPLES[] = {"rectangular_column"};

}  // namespace

TEST(InterchangeCli, GoldenExportsOfTheExamples) {
    struct Kind {
        const char* option;
        const char* ext;
    };
    const Kind kinds[] = {{"--dxf", ".dxf"}, {"--xtract", ".xtract.txt"}};
    for (const char* name : EXAMPLES) {
        for (const Kind& k : kinds) {
            const std::string out = temp(std::string(name) + k.ext);
            ASSERT_EQ(cli("export \"" + example(name) + "\" " + k.option + " \"" + out + "\""), 0) << name << k.option;
            EXPECT_EQ(readTextFile(out), readTextFile(golden(std::string(name) + k.ext))) << name << " " << k.option;
            std::remove(out.c_str());
        }
    }
}

TEST(InterchangeCli, ExportedDxfImportsBackToTheSameGeometry) {
    for (const char* name : EXAMPLES) {
        const std::string dxf = temp(std::string(name) + "_rt.dxf");
        const std::string sec = temp(std::string(name) + "_rt.sec");
        ASSERT_EQ(cli("export \"" + example(name) + "\" --dxf \"" + dxf + "\""), 0) << name;
        ASSERT_EQ(cli("import-dxf \"" + dxf + "\" -o \"" + sec + "\""), 0) << name;
        SectionModel a, b;
        openSectionFile(a, example(name));
        openSectionFile(b, sec);
        ASSERT_EQ(b.NCONC_PT, a.NCONC_PT) << name;
        for (int i = 0; i < a.NCONC_PT; ++i) {
            EXPECT_NEAR(b.CONC_PT[static_cast<std::size_t>(i)].X, a.CONC_PT[static_cast<std::size_t>(i)].X, 5e-4) << name;
            EXPECT_NEAR(b.CONC_PT[static_cast<std::size_t>(i)].Y, a.CONC_PT[static_cast<std::size_t>(i)].Y, 5e-4) << name;
        }
        ASSERT_EQ(b.NCOVER_PT, a.NCOVER_PT) << name;
        for (int i = 0; i < a.NCOVER_PT; ++i)
            EXPECT_NEAR(b.COVER_PT[static_cast<std::size_t>(i)].X, a.COVER_PT[static_cast<std::size_t>(i)].X, 5e-4) << name;
        EXPECT_EQ(b.NSTEEL_SEC, a.NSTEEL_SEC) << name;
        EXPECT_EQ(b.NOPEN_SEC, a.NOPEN_SEC) << name;
        ASSERT_EQ(b.NBAR, a.NBAR) << name;
        for (int i = 1; i <= a.NBAR; ++i) {
            EXPECT_NEAR(b.BAR[static_cast<std::size_t>(i)].X, a.BAR[static_cast<std::size_t>(i)].X, 5e-4) << name;
            EXPECT_NEAR(b.BAR[static_cast<std::size_t>(i)].DB, a.BAR[static_cast<std::size_t>(i)].DB, 1e-3) << name;
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
        {"two kinds at once", "export \"" + example("rectangular_column") + "\" --dxf a --xtract b", 2},
        {"no kind", "export \"" + example("rectangular_column") + "\"", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(cli(c.args), c.status) << c.name;
    std::remove(notDxf.c_str());
    std::remove(out.c_str());
}
