#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "model/text_file.h"

namespace {
struct CliRun {
    int status;
    std::string out;
};

CliRun cli(const std::string& args) {
    const std::string command = std::string(QAVSEC_CLI) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) out += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

const std::string example = std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec";
}  // namespace

TEST(MeshCli, PrintsTheSummaryAndWritesTheFibres) {
    const std::string csv =
        (std::filesystem::temp_directory_path() / "qavsec_mesh_cli_fibres.csv").string();
    const CliRun r = cli("mesh " + example + " --fibres " + csv);
    ASSERT_EQ(r.status, 0) << r.out;
    for (const char* line :
         {"Mesh nodes:             120\n", "Triangles:              202 (202 used)\n",
          "Core concrete fibres:   130, area 678900.000\n",
          "Rebar fibres:           12, area 5887.500\n", "NCFIB:                  16\n",
          "Section Area(mm2):      800000\n", "Rebar Ratio(%):         0.74\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "in\n" << r.out;
    const auto lines = qav::readTextLines(csv);
    ASSERT_EQ(lines.size(), 215u);
    EXPECT_EQ(lines[0], "No,X,Y,AREA,TY,MAT");
    EXPECT_EQ(lines[214].substr(0, 4), "214,");
    EXPECT_NE(lines[214].find(",490.625000,3,1"), std::string::npos) << lines[214];
    std::filesystem::remove(csv);
}

TEST(MeshCli, BadMeshSizeIsRefused) {
    const CliRun text = cli("mesh " + example + " --mesh-size abc");
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "--mesh-size: 'abc' is not a valid floating point value\n");
    const CliRun zero = cli("mesh " + example + " --mesh-size 0");
    EXPECT_EQ(zero.status, 1);
    const CliRun usage = cli("mesh");
    EXPECT_EQ(usage.status, 2);
}

TEST(MeshCli, SteelGridMeshesInsideSteelOnlySections) {
    // A steel-only section gets more fibres, the same steel area; a section with concrete is
    // meshed as without the option, so its listing does not change.
    const std::string steel = std::string(QAVSEC_SOURCE_DIR) + "/examples/steel_i_section.sec";
    const CliRun plain = cli("mesh " + steel + " --mesh-size 10");
    const CliRun grid = cli("mesh " + steel + " --mesh-size 10 --steel-grid");
    ASSERT_EQ(plain.status, 0) << plain.out;
    ASSERT_EQ(grid.status, 0) << grid.out;
    EXPECT_NE(plain.out.find("Steel fibres:           326, area 80000.000\n"), std::string::npos)
        << plain.out;
    EXPECT_EQ(grid.out.find("Steel fibres:           326,"), std::string::npos) << grid.out;
    EXPECT_NE(grid.out.find(", area 80000.000\n"), std::string::npos) << grid.out;
    EXPECT_EQ(cli("mesh " + example + " --steel-grid").out, cli("mesh " + example).out);
    // An analysis takes it too.
    EXPECT_EQ(cli("pm " + steel + " --angle 30 --steel-grid --mesh-size 25").status, 0);
}
