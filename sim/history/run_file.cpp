#include "sim/history/run_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "sim/number_text.h"

namespace vornick {

namespace {

enum Key { kSeed, kOrgs, kRandomCount, kMaxItersKey, kStopAt, kSteps, kKeyCount };
constexpr const char* kKeyNames[kKeyCount] = {"seed",      "orgs",    "random-count",
                                              "max-iters", "stop-at", "steps"};
constexpr const char* kArrowNames[] = {"left", "right", "up", "down"};  // by ArrowKey

std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

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

class Parser {
  public:
    RunFileError& error;
    RunFile file;
    int32_t line = 0;
    int32_t last_line = 0;
    int32_t header_line = 0;
    int32_t key_line[kKeyCount] = {};

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

    bool take_line(const std::vector<std::string_view>& w) {
        if (header_line == 0) {
            if (w[0] != "vornick-run") {
                return fail(line, "not a Vornick run file: it must begin with 'vornick-run 1'");
            }
            if (w.size() != 2) return fail(line, "vornick-run takes one value, the version");
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
        if (w.size() != 2) return fail(line, std::string(kKeyNames[key]) + " takes one value");
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

    bool take_edit(const std::vector<std::string_view>& w) {
        const bool drag = w.size() == 6 && w[2] == "drag";
        const bool arrow = w.size() == 5 && w[2] == "arrow";
        if (!drag && !arrow) {
            return fail(line,
                        "an edit reads 'edit STEP drag INDEX X Y' or "
                        "'edit STEP arrow INDEX left|right|up|down'");
        }
        Edit e;
        uint64_t n = 0;
        if (!take_number(w[1], "an edit's step", INT32_MAX, n)) return false;
        e.stamp = static_cast<int32_t>(n);
        if (!take_number(w[3], "an organism index", kMaxOrgs - 1, n)) return false;
        e.index = static_cast<int32_t>(n);
        if (drag) {
            e.kind = EditKind::kDrag;
            if (!take_number(w[4], "a cell's x", kGridSize - 1, n)) return false;
            e.x = static_cast<int32_t>(n);
            if (!take_number(w[5], "a cell's y", kGridSize - 1, n)) return false;
            e.y = static_cast<int32_t>(n);
        } else {
            e.kind = EditKind::kArrow;
            const auto* end = std::end(kArrowNames);
            const auto* name = std::find(std::begin(kArrowNames), end, w[4]);
            if (name == end) {
                return fail(line, "unknown direction " + quoted(w[4]) +
                                      "; an arrow is left, right, up or down");
            }
            e.arrow = static_cast<ArrowKey>(name - std::begin(kArrowNames));
        }
        if (!file.edits.empty() && e.stamp < file.edits.back().stamp) {
            return fail(line, "edits out of step order: step " + std::to_string(e.stamp) +
                                  " after step " + std::to_string(file.edits.back().stamp) +
                                  " on line " + std::to_string(file.edit_lines.back()));
        }
        if (file.edits.size() >= static_cast<std::size_t>(Journal::kMaxEdits)) {
            return fail(line, "more than " + std::to_string(Journal::kMaxEdits) + " edits");
        }
        file.edits.push_back(e);
        file.edit_lines.push_back(line);
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
        for (std::size_t i = 0; i < file.edits.size(); ++i) {
            if (file.edits[i].stamp > max) {
                return fail(file.edit_lines[i], "an edit at step " +
                                                    std::to_string(file.edits[i].stamp) +
                                                    " is past max-iters " + std::to_string(max));
            }
        }
        return true;
    }
};

}  // namespace

std::string RunFileError::message() const {
    return "line " + std::to_string(line) + ": " + fault;
}

std::optional<RunFile> parse_run_file(std::string_view text, RunFileError& error) {
    Parser p{error, {}};
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(at, end - at);
        at = end + 1;
        ++p.line;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::vector<std::string_view> w = words_of(raw);
        if (w.empty() || w[0][0] == '#') continue;
        p.last_line = p.line;
        if (!p.take_line(w)) return std::nullopt;
    }
    if (!p.finish()) return std::nullopt;
    return std::move(p.file);
}

std::string write_run_file(const Sim& sim) {
    const RunLimits lim = sim.limits();
    const Journal& j = sim.journal;
    const int32_t iters = sim.run.iters;
    // A limit lowered below where the run stands: the file ends the run where it ended, or
    // one step on if it is halted, as the lowered limit would.
    int64_t max = std::max(lim.maxIters, 0);
    if (iters >= max) max = sim.run.end_sim ? iters : std::min<int64_t>(iters + 1LL, INT32_MAX);
    if (j.size() > 0) max = std::max<int64_t>(max, j[j.size() - 1].stamp);

    std::string out = "vornick-run " + std::to_string(kRunFileVersion) + "\n";
    out += "seed " + std::to_string(j.start.seed) + "\n";
    out += "orgs " + std::to_string(j.start.iNumOrgs) + "\n";
    out += std::string("random-count ") + (j.start.randINumOrgs ? "yes" : "no") + "\n";
    out += "max-iters " + std::to_string(max) + "\n";
    const bool stops = lim.setStopPt && lim.stopIters >= 0;
    out += "stop-at " + (stops ? std::to_string(lim.stopIters) : std::string("none")) + "\n";
    for (int32_t i = 0; i < j.size(); ++i) {
        const Edit& e = j[i];
        out += "edit " + std::to_string(e.stamp) + " ";
        if (e.kind == EditKind::kDrag) {
            out += "drag " + std::to_string(e.index) + " " + std::to_string(e.x) + " " +
                   std::to_string(e.y) + "\n";
        } else {
            out += "arrow " + std::to_string(e.index) + " " +
                   kArrowNames[static_cast<int>(e.arrow)] + "\n";
        }
    }
    out += "steps " + std::to_string(iters) + "\n";
    return out;
}

bool read_text_file(const std::string& path, std::string& text, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    char buf[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (static_cast<int64_t>(text.size() + got) > kMaxRunFileBytes) {
            std::fclose(f);
            error = "the file is larger than " + std::to_string(kMaxRunFileBytes >> 20) + " MiB";
            return false;
        }
        text.append(buf, got);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) error = "the file could not be read";
    return !failed;
}

// Written beside the file and renamed over it, so a failed write never leaves a file cut
// short where a good one stood.
bool write_text_file(const std::string& path, const std::string& text, std::string& error) {
    const std::string part = path + ".part";
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    int err = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(part.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        error = std::strerror(err != 0 ? err : EIO);
        std::remove(part.c_str());
        return false;
    }
    return true;
}

}  // namespace vornick
