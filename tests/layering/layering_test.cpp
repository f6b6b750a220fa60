// The layers of the program: the core builds without Qt, the render library needs QtGui only,
// and nothing reaches up into a layer above it (the command line never into the application).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::set<std::string> kCore{"canvas", "model",    "view",    "builders",
                                  "mesh",   "analysis", "reports", "interchange"};

struct Layer {
    const char* name;
    std::set<std::string> folders;
    std::set<std::string> mayNotInclude;  // folders of src/
    bool qtAllowed;
    bool widgetsAllowed;
};

const std::regex kQtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)[^>"]*[>"])");
// Headers of the Qt modules above QtGui (widgets, printing, OpenGL widgets).
const std::regex kWidgetInclude(
    R"(^\s*#\s*include\s*[<"](QtWidgets/|QtPrintSupport/|QtOpenGLWidgets/|Q(Widget|Application|Dialog|MainWindow|Printer|PrintDialog|OpenGLWidget|MessageBox|Label|LineEdit|PushButton|Layout|[HVG]BoxLayout)\b))");
const std::regex kProjectInclude(R"(^\s*#\s*include\s*"([a-z_]+)/)");

// Every violation in the sources of one layer, as "file:line: text"; the file count in files.
std::vector<std::string> violations(const Layer& layer, int& files) {
    const fs::path src = fs::path(QAVSEC_SOURCE_DIR) / "src";
    std::vector<std::string> found;
    files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path rel = fs::relative(entry.path(), src);
        if (layer.folders.count(rel.begin()->string()) == 0) continue;
        const auto ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            const std::string at = rel.string() + ":" + std::to_string(n) + ": " + line;
            std::smatch match;
            if (!layer.qtAllowed && std::regex_search(line, kQtInclude)) found.push_back(at);
            if (!layer.widgetsAllowed && std::regex_search(line, kWidgetInclude))
                found.push_back(at);
            if (std::regex_search(line, match, kProjectInclude) &&
                layer.mayNotInclude.count(match[1].str()) != 0)
                found.push_back(at);
        }
    }
    return found;
}

}  // namespace

TEST(Layering, EachLayerIncludesOnlyWhatItMay) {
    const Layer layers[] = {
        {"core", kCore, {"app", "cli", "render"}, false, false},
        {"render", {"render"}, {"app", "cli"}, true, false},
        {"cli", {"cli"}, {"app"}, true, false},
        {"app", {"app"}, {"cli"}, true, true},
    };
    for (const Layer& layer : layers) {
        int files = 0;
        for (const std::string& v : violations(layer, files))
            ADD_FAILURE() << layer.name << ": " << v;
        EXPECT_GT(files, 0) << layer.name;
    }
}

TEST(Layering, TheRulesCatchWhatTheyForbid) {
    struct Case {
        const char* line;
        bool qt, widget;
        std::string project;
    };
    const Case cases[] = {
        {"#include <QPainter>", true, false, ""},
        {"#include <QWidget>", true, true, ""},
        {"#  include <QtWidgets/QLabel>", true, true, ""},
        {"#include <QPrinter>", true, true, ""},
        {"#include \"app/qt_canvas.h\"", false, false, "app"},
        {"#include \"render/qt_canvas.h\"", false, false, "render"},
        {"#include <vector>", false, false, ""},
    };
    for (const Case& c : cases) {
        const std::string line = c.line;
        std::smatch match;
        EXPECT_EQ(std::regex_search(line, kQtInclude), c.qt) << c.line;
        EXPECT_EQ(std::regex_search(line, kWidgetInclude), c.widget) << c.line;
        EXPECT_EQ(std::regex_search(line, match, kProjectInclude) ? match[1].str() : "", c.project)
            << c.line;
    }
}
