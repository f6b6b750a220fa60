// The builders and the mesh command as the main window runs them: through the command map, with
// the window's grade lists, mesh size box, status bar and "Section Properties" boxes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "app/command_map.h"
#include "app/main_window.h"
#include "app/panel_bar.h"
#include "app/side_panel.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {
// Saved only when asked for, to look at the window as a user would.
void saveScreenshot(QWidget& w, const char* file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + file);
}

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    Fixture() { w.setPrompts(&prompts); }
    QString count(int panel) const { return w.statusBar1()->text(panel); }
    QStringList properties() const {
        const SidePanel* s = w.sidePanel();
        return {s->Edit2->text(), s->Edit3->text(), s->Edit5->text(), s->Edit4->text(),
                s->Edit6->text()};
    }
};
}  // namespace

TEST(WiringBuildersMesh, EveryWayToABuilderShowsItsOneDialog) {
    Fixture f;
    struct Case {
        const char* command;
        const char* dialog;
        const char* caption;
        QString toolButton;  // empty: no tool button
    };
    const Case cases[] = {
        {cmd::BuildTypical, "TForm2", "Build Typical Section", "ToolButton15"},
        {cmd::BuildSteel, "TForm13", "Build Steel Section", "ToolButton16"},
        {cmd::BuildComposite, "TForm18", "Build Composite Section", "ToolButton5"},
        {cmd::BuildOpening, "TForm20", "Build Section Openning", "ToolButton18"},
    };
    for (const Case& c : cases) {
        auto* d = child<QDialog>(&f.w, c.dialog);
        ASSERT_NE(d, nullptr) << c.command;
        EXPECT_EQ(f.w.findChildren<QDialog*>(c.dialog).size(), 1) << c.command << ": created once";
        EXPECT_EQ(d->windowTitle(), c.caption);
        EXPECT_FALSE(d->isVisible()) << c.command;
        f.w.commands().run(c.command);
        EXPECT_TRUE(d->isVisible()) << c.command;
        EXPECT_FALSE(d->isModal()) << c.command;
        d->hide();
        child<QToolButton>(f.w.toolBar(), c.toolButton)->click();
        EXPECT_TRUE(d->isVisible()) << c.command << " from " << c.toolButton.toStdString();
        d->hide();
    }
    // The page buttons of the "Section" page.
    for (const auto& [text, dialog] :
         {std::pair{"Build Typical Section", "TForm2"}, std::pair{"Build Steel Section", "TForm13"},
          std::pair{"Build Section Opening", "TForm20"}}) {
        button(f.w.sidePanel(), text)->click();
        auto* d = child<QDialog>(&f.w, dialog);
        EXPECT_TRUE(d->isVisible()) << text;
        d->hide();
    }
    EXPECT_TRUE(f.prompts.informations.isEmpty()) << f.prompts.informations.join("|").toStdString();
}

TEST(WiringBuildersMesh, TypicalColumnMeshedFromTheWindow) {
    Fixture f;
    SectionModel& m = f.w.model();
    const int W = m.view.W, H = m.view.H;
    f.w.commands().run(cmd::BuildTypical);
    auto* typical = child<QDialog>(&f.w, "TForm2");
    button(typical, "Gen Section")->click();
    EXPECT_FALSE(typical->isVisible()) << "the dialog closes after a build";
    EXPECT_EQ(m.document.NBAR, 12);
    EXPECT_EQ(f.count(7), "12") << "counts refreshed by the build";
    EXPECT_EQ(f.count(5), QString::number(m.document.NCONC_PT));
    EXPECT_EQ(f.count(3), "0");

    f.w.commands().run(cmd::Mesh);
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    EXPECT_TRUE(f.prompts.informations.isEmpty()) << "no message on success";
    EXPECT_GT(m.mesh.NFIB, 0);
    EXPECT_EQ(m.mesh.NFIB, 214);
    EXPECT_EQ(m.mesh.NCFIB, 16);
    EXPECT_EQ(f.count(3), "214");
    EXPECT_EQ(f.count(7), "12");
    EXPECT_EQ(f.properties(), (QStringList{"800000", "5888", "0", "0.74", "0.00"}));
    EXPECT_EQ(m.view.W, W) << "builders and the mesh leave the view's size to the window";
    EXPECT_EQ(m.view.H, H);
    saveScreenshot(f.w, "meshed_column.png");

    // A coarser mesh from the box; the grade lists are read at the command.
    f.w.sidePanel()->Edit1->setText("200");
    f.w.sidePanel()->ComboBox2->setCurrentIndex(3);
    f.w.commands().run(cmd::Mesh);
    EXPECT_GT(m.mesh.NFIB, 12);
    EXPECT_LT(m.mesh.NFIB, 214);
    EXPECT_EQ(f.count(3), QString::number(m.mesh.NFIB));
    int core = 0, coreGrade4 = 0;
    for (int i = 1; i <= m.mesh.NFIB; ++i) {
        const TFIB& fib = m.mesh.FIB[static_cast<std::size_t>(i)];
        core += fib.TY == 1;
        coreGrade4 += fib.TY == 1 && fib.MAT == 4;
    }
    EXPECT_GT(core, 0);
    EXPECT_EQ(coreGrade4, core) << "the concrete grade list is read at the command";
    EXPECT_EQ(f.properties().front(), "800000");
}

