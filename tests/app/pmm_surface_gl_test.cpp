// The PMM surface drawn for real: needs an OpenGL context, so it runs under a virtual X display
// (xvfb-run) and skips itself where none can be made. With QAVSEC_REQUIRE_GL set, a missing
// context is a failure instead.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/analysis/pmm_surface_dialog.h"
#include "app/analysis/pmm_surface_view.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "mesh/mesh_command.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

// Why no legacy OpenGL context can be had here, or empty when one can.
QString noLegacyGl() {
    QOpenGLContext ctx;
    QSurfaceFormat f;
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    ctx.setFormat(f);
    if (!ctx.create()) return "no OpenGL context can be created on this display";
    QOffscreenSurface surface;
    surface.setFormat(ctx.format());
    surface.create();
    if (!ctx.makeCurrent(&surface)) return "the OpenGL context cannot be made current";
    const bool legacy = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(&ctx) != nullptr;
    ctx.doneCurrent();
    return legacy ? QString() : "the OpenGL context offers no 1.x functions";
}

struct Ink {
    int blue = 0, red = 0, grey = 0, other = 0;
    int total() const { return blue + red + grey + other; }
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 250 && c.green() > 250 && c.blue() > 250) continue;
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                ++ink.blue;
            else if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                ++ink.red;
            else if (std::abs(c.red() - 193) < 12 && std::abs(c.green() - 193) < 12)
                ++ink.grey;
            else
                ++ink.other;
        }
    return ink;
}

}  // namespace

TEST(PmmSurfaceGl, DrawsViewsAndSavesANonBlankBitmap) {
    const QString why = noLegacyGl();
    if (!why.isEmpty()) {
        if (qEnvironmentVariableIsSet("QAVSEC_REQUIRE_GL")) FAIL() << why.toStdString();
        GTEST_SKIP() << why.toStdString();
    }
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    w.openSection(QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec"));
    w.model().settings.NPM = 10;
    w.model().document.MESH_SIZE_TEXT = "200";
    NullMessages none;
    FIBER_SECTION_MESH(w.model(), none);
    w.commands().run(cmd::PmmSurface);
    auto* dialog = w.findChild<PmmSurfaceDialog*>();
    ASSERT_NE(dialog, nullptr);
    auto press = [&](const QString& caption) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == caption) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    };
    QApplication::processEvents();
    press("Run");
    press("Draw");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();

    QTemporaryDir dir;
    const char* views[] = {"X-Y View", "X-Z View", "Y-Z View"};
    for (const char* v : views) {
        press(v);
        const Ink ink = inkOf(dialog->view()->grabImage());
        EXPECT_GT(ink.blue, 200) << v << ": rings";
        EXPECT_GT(ink.red, 100) << v << ": frame";
    }
    press("Fit Center");
    const QString keep = dir.filePath("Gant.bmp");
    prompts.savePath = keep;
    press("Save Image");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    const QImage saved(keep, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(prompts.saveDefaults, QStringList{"Gant.bmp"}) << "the name the save dialog offers";
    EXPECT_EQ(saved.size(), dialog->view()->size() * dialog->view()->devicePixelRatio());
    const Ink ink = inkOf(saved);
    EXPECT_GT(ink.total(), 500) << "a blank picture";
    EXPECT_GT(ink.grey, 50) << "meridians";
    EXPECT_TRUE(dialog->view()->hasLegacyGl());
    // Where the picture is wanted for a look, keep a copy.
    if (qEnvironmentVariableIsSet("QAVSEC_PMM_SHOT"))
        saved.save(qEnvironmentVariable("QAVSEC_PMM_SHOT"));
}
