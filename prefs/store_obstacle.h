// Why the store's file cannot be written, in words for the user: what the file system says of
// the file and of the folders on its way. Plain POSIX, so it is tested without Qt.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vornick {

// The first obstacle to replacing the file at `path` by a new one written beside it: a folder
// in its place, a folder on the way that is a file or cannot be made, no permission, a read-only
// or full file system. Nothing when none is found.
std::optional<std::string> store_write_obstacle(const std::string& path);

// Why a file of `bytes` bytes cannot be written beside the file at `path` now, as the file
// system answers an attempt: a save that failed where nothing stood in its way (a full disk
// that still shows room, a failing device) fails the same way again. The attempt leaves
// nothing behind; nothing is returned when it succeeds.
std::optional<std::string> store_write_attempt(const std::string& path, std::size_t bytes);

}  // namespace vornick
