#include "app/warning_box.h"

#include <QMessageBox>

namespace vornick {

QMessageBox* open_warning(QWidget* parent, const QString& title, const QString& text,
                          const QString& why) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(QStringLiteral("<p>%1</p>").arg(why.toHtmlEscaped()));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

}  // namespace vornick
