#include "app/analysis/pmm_surface_view.h"

#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QOpenGLWidget>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace qav {

// The OpenGL surface: replays the view's scene. Mouse and wheel go to the view around it.
class PmmGlCanvas : public QOpenGLWidget {
public:
    explicit PmmGlCanvas(PmmSurfaceView* view) : QOpenGLWidget(view), view_(view) {
        QSurfaceFormat f = format();
        f.setDepthBufferSize(24);
        f.setRenderableType(QSurfaceFormat::OpenGL);
        f.setProfile(QSurfaceFormat::CompatibilityProfile);
        setFormat(f);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    bool legacy() const { return gl_ != nullptr; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    PmmSurfaceView* view_;
    QOpenGLFunctions_1_1* gl_ = nullptr;
};

void PmmGlCanvas::initializeGL() {
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context());
    if (!gl_) return;
    gl_->glClearColor(1, 1, 1, 1);
    gl_->glShadeModel(GL_SMOOTH);
    gl_->glClearDepth(1);
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDepthFunc(GL_LEQUAL);
    gl_->glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void PmmGlCanvas::paintGL() {
    if (!gl_) return;
    PmmViewState& s = view_->state_;
    const qreal dpr = devicePixelRatio();
    const int w = std::max(1, Round(width() * dpr));
    const int h = std::max(1, Round(height() * dpr));
    const double r = view_->radius_;
    gl_->glViewport(0, 0, w, h);
    gl_->glMatrixMode(GL_PROJECTION);
    gl_->glLoadIdentity();
    const double aspect = static_cast<double>(w) / h;
    const double depthRange = 1000 * r + std::fabs(s.Depth);
    gl_->glOrtho(-r * aspect, r * aspect, -r, r, -depthRange, depthRange);
    gl_->glMatrixMode(GL_MODELVIEW);

    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl_->glLoadIdentity();
    gl_->glTranslatef(s.XCenter, -s.YCenter, s.Depth);
    gl_->glRotatef(s.XRot, 1, 0, 0);
    gl_->glRotatef(-s.YRot, 0, 0, 1);
    bool afterSquare = false;
    for (const PmmPrimitive& p : view_->scene()) {
        if (p.kind != PmmPrimitive::Quad && !afterSquare) {
            gl_->glLineWidth(1);
            afterSquare = true;
        }
        if (p.kind == PmmPrimitive::Point) gl_->glPointSize(3);
        if (p.dashed) {
            gl_->glEnable(GL_LINE_STIPPLE);
            gl_->glLineStipple(1, 0x00FF);
        }
        gl_->glColor3f(p.colour[0], p.colour[1], p.colour[2]);
        gl_->glBegin(p.kind == PmmPrimitive::Quad   ? GL_QUADS
                     : p.kind == PmmPrimitive::Line ? GL_LINES
                                                    : GL_POINTS);
        for (const auto& v : p.vertices) gl_->glVertex3d(v[0], v[1], v[2]);
        gl_->glEnd();
        if (p.dashed) gl_->glDisable(GL_LINE_STIPPLE);
    }
    // The depth offset is used up by this frame. The widget swaps the buffers on return.
    s.Depth = 0;
}

bool openGlAvailable() {
    QOpenGLContext probe;
    return probe.create();
}

PmmSurfaceView::PmmSurfaceView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    note_ = new QLabel(this);
    note_->setAlignment(Qt::AlignCenter);
    layout->addWidget(note_);
}

void PmmSurfaceView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (canvas_ || !note_->text().isEmpty()) return;
    if (!openGlAvailable()) {
        note_->setText("OpenGL is not available on this display.");
        return;
    }
    note_->hide();
    canvas_ = new PmmGlCanvas(this);
    layout()->addWidget(canvas_);
    layout()->activate();  // full size before the first frame, even one grabbed at once
}

bool PmmSurfaceView::hasLegacyGl() const {
    return canvas_ && canvas_->legacy();
}

void PmmSurfaceView::setModel(PmmWireModel model, const PmmSceneOptions& options) {
    model_ = std::move(model);
    options_ = options;
    state_.PMM_VIEW_SCALE = PMM_DRAW_VIEW_SCALE;
    radius_ = pmmViewRadius(model_, state_.PMM_VIEW_SCALE, options_);
    redraw();
}

void PmmSurfaceView::clearModel() {
    model_ = {};
    options_ = {};
    radius_ = 1.0;
    redraw();
}

std::vector<PmmPrimitive> PmmSurfaceView::scene() const {
    return buildPmmScene(model_, state_.PMM_VIEW_SCALE, options_);
}

void PmmSurfaceView::redraw() {
    if (canvas_) canvas_->update();
}

QImage PmmSurfaceView::grabImage() {
    return canvas_ ? canvas_->grabFramebuffer() : QImage();
}

void PmmSurfaceView::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton)
        pmmMousePress(state_, PmmMouse::Left, p.x(), p.y());
    else if (e->button() == Qt::RightButton)
        pmmMousePress(state_, PmmMouse::Right, p.x(), p.y());
    else if (e->button() == Qt::MiddleButton)
        pmmMousePress(state_, PmmMouse::Middle, p.x(), p.y());
}

void PmmSurfaceView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (pmmMouseMove(state_, p.x(), p.y())) redraw();
}

void PmmSurfaceView::mouseReleaseEvent(QMouseEvent*) {
    pmmMouseRelease(state_);
}

void PmmSurfaceView::wheelEvent(QWheelEvent* e) {
    const int dy = e->angleDelta().y();
    if (dy == 0) return QWidget::wheelEvent(e);
    pmmWheel(state_, dy < 0);
    redraw();
    e->accept();
}

}  // namespace qav
