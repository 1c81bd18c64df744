// A run as its start and the edits made to it, each stamped with the step count at which it
// was made, so that any moment of the run can be rebuilt exactly, backward or forward.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/history/org_reorder.h"

namespace vornick {

// What a run is generated from; the settings as they were when it began.
struct RunStart {
    uint32_t seed = 1;
    int32_t iNumOrgs = 4;
    bool randINumOrgs = false;
    bool operator==(const RunStart&) const = default;
};

enum class EditKind : uint8_t { kDrag, kArrow };
enum class ArrowKey : uint8_t { kLeft, kRight, kUp, kDown };

// One edit: organism `index` dropped on cell (x, y), or moved one cell by an arrow key, each
// with its own reordering of the table. `made` is filled each time the edit is made and says
// how to take it back.
struct Edit {
    int32_t stamp = 0;  // `iters` when it was made; it comes after that step, before the next
    int32_t index = 0;
    int32_t x = 0;  // drag only
    int32_t y = 0;
    OrgMove made{};
    EditKind kind = EditKind::kDrag;
    ArrowKey arrow = ArrowKey::kLeft;  // arrow only
};

// A moment of a run: after `iters` steps, with the journal's first `applied` edits made. At
// rest a run stands after every edit stamped with its step count or earlier.
struct Moment {
    int32_t iters = 0;
    int32_t applied = 0;
    auto operator<=>(const Moment&) const = default;
};

// The journal keeps the edits in step order; the ones past `applied` are the later edits of a
// run taken back in time, made again when it goes forward. Undone edits wait for Redo.
// Memory grows with the edits, never with the steps.
class Journal {
  public:
    // Well beyond what a person makes (hours of a held arrow key): at most some 36 MiB.
    static constexpr int32_t kMaxEdits = 1 << 20;

    RunStart start;

    // A new run: no edits, nothing to redo.
    void begin(const RunStart& s);
    // A run read whole: its edits in step order, the first `applied` of them made.
    void assign(const RunStart& s, std::vector<Edit> edits, int32_t applied);

    int32_t size() const { return static_cast<int32_t>(edits_.size()); }
    int32_t applied() const { return applied_; }
    const Edit& operator[](int32_t i) const { return edits_[static_cast<std::size_t>(i)]; }
    Edit& operator[](int32_t i) { return edits_[static_cast<std::size_t>(i)]; }
    // Edits stamped with `iters` or earlier.
    int32_t made_by(int32_t iters) const;

    // Whether a new edit can be recorded now: later edits make room as they are dropped.
    bool has_room() const { return applied_ < kMaxEdits; }
    // A new edit at the current moment, to be made next: the later edits and the redo
    // history go.
    void record(const Edit& e);
    void drop_later() { edits_.resize(static_cast<std::size_t>(applied_)); }
    void mark_made() { ++applied_; }
    void mark_unmade() { --applied_; }
    // For a run rebuilt elsewhere, whose replay went on past the moment it stands at.
    void set_applied(int32_t applied) { applied_ = applied; }

    const Edit* last() const { return edits_.empty() ? nullptr : &edits_.back(); }
    const Edit* next_redo() const { return redo_.empty() ? nullptr : &redo_.back(); }
    // The last edit, which must not be made now, goes to the redo history; and comes back.
    void take_last();
    void put_back();

  private:
    std::vector<Edit> edits_;
    int32_t applied_ = 0;
    std::vector<Edit> redo_;
};

// The menu's name of an edit: "Drag" or "Move".
const char* edit_name(const Edit& e);

}  // namespace vornick
