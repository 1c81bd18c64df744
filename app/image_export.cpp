#include "app/image_export.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

namespace vornick {

QString export_file_name(uint32_t seed, int32_t iters) {
    return QStringLiteral("vornick-seed-%1-step-%2.png").arg(seed).arg(iters);
}

QString default_export_path(uint32_t seed, int32_t iters) {
    return in_pictures(export_file_name(seed, iters));
}

QString in_pictures(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
    return QDir(dir).filePath(name);
}

bool write_png(const QImage& picture, const QString& path, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (picture.isNull()) return fail(QObject::tr("There is no picture to save."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    QImageWriter writer(&file, "png");
    if (!writer.write(picture)) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

}  // namespace vornick
