#include "model/materials.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/material_laws.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/text_file.h"
#include "support/cli_runner.h"

using namespace qav;

TEST(Materials, DefaultGradesFollowTheGradeFormulas) {
    SectionModel m;
    struct Row {
        int index;
        const char* name;
        double ec, fc, eps0, epscu;
    };
    const Row rows[] = {
        {1, "C20", 15844.13, 8.9333, 0.001128, 0.0035},
        {9, "C60", 25092.96, 26.8000, 0.002136, 0.0035},
        {10, "C65", 25986.51, 29.0333, 0.002234, 0.003366},
        {17, "C100", 31460.78, 44.6667, 0.002840, 0.003121},
    };
    for (const Row& r : rows) {
        const TMAT& c = m.document.CONC_MAT[static_cast<std::size_t>(r.index)];
        EXPECT_EQ(c.NAME, r.name);
        EXPECT_NEAR(c.EC, r.ec, 0.005) << r.name;
        EXPECT_NEAR(c.FC, r.fc, 0.00005) << r.name;
        EXPECT_NEAR(c.EPS_0, r.eps0, 0.0000005) << r.name;
        EXPECT_NEAR(c.EPS_CU, r.epscu, 0.0000005) << r.name;
    }
    EXPECT_EQ(m.document.CONC_MAT[9].EPS_CU, 0.0035);
    EXPECT_EQ(m.document.CONC_MAT[10].EPS_CU, 0.0035 - 6e-5 * std::sqrt(5.0));
    EXPECT_EQ(m.document.CONC_MAT.size(), 18u);
    for (int i = 1; i <= 17; ++i) {
        const TMAT& c = m.document.CONC_MAT[static_cast<std::size_t>(i)];
        const TMAT& v = m.document.COVER_MAT[static_cast<std::size_t>(i)];
        EXPECT_EQ(v.NAME, c.NAME + "_Cover");
        EXPECT_EQ(v.EC, c.EC);
        EXPECT_EQ(v.FC, c.FC);
        EXPECT_EQ(v.EPS_0, c.EPS_0);
        EXPECT_EQ(v.EPS_CU, c.EPS_CU);
        EXPECT_EQ(v.FCU, c.FCU);
    }
    for (int i = 1; i <= 5; ++i) {
        const TMAT& s = m.document.STEEL_MAT[static_cast<std::size_t>(i)];
        EXPECT_EQ(s.NAME, "STEEL" + std::to_string(i));
        EXPECT_EQ(s.ES, 200000.0);
        EXPECT_EQ(s.FY, 500.0);
        EXPECT_EQ(s.FY1, 435.0);
        EXPECT_EQ(s.RF, 0.87);
        EXPECT_EQ(s.EC, 0.0);
    }
    // The structural steels at their design strengths py = fy (gamma_m 1.0).
    EXPECT_EQ(m.document.STEEL_MAT[6].FY1, 275.0);
    EXPECT_EQ(m.document.STEEL_MAT[7].FY * m.document.STEEL_MAT[7].RF, 355.0);
}

TEST(Materials, DialogShowsAndModifiesGrades) {
    SectionModel m;
    MaterialBoxes c = materialBoxes(m, MaterialTable::CoreConcrete, 1);
    EXPECT_EQ(c.Edit1, "C20");
    EXPECT_EQ(c.Edit2, "15844.13");
    EXPECT_EQ(c.Edit3, "8.93");
    EXPECT_EQ(c.Edit4, "0.00113");
    EXPECT_EQ(c.Edit5, "0.00350");

    MaterialBoxes s = materialBoxes(m, MaterialTable::Steel, 2);
    EXPECT_EQ(s.Edit4, "435.00");
    s.Edit3 = "460";
    s.Edit5 = "0.9";
    EXPECT_EQ(modifyMaterial(m, MaterialTable::Steel, 2, s), "414.000");
    EXPECT_DOUBLE_EQ(m.document.STEEL_MAT[2].FY1, 414.0);

    // A bad box stops the click there; the fields stored before it keep their values.
    MaterialBoxes v = materialBoxes(m, MaterialTable::CoverConcrete, 3);
    v.Edit2 = "30000";
    v.Edit3 = "12";
    v.Edit4 = "abc";
    EXPECT_THROW(modifyMaterial(m, MaterialTable::CoverConcrete, 3, v), ConversionError);
    EXPECT_EQ(m.document.COVER_MAT[3].EC, 30000.0);
    EXPECT_EQ(m.document.COVER_MAT[3].FC, 12.0);
    EXPECT_EQ(m.document.COVER_MAT[3].EPS_0, m.document.CONC_MAT[3].EPS_0);
    EXPECT_EQ(m.document.COVER_MAT[3].NAME, "C30_Cover");

    // A concrete stronger than any made is refused whole: the grade keeps what it held.
    const TMAT kept = m.document.CONC_MAT[2];
    MaterialBoxes strong = materialBoxes(m, MaterialTable::CoreConcrete, 2);
    strong.Edit3 = "1e9";
    EXPECT_THROW(modifyMaterial(m, MaterialTable::CoreConcrete, 2, strong), InputError);
    EXPECT_EQ(m.document.CONC_MAT[2].FC, kept.FC);
}

