#include "app/interchange/interchange_commands.h"

#include <QFile>
#include <exception>
#include <memory>

#include "app/interchange/cad_connection.h"
#include "interchange/cad_import.h"
#include "interchange/dxf_export.h"
#include "interchange/dxf_import.h"
#include "interchange/xtract_export.h"
#include "model/errors.h"

namespace qav::app {

namespace {

const QString DXF_FILTER = QStringLiteral("AutoCAD_DXF|*.dxf");

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString text(const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
}

}  // namespace

QString noCadApplicationMessage() {
    return QStringLiteral(
               "Import Section From CAD (2016) needs a running AutoCAD 2016 that offers ActiveX "
               "automation under "
               "the identifier \"%1\". No CAD application offering that automation is available on "
               "this "
               "platform, so nothing was imported and the section is unchanged.")
        .arg(QString::fromLatin1(CAD_APPLICATION_ID));
}

bool importFromDxfFile(SectionModel& m, QWidget* parent, const InterchangeUi& ui) {
    const QString path = ui.openFile(parent, QStringLiteral("Import From DXF File"), DXF_FILTER);
    if (path.isEmpty()) return false;
    try {
        importDxfFile(m, localPath(path));
    } catch (const FileError& e) {
        ui.showMessage(parent, text(e));  // the file was not read: nothing changed
        return false;
    } catch (const InputError& e) {
        ui.showMessage(parent, text(e));
        return false;
    } catch (const std::exception& e) {
        ui.showMessage(parent, text(e));  // stopped half way: what was read stays
        return true;
    }
    return true;
}

bool exportToDxfFile(const SectionModel& m, QWidget* parent, QString& saveFilter,
                     const InterchangeUi& ui) {
    saveFilter = DXF_FILTER;
    const QString path = ui.saveFile(parent, QStringLiteral("Export to DXF File"), saveFilter);
    if (path.isEmpty()) return false;
    try {
        exportDxfFile(m, localPath(path));
    } catch (const std::exception& e) {
        ui.showMessage(parent, text(e));
        return false;
    }
    return true;
}

bool importSectionFromCad(SectionModel& m, QWidget* parent, const InterchangeUi& ui) {
    QString why;
    std::unique_ptr<CadSession> cad = connectRunningCad(why);
    if (!cad) {
        ui.showMessage(parent, why.isEmpty() ? noCadApplicationMessage() : why);
        return false;
    }
    try {
        IMPORT_SECTION_FROM_CAD(m, *cad);
    } catch (const std::exception& e) {
        ui.showMessage(parent, text(e));
    }
    return true;
}

bool exportXtractFile(const SectionModel& m, QWidget* parent, QString& saveFilter,
                      const InterchangeUi& ui) {
    const QString path = ui.saveFile(parent, QStringLiteral("XTRACT"), saveFilter);
    if (path.isEmpty()) return false;
    saveFilter = QStringLiteral("*.sec|*.sec");
    try {
        EXPORT_XTARCT_FILE(m, localPath(path));
    } catch (const std::exception& e) {
        ui.showMessage(parent, text(e));
        return false;
    }
    return true;
}

}  // namespace qav::app
