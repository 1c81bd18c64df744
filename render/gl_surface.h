// The program's one drawing surface: a 440 x 300 unit picture kept in a framebuffer of its own,
// drawn into at any time and shown at most once per display frame, at a whole-number scale.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QOffscreenSurface>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "render/board.h"
#include "render/gl_common.h"
#include "render/panel.h"
#include "render/scaling.h"
#include "render/sprites.h"

class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace vornick {

// Immediate-mode drawing needs the compatibility profile; call before the application exists.
void use_compatibility_profile();

// The GL context draws off screen; a repaint copies what changed of the picture into an image
// that the widget paints like any other. Handing a GL frame to the window system would make
// every repaint wait for the display server; a painted image leaves that to Qt's backing store.
class GlSurface : public QWidget {
    Q_OBJECT

  public:
    explicit GlSurface(QWidget* parent = nullptr);
    ~GlSurface() override;

    // Builds the context, the picture, the font and the sprite textures (from the bundled
    // images unless told otherwise, as CreateBitmapImages takes them). Needs a display.
    void setup(const QString& sprite_dir = QStringLiteral(":/sprites"));
    bool is_ready() const { return ready_; }
    // What kept setup from making the surface ready, in words for the user.
    const QString& setup_failure() const { return failure_; }

    GlBoard& board() { return board_; }
    GlPanel& panel() { return panel_; }

    // The picture, up to date, at its device scale; row 0 at the top, RGBA8888.
    QImage read_framebuffer();
    QPoint to_units(QPointF widget_pos) const;
    // Picture units per logical pixel: a pointer distance in the measure of to_units.
    double units_per_pixel() const;
    int font_list() const { return static_cast<int>(panel_.font_list()); }
    const SpriteTextures& textures() const { return texture_; }

    // The picture is drawn at the screen's ratio times the zoom (1 to kMaxZoom), rounded to a
    // whole scale, with the same 440 x 300 units: the widget takes the size that holds it, and
    // text and the frame are drawn at the finer scale rather than enlarged. A change of scale
    // starts a blank picture with the panel written again, and asks for a full refresh of the
    // board. A move to a screen of another ratio does the same.
    void set_zoom(int zoom);
    int zoom() const { return zoom_; }
    // Device pixels per unit of the picture as it is drawn now.
    int device_scale() const { return scale_; }

    // Makes the picture, brought up to date, the drawing target for drawing of any kind. False
    // when there is nothing to draw into; the caller then draws nothing.
    bool begin_draw();
    // The same without bringing it up to date: for the board and panel's own deferred drawing.
    bool make_target();
    // The part of the picture that the next repaint must copy; begin_draw marks all of it.
    void touch(const QRect& units);
    // Shows the picture at the next repaint; repaints are coalesced to one per display frame.
    void present();
    // The shortest time between two repaints, 16 ms (one display frame) unless set longer.
    static constexpr int kDisplayFrameMs = 16;
    static constexpr int kBoardHalfWidth = 300;  // the board and its margins; the panel beyond
    void set_frame_interval_ms(int ms) { frame_ms_ = ms < kDisplayFrameMs ? kDisplayFrameMs : ms; }

    std::function<void()> on_window_repaint;
    std::function<void(QPoint units)> on_press;
    std::function<void(QPoint units)> on_release;
    std::function<void(QPoint units)> on_move;

  signals:
    void frame_shown();  // a repaint has put the picture up to date on the screen

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void init_state(const QString& sprite_dir);
    int wanted_scale() const;
    void fit_size();
    void follow_scale();
    bool make_picture(int scale);
    bool rescale();
    void refresh_all();
    void request_repaint();
    void bring_up_to_date();
    void copy_out(const QRect& units);
    QRect to_widget(const QRect& units) const;  // the widget's logical pixels that show them
    Placement placement() const;

    GlBoard board_{*this};
    GlPanel panel_{*this};
    std::unique_ptr<QOpenGLContext> context_;
    QOffscreenSurface offscreen_;
    std::unique_ptr<QOpenGLFramebufferObject> picture_;
    SpriteTextures texture_{};
    QImage shown_;  // what the widget paints: the picture as the last repaint copied it
    std::vector<uint32_t> readback_;
    QRect dirty_;  // picture units changed since that copy
    bool ready_ = false;
    QString failure_;
    bool target_bound_ = false;  // the context is current and the picture is bound
    bool in_paint_ = false;
    bool repaint_due_ = false;    // a present is waiting for its repaint
    bool repaint_asked_ = false;  // the next paint was asked for by present()
    int zoom_ = 1;
    int scale_ = 1;
    int refused_scale_ = 0;  // a scale whose picture could not be made
    QElapsedTimer since_paint_;
    qint64 frame_ms_ = kDisplayFrameMs;
    QTimer repaint_timer_;
};

}  // namespace vornick
