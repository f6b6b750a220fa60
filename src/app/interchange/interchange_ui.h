#pragma once
// The file dialogs and message box the interchange commands use, replaceable so tests can
// answer them without a person.
#include <QString>
#include <functional>

class QWidget;

namespace qav::app {

struct InterchangeUi {
    // Return the chosen file name, or an empty text when the user cancels. The filter is in the
    // program's own "Description|*.ext" form.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> openFile;
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter)> saveFile;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
};

// Real dialogs: QFileDialog (no extension added, an existing file replaced without asking, as
// the section file's Save does) and a message box.
const InterchangeUi& standardInterchangeUi();

// "AutoCAD_DXF|*.dxf" -> "AutoCAD_DXF (*.dxf)"; an empty filter stays empty.
QString qtFileFilter(const QString& filter);

}  // namespace qav::app
