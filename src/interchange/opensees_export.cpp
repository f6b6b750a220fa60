#include "interchange/opensees_export.h"

#include "model/number_text.h"

namespace qav {

namespace {

// Material variable of a fibre kind; nullptr for a kind that has none.
const char* materialVariable(int32_t ty) {
    switch (ty) {
        case FIB_CORE_CONCRETE:
            return "$Conc1";
        case FIB_COVER_CONCRETE:
            return "$Conc2";
        case FIB_STEEL:
            return "$Steel1";
        case FIB_REBAR:
            return "$Rebar1";
        default:
            return nullptr;
    }
}

}  // namespace

std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m) {
    std::vector<std::string> out = {
        "##Section Gen by QAV-SEC", "set Conc1 1", "set Conc2 2", "set Steel1 3", "set Rebar1 4",
        "section Fiber 1 {"};
    // A fibre of an unknown kind keeps the variable of the fibre before it.
    std::string variable;
    for (int32_t i = 1; i <= m.NFIB && i < static_cast<int32_t>(m.FIB.size()); ++i) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(i)];
        if (const char* v = materialVariable(f.TY)) variable = v;
        out.push_back(Format("  fiber %0.6E %0.6E %0.6E %s", {f.X, f.Y, f.AREA, variable}));
    }
    out.emplace_back("}");
    return out;
}

}  // namespace qav
