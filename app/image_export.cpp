#include "app/image_export.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QStandardPaths>

#include "sim/history/file_save.h"

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

bool write_png(const QImage& picture, const QByteArray& path, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (picture.isNull()) return fail(QObject::tr("There is no picture to save."));
    // Made whole in memory first, so that only the file system can fail the save, and says why.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) return fail(writer.errorString());
    std::string why;
    if (!save_whole_file(path.toStdString(), std::string_view(png.constData(), png.size()), why)) {
        return fail(QString::fromLocal8Bit(why.c_str()));
    }
    return true;
}

}  // namespace vornick
