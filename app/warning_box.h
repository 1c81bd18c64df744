// A failure told, not asked: a warning that stays up while the run goes on behind it.
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace vornick {

// Opens the warning over `parent` and returns it; it deletes itself when closed. `text` and
// `why` quote what a file held or is called, and are shown as they are, never as markup.
QMessageBox* open_warning(QWidget* parent, const QString& title, const QString& text,
                          const QString& why);

}  // namespace vornick
