// The walk-through of docs/user-guide.md, step by step, as a user makes it. With
// QAVSEC_SCREENSHOT_DIR set (scripts/screenshots) it leaves the guide's pictures there; in the
// suite it checks that every step of the guide still works, and that every control the guide
// and the README name by its caption is one the program shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "app/command_map.h"
#include "app/main_window.h"
#include "app/printing.h"
#include "app/user_prompts.h"
#include "model/text_file.h"
#include "scripted_prompts.h"
#include "view/section_view.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::child;

namespace {

QSet<QString> programCaptions(const QList<QWidget*>& windows);

// The guide's pictures. Each is made with the list of the captions its window showed, kept
// beside it: in the suite, a window whose captions are no longer those of its picture's list
// (a box added since, a renamed button) fails, since the picture shows an older window.
class Shots {
public:
    explicit Shots(const QTemporaryDir& temp) {
        const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
        making_ = !dir.isEmpty();
        dir_ = making_ ? QString::fromUtf8(dir) : temp.path();
    }
    QString path(const QString& file) const { return dir_ + "/" + file; }
    void take(QWidget* w, const QString& file) const {
        QApplication::processEvents();
        const QImage image = w->grab().toImage();
        EXPECT_FALSE(image.isNull()) << file.toStdString();
        EXPECT_TRUE(image.save(path(file))) << file.toStdString();
        QStringList captions = programCaptions({w}).values();
        captions.removeAll(QString());
        captions.sort();
        const QString list = file + ".captions";
        if (making_) {
            QFile out(path(list));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << list.toStdString();
            out.write(captions.join('\n').toUtf8() + '\n');
            return;
        }
        QFile kept(QStringLiteral(QAVSEC_SOURCE_DIR) + "/docs/images/" + list);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << list.toStdString();
        EXPECT_EQ(QString::fromUtf8(kept.readAll()).trimmed(), captions.join('\n'))
            << file.toStdString() << " shows an older window: run scripts/screenshots";
    }

private:
    QString dir_;
    bool making_ = false;
};

void click(QWidget* dialog, const char* name) {
    child<QPushButton>(dialog, name)->click();
}

QString caption(QString text) {
    return text.remove(QLatin1Char('&')).simplified();
}

// Every caption of a control the program shows: window titles, buttons, check boxes, labels,
// group boxes, list items, menus and their commands, of every window that exists.
QSet<QString> programCaptions(const QList<QWidget*>& windows) {
    QSet<QString> out;
    for (QWidget* top : windows) {
        out.insert(caption(top->windowTitle()));
        for (auto* b : top->findChildren<QAbstractButton*>()) out.insert(caption(b->text()));
        for (auto* l : top->findChildren<QLabel*>()) out.insert(caption(l->text()));
        for (auto* g : top->findChildren<QGroupBox*>()) out.insert(caption(g->title()));
        for (auto* m : top->findChildren<QMenu*>()) out.insert(caption(m->title()));
        for (auto* a : top->findChildren<QAction*>()) out.insert(caption(a->text()));
        for (auto* c : top->findChildren<QComboBox*>())
            for (int i = 0; i < c->count(); ++i) out.insert(caption(c->itemText(i)));
    }
    return out;
}

// The texts a document quotes ("...") that read like a control's caption: a capital first,
// short, not a sentence or a question. Code is left out: it quotes values, not captions.
QStringList quotedCaptions(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression("```.*?```", QRegularExpression::DotMatchesEverythingOption));
    text.remove(QRegularExpression("`[^`]*`"));
    QStringList out;
    const QRegularExpression quoted("\"([^\"]*)\"");
    for (auto it = quoted.globalMatch(text); it.hasNext();) {
        const QString c = caption(it.next().captured(1));
        if (c.size() >= 2 && c.size() <= 40 && c[0].isUpper() && !c.endsWith('?') &&
            !c.endsWith('.'))
            out << c;
    }
    return out;
}

}  // namespace

TEST(UserGuide, EveryQuotedCaptionIsTheProgramsOwn) {
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    // The dialogs made when first asked for.
    w.commands().run(cmd::SectionState);
    w.commands().run(cmd::OpenSees);
    std::unique_ptr<QMessageBox> box(createSaveChangesBox(&w, "column.sec"));
    QSet<QString> captions = programCaptions(QApplication::topLevelWidgets());
    // Not ours to check: the print dialog's choice, and the caption after a change (the
    // walk-through checks its "*").
    const QStringList others = {"Print to File (PDF)", "QAV Section v1.0 (2022-03-14) - Untitled*"};
    for (const char* doc : {"/README.md", "/docs/user-guide.md"}) {
        const QStringList quoted = quotedCaptions(QStringLiteral(QAVSEC_SOURCE_DIR) + doc);
        EXPECT_GT(quoted.size(), 5) << doc;
        for (const QString& c : quoted)
            EXPECT_TRUE(captions.contains(c) || others.contains(c))
                << doc << ": \"" << c.toStdString() << "\" is no caption of the program";
    }
}

