#include "sim/history/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vornick {

std::optional<std::string> not_a_regular_file(unsigned mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return std::strerror(EISDIR);
    if (S_ISFIFO(mode)) return "not a regular file but a named pipe (FIFO)";
    if (S_ISSOCK(mode)) return "not a regular file but a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "not a regular file but a device";
    return "not a regular file";
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

// Opening a named pipe for reading waits for a writer, and a device may wait or never end:
// neither is opened at all. O_NONBLOCK covers a name swapped for one of them after the check.
bool FileSource::open(const std::string& path, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (const auto why = not_a_regular_file(st.st_mode)) {
        error = *why;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const std::optional<std::string> why =
        ::fstat(fd, &st) != 0 ? std::strerror(errno) : not_a_regular_file(st.st_mode);
    if (why) {
        error = *why;
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    size_ = st.st_size;
    return true;
}

int64_t FileSource::read(char* to, int64_t max, std::string& error) {
    if (fd_ < 0) {
        error = std::strerror(EBADF);
        return -1;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, to, static_cast<std::size_t>(max));
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        error = std::strerror(errno);
        return -1;
    }
}

}  // namespace vornick
