#include "app/run_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include "sim/history/run_file.h"

namespace vornick {

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

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

QString run_file_in(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return QString();
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).suffix().compare(kRunSuffix, Qt::CaseInsensitive) == 0) return path;
    }
    return QString();
}

QString run_file_argument(const QStringList& arguments) {
    bool options_over = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!options_over && a == QStringLiteral("--")) {
            options_over = true;
            continue;
        }
        if (a.isEmpty() || (!options_over && a.startsWith('-'))) continue;
        return a;
    }
    return QString();
}

bool read_run_text(const QString& path, std::string& text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(error, file.errorString());
    const auto too_large = [error] {
        return fail(error, QObject::tr("The file is larger than any run file (%1 MiB).")
                               .arg(kMaxRunFileBytes >> 20));
    };
    if (!file.isSequential() && file.size() > kMaxRunFileBytes) return too_large();
    // A pipe or a device has no size to check beforehand: reading stops past the limit.
    text.clear();
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0) return fail(error, file.errorString());
        if (got == 0) break;
        if (static_cast<int64_t>(text.size()) + got > kMaxRunFileBytes) return too_large();
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

bool write_run_text(const QString& path, const std::string& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(error, file.errorString());
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        file.cancelWriting();
        return fail(error, file.errorString());
    }
    if (!file.commit()) return fail(error, file.errorString());
    return true;
}

}  // namespace vornick