TEST(Materials, ModifyRefusesValuesWithoutPhysicalSenseNamingTheBox) {
    struct Case {
        MaterialTable table;
        std::string MaterialBoxes::*box;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {MaterialTable::CoreConcrete, &MaterialBoxes::Edit2, "0",
         "\"Elastic Mudulus E (MPa)\" must be greater than 0 (it is 0)."},
        {MaterialTable::CoreConcrete, &MaterialBoxes::Edit3, "-5",
         "\"Yield Stress Fc(MPa)\" must be greater than 0 (it is -5)."},
        {MaterialTable::CoverConcrete, &MaterialBoxes::Edit4, "0",
         "\"Yield Strain eps_0\" must be greater than 0 (it is 0)."},
        {MaterialTable::Steel, &MaterialBoxes::Edit2, "-1",
         "\"Elastic Mudulus E (MPa)\" must be greater than 0 (it is -1)."},
        {MaterialTable::Steel, &MaterialBoxes::Edit3, "0",
         "\"Yield Stress Fy(MPa)\" must be greater than 0 (it is 0)."},
        {MaterialTable::Steel, &MaterialBoxes::Edit5, "0",
         "\"ay Reduct. Factor\" must be greater than 0 (it is 0)."},
        {MaterialTable::Steel, &MaterialBoxes::Edit5, "1.2",
         "\"ay Reduct. Factor\" must not be greater than 1 (it is 1.2)."},
    };
    for (const Case& c : cases) {
        SectionModel m;
        const SectionModel before = m;
        MaterialBoxes b = materialBoxes(m, c.table, 2);
        b.Edit2 = "30000";  // a valid change before the bad box must not be stored either
        b.*c.box = c.text;
        try {
            modifyMaterial(m, c.table, 2, b);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        const TMAT& now = materialOf(m, c.table, 2);
        const TMAT& was = materialOf(const_cast<SectionModel&>(before), c.table, 2);
        EXPECT_EQ(now.EC, was.EC) << c.message;
        EXPECT_EQ(now.ES, was.ES) << c.message;
        EXPECT_EQ(now.FC, was.FC) << c.message;
        EXPECT_EQ(now.FY, was.FY) << c.message;
        EXPECT_EQ(now.RF, was.RF) << c.message;
    }
    // The limits themselves are accepted.
    SectionModel m;
    MaterialBoxes s = materialBoxes(m, MaterialTable::Steel, 1);
    s.Edit5 = "1";
    EXPECT_EQ(modifyMaterial(m, MaterialTable::Steel, 1, s),
              Format("%0.3F", {m.document.STEEL_MAT[1].FY}));
}

TEST(Materials, AnUnusedSteelModulusIsSaidOnceForEachGradeInUse) {
    EXPECT_EQ(STEEL_LAW_ES, STEEL_LAW_MODULUS);
    SectionModel m;
    m.document.STEEL_MAT[1].ES = 210000;
    EXPECT_TRUE(materialWarnings(m).empty()) << "no bars and no steel: the grade is not used";
    m.document.NBAR = 4;
    m.document.NSTEEL_SEC = 1;
    const std::string note =
        "ES of STEEL1 (210000) is not used: the steel law takes Es = 200000 N/mm\u00b2.";
    const std::string shapes = steelShapeGradeNote(m);
    EXPECT_NE(shapes.find("S275, S355"), std::string::npos) << shapes;
    EXPECT_EQ(materialWarnings(m), (std::vector<std::string>{note, shapes}))
        << "bars and steel share the grade, a reinforcement grade";
    m.document.USE_STEEL = 1;
    m.document.STEEL_MAT[2].ES = 190000.5;
    EXPECT_EQ(materialWarnings(m).size(), 3u) << "one for each grade in use";
    m.document.USE_STEEL = 6;  // S355: a structural steel
    EXPECT_EQ(steelShapeGradeNote(m), "");

    // The command line says it once per run, whichever command meshes.
    std::vector<std::string> lines = readTextLines(test::examplePath("rectangular_column.sec"));
    for (auto& l : lines)
        if (l.rfind("STEELMAT,1,", 0) == 0) l = "STEELMAT,1,STEEL1,210000,500,0.87";
    const std::string file = test::tempPath("modulus.sec");
    writeTextLines(file, lines);
    for (const std::string command : {"mesh ", "pm --angle 0 --npm 4 "}) {
        const test::CliRun run = test::runCli(command + file);
        EXPECT_EQ(run.status, 0) << run.out;
        std::size_t count = 0;
        for (auto at = run.out.find(note); at != std::string::npos; at = run.out.find(note, at + 1))
            ++count;
        EXPECT_EQ(count, 1u) << command << run.out;
    }
}
