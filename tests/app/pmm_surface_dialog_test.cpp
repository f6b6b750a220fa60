// "Gen PMM Surface" without a display: the run, the listing, the wire model the view is given,
// the scene it would draw, the scale controls, the mouse, the wheel and the view buttons.
#include "app/analysis/pmm_surface_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>

#include "app/analysis/pmm_surface_view.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    PmmSurfaceDialog* dialog = nullptr;
    PmmSurfaceView* view = nullptr;

    explicit Fixture(int npm = 4) {
        w.setPrompts(&prompts);
        w.openSection(QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec"));
        w.model().settings.NPM = npm;
        w.model().document.MESH_SIZE_TEXT = "200";
        NullMessages none;
        FIBER_SECTION_MESH(w.model(), none);
        w.commands().run(cmd::PmmSurface);
        dialog = w.findChild<PmmSurfaceDialog*>();
        view = dialog->view();
    }
    void press(const QString& caption) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == caption) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    template <class T>
    T* child(const char* name) {
        return dialog->findChild<T*>(name);
    }
    int count(PmmPrimitive::Kind kind, std::array<float, 3> colour) const {
        int n = 0;
        for (const auto& p : view->scene()) n += p.kind == kind && p.colour == colour ? 1 : 0;
        return n;
    }
};

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint p) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int steps) {
    for (int i = 0; i < std::abs(steps); ++i) {
        QWheelEvent e(QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))), QPoint(),
                      QPoint(0, steps < 0 ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
}

const std::array<float, 3> BLUE{0, 0, 1}, GREY{0.756f, 0.756f, 0.756f}, RED{1, 0, 0},
    MAGENTA{1, 0, 1};

}  // namespace

TEST(PmmSurfaceDialog, RunListsTheCurvesAndDrawsTheCoresWireModel) {
    Fixture f(30);
    EXPECT_EQ(f.dialog->windowTitle(), "Gen PMM Surface");
    EXPECT_EQ(f.child<QCheckBox>("CheckBox2")->isChecked(), true);
    EXPECT_EQ(f.child<QCheckBox>("CheckBox1")->isChecked(), false);
    f.press("Run");
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    const QStringList memo = f.child<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    EXPECT_EQ(memo.size(), 374);
    EXPECT_EQ(memo[0], "PMM_CURVE_DATA");

    const PmmWireModel core = BUILD_PMM_WIRE_MODEL(f.w.model());
    const PmmWireModel& shown = f.view->wireModel();
    EXPECT_EQ(shown.NPMM_NODE, 372);
    EXPECT_EQ(shown.NPMM_NODE, core.NPMM_NODE);
    EXPECT_EQ(shown.NPMM_LINE, core.NPMM_LINE);
    EXPECT_EQ(f.view->state().PMM_VIEW_SCALE, 1e-4);

    // Green square first, then 372 ring segments, 360 meridians, 15 frame lines.
    const auto scene = f.view->scene();
    ASSERT_FALSE(scene.empty());
    EXPECT_EQ(scene.front().kind, PmmPrimitive::Quad);
    EXPECT_EQ(f.count(PmmPrimitive::Line, BLUE), 372);
    EXPECT_EQ(f.count(PmmPrimitive::Line, GREY), 360);
    EXPECT_EQ(f.count(PmmPrimitive::Line, RED), 15);
    EXPECT_EQ(scene.back().colour, RED);

    // The projection holds every vertex at any rotation.
    for (const auto& p : scene)
        for (const auto& v : p.vertices)
            EXPECT_LE(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), f.view->viewRadius());
}

TEST(PmmSurfaceDialog, ACancelledRunLeavesTheListingAndTheWireModel) {
    // Cancels once the run has reported its first position.
    struct Cancel : Progress {
        int calls = 0;
        void setPosition(int) override { ++calls; }
        bool cancelled() const override { return calls >= 1; }
    };
    for (int threads : {1, 2}) {
        Fixture f(10);
        f.w.model().settings.THREADS = threads;
        f.press("Run");
        const QString listing = f.child<QPlainTextEdit>("Memo1")->toPlainText();
        const PmmWireModel before = f.view->wireModel();
        const auto P = f.w.model().results.PMM_P;
        f.dialog->setProgressMaker([](QWidget*, const QString&) -> std::unique_ptr<Progress> {
            return std::make_unique<Cancel>();
        });
        f.w.model().settings.NPM = 30;
        f.press("Run");
        EXPECT_TRUE(f.prompts.errors.isEmpty()) << "a cancel is no error";
        EXPECT_EQ(f.child<QPlainTextEdit>("Memo1")->toPlainText(), listing) << threads;
        EXPECT_EQ(f.view->wireModel().NPMM_NODE, before.NPMM_NODE) << threads;
        ASSERT_EQ(f.view->wireModel().PMM_NODE.size(), before.PMM_NODE.size());
        for (std::size_t i = 0; i < before.PMM_NODE.size(); ++i)
            EXPECT_EQ(f.view->wireModel().PMM_NODE[i].Z, before.PMM_NODE[i].Z) << threads;
        EXPECT_EQ(f.w.model().results.PMM_P, P) << threads;
    }
}

