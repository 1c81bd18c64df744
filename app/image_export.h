// The picture as a file or on the clipboard: a PNG at the scale it is drawn, named after the
// run's seed and step, written whole or not at all.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

namespace vornick {

// "vornick-seed-<seed>-step-<iters>.png"
QString export_file_name(uint32_t seed, int32_t iters);

// That name in the user's Pictures folder, or in the home folder when there is none.
QString default_export_path(uint32_t seed, int32_t iters);
QString in_pictures(const QString& name);

// Writes `picture` as PNG to `path` (bytes, as the system names it), replacing a file there
// only once the new one is complete. On failure returns false with the system's reason in
// `error`; any file at `path` is untouched and nothing of the new one is left.
bool write_png(const QImage& picture, const QByteArray& path, QString* error);

}  // namespace vornick
