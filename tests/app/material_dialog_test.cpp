// The material dialog says once, when a new ES is applied, that the steel law does not use it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "app/command_map.h"
#include "app/main_window.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

TEST(MaterialDialog, SaysOnceThatAnotherSteelModulusIsNotUsed) {
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    w.commands().run(cmd::MaterialSetting);
    auto* d = child<QDialog>(&w, "MaterialDialog");
    auto* type = child<QComboBox>(d, "ComboBox1");
    type->setCurrentIndex(1);
    emit type->activated(1);
    child<QLineEdit>(d, "Edit2")->setText("210000");
    button(d, "Modify")->click();
    EXPECT_EQ(prompts.informations,
              QStringList{QString::fromUtf8("ES of STEEL1 (210000) is not used: the steel law takes Es = 200000 N/mm\u00b2.")});
    child<QLineEdit>(d, "Edit3")->setText("460");
    button(d, "Modify")->click();
    EXPECT_EQ(prompts.informations.size(), 1) << "not again while ES stays as it was";
    EXPECT_EQ(w.model().STEEL_MAT[1].ES, 210000);
    EXPECT_TRUE(prompts.errors.isEmpty());
}