TEST(PmmSurfaceDialog, ScaleFieldsAutoScaleAndLoadPoints) {
    Fixture f;
    f.press("Run");
    const auto stretch = f.view->wireModel().AXIS_STRETCH;
    auto zExtent = [&] {
        double top = 0;
        for (const auto& p : f.view->scene())
            for (const auto& v : p.vertices) top = std::max(top, std::fabs(v[2]));
        return top;
    };
    const double autoZ = zExtent();

    f.child<QLineEdit>("Edit3")->setText("2");
    f.press("Draw");
    EXPECT_NEAR(zExtent(), 2 * autoZ, 1e-12 * autoZ);

    f.child<QCheckBox>("CheckBox2")->setChecked(false);
    f.press("Draw");
    EXPECT_NEAR(zExtent(), 2 * autoZ / stretch[2], 1e-9 * autoZ);

    // Loads appear only with "PMM Load Comb".
    IMPORT_FORCE_CSV(f.w.model(), SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    ASSERT_GT(f.w.model().document.NFORCE, 0);
    f.press("Draw");
    EXPECT_EQ(f.count(PmmPrimitive::Point, MAGENTA), 0);
    f.child<QCheckBox>("CheckBox1")->setChecked(true);
    f.press("Draw");
    EXPECT_EQ(f.count(PmmPrimitive::Point, MAGENTA), f.w.model().document.NFORCE);

    // A field that is not a number stops "Draw" before anything changes.
    const int lines = f.count(PmmPrimitive::Line, BLUE);
    f.child<QLineEdit>("Edit1")->setText("1,5");
    f.w.model().results.PMM_P.clear();
    f.press("Draw");
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(f.prompts.errors[0], "'1,5' is not a valid floating point value");
    EXPECT_EQ(f.count(PmmPrimitive::Line, BLUE), lines);
}

TEST(PmmSurfaceDialog, ScalesOfZeroOrBeyondTheBoundAreRefusedNamingTheBox) {
    Fixture f;
    f.press("Run");
    const int lines = f.count(PmmPrimitive::Line, BLUE);
    const struct {
        const char* box;
        const char* text;
        const char* error;
    } cases[] = {
        {"Edit1", "0", "\"Scale in X-Dir\" must be greater than 0 and at most 1000000 (it is 0)."},
        {"Edit2", "-2",
         "\"Scale in Y-Dir\" must be greater than 0 and at most 1000000 (it is -2)."},
        {"Edit3", "1e308",
         "\"Scale in Z-Dir\" must be greater than 0 and at most 1000000 (it is 1E+308)."},
    };
    for (const auto& c : cases) {
        f.prompts.errors.clear();
        for (const char* box : {"Edit1", "Edit2", "Edit3"}) f.child<QLineEdit>(box)->setText("1.0");
        f.child<QLineEdit>(c.box)->setText(c.text);
        f.press("Draw");
        ASSERT_EQ(f.prompts.errors.size(), 1) << c.box;
        EXPECT_EQ(f.prompts.errors[0], c.error);
        EXPECT_EQ(f.count(PmmPrimitive::Line, BLUE), lines) << "the drawing stays as it was";
    }
}

TEST(PmmSurfaceDialog, DrawBeforeRunShowsOnlyTheSquare) {
    Fixture f;
    f.press("Draw");
    EXPECT_TRUE(f.prompts.errors.isEmpty());
    EXPECT_EQ(f.prompts.informations,
              QStringList{"There is no PMM surface to draw yet: press \"Run\" first."});
    const auto scene = f.view->scene();
    ASSERT_EQ(scene.size(), 1u);
    EXPECT_EQ(scene[0].colour, (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(f.view->viewRadius(), 1.0);
}

TEST(PmmSurfaceDialog, MouseWheelAndViewButtons) {
    Fixture f;
    PmmViewState& s = f.view->state();
    EXPECT_EQ(s.Depth, -3.0f);
    EXPECT_EQ(s.GraphColor.G, 96);
    mouse(f.view, QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    mouse(f.view, QEvent::MouseMove, Qt::LeftButton, {110, 130});
    EXPECT_EQ(s.XRot, 15.0f);
    EXPECT_EQ(s.YRot, 5.0f);
    mouse(f.view, QEvent::MouseButtonRelease, Qt::LeftButton, {110, 130});
    EXPECT_EQ(s.MouseButton, 0);
    mouse(f.view, QEvent::MouseMove, Qt::LeftButton, {200, 200});
    EXPECT_EQ(s.XRot, 15.0f) << "after the release nothing turns";

    mouse(f.view, QEvent::MouseButtonPress, Qt::MiddleButton, {100, 100});
    mouse(f.view, QEvent::MouseMove, Qt::MiddleButton, {140, 80});
    EXPECT_FLOAT_EQ(s.XCenter, 0.2f);
    EXPECT_FLOAT_EQ(s.YCenter, -0.1f);
    mouse(f.view, QEvent::MouseButtonRelease, Qt::MiddleButton, {140, 80});

    s.Depth = 0;
    mouse(f.view, QEvent::MouseButtonPress, Qt::RightButton, {0, 50});
    mouse(f.view, QEvent::MouseMove, Qt::RightButton, {0, 80});
    EXPECT_FLOAT_EQ(s.Depth, -10.0f);
    EXPECT_EQ(s.Zcoord, 80);
    mouse(f.view, QEvent::MouseButtonRelease, Qt::RightButton, {0, 80});

    wheel(f.dialog, -10);
    EXPECT_NEAR(s.PMM_VIEW_SCALE, 1e-4 * std::pow(0.95, 10), 1e-16);
    wheel(f.view, 10);  // over the drawing panel too
    EXPECT_NEAR(s.PMM_VIEW_SCALE, 1e-4, 1e-16);
    wheel(f.dialog, -1);

    struct Case {
        const char* button;
        float xRot, yRot;
    };
    const Case cases[] = {{"X-Y View", 0, 0}, {"X-Z View", -90, 0}, {"Y-Z View", -90, 90}};
    for (const Case& c : cases) {
        s.XCenter = s.YCenter = 0.5f;
        f.press(c.button);
        EXPECT_EQ(s.XRot, c.xRot) << c.button;
        EXPECT_EQ(s.YRot, c.yRot) << c.button;
        EXPECT_EQ(s.XCenter, 0.0f) << c.button;
        EXPECT_EQ(s.Depth, 1.0f) << c.button;
        EXPECT_NEAR(s.PMM_VIEW_SCALE, 0.95e-4, 1e-16) << c.button << ": keeps the zoom";
    }
    s.XCenter = 0.5f;
    s.XRot = 33;
    f.press("Fit Center");
    EXPECT_EQ(s.XCenter, 0.0f);
    EXPECT_EQ(s.XRot, 33.0f);
    EXPECT_EQ(s.Depth, 1.0f);
}

TEST(PmmSurfaceDialog, SaveTextWritesTheListing) {
    Fixture f;
    f.press("Run");
    QTemporaryDir dir;
    f.prompts.savePath = dir.filePath("pmm.txt");
    f.press("Save Text");
    const auto lines = readTextLines(f.prompts.savePath.toStdString());
    EXPECT_EQ(lines.size(), 2u + 6u * 10u);
    EXPECT_EQ(lines[1], "          P,         My,         Mx,");
    f.prompts.savePath.clear();
    f.press("Save Text");
    EXPECT_TRUE(f.prompts.errors.isEmpty());
}

// Under ACI 318-19 the nominal curves lie beside the design surface as dashed lines, one
// segment per pair of curve points; under the program's own code there are none.
TEST(PmmSurfaceDialog, NominalCurvesDashedUnderAciOnly) {
    for (const CodeId code : {CodeId::HkCop2013, CodeId::Aci318}) {
        Fixture f;
        ASSERT_TRUE(convertSectionCode(f.w.model(), code).ok);
        NullMessages none;
        FIBER_SECTION_MESH(f.w.model(), none);
        f.press("Run");
        ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
        int dashed = 0;
        for (const auto& p : f.view->scene()) dashed += p.dashed ? 1 : 0;
        EXPECT_EQ(dashed, code == CodeId::Aci318 ? PMM_CURVES * (2 * 4 + 1) : 0);
    }
}
