#include "prefs/store_obstacle.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

std::optional<std::string> store_write_attempt(const std::string& path, std::size_t bytes) {
    const std::string folder = folder_of(path);
    const auto slash = path.find_last_of('/');
    std::string attempt = folder + "/." + path.substr(slash == std::string::npos ? 0 : slash + 1);
    attempt += ".attempt-XXXXXX";
    const int fd = ::mkstemp(attempt.data());
    if (fd < 0) return os_reason(errno);
    const std::string fill(bytes, '\n');
    int err = 0;
    std::size_t done = 0;
    while (done < fill.size() && err == 0) {
        const ssize_t n = ::write(fd, fill.data() + done, fill.size() - done);
        if (n > 0) done += static_cast<std::size_t>(n);
        if (n < 0 && errno != EINTR) err = errno;
        if (n == 0) err = EIO;
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    ::unlink(attempt.c_str());
    if (err != 0) return os_reason(err);
    return std::nullopt;
}

}  // namespace vornick
