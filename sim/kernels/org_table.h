// The organism table: 784 records {x, y, dir} behind named accessors, plus a copy of the first
// records as one byte per field that the steps move without touching records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/org.h"

namespace vornick {

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
// gives the records back the only say, so an edit is never lost. The accessors are named so that
// a record held across a step is visible at the call: `get` copies one out, `edit` and `records`
// hand out places that the next step leaves stale.
class OrgTable {
  public:
    static constexpr std::size_t size() { return kMaxOrgs; }

    // Record i as it stands now, from whichever copy is in step; converts nothing, so the step's
    // own drawing reads the organisms without bringing the records up to date.
    Org get(int32_t i) const {
        if (records_lag_ && i < lane_count_) return Org{lanes_.x[i], lanes_.y[i], lanes_.dir[i]};
        return rec_[i];
    }

    // Record i to change in place, good until the next step.
    Org& edit(int32_t i) { return records()[i]; }

    // Every record, up to date: to change many at once (good until the next step), or to read
    // many without the lanes' branch.
    Org* records() {
        catch_up();
        lane_count_ = 0;
        return rec_;
    }
    const Org* records() const {
        catch_up();
        return rec_;
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
