// The organism table: 784 records {x, y, dir}, read and written like an array, plus a copy of
// the first records as one byte per field that the single step moves without touching records.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornick {

inline constexpr int32_t kGridSize = 28;
inline constexpr int32_t kCells = kGridSize * kGridSize;
inline constexpr int32_t kMaxOrgs = kCells;  // one slot per cell

// Headings double as the sprite numbers that draw them.
enum Heading : int32_t { kUp = 0, kLeft = 1, kDown = 2, kRight = 3 };

// An offset seen from heading 0 (up), as seen from heading d: d quarter turns the way organisms
// turn (up, left, down, right), each taking (x, y) to (y, -x).
struct Offset {
    int32_t x;
    int32_t y;
};
constexpr Offset turned_offset(int32_t d, int32_t x, int32_t y) {
    switch (d & 3) {
        case kUp:
            return {x, y};
        case kLeft:
            return {y, -x};
        case kDown:
            return {-x, -y};
        default:
            return {-y, x};
    }
}

struct Org {
    int32_t x;    // column, 0..27 from the left
    int32_t y;    // row, 0..27 from the top
    int32_t dir;  // Heading
};

// Organisms by field, a byte each: 32 or 64 organisms fill a vector, and a step reads and writes
// a third of what the records take. Slots run on to whole 64-byte vectors; the step may work on
// those past the live ones, whose values mean nothing.
struct OrgLanes {
    static constexpr int32_t kSlots = (kMaxOrgs + 63) / 64 * 64;
    alignas(64) uint8_t x[kSlots];
    alignas(64) uint8_t y[kSlots];
    alignas(64) uint8_t dir[kSlots];
};

// Either copy may be the one in step: after a step made on the lanes, the records lag until they
// are next read or written through the table, which brings them up to date first. Writing access
// (anything not const) gives the records back the only say, so an edit is never lost. Keep no
// pointer or reference to a record across a step: it would see, or write, a lagging record.
class OrgTable {
  public:
    Org& operator[](std::ptrdiff_t i) { return data()[i]; }
    const Org& operator[](std::ptrdiff_t i) const { return data()[i]; }
    Org* data() {
        catch_up();
        lane_count_ = 0;
        return rec_;
    }
    const Org* data() const {
        catch_up();
        return rec_;
    }
    operator Org*() { return data(); }
    operator const Org*() const { return data(); }
    Org* begin() { return data(); }
    Org* end() { return data() + kMaxOrgs; }
    const Org* begin() const { return data(); }
    const Org* end() const { return data() + kMaxOrgs; }
    static constexpr std::size_t size() { return kMaxOrgs; }

    // Record i as it stands now, from whichever copy is in step; converts nothing, so the step's
    // own drawing reads the organisms without bringing the records up to date.
    Org get(int32_t i) const {
        if (records_lag_ && i < lane_count_) return Org{lanes_.x[i], lanes_.y[i], lanes_.dir[i]};
        return rec_[i];
    }

    // For a step of the first n records (0 < n <= kMaxOrgs): the lanes holding exactly them,
    // filled from the records when they do not yet; null, with the records left in charge, when
    // a record has no byte form (a position off the grid or a heading outside 0..3). The caller
    // moves the lanes; from then on the records lag.
    OrgLanes* lanes_for(int32_t n);

  private:
    void catch_up() const;

    mutable Org rec_[kMaxOrgs];
    OrgLanes lanes_;
    int32_t lane_count_ = 0;  // leading records the lanes hold; 0: the lanes hold none
    mutable bool records_lag_ = false;
};

}  // namespace vornick
