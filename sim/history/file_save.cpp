#include "sim/history/file_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace vornick {

namespace {

constexpr std::size_t kCopyLetters = 6;
constexpr std::size_t kMaxName = 255;
constexpr char kCopyMark[] = ".saving-";

bool is_copy_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The file a link names, so that the link stays a link; the path itself otherwise.
std::string followed(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : path;
}

// Copies of the same file that no save is writing: the caller holds the folder's exclusive lock.
void remove_dead_copies(int dir, const std::string& prefix) {
    const int listing = ::dup(dir);
    if (listing < 0) return;
    DIR* d = ::fdopendir(listing);
    if (!d) {
        ::close(listing);
        return;
    }
    ::rewinddir(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name(e->d_name);
        if (name.size() != prefix.size() + kCopyLetters ||
            name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        bool letters = true;
        for (const char c : name.substr(prefix.size())) letters = letters && is_copy_letter(c);
        struct stat st {};
        if (letters && ::fstatat(dir, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode)) {
            ::unlinkat(dir, e->d_name, 0);
        }
    }
    ::closedir(d);
}

// A new copy, made with O_EXCL so that no other save's copy is ever taken over. The kernel
// applies the umask to a new file's permissions.
int make_copy(const std::string& folder, const std::string& prefix, std::string& copy) {
    static std::mt19937_64 pick(
        std::random_device{}() ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<uint64_t>(::getpid()));
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        copy = folder;
        copy += '/';
        copy += prefix;
        for (std::size_t i = 0; i < kCopyLetters; ++i) copy += kLetters[pick() % 62];
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string save_copy_prefix(std::string_view name) {
    const std::size_t room = kMaxName - 1 - (sizeof kCopyMark - 1) - kCopyLetters;
    std::string prefix(1, '.');
    prefix.append(name.substr(0, room));
    prefix.append(kCopyMark);
    return prefix;
}

FileSave::~FileSave() {
    cancel();
}

bool FileSave::fail(int err, std::string& error) {
    error = std::strerror(err);
    cancel();
    return false;
}

bool FileSave::open(const std::string& given, std::string& error) {
    cancel();
    path_ = followed(given);
    const std::size_t slash = path_.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path_.substr(0, slash));
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return fail(EISDIR, error);
    dir_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0) return fail(errno, error);
    const std::string prefix = save_copy_prefix(name);
    if (::flock(dir_, LOCK_EX | LOCK_NB) == 0) remove_dead_copies(dir_, prefix);
    locked_ = ::flock(dir_, LOCK_SH) == 0;
    fd_ = make_copy(folder, prefix, copy_);
    if (fd_ < 0) return fail(errno, error);
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd_, old.st_mode & 07777);
    }
    return true;
}

bool FileSave::write(std::string_view bytes, std::string& error) {
    if (fd_ < 0) return fail(EBADF, error);
    if (!write_all(fd_, bytes)) return fail(errno, error);
    return true;
}

bool FileSave::commit(std::string& error) {
    if (fd_ < 0) return fail(EBADF, error);
    if (::fsync(fd_) != 0) return fail(errno, error);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail(errno, error);
    if (::rename(copy_.c_str(), path_.c_str()) != 0) return fail(errno, error);
    copy_.clear();
    cancel();  // only the lock is left to let go
    return true;
}

void FileSave::cancel() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!copy_.empty()) ::unlink(copy_.c_str());
    copy_.clear();
    if (dir_ >= 0) {
        if (locked_) ::flock(dir_, LOCK_UN);
        ::close(dir_);
    }
    dir_ = -1;
    locked_ = false;
}

bool save_whole_file(const std::string& path, std::string_view bytes, std::string& error) {
    FileSave save;
    return save.open(path, error) && save.write(bytes, error) && save.commit(error);
}

}  // namespace vornick
