#include "sim/history/run_opening.h"

#include <algorithm>

namespace vornick {

namespace {

constexpr int64_t kReadPiece = int64_t{1} << 16;

}  // namespace

RunOpening::RunOpening(const std::string& path, std::optional<int64_t> target)
    : parser_(std::make_unique<RunFileParser>()), target_(target) {
    std::string why;
    if (!file_.open(path, why)) {
        fail(0, why);
        return;
    }
    if (file_.size() > kMaxRunFileBytes) {
        fail(0, "the file is larger than any run file (" + std::to_string(kMaxRunFileBytes >> 20) +
                    " MiB)");
        return;
    }
    buffer_ = std::make_unique<char[]>(kReadPiece);
}

RunOpening::~RunOpening() = default;

bool RunOpening::fail(int32_t line, std::string fault) {
    failed_ = true;
    phase_ = Phase::kDone;
    error_.line = line;
    error_.fault = std::move(fault);
    return true;
}

// A file read to its end within the piece goes on to its replay with the work left, so that a
// small file opens in one piece.
bool RunOpening::advance(int64_t work) {
    work = std::max<int64_t>(work, 1);
    if (phase_ == Phase::kReading) {
        const int64_t before = read_;
        if (read_some(std::max<int64_t>(work / kWorkPerByte, 1))) return true;
        if (phase_ != Phase::kReplaying) return false;
        work -= std::min(work, (read_ - before) * kWorkPerByte);
        if (work == 0) return false;
    }
    if (phase_ == Phase::kReplaying) {
        if (!replay_->advance(std::max<int64_t>(work / std::max(norgs(), 1), 1))) return false;
        phase_ = Phase::kDone;
        if (replay_->failed()) return fail(replay_->error().line, replay_->error().fault);
    }
    return true;
}

// Reading ends at the end of the file, whatever size it had when it was opened: a file that
// grows is read up to the limit, one cut short is parsed as it stands.
bool RunOpening::read_some(int64_t bytes) {
    while (bytes > 0) {
        std::string why;
        const int64_t got = file_.read(buffer_.get(), std::min(bytes, kReadPiece), why);
        if (got < 0) return fail(0, why);
        if (got == 0) break;
        read_ += got;
        bytes -= got;
        if (read_ > kMaxRunFileBytes) {
            return fail(0, "the file is larger than any run file (" +
                               std::to_string(kMaxRunFileBytes >> 20) + " MiB)");
        }
        if (!parser_->feed(std::string_view(buffer_.get(), static_cast<std::size_t>(got)))) {
            return fail(parser_->error().line, parser_->error().fault);
        }
    }
    if (bytes > 0) {  // the end was reached
        std::optional<RunFile> file = parser_->finish();
        if (!file) return fail(parser_->error().line, parser_->error().fault);
        parser_.reset();
        buffer_.reset();
        const int64_t to = target_.value_or(file->steps);
        replay_ = std::make_unique<RunReplay>(std::move(*file), to);
        phase_ = Phase::kReplaying;
        if (replay_->done()) {  // refused before any step: an organism the run does not have
            phase_ = Phase::kDone;
            if (replay_->failed()) return fail(replay_->error().line, replay_->error().fault);
        }
        return done();
    }
    return false;
}

int64_t RunOpening::left() const {
    if (phase_ == Phase::kReading) return std::max<int64_t>(total() - read_, 0);
    return phase_ == Phase::kReplaying ? replay_->steps_left() : 0;
}

int64_t RunOpening::total() const {
    if (phase_ == Phase::kReading) return std::max(file_.size(), read_);
    return replay_ ? replay_->steps_total() : 0;
}

int32_t RunOpening::norgs() const {
    return replay_ ? replay_->model().norgs : 0;
}

void RunOpening::adopt_into(Sim& sim) {
    if (done() && !failed_ && replay_) replay_->adopt_into(sim);
    replay_.reset();
}

bool open_run_file(Sim& sim, const std::string& path, std::string& error) {
    RunOpening opening(path);
    while (!opening.advance(INT64_MAX)) {
    }
    if (opening.failed()) {
        error = opening.error().message();
        return false;
    }
    opening.adopt_into(sim);
    return true;
}

}  // namespace vornick
