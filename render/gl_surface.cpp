#include "render/gl_surface.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPaintEvent>
#include <QPainter>
#include <QSurfaceFormat>
#include <algorithm>
#include <cstring>

#include "render/font.h"
#include "render/gl_check.h"

namespace vornick {

namespace {

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

GlSurface::GlSurface(QWidget* parent) : QWidget(parent) {
    fit_size();
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole widget
    repaint_timer_.setSingleShot(true);
    repaint_timer_.setTimerType(Qt::PreciseTimer);
    connect(&repaint_timer_, &QTimer::timeout, this, &GlSurface::request_repaint);
}

GlSurface::~GlSurface() {
    if (!context_) return;
    context_->makeCurrent(&offscreen_);
    picture_.reset();
    if (ready_) {
        glDeleteTextures(kSpriteCount, texture_.data());
        if (panel_.font_list() != 0) glDeleteLists(panel_.font_list(), kGlyphLists);
    }
    context_->doneCurrent();
}

void GlSurface::setup(const QString& sprite_dir) {
    if (ready_) return;
    offscreen_.setFormat(QSurfaceFormat::defaultFormat());
    offscreen_.create();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(QSurfaceFormat::defaultFormat());
    GlContextFacts facts;
    if (offscreen_.isValid()) facts = make_gl_context(*context_, offscreen_);
    if (const auto shortfall = gl_shortfall(facts)) {
        failure_ = QString::fromStdString(*shortfall);
        context_.reset();
        return;  // nothing to draw into: every drawing operation does nothing
    }
    init_state(sprite_dir);
    if (!ready_) failure_ = QStringLiteral("the picture's framebuffer object could not be made");
}

void GlSurface::init_state(const QString& sprite_dir) {
    if (!make_picture(wanted_scale())) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSurfaceWidth, kSurfaceHeight, 0, -1, 1);  // y grows downward, at any scale
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    const SpriteImages images = CreateBitmapImages(sprite_dir);
    CreateTextures(images, kSpriteSize, kSpriteSize, texture_);
    board_.set_sprites(stage_sprites(images, kSpriteSize, kSpriteSize));
    ready_ = true;
}

int GlSurface::wanted_scale() const {
    return vornick::device_scale(devicePixelRatioF(), zoom_);
}

// A blank white picture at `scale`, bound as the target, with the glyph lists of that scale.
// When it can't be made the picture in use stays, at its own scale.
bool GlSurface::make_picture(int scale) {
    const QSize size(kSurfaceWidth * scale, kSurfaceHeight * scale);
    auto picture = std::make_unique<QOpenGLFramebufferObject>(
        size, QOpenGLFramebufferObject::NoAttachment, GL_TEXTURE_2D, GL_RGBA8);
    target_bound_ = false;  // making a framebuffer changes the binding
    if (!picture->isValid()) return false;
    picture_ = std::move(picture);
    scale_ = scale;
    context_->extraFunctions()->glBindFramebuffer(GL_FRAMEBUFFER, picture_->handle());
    target_bound_ = true;
    glViewport(0, 0, size.width(), size.height());

    if (panel_.font_list() != 0) glDeleteLists(panel_.font_list(), kGlyphLists);
    panel_.set_font_list(build_font_lists(panel_font(scale)));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    shown_ = QImage(size, QImage::Format_RGB32);
    shown_.fill(Qt::white);
    readback_.assign(static_cast<std::size_t>(size.width()) * size.height(), 0);
    dirty_ = QRect(0, 0, kSurfaceWidth, kSurfaceHeight);
    return true;
}

// A new scale starts a new picture; the recorded board drawing goes into the old one first, so
// that the texture state it leaves is the one the GL is in.
bool GlSurface::rescale() {
    const int wanted = wanted_scale();
    if (!ready_ || wanted == scale_ || wanted == refused_scale_) return false;
    board_.flush_pending();
    if (!make_target()) return false;
    if (!make_picture(wanted)) {
        refused_scale_ = wanted;  // the driver will not do better at the next frame
        return false;
    }
    panel_.rewrite_all();
    return true;
}

void GlSurface::refresh_all() {
    if (on_window_repaint) on_window_repaint();
}

void GlSurface::set_zoom(int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    follow_scale();
}

// The widget holds the picture at the scale of the screen it is on, with no margin: a new ratio
// changes its logical size even where the scale stays (1.25 and 1 both draw at 1).
void GlSurface::fit_size() {
    const LogicalSize wanted = widget_size(devicePixelRatioF(), zoom_);
    const QSize size(wanted.width, wanted.height);
    if (size != minimumSize() || size != maximumSize()) setFixedSize(size);
}

void GlSurface::follow_scale() {
    fit_size();
    if (rescale()) refresh_all();
    update();
}

bool GlSurface::event(QEvent* event) {
    // Qt sends the first to every widget of a window that moved to another screen (on the
    // window's QWindow::screenChanged); Qt 6.6 and later also tell of a new ratio in place.
    const bool screen = event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
                        || event->type() == QEvent::DevicePixelRatioChange
#endif
        ;
    const bool handled = QWidget::event(event);
    // The new ratio is in force once the event has been delivered.
    if (screen) QMetaObject::invokeMethod(this, &GlSurface::follow_scale, Qt::QueuedConnection);
    return handled;
}

bool GlSurface::make_target() {
    if (!ready_) return false;
    QOpenGLContext* const ours = context_.get();
    if (target_bound_ && QOpenGLContext::currentContext() == ours) return true;
    if (QOpenGLContext::currentContext() != ours) ours->makeCurrent(&offscreen_);
    ours->extraFunctions()->glBindFramebuffer(GL_FRAMEBUFFER, picture_->handle());
    glViewport(0, 0, kSurfaceWidth * scale_, kSurfaceHeight * scale_);
    target_bound_ = true;
    return true;
}

bool GlSurface::begin_draw() {
    if (!make_target()) return false;
    board_.flush_pending();
    touch(QRect(0, 0, kSurfaceWidth, kSurfaceHeight));
    return true;
}

void GlSurface::touch(const QRect& units) {
    dirty_ |= units & QRect(0, 0, kSurfaceWidth, kSurfaceHeight);
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

// The board is repainted whole, as steps change it all over; of the panel, what changed and
// the step count. Until the paint comes, steps change nothing outside those.
void GlSurface::request_repaint() {
    const QRect board(0, 0, kBoardHalfWidth, kSurfaceHeight);
    const QRect panel(kBoardHalfWidth, 0, kSurfaceWidth - kBoardHalfWidth, kSurfaceHeight);
    QRect units;
    // Recorded steps reach the picture only in the paint, so they count as changing the board.
    if (dirty_.intersects(board) || board_.has_pending()) units |= board;
    if (dirty_.intersects(panel)) units |= (dirty_ & panel) | GlPanel::count_area();
    if (units.isEmpty()) {
        repaint_due_ = false;  // nothing changed since the last repaint
        return;
    }
    repaint_asked_ = true;
    update(to_widget(units));
}

QRect GlSurface::to_widget(const QRect& units) const {
    const Placement at = placement();
    const qreal ratio = devicePixelRatioF();
    return QRectF((at.left + units.x() * at.scale) / ratio, (at.top + units.y() * at.scale) / ratio,
                  units.width() * at.scale / ratio, units.height() * at.scale / ratio)
        .toAlignedRect();
}

void GlSurface::bring_up_to_date() {
    board_.flush_pending();
    if (panel_.pending() && make_target()) panel_.flush();
}

void GlSurface::copy_out(const QRect& units) {
    if (units.isEmpty() || !make_target()) return;
    const int s = scale_;
    const QRect device(units.x() * s, units.y() * s, units.width() * s, units.height() * s);
    // BGRA bytes are the 32-bit pixels of the image; GL rows run bottom to top.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(device.x(), kSurfaceHeight * s - device.y() - device.height(), device.width(),
                 device.height(), GL_BGRA, GL_UNSIGNED_BYTE, readback_.data());
    for (int row = 0; row < device.height(); ++row) {
        const uint32_t* from = readback_.data() + static_cast<std::size_t>(row) * device.width();
        auto* to = reinterpret_cast<uint32_t*>(shown_.scanLine(device.bottom() - row)) + device.x();
        std::memcpy(to, from, static_cast<std::size_t>(device.width()) * sizeof(uint32_t));
    }
}

// A paint shows the picture either wholly up to date or as the last repaint showed it, never
// a mixture: a paint of part of the widget while the picture has changed outside that part
// leaves the copy for a whole repaint, asked for at once.
void GlSurface::paintEvent(QPaintEvent* event) {
    const bool asked = repaint_asked_;
    repaint_asked_ = false;
    repaint_due_ = false;
    since_paint_.restart();
    QPainter painter(this);
    if (!ready_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // Moved to a screen of another scale: the picture is drawn anew at that scale, and the widget
    // takes the size that holds it once this paint is over.
    const bool rescaled = rescale();
    const LogicalSize fits = widget_size(devicePixelRatioF(), zoom_);
    if (size() != QSize(fits.width, fits.height)) {
        QMetaObject::invokeMethod(this, &GlSurface::follow_scale, Qt::QueuedConnection);
    }
    if ((!asked || rescaled) && on_window_repaint) {
        in_paint_ = true;
        on_window_repaint();
        in_paint_ = false;
    }
    bring_up_to_date();
    // QRegion::contains(QRect) only tells whether they overlap.
    const bool whole = dirty_.isEmpty() || (QRegion(to_widget(dirty_)) - event->region()).isEmpty();
    if (whole) {
        copy_out(dirty_);
        dirty_ = QRect();
    } else {
        update();
    }

    const Placement at = placement();
    const qreal ratio = devicePixelRatioF();
    painter.scale(1.0 / ratio, 1.0 / ratio);  // device pixels from here on
    const QRect device(0, 0, qRound(width() * ratio), qRound(height() * ratio));
    const QRect target(at.left, at.top, kSurfaceWidth * at.scale, kSurfaceHeight * at.scale);
    if (target != device) {
        const QRegion margins = QRegion(device) - QRegion(target);
        for (const QRect& r : margins) painter.fillRect(r, Qt::white);
    }
    painter.drawImage(target, shown_);
    if (whole) emit frame_shown();
}

Placement GlSurface::placement() const {
    const qreal ratio = devicePixelRatioF();
    return place_picture(scale_, qRound(width() * ratio), qRound(height() * ratio));
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
    QImage image(kSurfaceWidth * scale_, kSurfaceHeight * scale_, QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
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
