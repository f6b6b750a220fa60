#include "app/analysis/pmm_surface_scene.h"

#include <algorithm>
#include <cmath>

#include "model/design_code.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

void pmmMousePress(PmmViewState& v, PmmMouse button, int x, int y) {
    switch (button) {
        case PmmMouse::Left:
            v.MouseButton = 1;
            v.Xcoord = x;
            v.Ycoord = y;
            break;
        case PmmMouse::Right:
            v.MouseButton = 2;
            v.Zcoord = y;
            break;
        case PmmMouse::Middle:
            v.MouseButton = 6;
            v.Xcoord = x;
            v.Ycoord = y;
            break;
    }
}

bool pmmMouseMove(PmmViewState& v, int x, int y) {
    switch (v.MouseButton) {
        case 1:
            v.XRot += static_cast<float>(y - v.Ycoord) / 2;
            v.YRot += static_cast<float>(x - v.Xcoord) / 2;
            v.Xcoord = x;
            v.Ycoord = y;
            return true;
        case 2:
            v.Depth -= static_cast<float>(y - v.Zcoord) / 3;
            v.Zcoord = y;
            return true;
        case 6:
            v.XCenter += static_cast<float>(x - v.Xcoord) / 2 * 0.01f;
            v.YCenter += static_cast<float>(y - v.Ycoord) / 2 * 0.01f;
            v.Xcoord = x;
            v.Ycoord = y;
            return true;
        default:
            return false;
    }
}

void pmmMouseRelease(PmmViewState& v) {
    v.MouseButton = 0;
}

void pmmWheel(PmmViewState& v, bool down) {
    if (down)
        v.PMM_VIEW_SCALE *= 0.95;
    else
        v.PMM_VIEW_SCALE /= 0.95;
}

void pmmFitCenter(PmmViewState& v) {
    v.XCenter = v.YCenter = 0;
    v.Depth = 1.0f;
}

void pmmXYView(PmmViewState& v) {
    v.XRot = v.YRot = v.XCenter = v.YCenter = 0;
    v.Depth = 1.0f;
}

void pmmXZView(PmmViewState& v) {
    v.XCenter = v.YCenter = 0;
    v.XRot = -90;
    v.YRot = 0;
    v.Depth = 1.0f;
}

void pmmYZView(PmmViewState& v) {
    v.XCenter = v.YCenter = 0;
    v.XRot = -90;
    v.YRot = 90;
    v.Depth = 1.0f;
}

void requirePmmScale(double scale, const char* caption) {
    if (scale > 0 && scale <= PMM_MAX_SCALE) return;
    throw InputError(Format("\"%s\" must be greater than 0 and at most %0.0F (it is %g).",
                            {caption, PMM_MAX_SCALE, scale}));
}

std::array<double, 3> pmmStretch(const PmmWireModel& w, bool autoScale,
                                 const std::array<double, 3>& scale) {
    std::array<double, 3> s{};
    for (std::size_t i = 0; i < 3; ++i) s[i] = (autoScale ? w.AXIS_STRETCH[i] : 1.0) * scale[i];
    return s;
}

