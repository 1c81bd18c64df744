#include "app/main_window.h"

#include <QCloseEvent>
#include <QLayout>

#include "render/gl_surface.h"

namespace vornick {

MainWindow::MainWindow() : surface_(new GlSurface(this)) {
    setWindowTitle(QStringLiteral("Vornick"));
    setCentralWidget(surface_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The quit handler decides; it saves the preferences and ends the loop.
    event->ignore();
    if (on_close) on_close();
}

}  // namespace vornick
