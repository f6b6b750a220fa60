#pragma once
// Reaching a running CAD application for "Import Section From CAD (2016)". Where a CAD
// application offers the automation the import needs, this is where its session is made.
#include <QString>
#include <memory>

#include "interchange/cad_import.h"

namespace qav {

// The session of the running CAD application, or nullptr with the reason in `why` (empty for
// the standard "not available" message).
std::unique_ptr<CadSession> connectRunningCad(QString& why);

}  // namespace qav
