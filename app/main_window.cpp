#include "app/main_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QStatusBar>

#include "app/board_access.h"
#include "app/board_frame.h"
#include "app/key_codes.h"
#include "app/run_files.h"
#include "render/gl_surface.h"

namespace vornick {

MainWindow::MainWindow() {
    // Before the board exists, so that a screen reader never finds it without its description.
    install_board_access();
    surface_ = new GlSurface(this);
    setWindowTitle(QStringLiteral("Vornick"));
    setCentralWidget(new BoardFrame(surface_, this));
    // The window fits the picture at every zoom, with the status bar or without it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The board has the keyboard from the start, and a click or Tab from the status bar's seed
    // gives it back, so that Ctrl+C copies the picture again; keys the board does not take
    // still reach this window.
    surface_->setFocusPolicy(Qt::StrongFocus);
    surface_->setFocus();
    surface_->installEventFilter(this);
    access_ = new BoardAccess(surface_);
    statusBar()->setSizeGripEnabled(false);
    // The surface and the status bar take no drops, so a drop anywhere comes here.
    setAcceptDrops(true);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The quit handler decides; it saves the preferences and ends the loop.
    event->ignore();
    if (on_close) on_close();
}

// Tab would otherwise move the keyboard off the board, before the board ever saw the key.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == surface_ && event->type() == QEvent::KeyPress && on_selection_key) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const auto k = selection_key(key->key(), key->modifiers())) {
            on_selection_key(*k);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Escape from the status bar's seed hands the keyboard back to the board.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !surface_->hasFocus()) {
        surface_->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int32_t code = arrow_char_code(event->key(), event->modifiers());
    if (code == kNoCharCode || !on_arrow_key) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    on_arrow_key(code);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && on_deactivated) {
        on_deactivated();
    }
    QMainWindow::changeEvent(event);
}

// Only a local run file is taken: anything else is refused while it is still being dragged.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (on_run_dropped && !run_file_in(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (on_run_dropped && !run_file_in(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QByteArray path = run_file_in(event->mimeData());
    if (!on_run_dropped || path.isEmpty()) return;
    event->acceptProposedAction();
    on_run_dropped(path);
}

}  // namespace vornick
