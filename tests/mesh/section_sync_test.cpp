// The mesh and the results belong to the section they were made from: a section changed in any
// way after meshing is either refused by every analysis or, once brought up to date, gives the
// new section's numbers — never the old section's.
#include "mesh/section_sync.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "builders/composite_section.h"
#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "interchange/dxf_export.h"
#include "interchange/dxf_import.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/materials.h"
#include "model/section_file.h"
#include "model/section_properties.h"
#include "model/section_state.h"
#include "test_sections.h"
#include "view/rebar_tools.h"

using namespace qav;
using namespace qav::testing;

namespace {
NullMessages quiet;

void mesh(SectionModel& m) {
    m.document.MESH_SIZE_TEXT = "100";
    FIBER_SECTION_MESH(m, quiet);
}

// Section A: the column every case meshes first.
SectionModel sectionA() {
    SectionModel m = rectangularColumn(400, 600, 40, 2, 2, 25);
    mesh(m);
    return m;
}

std::vector<double> pmCurve(SectionModel& m) {
    m.results.STRAIN_LIMIT_MODE = 1;
    RUN_PM_CURVE_ANALYSIS(m, 0, quiet);
    return m.results.PM_P;
}

void selectAll(SectionModel& m) {
    for (int i = 1; i <= m.document.NBAR; ++i) SELECT_BAR(m, i);
}

struct Change {
    const char* name;
    std::function<void(SectionModel&)> apply;
    bool geometry;  // geometry or bars (else grades or materials only)
};

std::vector<Change> changes() {
    return {
        {"New", [](SectionModel& m) { CLEAR_MODEL(m); }, true},
        {"Open",
         [](SectionModel& m) {
             std::vector<std::string> lines;
             SAVE_QAV_SEC_DATA(circularColumn(600, 40, 8, 20), lines);
             LOAD_QAV_SEC_DATA(m, lines);
         },
         true},
        {"typical builder",
         [](SectionModel& m) {
             BoxTexts t = typicalDialogTexts();
             typicalShapeChange(t, 1);
             buildTypicalSection(m, 1, t);
         },
         true},
        {"steel builder",
         [](SectionModel& m) {
             BoxTexts t = steelDialogTexts();
             steelShapeChange(t, 0);
             buildSteelSection(m, 0, t);
         },
         true},
        {"Rec SRC Column",
         [](SectionModel& m) {
             CompositeParams p;
             INPUT_DATA(p, 3, compositeDialogTexts());
             buildCompositeSection(m, p);
         },
         true},
        {"opening",
         [](SectionModel& m) {
             BoxTexts t = openingDialogTexts();
             t["KEdit1"] = "100", t["KEdit2"] = "100";
             buildOpening(m, 0, t);
         },
         true},
        {"DXF import",
         [](SectionModel& m) { importDxfLines(m, exportDxfLines(circularColumn(500, 40, 6, 20))); },
         true},
        {"move bars",
         [](SectionModel& m) {
             selectAll(m);
             MOVE_REBARS(m, 0, 10);
         },
         true},
        {"delete bars",
         [](SectionModel& m) {
             SELECT_BAR(m, 1);
             DELETE_REBARS(m);
         },
         true},
        {"bar diameter",
         [](SectionModel& m) {
             selectAll(m);
             ASSIGN_REBAR_DIAMETER(m, 32);
         },
         true},
        {"single bar", [](SectionModel& m) { ADD_SINGLE_REBAR(m, 0, 0, 25); }, true},
        {"concrete grade", [](SectionModel& m) { m.document.USE_CONC = 8; }, false},
        {"rebar grade",
         [](SectionModel& m) {
             m.document.STEEL_MAT[3].FY = 400;  // the default steel grades are all alike
             m.document.USE_REBAR = 2;
         },
         false},
        {"material",
         [](SectionModel& m) {
             MaterialBoxes b =
                 materialBoxes(m, MaterialTable::CoreConcrete, m.document.USE_CONC + 1);
             b.Edit2 = "60";
             modifyMaterial(m, MaterialTable::CoreConcrete, m.document.USE_CONC + 1, b);
         },
         false},
        {"steel material",
         [](SectionModel& m) {
             MaterialBoxes b = materialBoxes(m, MaterialTable::Steel, m.document.USE_REBAR + 1);
             b.Edit3 = "0.5";
             modifyMaterial(m, MaterialTable::Steel, m.document.USE_REBAR + 1, b);
         },
         false},
    };
}
}  // namespace

TEST(SectionState, MeshStampFollowsWhatTheMeshWasMadeFrom) {
    SectionModel m;
    EXPECT_EQ(meshState(m), MeshState::None);
    m = sectionA();
    EXPECT_EQ(meshState(m), MeshState::Current);
    const MeshStamp first = m.mesh.MESH_STAMP;
    EXPECT_NE(first.serial, 0u);

    // Grades of kinds the section does not have, and a copy of the section, leave it current.
    m.document.USE_STEEL = 3;
    EXPECT_EQ(meshState(m), MeshState::Current);
    SectionModel copy = m;
    EXPECT_EQ(meshState(copy), MeshState::Current);
    // -0 and 0 are the same corner.
    m.document.CONC_PT[0].X = m.document.CONC_PT[0].X == 0 ? -0.0 : m.document.CONC_PT[0].X;
    EXPECT_EQ(meshState(m), MeshState::Current);

    m.document.BAR[1].DB = 26;
    EXPECT_EQ(meshState(m), MeshState::GeometryChanged);
    m.document.BAR[1].DB = 25;
    m.document.USE_COVER = 5;
    EXPECT_EQ(meshState(m), MeshState::MaterialsChanged);
    m.document.USE_COVER = 0;
    m.document.COVER_MAT[1].FC += 1;
    EXPECT_EQ(meshState(m), MeshState::MaterialsChanged);

    // Meshing again gives a new serial even for the same section.
    mesh(m);
    EXPECT_EQ(meshState(m), MeshState::Current);
    EXPECT_NE(m.mesh.MESH_STAMP.serial, first.serial);

    // Fibres the mesh command did not make are not taken for the section's.
    m.mesh.MESH_STAMP = {};
    EXPECT_EQ(meshState(m), MeshState::GeometryChanged);
    CLEAR_MESH(m);
    EXPECT_EQ(meshState(m), MeshState::None);
}

