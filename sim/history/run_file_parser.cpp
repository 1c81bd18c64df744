#include "sim/history/run_file_parser.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "sim/number_text.h"

namespace vornick {

namespace {

enum Key { kSeed, kOrgs, kRandomCount, kMaxItersKey, kStopAt, kSteps, kKeyCount };
constexpr const char* kKeyNames[kKeyCount] = {"seed",      "orgs",    "random-count",
                                              "max-iters", "stop-at", "steps"};

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The words of a line, found in place. No line the format knows has more than six; the rest
// are only counted, so that a line of many words costs no more than one of few.
struct Words {
    static constexpr int kKept = 7;
    std::array<std::string_view, kKept> w{};
    int64_t count = 0;

    explicit Words(std::string_view line) {
        std::size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && is_blank(line[at])) ++at;
            std::size_t end = at;
            while (end < line.size() && !is_blank(line[end])) ++end;
            if (end > at) {
                if (count < kKept) w[static_cast<std::size_t>(count)] = line.substr(at, end - at);
                ++count;
            }
            at = end;
        }
    }
    std::string_view operator[](int i) const { return w[static_cast<std::size_t>(i)]; }
};

// A word as a message quotes it: short, and printable whatever the file held.
std::string quoted(std::string_view word) {
    std::string out = "'";
    for (std::size_t i = 0; i < word.size() && i < 24; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        out += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?';
    }
    return out + (word.size() > 24 ? "...'" : "'");
}

// Decimal digits only, within 0..max, judged by value: leading zeros never make a small
// number too long.
bool number_in(std::string_view word, uint64_t max, uint64_t& out) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const NumberParse n = parse_number(word, max);
    if (n.error != NumberError::kNone) return false;
    out = n.value;
    return true;
}

// An edit as read, with its line, in a third of the room of a journal's record: a file of
// many edits is held twice only while it becomes the journal.
struct PackedEdit {
    int32_t stamp;
    int32_t line;
    uint16_t index;
    uint8_t x, y;
    EditKind kind;
    ArrowKey arrow;
};

}  // namespace

// What the lines read so far have said, and the checks between them.
struct RunFileParser::Keys {
    static constexpr int32_t kBlock = 4096;  // edits a block

    RunFileError& error;
    RunFile file;
    int32_t line = 0;
    int32_t last_line = 0;
    int32_t header_line = 0;
    int32_t key_line[kKeyCount] = {};
    std::vector<std::unique_ptr<PackedEdit[]>> blocks;
    int32_t edits = 0;

    explicit Keys(RunFileError& e) : error(e) {}

    const PackedEdit& edit(int32_t i) const { return blocks[i / kBlock][i % kBlock]; }

    bool fail(int32_t at, std::string fault) {
        error.line = at;
        error.fault = std::move(fault);
        return false;
    }

    bool take_number(std::string_view word, const char* what, uint64_t max, uint64_t& out) {
        if (number_in(word, max, out)) return true;
        return fail(line, std::string(what) + " must be a number from 0 to " + std::to_string(max) +
                              ", not " + quoted(word));
    }

    bool take_line(const Words& w) {
        if (header_line == 0) {
            if (w[0] != "vornick-run") {
                return fail(line, "not a Vornick run file: it must begin with 'vornick-run 1'");
            }
            if (w.count != 2) return fail(line, "vornick-run takes one value, the version");
            if (w[1] != "1") {
                return fail(line, "unknown version " + quoted(w[1]) + "; this program reads 1");
            }
            header_line = line;
            return true;
        }
        if (w[0] == "vornick-run") {
            return fail(line, "duplicate key 'vornick-run' (first on line " +
                                  std::to_string(header_line) + ")");
        }
        if (w[0] == "edit") return take_edit(w);
        int key = 0;
        while (key < kKeyCount && w[0] != kKeyNames[key]) ++key;
        if (key == kKeyCount) return fail(line, "unknown key " + quoted(w[0]));
        if (key_line[key] != 0) {
            return fail(line, std::string("duplicate key '") + kKeyNames[key] +
                                  "' (first on line " + std::to_string(key_line[key]) + ")");
        }
        key_line[key] = line;
        if (w.count != 2) return fail(line, std::string(kKeyNames[key]) + " takes one value");
        return take_value(key, w[1]);
    }