TEST(UserGuide, BuildMeshCheckChartPrintExport) {
    QTemporaryDir dir;
    const Shots shots(dir);
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    w.show();
    SectionModel& m = w.model();

    // Build a column: "Build Typical Section", rectangular shape, "Gen Section".
    w.commands().run(cmd::BuildTypical);
    auto* build = child<QDialog>(&w, "TForm2");
    ASSERT_NE(build, nullptr);
    child<QComboBox>(build, "ComboBox1")->setCurrentIndex(0);
    shots.take(build, "build_typical.png");
    click(build, "Button1");
    ASSERT_GT(m.document.NBAR, 0);
    build->hide();
    shots.take(&w, "main_window_section.png");

    // Mesh it.
    w.commands().run(cmd::Mesh);
    ASSERT_GT(m.mesh.NFIB, 0);
    shots.take(&w, "main_window_mesh.png");

    // The axes and the positive moments: "Display Setting", "Moment Axes (X, Y, +Mx, +My)".
    w.commands().run(cmd::DisplaySetting);
    auto* display = child<QDialog>(&w, "DisplaySettingDialog");
    ASSERT_NE(display, nullptr);
    child<QCheckBox>(display, "MomentAxesBox")->click();
    EXPECT_TRUE(m.view.SHOW_FLAG[MOMENT_AXES_FLAG]);
    display->hide();
    w.update();
    shots.take(&w, "moment_axes.png");
    child<QCheckBox>(display, "MomentAxesBox")->click();
    EXPECT_FALSE(m.view.SHOW_FLAG[MOMENT_AXES_FLAG]);
    w.update();
    EXPECT_TRUE(w.windowTitle().endsWith(" - Untitled*"));

    // Import loads and check them.
    w.commands().run(cmd::Loading);
    auto* loads = child<QDialog>(&w, "LoadDialog");
    prompts.savePath = dir.filePath("sample.csv");
    click(loads, "Button9");
    prompts.openPath = prompts.savePath;
    click(loads, "Button1");
    click(loads, "Button4");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_EQ(m.document.NFORCE, 42);
    EXPECT_GE(m.results.CRITICAL_COMB, 1);
    shots.take(loads, "load_dialog.png");
    loads->hide();

    // Read the P-M chart with the loads and the critical one marked.
    w.commands().run(cmd::Analysis);
    auto* analysis = child<QDialog>(&w, "AnalysisDialog");
    child<QCheckBox>(analysis, "CheckBox1")->setChecked(true);
    child<QCheckBox>(analysis, "CheckBox2")->setChecked(true);
    click(analysis, "Button3");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    shots.take(analysis, "pm_chart.png");

    // Print the report to a PDF file (the script turns its page into a picture).
    const QString pdf = shots.path("figure_report.pdf");
    setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        const auto orientation = printer.pageLayout().orientation();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(orientation);
        return true;
    });
    click(analysis, "Button1");
    setPrinterChooser({});
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(QFile::exists(pdf));
    analysis->hide();

    // Export DXF.
    prompts.savePath = dir.filePath("column.dxf");
    w.commands().run(cmd::DxfExport);
    EXPECT_FALSE(readTextLines(prompts.savePath.toStdString()).empty());

    // Save: the caption takes the file's name; a change marks it with "*".
    prompts.savePath = dir.filePath("column.sec");
    w.commands().run(cmd::Save);
    EXPECT_TRUE(w.windowTitle().endsWith(" - column.sec"));
    w.runCommand([&] { m.document.BAR[1].DB += 2; });
    EXPECT_TRUE(w.windowTitle().endsWith(" - column.sec*"));

    // The question before closing, opening or importing over unsaved changes.
    std::unique_ptr<QMessageBox> box(createSaveChangesBox(&w, "column.sec"));
    box->show();
    EXPECT_EQ(box->text(), "Save changes to column.sec?");
    shots.take(box.get(), "save_question.png");
    box->hide();

    // File > Recent Files after opening two examples.
    prompts.saveAnswers = {SaveAnswer::Discard};
    prompts.openPath = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/circular_column.sec");
    w.commands().run(cmd::Open);
    prompts.openPath = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");
    w.commands().run(cmd::Open);
    QMenu* recent = w.recentFilesMenu();
    recent->popup(w.mapToGlobal(QPoint(40, 40)));
    EXPECT_GE(recent->actions().size(), 3);
    shots.take(recent, "recent_files.png");
    recent->hide();
}
