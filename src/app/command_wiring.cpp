#include "app/command_wiring.h"

#include "app/analysis/analysis_commands.h"
#include "app/main_commands.h"
#include "app/main_window.h"

namespace qav {

void installAllCommands(MainWindow& window) {
    installMainCommands(window);
    installAnalysisCommands(window);
    // Later subsystems add their installers here, in the order their dialogs are created.
}

}  // namespace qav
