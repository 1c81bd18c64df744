// Files replaced whole or not at all: the new bytes are written under a name of their own in
// the same folder, flushed to the disk and renamed over the file, so a failed or killed save
// leaves the old file as it was, or no file, never a part of one.
#pragma once

#include <string>
#include <string_view>

namespace vornick {

// Writes `bytes` as the file at `path` (bytes, as the system names it; a link is followed to
// the file it names). False with the system's reason in `error`, and then nothing of the new
// bytes is left on disk. A new file gets the permissions the user's umask allows, a replaced
// one keeps its own.
//
// A save killed before its rename leaves its copy behind; the next save of the same file
// removes it. A save holds a shared lock on its folder while its copy exists, and copies are
// removed only under the exclusive lock: the kernel drops a dead process's lock whatever
// killed it, so a copy is removed exactly when no save in that folder can still be writing
// it, with no guess from a process id (reused, or from another machine sharing the folder) or
// from the age of a file (a slow save is still alive). Where the folder cannot be locked
// (some network file systems), copies are left alone.
bool save_whole_file(const std::string& path, std::string_view bytes, std::string& error);

// The same, for a file written piece by piece: open, write as often as needed, then commit to
// put it in place. Every call gives false with the system's reason in `error` when it fails,
// and the copy is then gone; a save destroyed or cancelled before its commit leaves nothing.
class FileSave {
  public:
    FileSave() = default;
    ~FileSave();
    FileSave(const FileSave&) = delete;
    FileSave& operator=(const FileSave&) = delete;

    bool open(const std::string& path, std::string& error);
    bool write(std::string_view bytes, std::string& error);
    bool commit(std::string& error);
    void cancel();
    bool is_open() const { return fd_ >= 0; }

  private:
    bool fail(int err, std::string& error);

    std::string path_;
    std::string copy_;
    int dir_ = -1;
    int fd_ = -1;
    bool locked_ = false;
};

// What the copies of a save of the file named `name` begin with; six letters or digits follow.
std::string save_copy_prefix(std::string_view name);

}  // namespace vornick
