#include "app/command_wiring.h"

#include "app/builders/builder_commands.h"
#include "app/main_commands.h"
#include "app/main_window.h"
#include "app/mesh/mesh_commands.h"

namespace qav {

void installAllCommands(MainWindow& window) {
    installMainCommands(window);
    installBuilderCommands(window);
    installMeshCommands(window);
    // Later subsystems add their installers here, in the order their dialogs are created.
}

}  // namespace qav