namespace {

struct Scaler {
    std::array<double, 3> f;
    std::array<double, 3> operator()(const TNODE3D& p) const {
        return {f[0] * p.X, f[1] * p.Y, f[2] * p.Z};
    }
};

Scaler scalerFor(double viewScale, const PmmSceneOptions& o) {
    return {{viewScale * o.stretch[0], viewScale * o.stretch[1], viewScale * o.stretch[2]}};
}

bool finite(const std::array<double, 3>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

const TNODE3D* node(const std::vector<TNODE3D>& nodes, int i) {
    return i >= 1 && static_cast<std::size_t>(i) < nodes.size()
               ? &nodes[static_cast<std::size_t>(i)]
               : nullptr;
}

void addLine(std::vector<PmmPrimitive>& out, const Scaler& s, const std::vector<TNODE3D>& nodes,
             const TFRAME& l, std::array<float, 3> colour) {
    const TNODE3D* a = node(nodes, l.I);
    const TNODE3D* b = node(nodes, l.J);
    if (!a || !b) return;
    const auto pa = s(*a), pb = s(*b);
    if (!finite(pa) || !finite(pb)) return;
    out.push_back({PmmPrimitive::Line, colour, {pa, pb}});
}

}  // namespace

std::vector<std::vector<TNODE3D>> pmmNominalCurves(const SectionModel& m) {
    const SectionResults& r = m.results;
    std::vector<std::vector<TNODE3D>> out;
    if (!codeReducesStrength(sectionCode(m)) || r.PMM_NOM_P.size() != r.PMM_P.size()) return out;
    const std::size_t curves = std::min(r.PMM_P.size(), static_cast<std::size_t>(PMM_CURVES));
    for (std::size_t c = 0; c < curves; ++c) {
        const std::size_t n = std::min({r.PMM_P[c].size(), r.PMM_NOM_P[c].size(),
                                        c < r.PMM_NOM_MX.size() ? r.PMM_NOM_MX[c].size() : 0,
                                        c < r.PMM_NOM_MY.size() ? r.PMM_NOM_MY[c].size() : 0});
        std::vector<TNODE3D> curve;
        // Point 0 of a curve is unused, as in the design tables.
        for (std::size_t i = 1; i < n; ++i)
            curve.push_back({r.PMM_NOM_MX[c][i], r.PMM_NOM_MY[c][i], r.PMM_NOM_P[c][i]});
        if (curve.size() > 1) out.push_back(std::move(curve));
    }
    return out;
}

std::vector<PmmPrimitive> buildPmmScene(const PmmWireModel& w, double viewScale,
                                        const PmmSceneOptions& options) {
    std::vector<PmmPrimitive> out;
    const double h = viewScale / 2;
    out.push_back(
        {PmmPrimitive::Quad, {0, 1, 0}, {{-h, -h, 0}, {h, -h, 0}, {h, h, 0}, {-h, h, 0}}});
    const Scaler s = scalerFor(viewScale, options);
    for (int i = 1; i <= w.NPMM_LINE && static_cast<std::size_t>(i) < w.PMM_LINE.size(); ++i) {
        const TFRAME& l = w.PMM_LINE[static_cast<std::size_t>(i)];
        const std::array<float, 3> colour = l.CL == 3 ? std::array<float, 3>{0.756f, 0.756f, 0.756f}
                                                      : std::array<float, 3>{0, 0, 1};
        addLine(out, s, w.PMM_NODE, l, colour);
    }
    for (const std::vector<TNODE3D>& curve : options.nominal)
        for (std::size_t i = 1; i < curve.size(); ++i) {
            const auto a = s(curve[i - 1]), b = s(curve[i]);
            if (finite(a) && finite(b))
                out.push_back({PmmPrimitive::Line, {0, 0, 1}, {a, b}, true});
        }
    for (std::size_t i = 1; i < w.AXIS_LINE.size(); ++i)
        addLine(out, s, w.AXIS_NODE, w.AXIS_LINE[i], {1, 0, 0});
    // Points whose solve did not converge, in red, so they are never taken for the others.
    for (int i : w.UNCONVERGED_NODE)
        if (const TNODE3D* n = node(w.PMM_NODE, i); n && finite(s(*n)))
            out.push_back({PmmPrimitive::Point, {1, 0, 0}, {s(*n)}});
    if (options.showLoads) {
        for (std::size_t i = 1; i < w.LOAD_NODE.size(); ++i) {
            const auto p = s(w.LOAD_NODE[i]);
            if (finite(p)) out.push_back({PmmPrimitive::Point, {1, 0, 1}, {p}});
        }
    }
    return out;
}

double pmmViewRadius(const PmmWireModel& w, double viewScale, const PmmSceneOptions& options) {
    const Scaler s = scalerFor(viewScale, options);
    double r = 0;
    auto hold = [&](const std::vector<TNODE3D>& nodes) {
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            const auto p = s(nodes[i]);
            if (finite(p)) r = std::max(r, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
        }
    };
    hold(w.PMM_NODE);
    hold(w.AXIS_NODE);
    for (const std::vector<TNODE3D>& curve : options.nominal)
        for (const TNODE3D& n : curve)
            if (const auto p = s(n); finite(p))
                r = std::max(r, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    return r > 0 && std::isfinite(r) ? 1.1 * r : 1.0;
}

}  // namespace qav
