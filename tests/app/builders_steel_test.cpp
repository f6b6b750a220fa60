#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/builders/steel_section_dialog.h"

using namespace qav;

TEST(SteelSectionDialog, BuildsTheChosenShapeBesideTheConcrete) {
    SectionModel model;
    model.document.NCONC_PT = 4;
    model.document.CONC_PT = {{-500, -500}, {500, -500}, {500, 500}, {-500, 500}, {-500, -500}};
    SteelSectionDialog d(model);
    int changed = 0;
    QObject::connect(&d, &SteelSectionDialog::sectionChanged, [&] { ++changed; });
    QStringList errors;
    QObject::connect(&d, &SteelSectionDialog::errorOccurred,
                     [&](const QString& m) { errors << m; });
    d.show();
    EXPECT_EQ(d.windowTitle(), "Build Steel Section");
    auto* combo = d.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(combo->count(), 10);
    if (!qgetenv("QAVSEC_SCREENSHOT_DIR").isEmpty())
        for (int i = 0; i < combo->count(); ++i) {
            combo->setCurrentIndex(i);
            d.findChild<QLabel*>("Image1")->pixmap().save(
                qgetenv("QAVSEC_SCREENSHOT_DIR") +
                QString("/steel_shape_%1.png").arg(i, 2, 10, QChar('0')));
        }
    combo->setCurrentIndex(8);
    EXPECT_EQ(d.findChild<QLabel*>("KLabel2")->text(), "Thick(T)");
    EXPECT_EQ(d.findChild<QLineEdit*>("KEdit1")->text(), "1000");
    EXPECT_TRUE(d.findChild<QLineEdit*>("KEdit3")->isHidden());

    d.findChild<QLineEdit*>("KEdit2")->setText("600");
    d.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(model.document.NSTEEL_SEC, 0);

    d.findChild<QLineEdit*>("KEdit2")->setText("40");
    d.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(changed, 1);
    ASSERT_EQ(model.document.NSTEEL_SEC, 1);
    EXPECT_EQ(model.document.STEEL_SEC[1].NPOINT, 50);
    EXPECT_EQ(model.document.NCONC_PT, 4) << "the concrete stays";
    EXPECT_TRUE(d.isHidden());

    d.show();
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_TRUE(d.isHidden()) << "Close closes";
}
