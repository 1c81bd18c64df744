// File names as the system gives them: bytes, which need not be valid text in the user's
// locale. Paths are carried as those bytes from the command line, drops and dialogs to the
// file itself, and turned into text only to be shown.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QUrl;

namespace vornick {

// A path as it is shown in messages and titles, with the locale's best guess at odd bytes.
QString shown_path(const QByteArray& path);
// The file name alone, likewise.
QString shown_name(const QByteArray& path);

// The bytes of a path that a toolkit gives as text (a file dialog's choice). Qt turns bytes
// that are not text in the locale into replacement characters; a name holding them is found
// again among the names of its folder, when exactly one of them reads the same.
QByteArray system_path(const QString& path);

// The bytes of a local file URL's path, as a file manager percent-encodes them.
QByteArray local_path_of(const QUrl& url);

}  // namespace vornick
