// The program's one drawing surface: a 440 x 300 picture kept in a framebuffer of its own for
// the life of the program, drawn into at any time and shown at most once per display frame.
#pragma once

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <functional>
#include <memory>

#include "render/board.h"
#include "render/gl_common.h"
#include "render/panel.h"
#include "render/scaling.h"
#include "render/sprites.h"

class QOpenGLFramebufferObject;

namespace vornick {

// Immediate-mode drawing needs the compatibility profile; call before the application exists.
void use_compatibility_profile();

class GlSurface : public QOpenGLWidget {
    Q_OBJECT

  public:
    explicit GlSurface(QWidget* parent = nullptr);
    ~GlSurface() override;

    // Builds the context state, the picture, the font and the sprite textures. Call once the
    // widget's window has been shown; waits briefly for the context if it is not there yet.
    void setup();
    bool is_ready() const { return ready_; }

    GlBoard& board() { return board_; }
    GlPanel& panel() { return panel_; }

    QImage read_framebuffer();  // the picture, row 0 at the top, RGBA8888
    QPoint to_units(QPointF widget_pos) const;
    // Picture units per logical pixel: a pointer distance in the measure of to_units.
    double units_per_pixel() const;
    int font_list() const { return static_cast<int>(panel_.font_list()); }
    const SpriteTextures& textures() const { return texture_; }

    // Makes the picture the drawing target. False when there is nothing to draw into; the
    // caller then draws nothing. Cheap when the picture is the target already.
    bool begin_draw();
    // Shows the picture at the next repaint; repaints are coalesced to one per display frame.
    void present();
    // The shortest time between two repaints, 16 ms (one display frame) unless set longer.
    static constexpr int kDisplayFrameMs = 16;
    void set_frame_interval_ms(int ms) { frame_ms_ = ms < kDisplayFrameMs ? kDisplayFrameMs : ms; }

    std::function<void()> on_window_repaint;
    std::function<void(QPoint units)> on_press;
    std::function<void(QPoint units)> on_release;
    std::function<void(QPoint units)> on_move;

  protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void init_state();
    void request_repaint();
    Placement placement() const;

    GlBoard board_{*this};
    GlPanel panel_{*this};
    std::unique_ptr<QOpenGLFramebufferObject> picture_;
    SpriteTextures texture_{};
    bool ready_ = false;
    bool target_bound_ = false;  // the context is ours and the picture is bound
    bool in_paint_ = false;
    bool repaint_due_ = false;    // a present is waiting for its repaint
    bool repaint_asked_ = false;  // the next paint was asked for by present()
    QElapsedTimer since_paint_;
    qint64 frame_ms_ = kDisplayFrameMs;
    QTimer repaint_timer_;
};

}  // namespace vornick
