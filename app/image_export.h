// The picture as a file or on the clipboard: a PNG at the scale it is drawn, named after the
// run's seed and step, written whole or not at all.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace vornick {

// "vornick-seed-<seed>-step-<iters>.png"
QString export_file_name(uint32_t seed, int32_t iters);

// That name in the user's Pictures folder, or in the home folder when there is none.
QString default_export_path(uint32_t seed, int32_t iters);
QString in_pictures(const QString& name);

// Writes `picture` as PNG to `path`, replacing a file there only once the new one is complete.
// On failure returns false with the reason in `error`, and any file at `path` is untouched.
bool write_png(const QImage& picture, const QString& path, QString* error);

}  // namespace vornick
