// General Setting's design code, strain limit and code choices, and the load dialog's minimum
// eccentricity: what they do to the section and the settings, through the command boundary.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSettings>
#include <QTableWidget>

#include "app/analysis/analysis_dialog.h"
#include "app/command_map.h"
#include "app/main_window.h"
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
    // Shows "General Setting ", sets the code and one choice box, presses "Okay".
    void choose(CodeId code, const char* box = "TiesBox", int index = 0) {
        w.commands().run(cmd::GeneralSetting);
        general = child<QDialog>(&w, "GeneralSettingDialog");
        child<QComboBox>(general, "ComboBox1")->setCurrentIndex(static_cast<int>(code));
        child<QComboBox>(general, box)->setCurrentIndex(index);
        button(general, "Okay")->click();
        EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    }
};

// A picture to look at, saved only when QAVSEC_SCREENSHOT_DIR is set.
void shoot(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}

}  // namespace

TEST(DesignCode, ChoosingACodeConvertsTheSectionItsGradeListsAndBack) {
    Fixture f;
    SectionModel& m = f.w.model();
    QComboBox* concrete = f.w.sidePanel()->ComboBox2;
    const QString ownFirst = concrete->itemText(0);
    f.choose(CodeId::Ec2, "AlphaCcBox", 1);
    EXPECT_EQ(sectionCode(m), CodeId::Ec2);
    EXPECT_EQ(concrete->itemText(0), "C12/15");
    EXPECT_EQ(concrete->count(), m.document.NCONCMAT);
    const TMAT& c = m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC) + 1];
    EXPECT_EQ(concrete->currentText().toStdString(), c.NAME);
    EXPECT_NEAR(c.FC, 0.85 * c.FCU / EC2_GAMMA_C, 1e-9) << "fcd follows alpha_cc";
    EXPECT_EQ(f.prompts.informations.size(), 1) << "the grades chosen, in one message";

    f.choose(CodeId::Aci318, "TiesBox", 1);
    EXPECT_EQ(concrete->itemText(0), "FC20");
    EXPECT_EQ(m.document.TIES, Ties::Spiral);
    f.w.commands().run(cmd::GeneralSetting);
    EXPECT_EQ(child<QComboBox>(f.general, "ComboBox1")->currentIndex(), 3) << "the section's";
    EXPECT_FALSE(child<QComboBox>(f.general, "AlphaCcBox")->isEnabled());
    shoot(f.general->grab().toImage(), "general_setting_codes.png");
    f.w.commands().run(cmd::Mesh);
    f.w.commands().run(cmd::Analysis);
    auto* analysis = child<AnalysisDialog>(&f.w, "AnalysisDialog");
    analysis->runPm();
    shoot(analysis->picture(), "aci_pm_chart.png");

    f.choose(CodeId::Bs8110);
    EXPECT_EQ(sectionCode(m), CodeId::Bs8110);
    EXPECT_EQ(concrete->itemText(0), ownFirst) << "the program's own lists again";
}

TEST(DesignCode, StrainLimitAndMinimumEccentricityAreKeptAndMarkRaisedLoads) {
    Fixture f;
    SectionModel& m = f.w.model();
    EXPECT_EQ(m.settings.STRAIN_LIMIT, StrainLimit::Control) << "the default";
    f.choose(CodeId::HkCop2013, "StrainLimitBox", 1);
    EXPECT_EQ(m.settings.STRAIN_LIMIT, StrainLimit::Code);
    f.w.commands().run(cmd::Loading);
    auto* load = child<QDialog>(&f.w, "LoadDialog");
    child<QCheckBox>(load, "MinEccBox")->setChecked(true);
    EXPECT_TRUE(m.settings.CODE_MIN_ECC);
    {
        Fixture g;  // a new window starts with both
        EXPECT_EQ(g.w.model().settings.STRAIN_LIMIT, StrainLimit::Code);
        EXPECT_TRUE(g.w.model().settings.CODE_MIN_ECC);
    }
    // The check marks the combination the code's minimum raised (a small moment).
    m.document.FORCE = {TFORCE{}, TFORCE{-3000, 1, 0, "SMALL", 0},
                        TFORCE{-3000, 900, 900, "BIG", 0}};
    m.document.NFORCE = 2;
    f.w.commands().run(cmd::Mesh);
    button(load, "Check Member")->click();
    auto* table = child<QTableWidget>(load, "StringGrid1");
    EXPECT_FALSE(table->item(1, 1)->toolTip().isEmpty());
    EXPECT_TRUE(table->item(2, 1)->toolTip().isEmpty());
    shoot(load->grab().toImage(), "load_dialog_min_ecc.png");
    QSettings().remove("analysis/strainLimit");  // later tests start from the defaults
    QSettings().remove("check/codeMinEccentricity");
}
