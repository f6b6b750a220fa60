#include "app/mesh/mesh_commands.h"

#include "app/app_context.h"
#include "app/command_map.h"
#include "mesh/mesh_command.h"

namespace qav {

void installMeshCommands(AppContext& ctx) {
    ctx.commands().set(cmd::Mesh, [&ctx] {
        ctx.runCommand([&ctx] {
            // A run stopped part-way (memory ran out) has emptied the mesh: show that too.
            struct Redraw {
                AppContext& ctx;
                ~Redraw() { ctx.modelChanged(); }
            } redraw{ctx};
            const MeshSummary s = FIBER_SECTION_MESH(ctx.model(), ctx.messages());
            if (!s.areaWarning.empty()) ctx.messages().message(s.areaWarning);
        });
    });
}

}  // namespace qav
