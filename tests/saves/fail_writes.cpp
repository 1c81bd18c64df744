// A failing disk for tests, loaded with LD_PRELOAD. With VORNICK_FAIL_WRITES set to
// "ENOSPC /some/folder" or "EIO /some/folder", every write() to a file in that folder fails
// with that error; with "EIO-fsync /some/folder", every fsync() does. Anything else passes.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Call { kWrite, kFsync };

// The error that `call` on `fd` fails with, or 0.
int failure(Call call, int fd) {
    const char* rule = std::getenv("VORNICK_FAIL_WRITES");
    if (!rule) return 0;
    const char* space = std::strchr(rule, ' ');
    if (!space) return 0;
    const std::size_t kind = static_cast<std::size_t>(space - rule);
    const char* folder = space + 1;
    int err = 0;
    Call on = Call::kWrite;
    if (kind == 6 && std::strncmp(rule, "ENOSPC", 6) == 0) err = ENOSPC;
    if (kind == 3 && std::strncmp(rule, "EIO", 3) == 0) err = EIO;
    if (kind == 9 && std::strncmp(rule, "EIO-fsync", 9) == 0) {
        err = EIO;
        on = Call::kFsync;
    }
    if (err == 0 || on != call) return 0;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t n = ::readlink(link, path, sizeof path - 1);
    if (n <= 0) return 0;
    path[n] = '\0';
    const std::size_t length = std::strlen(folder);
    const bool inside = std::strncmp(path, folder, length) == 0 && path[length] == '/';
    return inside ? err : 0;
}

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (const int err = failure(Call::kWrite, fd)) {
        errno = err;
        return -1;
    }
    return real(fd, data, size);
}

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    if (const int err = failure(Call::kFsync, fd)) {
        errno = err;
        return -1;
    }
    return real(fd);
}

extern "C" int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    if (const int err = failure(Call::kFsync, fd)) {
        errno = err;
        return -1;
    }
    return real(fd);
}
