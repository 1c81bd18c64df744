#include "sim/history/run_file.h"

#include <algorithm>
#include <climits>

#include "sim/history/run_file_parser.h"

namespace vornick {

namespace {

constexpr const char* kArrowNames[] = {"left", "right", "up", "down"};  // by ArrowKey

}  // namespace

std::optional<ArrowKey> arrow_of_word(std::string_view word) {
    for (int i = 0; i < 4; ++i) {
        if (word == kArrowNames[i]) return static_cast<ArrowKey>(i);
    }
    return std::nullopt;
}

std::string RunFileError::message() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + fault : fault;
}

std::optional<RunFile> parse_run_file(std::string_view text, RunFileError& error) {
    RunFileParser parser;
    parser.feed(text);
    std::optional<RunFile> file = parser.finish();
    if (!file) error = parser.error();
    return file;
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

}  // namespace vornick
