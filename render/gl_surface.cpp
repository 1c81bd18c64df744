#include "render/gl_surface.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QThread>

#include "render/font.h"

namespace vornick {

namespace {

constexpr qint64 kContextWaitMs = 3000;
constexpr int kGlyphLists = 256;

}  // namespace

void use_compatibility_profile() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapInterval(0);  // presents are paced by the program, not by waiting on swaps
    QSurfaceFormat::setDefaultFormat(format);
}

GlSurface::GlSurface(QWidget* parent) : QOpenGLWidget(parent) {
    setFixedSize(kSurfaceWidth, kSurfaceHeight);
    repaint_timer_.setSingleShot(true);
    repaint_timer_.setTimerType(Qt::PreciseTimer);
    connect(&repaint_timer_, &QTimer::timeout, this, &GlSurface::request_repaint);
    // Composing the window and resizing the widget make another context or framebuffer current.
    connect(this, &QOpenGLWidget::aboutToCompose, this, [this] { target_bound_ = false; });
    connect(this, &QOpenGLWidget::aboutToResize, this, [this] { target_bound_ = false; });
}

GlSurface::~GlSurface() {
    if (context() == nullptr) return;
    makeCurrent();
    picture_.reset();
    if (ready_) {
        glDeleteTextures(kSpriteCount, texture_.data());
        if (panel_.font_list() != 0) glDeleteLists(panel_.font_list(), kGlyphLists);
    }
    doneCurrent();
}

void GlSurface::setup() {
    if (ready_) return;
    // The context appears once the shown window has been handled by the event loop.
    QElapsedTimer waited;
    waited.start();
    while (!isValid() && window()->isVisible() && waited.elapsed() < kContextWaitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!isValid()) QThread::msleep(1);
    }
    if (!isValid()) return;  // nothing to draw into: every drawing operation does nothing
    makeCurrent();
    init_state();
}

void GlSurface::init_state() {
    picture_ = std::make_unique<QOpenGLFramebufferObject>(QSize(kSurfaceWidth, kSurfaceHeight),
                                                          QOpenGLFramebufferObject::NoAttachment,
                                                          GL_TEXTURE_2D, GL_RGBA8);
    if (!picture_->isValid()) {
        picture_.reset();
        return;
    }
    context()->extraFunctions()->glBindFramebuffer(GL_FRAMEBUFFER, picture_->handle());
    target_bound_ = true;

    glViewport(0, 0, kSurfaceWidth, kSurfaceHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSurfaceWidth, kSurfaceHeight, 0, -1, 1);  // y grows downward, one unit a pixel
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    panel_.set_font_list(build_font_lists(panel_font()));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    CreateTextures(CreateBitmapImages(), kSpriteSize, kSpriteSize, texture_);
    ready_ = true;
}

bool GlSurface::begin_draw() {
    if (!ready_) return false;
    QOpenGLContext* const ours = context();
    if (target_bound_ && QOpenGLContext::currentContext() == ours) return true;
    if (QOpenGLContext::currentContext() != ours) makeCurrent();
    ours->extraFunctions()->glBindFramebuffer(GL_FRAMEBUFFER, picture_->handle());
    // Painting the widget sets the viewport to the widget's own framebuffer.
    glViewport(0, 0, kSurfaceWidth, kSurfaceHeight);
    target_bound_ = true;
    return true;
}

// Every present would otherwise cost a whole repaint of the window; a run drawing thousands of
// steps a second needs the picture shown only as often as the display can show it.
void GlSurface::present() {
    if (in_paint_ || repaint_due_) return;
    repaint_due_ = true;
    const qint64 since = since_paint_.isValid() ? since_paint_.elapsed() : frame_ms_;
    if (since >= frame_ms_) {
        request_repaint();
    } else {
        repaint_timer_.start(static_cast<int>(frame_ms_ - since));
    }
}

void GlSurface::request_repaint() {
    repaint_asked_ = true;
    update();
}

void GlSurface::initializeGL() {}

void GlSurface::resizeGL(int, int) {
    target_bound_ = false;
}

void GlSurface::paintGL() {
    target_bound_ = false;
    const bool asked = repaint_asked_;
    repaint_asked_ = false;
    repaint_due_ = false;
    since_paint_.restart();
    if (!ready_) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    if (!asked && on_window_repaint) {
        in_paint_ = true;
        on_window_repaint();
        in_paint_ = false;
    }
    if (panel_.pending() && begin_draw()) panel_.flush();

    QOpenGLExtraFunctions* const f = context()->extraFunctions();
    const GLuint shown = defaultFramebufferObject();
    f->glBindFramebuffer(GL_FRAMEBUFFER, shown);
    const Placement at = placement();
    if (at.left > 0 || at.top > 0) glClear(GL_COLOR_BUFFER_BIT);  // white margins
    const qreal ratio = devicePixelRatioF();
    const int device_height = qRound(height() * ratio);
    const int x0 = at.left;
    const int y0 = device_height - at.top - kSurfaceHeight * at.scale;  // GL rows run upward
    f->glBindFramebuffer(GL_READ_FRAMEBUFFER, picture_->handle());
    f->glBlitFramebuffer(0, 0, kSurfaceWidth, kSurfaceHeight, x0, y0, x0 + kSurfaceWidth * at.scale,
                         y0 + kSurfaceHeight * at.scale, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    f->glBindFramebuffer(GL_FRAMEBUFFER, shown);
}

Placement GlSurface::placement() const {
    const qreal ratio = devicePixelRatioF();
    return place_picture(ratio, qRound(width() * ratio), qRound(height() * ratio));
}

QPoint GlSurface::to_units(QPointF widget_pos) const {
    const UnitPoint units =
        to_picture_units(widget_pos.x(), widget_pos.y(), devicePixelRatioF(), placement());
    return QPoint(units.x, units.y);
}

double GlSurface::units_per_pixel() const {
    return devicePixelRatioF() / placement().scale;
}

QImage GlSurface::read_framebuffer() {
    if (!begin_draw()) return QImage();
    panel_.flush();
    QImage image(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, kSurfaceWidth, kSurfaceHeight, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    return image.mirrored();  // GL rows run bottom to top
}

void GlSurface::mousePressEvent(QMouseEvent* event) {
    if (on_press) on_press(to_units(event->position()));
}

void GlSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (on_release) on_release(to_units(event->position()));
}

void GlSurface::mouseMoveEvent(QMouseEvent* event) {
    if (on_move) on_move(to_units(event->position()));
}

}  // namespace vornick
