#pragma once
// After a mesh: do the fibres carry the areas the section's polygons have? The mesh cuts its
// triangles at the polygons' sides, so they should; a difference means the mesh lost part of
// the section (corners merged into one node).
#include <optional>
#include <string>

#include "mesh/mesh_command.h"
#include "model/section_model.h"

namespace qav {

// Larger relative differences are reported.
constexpr double FIBRE_AREA_TOLERANCE = 0.01;
// Sections whose comparison would take more steps than this (side pairs that share a height,
// pieces of strips) are not compared: polygons that cross each other very often could
// otherwise keep the mesh command busy for minutes after the mesh is done.
constexpr long long FIBRE_AREA_MAX_WORK = 20'000'000;

// The areas (mm2) the fibre kinds should cover, by the rules the mesh classifies by: steel is
// inside any steel polygon and no opening; concrete (core and cover together) inside the
// outline and neither steel nor opening. Polygons are read even-odd; overlaps count once.
// nullopt when the comparison would take more than FIBRE_AREA_MAX_WORK steps.
struct PolygonAreas {
    double concrete = 0;
    double steel = 0;
};
std::optional<PolygonAreas> sectionPolygonAreas(const SectionModel& m);

// One message for every kind whose fibre area differs from its polygon area by more than
// FIBRE_AREA_TOLERANCE, e.g. "Steel fibres cover 45,767 mm² of 48,000 mm² (−4.7 %): the mesh
// misses part of the section; ..."; nullopt when all agree.
std::optional<std::string> fibreAreaWarning(const SectionModel& m, const MeshSummary& s);

}  // namespace qav
