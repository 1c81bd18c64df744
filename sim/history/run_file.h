// Run files: a run's start, limits, edits and the step it stood at, as short lines of text
// (docs/run-file.md). Reading checks all that needs no replay; run_replay checks the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/history/journal.h"
#include "sim/sim.h"

namespace vornick {

inline constexpr int32_t kRunFileVersion = 1;
// Larger files are refused: far beyond a journal's room.
inline constexpr int64_t kMaxRunFileBytes = int64_t{256} << 20;

struct RunFile {
    RunStart start;
    RunLimits limits;
    std::vector<Edit> edits;          // in step order
    std::vector<int32_t> edit_lines;  // the line of each edit, for messages
    int32_t steps = 0;
};

// A refusal: the line it concerns (1 for the first; 0 when it concerns the file as a whole)
// and what is wrong there.
struct RunFileError {
    int32_t line = 0;
    std::string fault;
    std::string message() const;  // "line 7: ...", or the fault alone
};

// An arrow's word in a run file ("left", "right", "up", "down") and back.
std::optional<ArrowKey> arrow_of_word(std::string_view word);

// Reads a run file's text. On a fault returns nullopt and says where and what in `error`.
std::optional<RunFile> parse_run_file(std::string_view text, RunFileError& error);

// The text of a run file for the run of `sim` as it stands: its start, its limits, every edit
// of its journal (later ones too) and its step count. Its limit is raised where the run went
// past it under a limit lowered meanwhile, so that the file can always be opened again.
std::string write_run_file(const Sim& sim);

}  // namespace vornick
