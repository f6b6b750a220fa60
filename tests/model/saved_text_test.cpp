#include "model/saved_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "mesh/mesh_command.h"
#include "model/feedback.h"
#include "model/section_properties.h"

using namespace qav;

namespace {
SectionModel column() {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {{-200, -300}, {200, -300}, {200, 300}, {-200, 300}, {-200, -300}};
    ADD_SINGLE_REBAR(m, -150, -250, 25);
    ADD_SINGLE_REBAR(m, 150, 250, 25);
    m.document.FORCE.resize(2);
    m.document.NFORCE = 1;
    m.document.FORCE[1] = {-1000, 50, 20, "C1", 0};
    return m;
}
}  // namespace

TEST(SavedText, EveryKindOfEditThatTheFileHoldsCounts) {
    struct Case {
        const char* name;
        std::function<void(SectionModel&)> edit;
    };
    const Case cases[] = {
        {"outline point", [](SectionModel& m) { m.document.CONC_PT[2].X = 210; }},
        {"new bar", [](SectionModel& m) { ADD_SINGLE_REBAR(m, 0, 0, 16); }},
        {"bar diameter", [](SectionModel& m) { m.document.BAR[1].DB = 32; }},
        {"concrete material", [](SectionModel& m) { m.document.CONC_MAT[1].FC += 1; }},
        {"steel material", [](SectionModel& m) { m.document.STEEL_MAT[1].FY += 1; }},
        {"grade selection", [](SectionModel& m) { m.document.USE_CONC = 3; }},
        {"mesh size box", [](SectionModel& m) { m.document.MESH_SIZE_TEXT = "50"; }},
        {"load combination", [](SectionModel& m) { m.document.FORCE[1].MX = 51; }},
        {"combination name", [](SectionModel& m) { m.document.FORCE[1].COMB_NAME = "C2"; }},
    };
    for (const Case& c : cases) {
        SectionModel m = column();
        SavedText saved;
        saved.markSaved(m);
        EXPECT_FALSE(saved.differs(m)) << c.name;
        c.edit(m);
        EXPECT_TRUE(saved.differs(m)) << c.name;
        saved.markSaved(m);
        EXPECT_FALSE(saved.differs(m)) << c.name << ": saved again";
    }
}

TEST(SavedText, WhatTheFileDoesNotHoldIsNoChange) {
    SectionModel m = column();
    SavedText saved;
    saved.markSaved(m);
    // The view, the selection, the analysis settings and the results are not in the file.
    m.view.VIEW_SCALE *= 1.1;
    m.view.VIEW_DX += 5;
    m.view.NSEL_BAR = 1;
    m.view.SEL_BAR[1] = 1;
    m.settings.NPM = 12;
    m.results.PM_P = {1, 2, 3};
    m.document.FORCE[1].LOAD_FRACTION = 0.7;
    MessageLog log;
    FIBER_SECTION_MESH(m, log);
    ASSERT_GT(m.mesh.NFIB, 0);
    EXPECT_FALSE(saved.differs(m));
}

TEST(SavedText, AnEditUndoneByHandIsNoChange) {
    SectionModel m = column();
    SavedText saved;
    saved.markSaved(m);
    m.document.BAR[1].DB = 32;
    EXPECT_TRUE(saved.differs(m));
    m.document.BAR[1].DB = 25;
    EXPECT_FALSE(saved.differs(m));
}
