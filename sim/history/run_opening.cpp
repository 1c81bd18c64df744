#include "sim/history/run_opening.h"

#include <algorithm>

namespace vornick {

namespace {

constexpr int64_t kReadPiece = int64_t{1} << 16;

std::string too_large() {
    return "the file is larger than any run file (" + std::to_string(kMaxRunFileBytes >> 20) +
           " MiB)";
}

enum class Read : uint8_t { kMore, kEnd, kFailed };

// Up to `bytes` more of the file fed to the parser. Reading ends at the end of the file,
// whatever size it had when it was opened: a file that grows is read up to the limit, one cut
// short is parsed as it stands.
Read read_piece(FileSource& file, RunFileParser& parser, char* buffer, int64_t bytes, int64_t& read,
                RunFileError& error) {
    while (bytes > 0) {
        std::string why;
        const int64_t got = file.read(buffer, std::min(bytes, kReadPiece), why);
        if (got < 0 || read + got > kMaxRunFileBytes) {
            error = {0, got < 0 ? why : too_large()};
            return Read::kFailed;
        }
        if (got == 0) return Read::kEnd;
        read += got;
        bytes -= got;
        if (!parser.feed(std::string_view(buffer, static_cast<std::size_t>(got)))) {
            error = parser.error();
            return Read::kFailed;
        }
    }
    return Read::kMore;
}

bool open_source(FileSource& file, const std::string& path, RunFileError& error) {
    std::string why;
    if (!file.open(path, why)) {
        error = {0, why};
        return false;
    }
    if (file.size() > kMaxRunFileBytes) {
        error = {0, too_large()};
        return false;
    }
    return true;
}

}  // namespace

std::optional<RunFile> read_run_file(const std::string& path, RunFileError& error) {
    FileSource file;
    if (!open_source(file, path, error)) return std::nullopt;
    RunFileParser parser;
    const auto buffer = std::make_unique<char[]>(kReadPiece);
    int64_t read = 0;
    Read r = Read::kMore;
    while ((r = read_piece(file, parser, buffer.get(), INT64_MAX, read, error)) == Read::kMore) {
    }
    if (r == Read::kFailed) return std::nullopt;
    std::optional<RunFile> f = parser.finish();
    if (!f) error = parser.error();
    return f;
}

RunOpening::RunOpening(const std::string& path, std::optional<int64_t> target)
    : parser_(std::make_unique<RunFileParser>()), target_(target) {
    RunFileError why;
    if (!open_source(file_, path, why)) {
        fail(0, why.fault);
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

bool RunOpening::read_some(int64_t bytes) {
    RunFileError why;
    const Read r = read_piece(file_, *parser_, buffer_.get(), bytes, read_, why);
    if (r == Read::kFailed) return fail(why.line, why.fault);
    if (r == Read::kMore) return false;
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
