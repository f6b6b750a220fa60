// The mesh command's progress in the window: it moves from 0 to 100, and "Cancel" leaves the
// section, its mesh and the window's counts as they were.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "app/analysis/analysis_widgets.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "app/side_panel.h"
#include "model/feedback.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {
struct Recorder : Progress {
    std::vector<int>* positions;
    std::size_t cancelAfter;
    Recorder(std::vector<int>* p, std::size_t after) : positions(p), cancelAfter(after) {}
    void setPosition(int p) override { positions->push_back(p); }
    bool cancelled() const override { return positions->size() >= cancelAfter; }
};
}  // namespace

TEST(MeshProgress, MovesToTheEndAndACancelLeavesTheMesh) {
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    SectionModel& m = w.model();
    w.commands().run(cmd::BuildTypical);
    button(child<QDialog>(&w, "TForm2"), "Gen Section")->click();
    auto* source = dynamic_cast<ProgressSource*>(w.findChild<QObject*>("MeshCommand"));
    ASSERT_NE(source, nullptr);
    std::vector<int> positions;
    QStringList labels;
    std::size_t cancelAfter = SIZE_MAX;
    source->setProgressMaker(
        [&](QWidget* parent, const QString& label) -> std::unique_ptr<Progress> {
            EXPECT_EQ(parent, &w);
            labels << label;
            return std::make_unique<Recorder>(&positions, cancelAfter);
        });
    w.commands().run(cmd::Mesh);
    EXPECT_EQ(labels, QStringList{"Meshing the section ..."});
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.front(), 0);
    EXPECT_EQ(positions.back(), 100);
    ASSERT_EQ(m.mesh.NFIB, 214);
    const SectionModel meshed = m;

    for (std::size_t after : {1u, 3u, 20u}) {
        positions.clear();
        cancelAfter = after;
        w.commands().run(cmd::Mesh);
        EXPECT_TRUE(prompts.errors.isEmpty()) << after << ": a cancel is not an error";
        EXPECT_EQ(m.mesh.NFIB, 214) << after;
        EXPECT_EQ(m.mesh.MESH_STAMP, meshed.mesh.MESH_STAMP) << after;
        EXPECT_EQ(m.mesh.NSHELL, meshed.mesh.NSHELL) << after;
        EXPECT_EQ(m.mesh.FIB.size(), meshed.mesh.FIB.size()) << after;
        EXPECT_EQ(w.sidePanel()->Edit2->text(), "800000") << after;
    }
    source->setProgressMaker({});

    // The real progress: the run ends with its dialog gone.
    w.commands().run(cmd::Mesh);
    EXPECT_EQ(w.findChild<QWidget*>("RunProgress"), nullptr);
    EXPECT_EQ(m.mesh.NFIB, 214);
}
