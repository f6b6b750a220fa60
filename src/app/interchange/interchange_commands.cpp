#include "app/interchange/interchange_commands.h"

#include <QFile>
#include <memory>

#include "app/app_context.h"
#include "app/command_map.h"
#include "app/interchange/cad_connection.h"
#include "app/interchange/opensees_tcl_dialog.h"
#include "app/user_prompts.h"
#include "interchange/cad_import.h"
#include "interchange/dxf_export.h"
#include "interchange/dxf_import.h"
#include "interchange/xtract_export.h"
#include "model/errors.h"

namespace qav {

namespace {

const QString kDxfFilter = QStringLiteral("AutoCAD_DXF (*.dxf)");
// The save dialog's filter as the section file's Save leaves it.
const QString kSectionFilter = QStringLiteral("SectionModel (*.sec)");
const QString kXtractNextFilter = QStringLiteral("*.sec (*.sec)");

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QString noCadApplicationMessage() {
    return QStringLiteral(
               "Import Section From CAD (2016) needs a running AutoCAD 2016 that offers ActiveX "
               "automation under the identifier \"%1\". No CAD application offering that "
               "automation is available on this platform, so nothing was imported and the "
               "section is unchanged.")
        .arg(QString::fromLatin1(CAD_APPLICATION_ID));
}

void installInterchangeCommands(AppContext& ctx) {
    CommandMap& c = ctx.commands();
    // The XTRACT export opens the save dialog with the filter the last export left in it.
    auto saveFilter = std::make_shared<QString>(kSectionFilter);

    c.set(cmd::DxfImport, [&ctx] {
        if (!ctx.saveChangesFirst()) return;
        const QString path = ctx.prompts().openFileName(kDxfFilter);
        if (path.isEmpty()) return;
        MessageLog notes;
        try {
            importDxfFile(ctx.model(), localPath(path), &notes);
        } catch (const ConversionError&) {
            ctx.sectionImported();
            ctx.modelChanged();  // the model was emptied and partly read: show what is there
            throw;
        }
        ctx.sectionImported();
        ctx.modelChanged();
        for (const auto& e : notes.entries()) ctx.messages().message(e.text);
    });

    c.set(cmd::DxfExport, [&ctx, saveFilter] {
        *saveFilter = kDxfFilter;
        const QString path = ctx.prompts().saveFileName(*saveFilter);
        if (!path.isEmpty()) exportDxfFile(ctx.model(), localPath(path));
    });

    c.set(cmd::CadImport, [&ctx] {
        QString why;
        std::unique_ptr<CadSession> cad = connectRunningCad(why);
        if (!cad) {
            ctx.prompts().error(why.isEmpty() ? noCadApplicationMessage() : why);
            return;
        }
        if (!ctx.saveChangesFirst()) return;
        try {
            IMPORT_SECTION_FROM_CAD(ctx.model(), *cad);
        } catch (...) {
            ctx.sectionImported();
            ctx.modelChanged();
            throw;
        }
        ctx.sectionImported();
        ctx.modelChanged();
    });

    c.set(cmd::XtractExport, [&ctx, saveFilter] {
        const QString path = ctx.prompts().saveFileName(*saveFilter);
        if (path.isEmpty()) return;
        *saveFilter = kXtractNextFilter;
        EXPORT_XTARCT_FILE(ctx.model(), localPath(path));
    });

    auto* opensees = new OpenSeesTclDialog(ctx, ctx.mainWidget());
    c.set(cmd::OpenSees, [opensees] { showDialog(opensees); });
}

}  // namespace qav
