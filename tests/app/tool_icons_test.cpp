// Tool button pictures are keyed by command name: every tool bar command has a picture of its
// own, and a button shows the picture of the command it runs, wherever it stands on the bar.
#include "app/tool_icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QToolButton>

#include "app/command_map.h"
#include "app/main_window.h"

using namespace qav;

namespace {

QImage picture(const QIcon& icon) {
    return icon.pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return false;
    return true;
}

}  // namespace

TEST(ToolIcons, EveryToolBarCommandHasAPictureOfItsOwn) {
    const char* commands[] = {cmd::New,
                              cmd::Open,
                              cmd::Save,
                              cmd::XtractExport,
                              cmd::BuildComposite,
                              cmd::GeneralSetting,
                              cmd::MaterialSetting,
                              cmd::PrinterSetting,
                              cmd::MoveView,
                              cmd::Fit,
                              cmd::ZoomIn,
                              cmd::ZoomOut,
                              cmd::Redraw,
                              cmd::DisplaySetting,
                              cmd::BuildTypical,
                              cmd::BuildSteel,
                              cmd::Mesh,
                              cmd::BuildOpening,
                              cmd::DeleteSection,
                              cmd::DeleteSteel,
                              cmd::DeleteMesh,
                              cmd::CadImport,
                              cmd::DxfExport,
                              cmd::DxfImport,
                              cmd::OpenSees,
                              cmd::Analysis,
                              cmd::MPhi,
                              cmd::PmmSurface,
                              cmd::Loading,
                              cmd::Table,
                              cmd::SelectRebars,
                              cmd::AddSingleRebar,
                              cmd::AddAlongLine,
                              cmd::AssignRebar,
                              cmd::DeleteRebars,
                              cmd::MoveRebars,
                              cmd::AlignX,
                              cmd::AlignY,
                              cmd::AlignDir};
    std::vector<QImage> seen;
    for (const char* c : commands) {
        const QImage image = picture(toolIcon(c));
        EXPECT_FALSE(blank(image)) << c;
        for (std::size_t i = 0; i < seen.size(); ++i)
            EXPECT_NE(image, seen[i]) << c << " looks like " << commands[i];
        seen.push_back(image);
    }
    EXPECT_TRUE(blank(picture(toolIcon(cmd::About))))
        << "a command off the tool bar has no picture";
}

TEST(ToolIcons, AButtonShowsThePictureOfTheCommandItRuns) {
    MainWindow w;
    struct Case {
        const char* button;
        const char* command;
    };
    const Case cases[] = {{"ToolButton1", cmd::New},
                          {"ToolButton15", cmd::BuildTypical},
                          {"ToolButton17", cmd::Mesh},
                          {"ToolButton22", cmd::CadImport},
                          {"ToolButton39", cmd::AlignDir}};
    for (const Case& c : cases) {
        auto* b = w.findChild<QToolButton*>(c.button);
        ASSERT_NE(b, nullptr) << c.button;
        EXPECT_EQ(picture(b->icon()), picture(toolIcon(c.command))) << c.button;
    }
}
