// Opening a run file: the file read in pieces and parsed as it comes, then its run replayed to
// its step, each advance a bounded piece of work. The caller keeps its own events going and
// shows progress between pieces; the current run is untouched until the opening is adopted.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/history/file_source.h"
#include "sim/history/run_file_parser.h"
#include "sim/history/run_replay.h"

namespace vornick {

class RunOpening {
  public:
    enum class Phase : uint8_t { kReading, kReplaying, kDone };
    // Work is counted in organism-steps of the replay; reading a byte costs about this many.
    static constexpr int64_t kWorkPerByte = 8;

    // Opens `path` (bytes, as the system names it) at once; a file that cannot be opened
    // makes an opening already done and failed. The run goes to step `target`, or to the
    // file's own `steps` without one.
    explicit RunOpening(const std::string& path, std::optional<int64_t> target = std::nullopt);
    ~RunOpening();

    // Goes on by about `work` organism-steps; true once done, well or not.
    bool advance(int64_t work);
    Phase phase() const { return phase_; }
    bool done() const { return phase_ == Phase::kDone; }
    bool failed() const { return failed_; }
    // Why it failed: the line at fault and what is wrong there, or the system's reason (line 0).
    const RunFileError& error() const { return error_; }

    // Of the phase under way: bytes to read, or steps to replay.
    int64_t left() const;
    int64_t total() const;
    // The organisms of the run, once the file is read (0 before).
    int32_t norgs() const;

    // From the replay on; once done without a fault it holds the run at its step.
    const RunReplay* replay() const { return replay_.get(); }
    // Hands the run to `sim`, which shows it halted (ended at its end); the opening is spent.
    void adopt_into(Sim& sim);

  private:
    bool read_some(int64_t bytes);
    bool fail(int32_t line, std::string fault);

    FileSource file_;
    std::unique_ptr<RunFileParser> parser_;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<RunReplay> replay_;
    std::optional<int64_t> target_;
    int64_t read_ = 0;
    Phase phase_ = Phase::kReading;
    bool failed_ = false;
    RunFileError error_;
};

// Reads and checks a run file at once, as an opening's reading does, without replaying it.
// Nothing, with the reason in `error`, when it cannot be read or is refused.
std::optional<RunFile> read_run_file(const std::string& path, RunFileError& error);

// Reads, checks and replays a run file to its `steps` at once and hands it to `sim`. False,
// leaving `sim` as it was, with the reason in `error`.
bool open_run_file(Sim& sim, const std::string& path, std::string& error);

}  // namespace vornick
