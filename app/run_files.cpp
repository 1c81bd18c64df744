#include "app/run_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

#include "app/file_names.h"
#include "sim/history/file_save.h"

namespace vornick {

QString run_file_name(uint32_t seed, int32_t iters) {
    return QStringLiteral("vornick-seed-%1-step-%2.%3").arg(seed).arg(iters).arg(kRunSuffix);
}

QString default_run_path(uint32_t seed, int32_t iters) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
    return QDir(dir).filePath(run_file_name(seed, iters));
}

QString with_run_suffix(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    QString name = QFileInfo(path).fileName();
    // "name." has an empty suffix too: the dot is kept and the suffix follows it.
    return path + (name.endsWith('.') ? QString() : QStringLiteral(".")) + kRunSuffix;
}

QByteArray run_file_in(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return QByteArray();
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QByteArray path = local_path_of(url);
        if (QFileInfo(QFile::decodeName(path)).suffix().compare(kRunSuffix, Qt::CaseInsensitive) ==
            0) {
            return path;
        }
    }
    return QByteArray();
}

QByteArray run_file_argument(const QList<QByteArray>& arguments) {
    bool options_over = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray& a = arguments[i];
        if (!options_over && a == "--") {
            options_over = true;
            continue;
        }
        if (a.isEmpty() || (!options_over && a.startsWith('-'))) continue;
        return a;
    }
    return QByteArray();
}

bool write_run_text(const QByteArray& path, const std::string& text, QString* error) {
    std::string why;
    if (save_whole_file(path.toStdString(), text, why)) return true;
    if (error) *error = QString::fromLocal8Bit(why.c_str());
    return false;
}

}  // namespace vornick