    bool take_value(int key, std::string_view v) {
        uint64_t n = 0;
        switch (key) {
            case kSeed:
                if (!take_number(v, "seed", UINT32_MAX, n)) return false;
                file.start.seed = static_cast<uint32_t>(n);
                return true;
            case kOrgs:
                if (!take_number(v, "orgs", kMaxNumOrgs, n)) return false;
                file.start.iNumOrgs = static_cast<int32_t>(n);
                return true;
            case kRandomCount:
                if (v != "yes" && v != "no") {
                    return fail(line, "random-count must be yes or no, not " + quoted(v));
                }
                file.start.randINumOrgs = v == "yes";
                return true;
            case kMaxItersKey:
                if (!take_number(v, "max-iters", INT32_MAX, n)) return false;
                file.limits.maxIters = static_cast<int32_t>(n);
                return true;
            case kStopAt:
                file.limits.setStopPt = v != "none";
                if (v == "none") return true;
                if (!number_in(v, INT32_MAX, n)) {
                    return fail(line, "stop-at must be none or a number from 0 to " +
                                          std::to_string(INT32_MAX) + ", not " + quoted(v));
                }
                file.limits.stopIters = static_cast<int32_t>(n);
                return true;
            default:
                if (!take_number(v, "steps", INT32_MAX, n)) return false;
                file.steps = static_cast<int32_t>(n);
                return true;
        }
    }

    bool take_edit(const Words& w) {
        const bool drag = w.count == 6 && w[2] == "drag";
        const bool arrow = w.count == 5 && w[2] == "arrow";
        if (!drag && !arrow) {
            return fail(line,
                        "an edit reads 'edit STEP drag INDEX X Y' or "
                        "'edit STEP arrow INDEX left|right|up|down'");
        }
        PackedEdit e{};
        e.line = line;
        uint64_t n = 0;
        if (!take_number(w[1], "an edit's step", INT32_MAX, n)) return false;
        e.stamp = static_cast<int32_t>(n);
        if (!take_number(w[3], "an organism index", kMaxOrgs - 1, n)) return false;
        e.index = static_cast<uint16_t>(n);
        if (drag) {
            e.kind = EditKind::kDrag;
            if (!take_number(w[4], "a cell's x", kGridSize - 1, n)) return false;
            e.x = static_cast<uint8_t>(n);
            if (!take_number(w[5], "a cell's y", kGridSize - 1, n)) return false;
            e.y = static_cast<uint8_t>(n);
        } else {
            e.kind = EditKind::kArrow;
            const std::optional<ArrowKey> key = arrow_of_word(w[4]);
            if (!key) {
                return fail(line, "unknown direction " + quoted(w[4]) +
                                      "; an arrow is left, right, up or down");
            }
            e.arrow = *key;
        }
        if (edits > 0 && e.stamp < edit(edits - 1).stamp) {
            return fail(line, "edits out of step order: step " + std::to_string(e.stamp) +
                                  " after step " + std::to_string(edit(edits - 1).stamp) +
                                  " on line " + std::to_string(edit(edits - 1).line));
        }
        if (edits >= Journal::kMaxEdits) {
            return fail(line, "more than " + std::to_string(Journal::kMaxEdits) + " edits");
        }
        if (edits % kBlock == 0) blocks.push_back(std::make_unique<PackedEdit[]>(kBlock));
        blocks.back()[edits % kBlock] = e;
        ++edits;
        return true;
    }

