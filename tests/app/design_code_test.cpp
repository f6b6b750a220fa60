// General Setting's design code, strain limit and code choices, and the load dialog's minimum
// eccentricity: what they do to the section and the settings, through the command boundary.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPrinter>
#include <QSettings>
#include <QTableWidget>

#include "app/analysis/analysis_dialog.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "app/printing.h"
#include "app/side_panel.h"
#include "model/code_grades.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    QDialog* general = nullptr;
    Fixture() {
        w.setPrompts(&prompts);
        w.openSection(QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec"));
    }
    // Shows "General Setting ", sets the code (and a choice box when given), presses "Okay".
    void choose(CodeId code, const char* box = nullptr, int index = 0) {
        w.commands().run(cmd::GeneralSetting);
        general = child<QDialog>(&w, "GeneralSettingDialog");
        child<QComboBox>(general, "ComboBox1")->setCurrentIndex(static_cast<int>(code));
        if (box) child<QComboBox>(general, box)->setCurrentIndex(index);
        button(general, "Okay")->click();
    }
    QStringList items(QComboBox* c) const {
        QStringList out;
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
};

// Saves a picture for the user guide and the review when QAVSEC_SCREENSHOT_DIR is set.
void shoot(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

// Puts the program's settings back, so later tests start from the defaults.
struct SettingsReset {
    ~SettingsReset() {
        QSettings s;
        s.remove("analysis/strainLimit");
        s.remove("check/codeMinEccentricity");
    }
};

}  // namespace

TEST(DesignCode, ChoosingACodeConvertsTheSectionAndItsGradeLists) {
    Fixture f;
    SectionModel& m = f.w.model();
    SidePanel* side = f.w.sidePanel();
    const QStringList ownConcrete = f.items(side->ComboBox2);
    struct Case {
        CodeId code;
        const char* firstConcrete;
    };
    for (const Case& c : {Case{CodeId::Ec2, "C12/15"}, Case{CodeId::Aci318, "FC20"}}) {
        f.prompts.informations.clear();
        f.choose(c.code);
        ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
        EXPECT_EQ(m.document.CODE, c.code);
        EXPECT_EQ(sectionCode(m), c.code);
        EXPECT_EQ(side->ComboBox2->itemText(0), c.firstConcrete);
        EXPECT_EQ(side->ComboBox2->count(), m.document.NCONCMAT);
        EXPECT_EQ(side->ComboBox2->currentText().toStdString(),
                  m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC) + 1].NAME);
        EXPECT_EQ(f.prompts.informations.size(), 1) << "the grades chosen, in one message";
    }
    // Back to the program's own code: its own lists, and the label follows the setting.
    f.choose(CodeId::Bs8110);
    EXPECT_FALSE(codeHasOwnTables(m.document.CODE));
    EXPECT_EQ(sectionCode(m), CodeId::Bs8110);
    EXPECT_EQ(f.items(side->ComboBox2), ownConcrete);
    EXPECT_EQ(m.settings.DESIGN_CODE, 1);
}

TEST(DesignCode, AlphaCcAndTiesBelongToTheSection) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.choose(CodeId::Ec2, "AlphaCcBox", 1);
    EXPECT_EQ(m.document.ALPHA_CC, 0.85);
    const TMAT& conc = m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC) + 1];
    EXPECT_NEAR(conc.FC, 0.85 * conc.FCU / EC2_GAMMA_C, 1e-9) << "fcd follows alpha_cc";
    f.choose(CodeId::Aci318, "TiesBox", 1);
    EXPECT_EQ(m.document.TIES, Ties::Spiral);
    // Shown again, the dialog shows the section's code and choices, not the last ones typed.
    f.w.commands().run(cmd::GeneralSetting);
    EXPECT_EQ(child<QComboBox>(f.general, "ComboBox1")->currentIndex(),
              static_cast<int>(CodeId::Aci318));
    EXPECT_EQ(child<QComboBox>(f.general, "TiesBox")->currentIndex(), 1);
    EXPECT_TRUE(child<QComboBox>(f.general, "TiesBox")->isEnabled());
    EXPECT_FALSE(child<QComboBox>(f.general, "AlphaCcBox")->isEnabled());
    shoot(f.general->grab().toImage(), "general_setting_codes.png");

    // The P-M curve of the section under ACI 318-19, as the analysis dialog shows it.
    auto* a = f.w.findChild<AnalysisDialog*>("AnalysisDialog");
    if (!a) {
        f.w.commands().run(cmd::Analysis);
        a = child<AnalysisDialog>(&f.w, "AnalysisDialog");
    }
    f.w.commands().run(cmd::Mesh);
    a->runPm();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    shoot(a->picture(), "aci_pm_chart.png");

    // The printed figure report of the ACI 318-19 section, kept when pictures are asked for.
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    const QString pdf = QString::fromUtf8(dir) + "/aci_figure_report.pdf";
    setPrinterChooser([pdf](QPrinter& printer, QWidget*) {
        const auto orientation = printer.pageLayout().orientation();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(orientation);
        return true;
    });
    button(a, "Print PMM Report(Fig)")->click();
    setPrinterChooser({});
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
}

TEST(DesignCode, StrainLimitAndMinimumEccentricityAreProgramSettings) {
    const SettingsReset reset;
    Fixture f;
    EXPECT_EQ(f.w.model().settings.STRAIN_LIMIT, StrainLimit::Control) << "the default";
    f.choose(CodeId::HkCop2013, "StrainLimitBox", 1);
    EXPECT_EQ(f.w.model().settings.STRAIN_LIMIT, StrainLimit::Code);
    EXPECT_EQ(f.w.model().document.CODE, CodeId::HkCop2013) << "the section is not converted";

    f.w.commands().run(cmd::Loading);
    auto* load = child<QDialog>(&f.w, "LoadDialog");
    auto* ecc = child<QCheckBox>(load, "MinEccBox");
    EXPECT_FALSE(ecc->isChecked());
    ecc->setChecked(true);
    EXPECT_TRUE(f.w.model().settings.CODE_MIN_ECC);
    // A check marks the combinations the code's minimum raised (a small moment here).
    SectionModel& m = f.w.model();
    m.document.FORCE = {TFORCE{}, TFORCE{-3000, 1, 0, "SMALL", 0},
                        TFORCE{-3000, 900, 900, "BIG", 0}};
    m.document.NFORCE = 2;
    f.w.commands().run(cmd::Mesh);
    button(load, "Check Member")->click();
    auto* table = child<QTableWidget>(load, "StringGrid1");
    EXPECT_FALSE(table->item(1, 1)->toolTip().isEmpty()) << "raised";
    EXPECT_TRUE(table->item(2, 1)->toolTip().isEmpty()) << "above the minimum";
    shoot(load->grab().toImage(), "load_dialog_min_ecc.png");

    // A new window starts with both.
    Fixture g;
    EXPECT_EQ(g.w.model().settings.STRAIN_LIMIT, StrainLimit::Code);
    EXPECT_TRUE(g.w.model().settings.CODE_MIN_ECC);
}
