// Run files as the desktop sees them: their suggested name and place, their suffix, which
// dropped item or program argument is one, and writing them whole.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <string>

class QMimeData;

namespace vornick {

inline constexpr char kRunSuffix[] = "vornick";

// "vornick-seed-<seed>-step-<iters>.vornick"
QString run_file_name(uint32_t seed, int32_t iters);

// That name in the user's Documents folder, or in the home folder when there is none.
QString default_run_path(uint32_t seed, int32_t iters);

// The path with ".vornick" added when its file name has no suffix at all, as the file dialog
// adds it; a suffix the user typed is kept.
QString with_run_suffix(const QString& path);

// The first local file named *.vornick among dropped URLs, as the system names it; empty when
// there is none.
QByteArray run_file_in(const QMimeData* mime);

// The file to open from the program's arguments as the system gives them (the program first):
// the first argument that is not an option, or any after "--"; empty when there is none.
QByteArray run_file_argument(const QList<QByteArray>& arguments);

// Writes the file whole, replacing one there only once the new one is complete. False with the
// system's reason in `error`, and nothing of the new text left on disk.
bool write_run_text(const QByteArray& path, const std::string& text, QString* error);

}  // namespace vornick
