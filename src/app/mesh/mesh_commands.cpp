#include "app/mesh/mesh_commands.h"

#include <QObject>

#include "app/analysis/analysis_widgets.h"
#include "app/app_context.h"
#include "app/command_map.h"
#include "mesh/mesh_command.h"

namespace qav {

namespace {
// Lives as a child of the main window, named "MeshCommand", so that tests can reach its
// progress maker.
class MeshCommand : public QObject, public ProgressSource {
public:
    explicit MeshCommand(AppContext& ctx) : QObject(ctx.mainWidget()), ctx_(ctx) {
        setObjectName("MeshCommand");
    }

    void run() {
        // A run stopped part-way (memory ran out) has emptied the mesh, a cancelled one left it
        // as it was: show either.
        struct Redraw {
            AppContext& ctx;
            ~Redraw() { ctx.modelChanged(); }
        } redraw{ctx_};
        MeshSummary s;
        {
            const std::unique_ptr<Progress> progress =
                makeProgress(ctx_.mainWidget(), "Meshing the section ...");
            s = FIBER_SECTION_MESH(ctx_.model(), ctx_.messages(), progress.get());
        }
        if (!s.areaWarning.empty()) ctx_.messages().message(s.areaWarning);
    }

private:
    AppContext& ctx_;
};
}  // namespace

void installMeshCommands(AppContext& ctx) {
    auto* command = new MeshCommand(ctx);
    ctx.commands().set(cmd::Mesh,
                       [&ctx, command] { ctx.runCommand([command] { command->run(); }); });
}

}  // namespace qav
