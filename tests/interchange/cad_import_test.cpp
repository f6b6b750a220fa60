#include "interchange/cad_import.h"

#include <gtest/gtest.h>

#include "model/errors.h"

using namespace qav;

namespace {

struct Picked {
    std::string name;
    std::string layer;
    std::vector<double> coordinates;
    std::vector<double> center;
    double diameter = 0;
};

// A CAD document whose user picks a fixed list of objects; it records the calls made.
class ScriptedSession : public CadSession {
public:
    explicit ScriptedSession(std::vector<Picked> picks, int sets = 2)
        : picks_(std::move(picks)), sets_(sets) {}
    std::vector<std::string> calls;

    int selectionSetCount() override { return sets_; }
    void deleteSelectionSet(int index) override {
        calls.push_back("Delete " + std::to_string(index));
        --sets_;
    }
    void addSelectionSet(const std::string& name) override { calls.push_back("Add " + name); }
    void prompt(const std::string& text) override { calls.push_back("Prompt " + text); }
    void selectOnScreen() override {
        calls.push_back("SelectOnScreen");
        selected_ = true;
    }
    int count() override { return selected_ ? static_cast<int>(picks_.size()) : 0; }
    std::string objectName(int i) override { return at(i).name; }
    std::string layer(int i) override { return at(i).layer; }
    std::vector<double> coordinates(int i) override { return at(i).coordinates; }
    std::vector<double> center(int i) override { return at(i).center; }
    double diameter(int i) override { return at(i).diameter; }

private:
    const Picked& at(int i) { return picks_.at(static_cast<std::size_t>(i)); }
    std::vector<Picked> picks_;
    int sets_;
    bool selected_ = false;
};

Picked poly(const std::string& layer, std::vector<double> c) {
    return {"AcDbPolyline", layer, std::move(c), {}, 0};
}
Picked circle(double x, double y, double d) {
    return {"AcDbCircle", "REBAR", {}, {x, y, 0}, d};
}

const std::vector<double> RECT = {-200, -300, 200, -300, 200, 300, -200, 300};

SectionModel existingSection() {
    SectionModel m;
    m.document.NCONC_PT = 3;
    m.document.CONC_PT = {{0, 0}, {1, 0}, {0, 1}, {}};
    m.document.NCOVER_PT = 3;
    m.document.COVER_PT = m.document.CONC_PT;
    m.document.NSTEEL_SEC = 1;
    m.document.STEEL_SEC.resize(2);
    ADD_SINGLE_REBAR(m, 5, 5, 5);
    return m;
}

}  // namespace

TEST(CadImport, CallsInOrder) {
    SectionModel m;
    ScriptedSession cad({}, 2);
    IMPORT_SECTION_FROM_CAD(m, cad);
    EXPECT_EQ(cad.calls, (std::vector<std::string>{"Delete 0", "Delete 0", "Add SSET",
                                                   "Prompt SELECT THE PILE TEXT ... ... ...",
                                                   "SelectOnScreen"}));
}

