#include "mesh/fibre_area_check.h"

#include <gtest/gtest.h>

#include "builders/composite_section.h"
#include "builders/shape_forms.h"
#include "mesh/mesh_command.h"
#include "test_sections.h"

using namespace qav;
using namespace qav::testing;

namespace {
const std::string ADVICE =
    "the mesh misses part of the section; corners closer together than 0.0001 mm make one mesh "
    "node, so move such corners apart.";
}

TEST(FibreAreaCheck, PolygonAreasTakeTheOpeningsOut) {
    SectionModel m = compositeRectangle(800, 1000, 50);
    addSteel(m, rectangle(200, 300));
    addOpening(m, rectangle(100, 100, 50, 0));     // inside the steel
    addOpening(m, rectangle(100, 100, 100, 100));  // half steel, half concrete
    addOpening(m, rectangle(100, 100, 250, 0));    // in the concrete only
    const auto a = sectionPolygonAreas(m);
    ASSERT_TRUE(a.has_value());
    EXPECT_NEAR(a->steel, 60000 - 10000 - 5000, 1e-6);
    EXPECT_NEAR(a->concrete, 800000 - 60000 - 5000 - 10000, 1e-6);
}

TEST(FibreAreaCheck, OneMessageNamesEveryKindThatDiffers) {
    SectionModel m = compositeRectangle(800, 1000, 50);
    addSteel(m, rectangle(200, 240));  // 48,000 mm2
    MeshSummary s;
    s.fibres[FIB_STEEL].area = 45767;
    s.fibres[FIB_CORE_CONCRETE].area = 700000;
    s.fibres[FIB_COVER_CONCRETE].area = 52000;  // concrete 752,000 of 752,000
    EXPECT_EQ(fibreAreaWarning(m, s),
              "Steel fibres cover 45,767 mm\u00b2 of 48,000 mm\u00b2 (\u22124.7 %): " + ADVICE);
    s.fibres[FIB_STEEL].area = 48000 * 1.009;
    EXPECT_EQ(fibreAreaWarning(m, s), std::nullopt) << "within 1 %";
    s.fibres[FIB_COVER_CONCRETE].area = 62000;
    s.fibres[FIB_STEEL].area = 40000;
    EXPECT_EQ(
        fibreAreaWarning(m, s),
        "Concrete fibres cover 762,000 mm\u00b2 of 752,000 mm\u00b2 (+1.3 %): " + ADVICE +
            "\nSteel fibres cover 40,000 mm\u00b2 of 48,000 mm\u00b2 (\u221216.7 %): " + ADVICE);
}

TEST(FibreAreaCheck, OverlapsCountOnceAndSteelOutsideTheOutlineIsSteel) {
    SectionModel m = compositeRectangle(400, 400, 30);
    addSteel(m, rectangle(600, 600));  // a tube's outer plate around the concrete...
    addOpening(
        m, rectangle(400, 400));  // ...whose inside is the opening: nothing of the outline stays
    auto a = sectionPolygonAreas(m);
    ASSERT_TRUE(a.has_value());
    EXPECT_NEAR(a->steel, 360000 - 160000, 1e-6);
    EXPECT_NEAR(a->concrete, 0, 1e-6);

    SectionModel cross = compositeRectangle(1000, 1000, 30);
    addSteel(cross, rectangle(600, 100));
    addSteel(cross, rectangle(100, 600));  // overlapping the first in a 100 x 100 square
    a = sectionPolygonAreas(cross);
    ASSERT_TRUE(a.has_value());
    EXPECT_NEAR(a->steel, 60000 + 60000 - 10000, 1e-6);
    EXPECT_NEAR(a->concrete, 1000000 - 110000, 1e-6);
}

TEST(FibreAreaCheck, MeshedSectionsCarryTheirPolygonAreasAtEveryMeshSize) {
    BoxTexts texts = compositeDialogTexts();
    texts["Edit11"] = "10";  // a concrete-filled tube with 10 mm walls
    CompositeParams cft;
    INPUT_DATA(cft, 7, texts);
    SectionModel filledTube;
    buildCompositeSection(filledTube, cft);
    SectionModel tubeInColumn = circularColumn(800, 40, 8, 20);
    addSteel(tubeInColumn, polygon(tube(800, 10)));
    SectionModel withOpening = compositeRectangle(1000, 800, 35);
    addSteel(withOpening, crossSection(400, 600, 25, 20));
    addOpening(withOpening, rectangle(400, 300));
    for (const SectionModel& section : {filledTube, tubeInColumn, withOpening})
        for (const char* size : {"100", "50", "20"}) {
            SectionModel m = section;
            m.document.MESH_SIZE_TEXT = size;
            NullMessages none;
            const MeshSummary s = FIBER_SECTION_MESH(m, none);
            const auto a = sectionPolygonAreas(m);
            ASSERT_TRUE(a.has_value());
            const double concrete =
                s.fibres[FIB_CORE_CONCRETE].area + s.fibres[FIB_COVER_CONCRETE].area;
            EXPECT_NEAR(s.fibres[FIB_STEEL].area, a->steel, 1e-9 * a->steel) << size;
            EXPECT_NEAR(concrete, a->concrete, 1e-9 * a->concrete) << size;
            EXPECT_EQ(s.areaWarning, "") << size;
        }
}
