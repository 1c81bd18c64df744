// The run-file reader fed any bytes, whole and in pieces cut where the input says: both read
// alike; a refusal names a line the text has; an accepted file replays within a budget of
// steps, and once opened, saved and read again, is the same run at the same step.
#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "sim/history/run_file.h"
#include "sim/history/run_file_parser.h"
#include "sim/history/run_replay.h"
#include "sim/sim.h"

namespace {

using namespace vornick;

// Organism-steps a replay may take: beyond it the input is only read.
constexpr int64_t kReplayBudget = int64_t{1} << 18;

int32_t lines_of(std::string_view text) {
    const auto breaks = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n'));
    return breaks + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

bool names_a_line(const RunFileError& e, std::string_view text) {
    return e.line >= 1 && e.line <= std::max(lines_of(text), 1) && !e.fault.empty();
}

bool same_file(const RunFile& a, const RunFile& b) {
    if (!(a.start == b.start && a.limits == b.limits && a.steps == b.steps &&
          a.edit_lines == b.edit_lines && a.edits.size() == b.edits.size())) {
        return false;
    }
    for (std::size_t i = 0; i < a.edits.size(); ++i) {
        const Edit &x = a.edits[i], &y = b.edits[i];
        if (x.stamp != y.stamp || x.index != y.index || x.kind != y.kind || x.x != y.x ||
            x.y != y.y || x.arrow != y.arrow) {
            return false;
        }
    }
    return true;
}

// Replays `file` to its step within the budget; nullptr when it would take longer.
std::unique_ptr<RunReplay> replayed(const RunFile& file) {
    auto replay = std::make_unique<RunReplay>(file, file.steps);
    const int64_t work = replay->steps_total() * std::max<int64_t>(replay->model().norgs, 1);
    if (work > kReplayBudget) return nullptr;
    while (!replay->advance(997)) {
    }
    return replay;
}

std::string state_of(const Sim& s) {
    std::ostringstream t;
    t << s.run.iters << ' ' << s.rng.seed << ' ' << s.run.stop << s.run.end_sim << ' '
      << s.journal.applied() << ':';
    for (int32_t i = 0; i < s.model.norgs; ++i) {
        const Org o = s.model.orgs.get(i);
        t << ' ' << o.x << ',' << o.y << ',' << o.dir;
    }
    return t.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RunFileError whole_error;
    const std::optional<RunFile> whole = parse_run_file(text, whole_error);

    RunFileParser pieces;
    const std::size_t piece = size == 0 ? 1 : 1 + data[size / 2] % 61;
    for (std::size_t at = 0; at < size && pieces.feed(text.substr(at, piece)); at += piece) {
    }
    const std::optional<RunFile> pieced = pieces.finish();
    FUZZ_CHECK(whole.has_value() == pieced.has_value());
    if (!whole) {
        FUZZ_CHECK(names_a_line(whole_error, text));
        FUZZ_CHECK(pieces.error().message() == whole_error.message());
        return 0;
    }
    FUZZ_CHECK(same_file(*whole, *pieced));
    for (const int32_t line : whole->edit_lines) FUZZ_CHECK(line >= 1 && line <= lines_of(text));

    const std::unique_ptr<RunReplay> replay = replayed(*whole);
    if (!replay) return 0;
    if (replay->failed()) {
        const RunFileError& e = replay->error();
        FUZZ_CHECK(names_a_line(e, text));
        FUZZ_CHECK(std::find(whole->edit_lines.begin(), whole->edit_lines.end(), e.line) !=
                   whole->edit_lines.end());
        return 0;
    }
    auto opened = std::make_unique<Sim>();
    replay->adopt_into(*opened);
    const std::string saved = write_run_file(*opened);

    RunFileError again_error;
    const std::optional<RunFile> again = parse_run_file(saved, again_error);
    FUZZ_CHECK(again.has_value());
    const std::unique_ptr<RunReplay> replay_again = replayed(*again);
    FUZZ_CHECK(replay_again && !replay_again->failed());
    auto reopened = std::make_unique<Sim>();
    replay_again->adopt_into(*reopened);
    FUZZ_CHECK(write_run_file(*reopened) == saved);
    FUZZ_CHECK(state_of(*reopened) == state_of(*opened));
    return 0;
}
