#pragma once
// What the PMM surface view draws, in drawing order, and the view state the mouse and the view
// buttons change. Kept free of OpenGL so it can be checked without a display; the view widget
// replays the primitives with OpenGL 1.x calls.
#include <array>
#include <vector>

#include "analysis/pmm_surface.h"

namespace qav {

// Zoom after "Draw": model units (kN, kNm) to view units.
constexpr double PMM_DRAW_VIEW_SCALE = 1e-4;

struct TMyColor {
    unsigned char R = 0, G = 96, B = 191;
};

struct PmmViewState {
    TMyColor GraphColor;
    float YRot = 0, XRot = 0;
    float XCenter = 0, YCenter = 0;
    float Depth = -3.0f;  // consumed by the next frame
    int Xcoord = 0, Ycoord = 0, Zcoord = 0;
    int MouseButton = 0;  // 0 none, 1 rotate, 2 depth, 6 pan
    double PMM_VIEW_SCALE = PMM_DRAW_VIEW_SCALE;
};

enum class PmmMouse { Left, Right, Middle };

// Mouse on the view. Each returns true when the view must be drawn again.
void pmmMousePress(PmmViewState& v, PmmMouse button, int x, int y);
bool pmmMouseMove(PmmViewState& v, int x, int y);
void pmmMouseRelease(PmmViewState& v);
// One wheel step: down zooms out (x 0.95), up zooms in.
void pmmWheel(PmmViewState& v, bool down);

// The view buttons. None of them changes the zoom.
void pmmFitCenter(PmmViewState& v);
void pmmXYView(PmmViewState& v);
void pmmXZView(PmmViewState& v);
void pmmYZView(PmmViewState& v);

struct PmmPrimitive {
    enum Kind { Quad, Line, Point } kind = Line;
    std::array<float, 3> colour{0, 0, 0};
    std::vector<std::array<double, 3>> vertices;  // already scaled into view units
    bool dashed = false;                          // a line of the nominal strength
};

// How the model is scaled into the view: per-axis factors (the automatic stretch or 1, times
// the user's scale fields) and whether the load points are shown.
struct PmmSceneOptions {
    std::array<double, 3> stretch{1, 1, 1};
    bool showLoads = true;
    // The nominal strength beside the design surface (ACI 318-19): one polyline per curve,
    // points (MX, MY, P) as the surface's.
    std::vector<std::vector<TNODE3D>> nominal;
};

// The nominal P-M curves of the PMM surface, when the section is under ACI 318-19 and the
// results hold them beside every design curve; none otherwise.
std::vector<std::vector<TNODE3D>> pmmNominalCurves(const SectionModel& m);

// The largest factor a scale field accepts: beyond it the drawing overflows long before it
// could show anything.
constexpr double PMM_MAX_SCALE = 1e6;
// Throws InputError naming the box (caption) unless 0 < scale <= PMM_MAX_SCALE.
void requirePmmScale(double scale, const char* caption);

// Factors for the options: AXIS_STRETCH when autoScale, else 1, times the scale fields.
std::array<double, 3> pmmStretch(const PmmWireModel& w, bool autoScale,
                                 const std::array<double, 3>& scale);

// The primitives of one frame, in drawing order: the green square, the surface lines (blue
// rings, grey meridians), the nominal curves (dashed blue lines), the red frame lines, the
// magenta load points. A primitive with a
// vertex that is not finite (curves never run, a flat axis) is left out.
std::vector<PmmPrimitive> buildPmmScene(const PmmWireModel& w, double viewScale,
                                        const PmmSceneOptions& options);

// Half the height of the view box that holds every surface and frame vertex at this zoom,
// whatever the rotation, with a margin; 1 when there is nothing to hold.
double pmmViewRadius(const PmmWireModel& w, double viewScale, const PmmSceneOptions& options);

}  // namespace qav
