#include "sim/kernels/org_table.h"

namespace vornick {

void OrgTable::catch_up() const {
    if (!records_lag_) return;
    for (int32_t i = 0; i < lane_count_; ++i) {
        rec_[i] = Org{lanes_.x[i], lanes_.y[i], lanes_.dir[i]};
    }
    records_lag_ = false;
}

OrgLanes* OrgTable::lanes_for(int32_t n) {
    if (n <= 0 || n > kMaxOrgs) return nullptr;
    if (lane_count_ != n) {
        catch_up();
        lane_count_ = 0;
        bool fits = true;
        for (int32_t i = 0; i < n; ++i) {
            const Org& o = rec_[i];
            fits &= on_grid(o.x, o.y) & valid_heading(o.dir);
            lanes_.x[i] = static_cast<uint8_t>(o.x);
            lanes_.y[i] = static_cast<uint8_t>(o.y);
            // Below 4 even in a table refused here: kernels work on slots past the live ones.
            lanes_.dir[i] = static_cast<uint8_t>(o.dir & 3);
        }
        if (!fits) return nullptr;
        lane_count_ = n;
    }
    records_lag_ = true;
    return &lanes_;
}

}  // namespace vornick
