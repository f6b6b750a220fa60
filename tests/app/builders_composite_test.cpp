#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/builders/composite_section_dialog.h"

using namespace qav;

namespace {
void saveScreenshot(QWidget& w, const char* file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + file);
}
}  // namespace

TEST(CompositeSectionDialog, TypeChangeShowsItsBoxesAndReadsThem) {
    SectionModel model;
    CompositeSectionDialog d(model);
    QStringList errors;
    QObject::connect(&d, &CompositeSectionDialog::errorOccurred,
                     [&](const QString& m) { errors << m; });
    d.show();
    EXPECT_EQ(d.windowTitle(), "Build Composite Section");
    EXPECT_FALSE(d.parameters().read) << "nothing is read before Input Data";
    auto* combo = d.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(combo->count(), 10);
    EXPECT_EQ(combo->itemText(9), "Cir SRC w/ Tueb");
    struct Case {
        int type;
        bool steel1, steel2, width, height, web;
    };
    const Case cases[] = {
        {1, false, false, true, true, true},   {3, true, true, true, true, true},
        {5, true, false, true, true, true},    {6, true, false, false, false, true},
        {7, true, false, false, false, false}, {8, true, false, true, false, false}};
    for (const Case& c : cases) {
        combo->setCurrentIndex(c.type);
        EXPECT_EQ(d.parameters().TYPE, c.type);
        EXPECT_EQ(!d.findChild<QGroupBox*>("GroupBoxSteel1")->isHidden(), c.steel1) << c.type;
        EXPECT_EQ(!d.findChild<QGroupBox*>("GroupBoxSteel2")->isHidden(), c.steel2) << c.type;
        EXPECT_EQ(!d.findChild<QLineEdit*>("Edit9")->isHidden(), c.width) << c.type;
        EXPECT_EQ(!d.findChild<QLineEdit*>("Edit10")->isHidden(), c.height) << c.type;
        EXPECT_EQ(!d.findChild<QLineEdit*>("Edit12")->isHidden(), c.web) << c.type;
    }
    EXPECT_EQ(errors.size(), 0);
}

TEST(CompositeSectionDialog, GenSectionUsesTheLastInputData) {
    SectionModel model;
    CompositeSectionDialog d(model);
    int changed = 0;
    QObject::connect(&d, &CompositeSectionDialog::sectionChanged, [&] { ++changed; });
    QStringList errors;
    QObject::connect(&d, &CompositeSectionDialog::errorOccurred,
                     [&](const QString& m) { errors << m; });
    d.show();
    d.findChild<QPushButton*>("Button2")->click();
    ASSERT_EQ(errors.size(), 1) << "nothing read yet";
    EXPECT_EQ(model.document.NCONC_PT, 0);

    d.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(3);
    saveScreenshot(d, "composite_builder.png");
    const QImage preview = d.findChild<QLabel*>("Image1")->pixmap().toImage();
    ASSERT_EQ(preview.size(), QSize(607, 500));
    int blue = 0;
    for (int y = 0; y < preview.height(); ++y) {
        blue += preview.pixelColor(303, y) == QColor(0, 0, 255);
    }
    EXPECT_GE(blue, 4) << "flanges of section 1 and the web of section 2 cross the middle column";

    d.findChild<QLineEdit*>("Edit4")->setText("6");  // typed, but no Input Data
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(model.document.NBAR, 20) << "the old bar number is used";
    ASSERT_EQ(model.document.NSTEEL_SEC, 1);
    EXPECT_EQ(model.document.STEEL_SEC[1].NPOINT, 28);
    EXPECT_TRUE(d.isHidden());

    d.show();
    d.findChild<QPushButton*>("Button3")->click();
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(model.document.NBAR, 2 * 6 + 2 * 4 + 4);

    d.show();
    d.findChild<QLineEdit*>("Edit2")->setText("8OO");
    d.findChild<QPushButton*>("Button3")->click();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.at(1), "Sec Height: '8OO' is not a valid floating point value");
    EXPECT_DOUBLE_EQ(d.parameters().SW, 1000) << "read before the bad box";
}
