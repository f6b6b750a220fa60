#pragma once
// Brings the mesh and the stored results up to date with the section, in one place: the
// application runs it after every command and wherever the model changes outside one.
//   geometry or bars changed (or fibres the mesh command did not make), or the mesh options
//     that apply to the section: the mesh is emptied — its fibres describe a section or a mesh
//     that is gone and only meshing again can mend that;
//   only the grades or material values changed: the fibres take the new grades and values
//     (GEN_FIB_MAT) and the mesh stays, as its triangles are still the section's; should a
//     selected grade be missing from its table, the mesh is emptied instead;
//   the mesh differs from the one the stored results were computed from: the results (curves,
//     PMM surface, M-Phi, load fractions and critical combination) are emptied;
//   there are no fibres (whoever emptied them): the "Section Properties" texts are emptied.
#include "model/section_model.h"
#include "model/section_state.h"

namespace qav {

struct SectionSync {
    MeshState found = MeshState::None;  // the mesh's state before the sync
    bool meshCleared = false;
    bool materialsRefreshed = false;
    bool resultsCleared = false;
    bool propertiesCleared = false;  // "Section Properties" of fibres that are gone
    bool changed() const {
        return meshCleared || materialsRefreshed || resultsCleared || propertiesCleared;
    }
};

SectionSync SYNC_SECTION_STATE(SectionModel& m);

// Empties the stored results of the analyses and stamps them as belonging to the current mesh.
void CLEAR_RESULTS(SectionModel& m);

}  // namespace qav
