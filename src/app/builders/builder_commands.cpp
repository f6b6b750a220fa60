#include "app/builders/builder_commands.h"

#include "app/app_context.h"
#include "app/builders/composite_section_dialog.h"
#include "app/builders/opening_dialog.h"
#include "app/builders/steel_section_dialog.h"
#include "app/builders/typical_section_dialog.h"
#include "app/command_map.h"
#include "app/user_prompts.h"

namespace qav {

namespace {
void connectToWindow(AppContext& ctx, BuilderDialog* d) {
    QObject::connect(d, &BuilderDialog::sectionChanged, d, [&ctx] { ctx.modelChanged(); });
    // The dialog stays open on an error, so the user can mend the box and try again.
    QObject::connect(d, &BuilderDialog::errorOccurred, d,
                     [&ctx](const QString& message) { ctx.prompts().error(message); });
}
}  // namespace

void installBuilderCommands(AppContext& ctx) {
    SectionModel& m = ctx.model();
    QWidget* parent = ctx.mainWidget();
    CommandMap& c = ctx.commands();
    const struct {
        const char* command;
        BuilderDialog* dialog;
    } builders[] = {
        {cmd::BuildTypical, new TypicalSectionDialog(m, parent)},
        {cmd::BuildSteel, new SteelSectionDialog(m, parent)},
        {cmd::BuildComposite, new CompositeSectionDialog(m, parent)},
        {cmd::BuildOpening, new OpeningDialog(m, parent)},
    };
    for (const auto& b : builders) {
        connectToWindow(ctx, b.dialog);
        BuilderDialog* d = b.dialog;
        c.set(b.command, [d] { showDialog(d); });
    }
}

}  // namespace qav