    bool finish() {
        const int32_t end = std::max(last_line, 1);
        if (header_line == 0) {
            return fail(end, "not a Vornick run file: it must begin with 'vornick-run 1'");
        }
        for (int key = 0; key < kKeyCount; ++key) {
            if (key_line[key] == 0) {
                return fail(
                    end, std::string("missing key '") + kKeyNames[key] + "' (the file ends here)");
            }
        }
        const int32_t max = file.limits.maxIters;
        if (file.steps > max) {
            return fail(key_line[kSteps], "steps " + std::to_string(file.steps) +
                                              " is past max-iters " + std::to_string(max));
        }
        for (int32_t i = 0; i < edits; ++i) {
            if (edit(i).stamp > max) {
                return fail(edit(i).line, "an edit at step " + std::to_string(edit(i).stamp) +
                                              " is past max-iters " + std::to_string(max));
            }
        }
        unpack_edits();
        return true;
    }

    // Into the journal's records, block by block, each block freed once copied.
    void unpack_edits() {
        file.edits.resize(static_cast<std::size_t>(edits));
        file.edit_lines.resize(static_cast<std::size_t>(edits));
        for (int32_t i = 0; i < edits; ++i) {
            const PackedEdit& p = edit(i);
            Edit& e = file.edits[static_cast<std::size_t>(i)];
            e.stamp = p.stamp;
            e.index = p.index;
            e.x = p.x;
            e.y = p.y;
            e.kind = p.kind;
            e.arrow = p.arrow;
            file.edit_lines[static_cast<std::size_t>(i)] = p.line;
            if (i % kBlock == kBlock - 1) blocks[i / kBlock].reset();
        }
        blocks.clear();
    }
};

RunFileParser::RunFileParser() : keys_(std::make_unique<Keys>(error_)) {}

RunFileParser::~RunFileParser() = default;

bool RunFileParser::fail_here(std::string fault) {
    failed_ = true;
    error_.line = line_;
    error_.fault = std::move(fault);
    return false;
}

// Blanks before a line's first word are only counted; a comment is skipped as it comes; only
// the rest of a line of words is kept, and only up to the longest a line may be.
bool RunFileParser::feed(std::string_view piece) {
    if (failed_) return false;
    while (!piece.empty()) {
        if (at_ == At::kLineStart) {
            std::size_t i = 0;
            while (i < piece.size() && is_blank(piece[i])) ++i;
            leading_ += static_cast<int64_t>(i);
            if (i == piece.size()) return true;
            const char c = piece[i];
            piece.remove_prefix(i + 1);
            if (c == '\n') {
                ++line_;
                leading_ = 0;
            } else if (c == '#') {
                at_ = At::kComment;
            } else {
                at_ = At::kContent;
                content_.push_back(c);
            }
            continue;
        }
        const void* found = std::memchr(piece.data(), '\n', piece.size());
        const std::size_t end =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - piece.data())
                  : piece.size();
        if (at_ == At::kContent) {
            // One more character than a line may hold: the CR of a CR LF line end.
            if (leading_ + static_cast<int64_t>(content_.size() + end) > kMaxRunFileLine + 1) {
                return fail_here("the line is longer than " + std::to_string(kMaxRunFileLine) +
                                 " characters");
            }
            content_.append(piece.data(), end);
        }
        if (!found) return true;
        piece.remove_prefix(end + 1);
        if (at_ == At::kContent && !end_content_line()) return false;
        at_ = At::kLineStart;
        ++line_;
        leading_ = 0;
    }
    return true;
}

bool RunFileParser::end_content_line() {
    if (!content_.empty() && content_.back() == '\r') content_.pop_back();
    if (leading_ + static_cast<int64_t>(content_.size()) > kMaxRunFileLine) {
        return fail_here("the line is longer than " + std::to_string(kMaxRunFileLine) +
                         " characters");
    }
    const Words words(content_);
    bool taken = true;
    if (words.count > 0) {  // none: a lone CR
        keys_->line = line_;
        keys_->last_line = line_;
        taken = keys_->take_line(words);
    }
    content_.clear();  // the words point into it until here
    failed_ = !taken;
    return taken;
}

std::optional<RunFile> RunFileParser::finish() {
    if (failed_) return std::nullopt;
    if (at_ == At::kContent && !end_content_line()) return std::nullopt;
    at_ = At::kLineStart;
    if (!keys_->finish()) {
        failed_ = true;
        return std::nullopt;
    }
    return std::move(keys_->file);
}

}  // namespace vornick
