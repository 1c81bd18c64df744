#include "prefs/store_obstacle.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vornick {

namespace {

std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string os_reason(int error) {
    return std::strerror(error);
}

}  // namespace

std::optional<std::string> store_write_obstacle(const std::string& path) {
    struct stat st {};
    const bool file_exists = ::stat(path.c_str(), &st) == 0;
    if (file_exists && S_ISDIR(st.st_mode)) return "a folder of that name is in the way";

    // The store makes missing folders on its way; the nearest one that exists must be a folder
    // it may write in.
    const std::string folder = folder_of(path);
    std::string existing = folder;
    while (::stat(existing.c_str(), &st) != 0) {
        if (errno != ENOENT || existing == "/" || existing == ".") return os_reason(errno);
        existing = folder_of(existing);
    }
    if (!S_ISDIR(st.st_mode)) return existing + " is not a folder";
    if (::access(existing.c_str(), W_OK | X_OK) != 0) {
        if (existing == folder) return os_reason(errno);
        return "cannot make the folder " + folder + ": " + os_reason(errno);
    }
    if (existing != folder) return std::nullopt;

    // The new file is written beside the old one and renamed over it, but the store leaves an
    // old file alone that is not writable.
    if (file_exists && ::access(path.c_str(), W_OK) != 0) return os_reason(errno);

    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) == 0 && fs.f_bavail == 0) return os_reason(ENOSPC);
    return std::nullopt;
}

}  // namespace vornick
