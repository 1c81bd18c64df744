#include "app/file_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace vornick {

namespace {

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// The one name in `folder` that reads as `shown`, or the text's own bytes when none or several do.
QByteArray name_in(const QByteArray& folder, const QString& shown) {
    const QByteArray own = QFile::encodeName(shown);
    DIR* d = ::opendir(folder.constData());
    if (!d) return own;
    QByteArray found;
    int matches = 0;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (QFile::decodeName(name) == shown) {
            found = name;
            ++matches;
        }
    }
    ::closedir(d);
    return matches == 1 ? found : own;
}

}  // namespace

QString shown_path(const QByteArray& path) {
    return QDir::toNativeSeparators(QFile::decodeName(path));
}

QString shown_name(const QByteArray& path) {
    return QFileInfo(QFile::decodeName(path)).fileName();
}

QByteArray system_path(const QString& path) {
    const QByteArray plain = QFile::encodeName(path);
    if (!path.contains(QChar::ReplacementCharacter) || exists(plain)) return plain;
    // Folder by folder from the root: a replaced byte may be anywhere on the way.
    const QStringList parts = path.split(QLatin1Char('/'));
    QByteArray out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) out += '/';
        const QString& part = parts[i];
        if (part.contains(QChar::ReplacementCharacter)) {
            const QByteArray folder = i == 0 ? "." : (out == "/" ? out : out.chopped(1));
            out += name_in(folder, part);
        } else {
            out += QFile::encodeName(part);
        }
    }
    return out;
}

QByteArray local_path_of(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

}  // namespace vornick
