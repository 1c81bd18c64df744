// A run file's text read as it comes, piece by piece, into a RunFile: memory grows with the
// edits the file holds, never with its comments, its blank lines or the length of a line.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/history/run_file.h"

namespace vornick {

// A line that is neither blank nor a comment holds at most this many characters, its line end
// aside; a longer one is refused as soon as it is seen.
inline constexpr int64_t kMaxRunFileLine = 4096;

class RunFileParser {
  public:
    RunFileParser();
    ~RunFileParser();
    RunFileParser(const RunFileParser&) = delete;
    RunFileParser& operator=(const RunFileParser&) = delete;

    // The next piece of the text, cut anywhere. False once the text is refused: error() says
    // where and why, and later pieces are ignored.
    bool feed(std::string_view piece);
    // The text has ended: the file it holds, or nullopt with error() set. The parser is spent.
    std::optional<RunFile> finish();

    bool failed() const { return failed_; }
    const RunFileError& error() const { return error_; }

  private:
    struct Keys;
    enum class At : uint8_t { kLineStart, kComment, kContent };

    bool end_content_line();
    bool fail_here(std::string fault);

    std::unique_ptr<Keys> keys_;
    At at_ = At::kLineStart;
    int32_t line_ = 1;     // the line being read
    int64_t leading_ = 0;  // blanks before its first word
    std::string content_;  // the line from its first word on, while it is read
    bool failed_ = false;
    RunFileError error_;
};

}  // namespace vornick
