// Files read as the system names them, never in a way that can wait: only a regular file is
// opened, so a named pipe, a socket or a device can never hold up the reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vornick {

// Why a file of this kind (a stat mode) is not read, in words; nothing for a regular file.
std::optional<std::string> not_a_regular_file(unsigned mode);

// A regular file open for reading, read in pieces; closed when destroyed.
class FileSource {
  public:
    FileSource() = default;
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Opens `path` (bytes, as the system names it) if it is a regular file. The kind is
    // checked before the file is opened, and again on what was opened, in case the name was
    // given to something else in between. False with the reason in `error`.
    bool open(const std::string& path, std::string& error);
    // Up to `max` bytes into `to`: how many, 0 at the end, -1 with the reason in `error`.
    int64_t read(char* to, int64_t max, std::string& error);
    // The size the file had when it was opened.
    int64_t size() const { return size_; }

  private:
    int fd_ = -1;
    int64_t size_ = 0;
};

}  // namespace vornick
