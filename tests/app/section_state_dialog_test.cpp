// "Section State" and the "Key Points" check box as a user meets them: the dialog opens from the
// Analysis menu and from the analysis dialog, shows the critical combination's state, saves its
// picture and CSV; the check box adds markers to the P-M chart and, unchecked, leaves it as it was.
#include "app/analysis/section_state_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "app/analysis/analysis_dialog.h"
#include "app/analysis/analysis_widgets.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

const QString kExample = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");

template <class T>
T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void saveScreenshot(QWidget* w, const char* file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromUtf8(dir) + "/" + file);
}

int colouredPixels(const QImage& image, bool red) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (red ? (c.red() == 255 && c.green() == c.blue() && c.green() < 250)
                    : (c.blue() == 255 && c.red() == c.green() && c.red() < 250))
                ++n;
        }
    return n;
}

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    Fixture() {
        w.setPrompts(&prompts);
        w.openSection(kExample);
        MessageLog log;
        FIBER_SECTION_MESH(w.model(), log);
        IMPORT_FORCE_CSV(w.model(), SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
        NullProgress progress;
        CHECK_MEMBER(w.model(), 1000, 1000, 1000, log, progress);
    }
};

}  // namespace

TEST(SectionStateDialog, ShowsTheCriticalCombinationAndSavesItsPictureAndCsv) {
    Fixture f;
    f.w.commands().run(cmd::SectionState);
    auto* d = f.w.findChild<SectionStateDialog*>("SectionStateDialog");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), "Section State");
    auto* list = child<QComboBox>(d, "CombList");
    EXPECT_EQ(list->count(), 42);
    EXPECT_EQ(list->currentIndex() + 1, f.w.model().results.CRITICAL_COMB);
    EXPECT_TRUE(list->currentText().endsWith("(critical)"));

    child<QPushButton>(d, "ShowButton")->click();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("\n").toStdString();
    ASSERT_TRUE(d->state().has_value());
    // With the check's minimum magnitudes the state's load fraction is the check's.
    const TFORCE& crit =
        f.w.model().document.FORCE[static_cast<std::size_t>(f.w.model().results.CRITICAL_COMB)];
    EXPECT_NEAR(d->state()->solve.loadFraction, crit.LOAD_FRACTION, 1e-9);
    EXPECT_GT(colouredPixels(d->picture(), true), 1000);  // compressed concrete and bars
    EXPECT_GT(colouredPixels(d->picture(), false), 50);   // bars in tension
    saveScreenshot(d, "section_state_dialog.png");

    f.prompts.savePath = f.dir.filePath("state.png");
    child<QPushButton>(d, "SaveImageButton")->click();
    EXPECT_TRUE(QImage(f.prompts.savePath).size() == d->picture().size());
    f.prompts.savePath = f.dir.filePath("state.csv");
    child<QPushButton>(d, "ExportCsvButton")->click();
    const auto lines = readTextLines(f.prompts.savePath.toStdString());
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(f.w.model().mesh.NFIB) + 1);
    // The summary and the CSV say which state it is.
    auto* summary = child<QPlainTextEdit>(d, "Summary");
    EXPECT_TRUE(summary->toPlainText().startsWith("State at capacity: "))
        << summary->toPlainText().toStdString();
    EXPECT_TRUE(lines.back().ends_with(",capacity")) << lines.back();

    // A typed load; a zero one is refused with a message and the last state stays.
    child<QRadioButton>(d, "LoadRadio")->setChecked(true);
    child<QLineEdit>(d, "LoadP")->setText("0");
    child<QLineEdit>(d, "LoadMx")->setText("0");
    child<QLineEdit>(d, "LoadMy")->setText("0");
    child<QPushButton>(d, "ShowButton")->click();
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_TRUE(f.prompts.errors[0].contains("The load is zero"));
    EXPECT_NEAR(d->state()->solve.loadFraction, crit.LOAD_FRACTION, 1e-9);

    // The state under the load itself; a load beyond the capacity has none.
    child<QComboBox>(d, "StateAtList")->setCurrentIndex(1);
    child<QLineEdit>(d, "LoadP")->setText("-2000");
    child<QLineEdit>(d, "LoadMy")->setText("300");
    child<QPushButton>(d, "ShowButton")->click();
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(d->state()->at, StateAt::Load);
    EXPECT_NEAR(d->state()->forces.total().N, 2000e3, 1e-3);
    EXPECT_TRUE(summary->toPlainText().startsWith("State at the load"))
        << summary->toPlainText().toStdString();
    child<QLineEdit>(d, "LoadP")->setText("-200000");
    child<QPushButton>(d, "ShowButton")->click();
    ASSERT_EQ(f.prompts.errors.size(), 2);
    EXPECT_TRUE(f.prompts.errors[1].contains("exceeds the section's capacity"))
        << f.prompts.errors[1].toStdString();

    // The mesh goes: so does the state on show.
    f.w.commands().run(cmd::DeleteMesh);
    EXPECT_FALSE(d->state().has_value());
    EXPECT_EQ(colouredPixels(d->picture(), true), 0);
}

TEST(SectionStateDialog, KeyPointsMarkTheChartOnlyWhenChecked) {
    Fixture f;
    f.w.commands().run(cmd::Analysis);
    auto* a = f.w.findChild<AnalysisDialog*>("AnalysisDialog");
    ASSERT_NE(a, nullptr);
    auto* keys = child<QCheckBox>(a, "CheckBox3");
    EXPECT_EQ(keys->text(), "Key Points");
    EXPECT_FALSE(keys->isChecked());
    a->runPm();
    const QImage plain = a->picture().copy();
    keys->setChecked(true);
    const std::vector<std::string> plainText = memoLines(child<QPlainTextEdit>(a, "Memo1"));
    a->runPm();
    const QImage marked = a->picture().copy();
    // The text gains the key-point table after the unchanged listing.
    std::vector<std::string> keyed = plainText;
    NullMessages quiet;
    for (const std::string& l : keyPointsText(PM_KEY_POINTS(f.w.model(), 0, quiet), 0))
        keyed.push_back(l);
    EXPECT_EQ(memoLines(child<QPlainTextEdit>(a, "Memo1")), keyed);
    saveScreenshot(a, "analysis_key_points.png");
    keys->setChecked(false);
    a->runPm();
    EXPECT_TRUE(a->picture() == plain) << "unchecked, the chart is the one without markers";
    EXPECT_FALSE(marked == plain);
    // The dialog's button opens the state dialog.
    child<QPushButton>(a, "ButtonState")->click();
    auto* d = f.w.findChild<SectionStateDialog*>("SectionStateDialog");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
}