TEST(CadImport, PickedObjects) {
    struct Case {
        std::string name;
        std::vector<Picked> picks;
        int nconc, ncover, nsteel, nopen, nbar;
    };
    const std::vector<Case> cases = {
        {"an empty selection keeps outline and cover, removes the rest", {}, 3, 3, 0, 0, 0},
        {"a rectangle outline clears the model and gets 5 corners",
         {poly("POLY", RECT)},
         5,
         0,
         0,
         0,
         0},
        {"an old-style polyline is ignored",
         {{"AcDb2dPolyline", "POLY", RECT, {}, 0}},
         3,
         3,
         0,
         0,
         0},
        {"a cover line alone replaces the cover line",
         {poly("REBARLINE", {0, 0, 10, 0, 10, 10})},
         3,
         4,
         0,
         0,
         0},
        {"two circles at one centre are two bars",
         {circle(1, 2, 25), circle(1, 2, 16)},
         3,
         3,
         0,
         0,
         2},
        {"steel and openings in selection order",
         {poly("STEEL", RECT), poly("OPENING", {0, 0, 1, 0, 1, 1}),
          poly("STEEL", {0, 0, 1, 0, 1, 1})},
         3,
         3,
         2,
         1,
         0},
        {"an odd coordinate count drops the half vertex",
         {poly("POLY", {0, 0, 10, 0, 10, 10, 5})},
         4,
         0,
         0,
         0,
         0},
        {"a polyline without vertices is an empty list", {poly("POLY", {})}, 0, 0, 0, 0, 0},
        {"layer names are exact", {poly("poly", RECT), poly("Steel", RECT)}, 3, 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SectionModel m = existingSection();
        ScriptedSession cad(c.picks);
        IMPORT_SECTION_FROM_CAD(m, cad);
        EXPECT_EQ(m.document.NCONC_PT, c.nconc) << c.name;
        EXPECT_EQ(m.document.NCOVER_PT, c.ncover) << c.name;
        EXPECT_EQ(m.document.NSTEEL_SEC, c.nsteel) << c.name;
        EXPECT_EQ(m.document.NOPEN_SEC, c.nopen) << c.name;
        EXPECT_EQ(m.document.NBAR, c.nbar) << c.name;
        EXPECT_EQ(m.document.CONC_PT.size(), static_cast<std::size_t>(m.document.NCONC_PT) + 1)
            << c.name;
    }
}

TEST(CadImport, CornersCentroidsAndBars) {
    SectionModel m = existingSection();
    ScriptedSession cad({poly("POLY", {0, 0, 10, 0, 10, 10, 0, 10}), poly("STEEL", RECT),
                         circle(-250, 175.5, 25),
                         poly("POLY", {100, 100, 500, 100, 500, 700, 100, 700}),
                         poly("OPENING", {0, 0, 30, 0, 0, 30})});
    IMPORT_SECTION_FROM_CAD(m, cad);
    ASSERT_EQ(m.document.NCONC_PT, 5) << "the last outline wins";
    EXPECT_EQ(m.document.CONC_PT[0].X, 100);
    EXPECT_EQ(m.document.CONC_PT[4].X, m.document.CONC_PT[0].X);
    EXPECT_EQ(m.document.CONC_PT[4].Y, m.document.CONC_PT[0].Y);
    EXPECT_EQ(m.document.CONC_PT.size(), 6u);
    EXPECT_DOUBLE_EQ(m.document.CONC_CX, 300);
    EXPECT_DOUBLE_EQ(m.document.CONC_CY, 400);
    ASSERT_EQ(m.document.NSTEEL_SEC, 1) << "steel picked before the second outline survives it";
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].GAREA, 240000);
    EXPECT_DOUBLE_EQ(m.document.STEEL_SEC[1].CX, 0);
    ASSERT_EQ(m.document.NOPEN_SEC, 1);
    EXPECT_DOUBLE_EQ(m.document.OPEN_SEC[1].CX, 10);
    ASSERT_EQ(m.document.NBAR, 1);
    EXPECT_EQ(m.document.BAR[1].X, -250);
    EXPECT_EQ(m.document.BAR[1].Y, 175.5);
    EXPECT_EQ(m.document.BAR[1].DB, 25);
    EXPECT_DOUBLE_EQ(m.document.ZONE_XMAX, 500) << "the zone follows the new outline";
}

TEST(CadImport, RejectedCallKeepsWhatWasWritten) {
    class Failing : public ScriptedSession {
    public:
        using ScriptedSession::ScriptedSession;
        double diameter(int) override { throw InputError("Call was rejected by callee."); }
    };
    SectionModel m = existingSection();
    Failing cad({poly("POLY", RECT), circle(0, 0, 10)});
    EXPECT_THROW(IMPORT_SECTION_FROM_CAD(m, cad), InputError);
    EXPECT_EQ(m.document.NCONC_PT, 5);
}
