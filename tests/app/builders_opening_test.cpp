#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/builders/opening_dialog.h"

using namespace qav;

TEST(OpeningDialog, BuildsAndReplacesTheOpening) {
    SectionModel model;
    OpeningDialog d(model);
    int changed = 0;
    QObject::connect(&d, &OpeningDialog::sectionChanged, [&] { ++changed; });
    QStringList errors;
    QObject::connect(&d, &OpeningDialog::errorOccurred, [&](const QString& m) { errors << m; });
    d.show();
    EXPECT_EQ(d.windowTitle(), "Build Section Openning");
    EXPECT_EQ(d.findChild<QLabel*>("KLabel1")->text(), "Section Dim B");
    EXPECT_EQ(d.findChild<QPushButton*>("Button1")->text(), "Gen Section Opening");
    d.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(model.document.NOPEN_SEC, 1);
    EXPECT_EQ(model.document.OPEN_SEC[1].NPOINT, 8);
    EXPECT_DOUBLE_EQ(model.document.OPEN_SEC[1].PT[0].X, -200);

    d.show();
    auto* combo = d.findChild<QComboBox*>("ComboBox1");
    combo->setCurrentIndex(1);
    EXPECT_EQ(d.findChild<QLabel*>("KLabel1")->text(), "Section Dim D");
    EXPECT_TRUE(d.findChild<QLineEdit*>("KEdit2")->isHidden());
    EXPECT_TRUE(d.findChild<QLabel*>("KLabel2")->isHidden());
    EXPECT_EQ(d.findChild<QLineEdit*>("KEdit1")->text(), "300") << "texts stay on a shape change";
    d.findChild<QLineEdit*>("KEdit4")->setText("y");
    d.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0), "Location Y(mm): 'y' is not a valid floating point value");
    EXPECT_EQ(model.document.OPEN_SEC[1].NPOINT, 8);
    d.findChild<QLineEdit*>("KEdit4")->setText("0");
    d.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(model.document.NOPEN_SEC, 1);
    EXPECT_EQ(model.document.OPEN_SEC[1].NPOINT, 24);
    EXPECT_EQ(changed, 2);
}
