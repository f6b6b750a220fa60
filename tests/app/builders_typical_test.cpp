#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/builders/typical_section_dialog.h"

using namespace qav;

namespace {
QLineEdit* edit(QWidget& d, const char* name) {
    auto* e = d.findChild<QLineEdit*>(name);
    EXPECT_NE(e, nullptr) << name;
    return e;
}
bool shown(QWidget& d, const char* name) {
    auto* w = d.findChild<QWidget*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w && !w->isHidden();
}
QString label(QWidget& d, const char* name) {
    return d.findChild<QLabel*>(name)->text();
}

// Saved only when asked for, to look at the dialog as a user would.
void saveScreenshot(QWidget& w, const char* file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + file);
}
}  // namespace

TEST(TypicalSectionDialog, ShapeChangeSetsRowsCaptionsAndVisibility) {
    SectionModel model;
    TypicalSectionDialog d(model);
    d.show();
    EXPECT_EQ(d.windowTitle(), "Build Typical Section");
    auto* combo = d.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(combo->count(), 15);
    EXPECT_EQ(combo->itemText(1), "Rectangel Beam");
    EXPECT_EQ(edit(d, "KEdit1")->text(), "800");
    EXPECT_EQ(edit(d, "KEdit2")->text(), "1000");
    EXPECT_EQ(label(d, "KLabel2"), "Section Dim H");
    EXPECT_FALSE(shown(d, "KEdit3"));
    EXPECT_EQ(label(d, "Label5"), "X-Dir Rebar");
    saveScreenshot(d, "typical_builder.png");

    struct Case {
        int shape;
        int rows;
        bool bars;
        const char* label1;
    };
    const Case cases[] = {{2, 1, true, "Section Dia D(mm)"}, {3, 4, false, "Overall depth(D)"},
                          {9, 6, false, "Overall depth(D)"}, {12, 7, false, "Overall depth(D)"},
                          {14, 4, false, "Depth(D)"},        {1, 2, true, "Section Dim B"}};
    for (const Case& c : cases) {
        combo->setCurrentIndex(c.shape);
        for (int i = 1; i <= 7; ++i) {
            const std::string n = "KEdit" + std::to_string(i);
            EXPECT_EQ(shown(d, n.c_str()), i <= c.rows) << c.shape << " " << n;
            if (i > c.rows) {
                EXPECT_EQ(edit(d, n.c_str())->text(), "0") << c.shape << " " << n;
            }
        }
        EXPECT_EQ(shown(d, "GroupBox2"), c.bars) << c.shape;
        EXPECT_EQ(label(d, "KLabel1"), c.label1) << c.shape;
    }
    if (!qgetenv("QAVSEC_SCREENSHOT_DIR").isEmpty())
        for (int i = 0; i < combo->count(); ++i) {
            combo->setCurrentIndex(i);
            d.findChild<QLabel*>("Image1")->pixmap().save(
                qgetenv("QAVSEC_SCREENSHOT_DIR") +
                QString("/typical_shape_%1.png").arg(i, 2, 10, QChar('0')));
        }
    combo->setCurrentIndex(2);
    EXPECT_EQ(edit(d, "Edit5")->text(), "12");
    EXPECT_FALSE(shown(d, "Edit7"));
    EXPECT_TRUE(shown(d, "Edit10")) << "stays visible though it has no effect";
    EXPECT_EQ(label(d, "Label6"), "");
    auto* pic = d.findChild<QLabel*>("Image1");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->pixmap().size(), QSize(222, 172));
}

TEST(TypicalSectionDialog, GenSectionReplacesTheModelAndReportsErrors) {
    SectionModel model;
    TypicalSectionDialog d(model);
    int changed = 0;
    QObject::connect(&d, &TypicalSectionDialog::sectionChanged, [&] { ++changed; });
    QStringList errors;
    QObject::connect(&d, &TypicalSectionDialog::errorOccurred,
                     [&](const QString& m) { errors << m; });
    d.show();
    d.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(8);
    d.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(errors.size(), 0);
    EXPECT_EQ(model.document.NCONC_PT, 24);
    EXPECT_EQ(model.document.NCOVER_PT, 12);
    EXPECT_EQ(model.document.NBAR, 12);
    EXPECT_TRUE(d.isHidden()) << "the dialog closes after a build";

    d.show();
    d.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
    edit(d, "KEdit2")->setText("-1000");
    d.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0), "Section Dim H must be greater than 0 (it is -1000).");
    EXPECT_EQ(model.document.NCONC_PT, 24) << "a refused value leaves the model";
    EXPECT_FALSE(d.isHidden());

    edit(d, "KEdit2")->setText("1000");
    edit(d, "Edit6")->setText("2 5");
    d.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.at(1), "X-Dir Rebar Diameter: '2 5' is not a valid floating point value");
    EXPECT_EQ(model.document.NCONC_PT, 24) << "a typo leaves the model as well";
    EXPECT_EQ(changed, 1) << "so the view is not told";

    edit(d, "Edit6")->setText("25");
    d.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(model.document.NBAR, 12);
    EXPECT_EQ(model.document.NCONC_PT, 8);
}
