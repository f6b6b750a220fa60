#include "app/command_wiring.h"

#include "app/analysis/analysis_commands.h"
#include "app/analysis/pmm_surface_dialog.h"
#include "app/builders/builder_commands.h"
#include "app/interchange/interchange_commands.h"
#include "app/main_commands.h"
#include "app/main_window.h"
#include "app/mesh/mesh_commands.h"
#include "app/reports/export_data_dialog.h"

namespace qav {

void installAllCommands(MainWindow& window) {
    installMainCommands(window);
    installBuilderCommands(window);
    installMeshCommands(window);
    installAnalysisCommands(window);
    installInterchangeCommands(window);
    installExportDataCommands(window);
    installPmmSurfaceCommands(window);
    // Later subsystems add their installers here, in the order their dialogs are created.
}

}  // namespace qav
