#pragma once
// Whether the mesh and the stored results still describe the section in the model. The mesh
// command stamps the mesh with fingerprints of what it was made from; every analysis refuses a
// mesh whose stamp no longer matches, and the application brings the mesh and the results up to
// date after every command (mesh/section_sync.h), so nothing can analyse or show a section that
// is gone, whichever command changed it.
#include <cstdint>

#include "model/section_model.h"

namespace qav {

// Outline, cover, steel polygons, openings and bars (positions and diameters).
uint64_t geometryFingerprint(const SectionModel& m);
// The material records the fibres of this section take: for each kind the section can give
// (concrete, cover concrete, steel, rebar) its grade index and that grade's values. A grade or
// material of a kind the section does not have leaves it unchanged.
uint64_t materialFingerprint(const SectionModel& m);

// Whether the mesh command puts grid nodes inside the steel polygons: asked for, and a section
// without a concrete outline (one with an outline has grid nodes inside it anyway).
bool steelGridApplies(const SectionModel& m);
// The mesh options that change this section's mesh; 0 when none does.
uint64_t optionsFingerprint(const SectionModel& m);

enum class MeshState {
    None,              // no fibres
    Current,           // made from the section as it stands
    MaterialsChanged,  // same geometry, other grades or material values
    OptionsChanged,    // same section, other mesh options: the mesh would be another one
    GeometryChanged,   // other geometry or bars, or fibres the mesh command did not make
};
MeshState meshState(const SectionModel& m);

// Stamps the fibres in the model as made from the section as it stands, with a new serial.
void stampMesh(SectionModel& m);

// Throws InputError unless the model has fibres made from the section as it stands; the text
// tells the user to mesh the section first.
void requireCurrentMesh(const SectionModel& m);

}  // namespace qav