TEST(SectionState, EveryAnalysisRefusesAStaleMesh) {
    SectionModel m = sectionA();
    m.document.BAR[1].X += 5;
    const std::string expected =
        "The section has changed since it was meshed: mesh the section first.";
    auto refuses = [&](const char* name, const std::function<void()>& run) {
        try {
            run();
            ADD_FAILURE() << name << " ran on a stale mesh";
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(), expected) << name;
        }
    };
    NullProgress none;
    refuses("P-M", [&] { RUN_PM_CURVE_ANALYSIS(m, 0, quiet); });
    refuses("Myy-Mxx", [&] { RUN_MM_CURVE_ANALYSIS(m, 1000, quiet); });
    refuses("PMM", [&] { RUN_PMM_ANALYSIS(m, quiet); });
    refuses("M-Phi", [&] {
        RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 1000, 0.0035, 5}, quiet);
    });
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    refuses("check", [&] { CHECK_MEMBER(m, 0, 0, 0, quiet, none); });

    m.document.BAR[1].X -= 5;
    m.document.USE_CONC = 10;
    try {
        RUN_PM_CURVE_ANALYSIS(m, 0, quiet);
        ADD_FAILURE() << "ran with the old grade";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The grades or materials have changed since the section was meshed: mesh the "
                  "section first.");
    }
}

// Mesh A, make B in each way, analyse: a refusal, or B's own numbers once brought up to date.
TEST(SectionState, SectionBAfterMeshingAGivesBOrARefusal) {
    SectionModel a = sectionA();
    const std::vector<double> curveA = pmCurve(a);
    for (const Change& c : changes()) {
        SCOPED_TRACE(c.name);
        SectionModel m = sectionA();
        pmCurve(m);
        c.apply(m);
        EXPECT_THROW(pmCurve(m), InputError) << "the analysis ran on A's mesh";

        const SectionSync s = SYNC_SECTION_STATE(m);
        EXPECT_TRUE(s.resultsCleared);
        EXPECT_TRUE(m.results.PM_P.empty());
        if (c.geometry) {
            EXPECT_EQ(meshState(m), MeshState::None);
            EXPECT_EQ(m.mesh.NFIB, 0);
            EXPECT_EQ(sectionPropertiesText(m.mesh).sectionArea, "");
            EXPECT_THROW(pmCurve(m), InputError);
            continue;
        }
        ASSERT_TRUE(s.materialsRefreshed);
        const std::vector<double> refreshed = pmCurve(m);
        SectionModel fresh = m;
        mesh(fresh);
        EXPECT_EQ(refreshed, pmCurve(fresh)) << "the refreshed fibres differ from a new mesh";
        EXPECT_NE(refreshed, curveA);
    }
}

TEST(SectionState, SyncKeepsACurrentMeshAndItsResults) {
    SectionModel m = sectionA();
    EXPECT_TRUE(SYNC_SECTION_STATE(m).resultsCleared);  // results of no mesh, before this one
    const std::vector<double> curve = pmCurve(m);
    const SectionSync s = SYNC_SECTION_STATE(m);
    EXPECT_FALSE(s.changed());
    EXPECT_EQ(m.results.PM_P, curve);
}

TEST(SectionState, SyncClearsLoadFractionsAndKeepsTheBarSelection) {
    SectionModel m = sectionA();
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    SYNC_SECTION_STATE(m);
    NullProgress none;
    CHECK_MEMBER(m, 0, 0, 0, quiet, none);
    ASSERT_NE(m.results.CRITICAL_COMB, 0);
    SELECT_BAR(m, 2);
    ADD_SINGLE_REBAR(m, 0, 0, 16);
    const SectionSync s = SYNC_SECTION_STATE(m);
    EXPECT_TRUE(s.meshCleared);
    EXPECT_EQ(m.results.CRITICAL_COMB, 0);
    for (int i = 1; i <= m.document.NFORCE; ++i)
        EXPECT_EQ(m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION, 0);
    EXPECT_EQ(m.document.NFORCE, 42);
    EXPECT_EQ(m.view.NSEL_BAR, 1);  // the selection names bars, which are still there
}

TEST(SectionState, AMissingGradeClearsTheMeshInsteadOfRefreshing) {
    SectionModel m = sectionA();
    m.document.NCONCMAT = 3;  // as a file carrying fewer grades
    m.document.USE_CONC = 5;
    const SectionSync s = SYNC_SECTION_STATE(m);
    EXPECT_FALSE(s.materialsRefreshed);
    EXPECT_TRUE(s.meshCleared);
    EXPECT_EQ(meshState(m), MeshState::None);
}
