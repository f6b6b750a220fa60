#include "app/analysis/analysis_commands.h"

#include "app/analysis/analysis_dialog.h"
#include "app/analysis/load_dialog.h"
#include "app/analysis/mphi_dialog.h"
#include "app/analysis/section_state_dialog.h"
#include "app/app_context.h"
#include "app/command_map.h"

namespace qav {

void installAnalysisCommands(AppContext& ctx) {
    QWidget* parent = ctx.mainWidget();
    auto* analysis = new AnalysisDialog(ctx, parent);
    auto* loads = new LoadDialog(ctx, parent);
    auto* mphi = new MphiDialog(ctx, parent);
    auto* state = new SectionStateDialog(ctx, parent);
    CommandMap& c = ctx.commands();
    c.set(cmd::Analysis, [analysis] { showDialog(analysis); });
    c.set(cmd::Loading, [loads] { showDialog(loads); });
    c.set(cmd::MPhi, [mphi] { showDialog(mphi); });
    c.set(cmd::SectionState, [state] { showDialog(state); });
}

}  // namespace qav
