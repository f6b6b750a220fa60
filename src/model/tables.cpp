#include "model/tables.h"

#include "model/section_model.h"

namespace qav {

namespace {
std::string countText(const char* table, int32_t count, std::size_t size) {
    return std::string("Internal error: table ") + (table ? table : "of the model") + " counts " +
           std::to_string(count) + " entries but has room for " +
           std::to_string(size == 0 ? 0 : size - 1) + ".";
}

// A 0-based corner list: corners 0..count-1.
void requireCorners(std::size_t size, int32_t count, const std::string& list) {
    if (count < 0 || static_cast<std::size_t>(count) > size)
        throw InternalError("Internal error: corner list " + list + " counts " +
                            std::to_string(count) + " corners but holds " + std::to_string(size) +
                            ".");
}

void requirePolygons(const std::vector<TPOLYSHAPE>& table, int32_t count, const char* name) {
    requireRows(table.size(), count, name);
    for (const TPOLYSHAPE& s : rows(table, count))
        requireCorners(
            s.PT.size(), s.NPOINT,
            std::string(name) + "[" + std::to_string(rowNumber(rows(table, count), s)) + "]");
}
}  // namespace

std::span<const TPOS> corners(const std::vector<TPOS>& list, int32_t count) {
    requireCorners(list.size(), count, "of a polygon");
    return std::span<const TPOS>(list).first(static_cast<std::size_t>(count));
}

void requireRows(std::size_t size, int32_t count, const char* table) {
    if (count == 0) return;
    if (count < 0 || static_cast<std::size_t>(count) >= size)
        throw InternalError(countText(table, count, size));
}

void checkTables(const SectionModel& m) {
    const SectionDocument& d = m.document;
    requireCorners(d.CONC_PT.size(), d.NCONC_PT, "CONC_PT");
    requireCorners(d.COVER_PT.size(), d.NCOVER_PT, "COVER_PT");
    requirePolygons(d.STEEL_SEC, d.NSTEEL_SEC, "STEEL_SEC");
    requirePolygons(d.OPEN_SEC, d.NOPEN_SEC, "OPEN_SEC");
    requireRows(d.BAR.size(), d.NBAR, "BAR");
    requireRows(d.CONC_MAT.size(), d.NCONCMAT, "CONC_MAT");
    requireRows(d.COVER_MAT.size(), d.NCOVERMAT, "COVER_MAT");
    requireRows(d.STEEL_MAT.size(), d.NSTEELMAT, "STEEL_MAT");
    requireRows(d.FORCE.size(), d.NFORCE, "FORCE");

    const SectionMesh& s = m.mesh;
    requireRows(s.FIB.size(), s.NFIB, "FIB");
    requireRows(s.CFIB.size(), s.NCFIB, "CFIB");
    requireRows(s.SHELL.size(), s.NSHELL, "SHELL");
    requireRows(s.GRID_NODE.size(), s.NGRID_NODE, "GRID_NODE");
    requireRows(s.CLINE_NODE.size(), s.NCLINE_NODE, "CLINE_NODE");
    requireRows(s.KEY_NODE.size(), s.NKEY_NODE, "KEY_NODE");
    requireRows(s.SLINE_NODE.size(), s.NSLINE_NODE, "SLINE_NODE");
    requireRows(s.MESH_NODE.size(), s.NMESH_NODE, "MESH_NODE");

    requireRows(m.view.SEL_BAR.size(), m.view.NSEL_BAR, "SEL_BAR");
}

}  // namespace qav
