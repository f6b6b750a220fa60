#include "app/interchange/cad_connection.h"

namespace qav {

// This platform has no ActiveX automation, so no CAD application can be reached.
std::unique_ptr<CadSession> connectRunningCad(QString& why) {
    why.clear();
    return nullptr;
}

}  // namespace qav
