#pragma once
// The drawing panel of "Gen PMM Surface": the wire model drawn with OpenGL 1.x immediate-mode
// calls, turned, panned and pushed in depth with the mouse.
//
// Projection: orthographic, fitted at "Draw" so that the whole surface and its frame fit the
// panel at any rotation (the box holds the sphere around the origin through the farthest
// vertex). It then stays until the next "Draw", so the wheel zoom, the rotations and the pan
// keep their effect; the depth range is wide enough that the depth offset never clips.
//
// The OpenGL surface itself is made when the panel is first shown, and only where the display
// offers OpenGL; without it the panel keeps its state and says why nothing is drawn.
#include <QImage>
#include <QWidget>
#include <vector>

#include "app/analysis/pmm_surface_scene.h"

class QLabel;

namespace qav {

class PmmGlCanvas;

class PmmSurfaceView : public QWidget {
    Q_OBJECT
public:
    explicit PmmSurfaceView(QWidget* parent = nullptr);

    PmmViewState& state() { return state_; }
    const PmmViewState& state() const { return state_; }
    // A new wire model: zoom back to the "Draw" scale and fit the projection to it.
    void setModel(PmmWireModel model, const PmmSceneOptions& options);
    const PmmWireModel& wireModel() const { return model_; }
    // Nothing to draw, as before the first "Draw".
    void clearModel();
    // The primitives of the next frame.
    std::vector<PmmPrimitive> scene() const;
    // Half-height of the projection box (view units).
    double viewRadius() const { return radius_; }
    // Draws the scene again.
    void redraw();
    // The picture as drawn now; a null image when there is no OpenGL surface.
    QImage grabImage();
    // True once the OpenGL surface exists and offers the 1.x functions.
    bool hasLegacyGl() const;

protected:
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    friend class PmmGlCanvas;
    PmmViewState state_;
    PmmWireModel model_;
    PmmSceneOptions options_;
    double radius_ = 1.0;
    PmmGlCanvas* canvas_ = nullptr;
    QLabel* note_ = nullptr;
};

// Whether this display can give an OpenGL context at all.
bool openGlAvailable();

}  // namespace qav