TEST(WiringBuildersMesh, RefusedInputChangesNothingAndShowsOneErrorBox) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.w.commands().run(cmd::BuildTypical);
    button(child<QDialog>(&f.w, "TForm2"), "Gen Section")->click();
    f.w.commands().run(cmd::Mesh);
    ASSERT_EQ(m.mesh.NFIB, 214);
    const QStringList before = f.properties();

    struct Case {
        const char* name;
        QString meshSize;
        QString error;  // empty: any text
    };
    const Case cases[] = {
        {"not a number", "abc", "Mesh Size: 'abc' is not a valid floating point value"},
        {"comma decimal", "1,5", "Mesh Size: '1,5' is not a valid floating point value"},
        {"zero", "0", ""},
        {"negative", "-20", ""},
    };
    for (const Case& c : cases) {
        f.prompts.errors.clear();
        f.w.sidePanel()->Edit1->setText(c.meshSize);
        f.w.commands().run(cmd::Mesh);
        ASSERT_EQ(f.prompts.errors.size(), 1) << c.name;
        if (!c.error.isEmpty()) {
            EXPECT_EQ(f.prompts.errors.front(), c.error) << c.name;
        }
        EXPECT_EQ(m.mesh.NFIB, 214) << c.name;
        EXPECT_EQ(m.mesh.NCFIB, 16) << c.name;
        EXPECT_EQ(m.mesh.MESH_SIZE, 100) << c.name;
        EXPECT_EQ(f.count(3), "214") << c.name;
        EXPECT_EQ(f.properties(), before) << c.name;
    }

    // A builder's bad box goes to the same error box; the dialog stays open to mend it.
    f.prompts.errors.clear();
    f.w.commands().run(cmd::BuildOpening);
    auto* opening = child<QDialog>(&f.w, "TForm20");
    child<QLineEdit>(opening, "KEdit1")->setText("3OO");
    button(opening, "Gen Section Opening")->click();
    EXPECT_EQ(f.prompts.errors,
              QStringList{"Section Dim B: '3OO' is not a valid floating point value"});
    EXPECT_TRUE(opening->isVisible());
    EXPECT_EQ(m.document.NOPEN_SEC, 0);

    // Mended, the opening is built and the next mesh leaves its triangles out.
    child<QLineEdit>(opening, "KEdit1")->setText("300");
    button(opening, "Gen Section Opening")->click();
    EXPECT_FALSE(opening->isVisible());
    EXPECT_EQ(m.document.NOPEN_SEC, 1);
    f.w.sidePanel()->Edit1->setText("100");
    f.w.commands().run(cmd::Mesh);
    EXPECT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(f.count(3), QString::number(m.mesh.NFIB));
    double concrete = 0;
    for (int i = 1; i <= m.mesh.NFIB; ++i)
        if (m.mesh.FIB[static_cast<std::size_t>(i)].TY != 3)
            concrete += m.mesh.FIB[static_cast<std::size_t>(i)].AREA;
    EXPECT_NEAR(concrete, 800000.0 - 300 * 400, 1e-6);
    EXPECT_EQ(f.properties().front(), "680000");
}
