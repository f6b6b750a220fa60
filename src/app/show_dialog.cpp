#include <QWidget>

#include "app/app_context.h"

namespace qav {

void showDialog(QWidget* dialog) {
    if (!dialog->isVisible()) dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace qav
