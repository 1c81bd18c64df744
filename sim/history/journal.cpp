#include "sim/history/journal.h"

#include <algorithm>

namespace vornick {

void Journal::begin(const RunStart& s) {
    start = s;
    edits_.clear();
    applied_ = 0;
    redo_.clear();
}

void Journal::assign(const RunStart& s, std::vector<Edit> edits, int32_t applied) {
    begin(s);
    edits_ = std::move(edits);
    applied_ = applied;
}

int32_t Journal::made_by(int32_t iters) const {
    const auto after = std::upper_bound(edits_.begin(), edits_.end(), iters,
                                        [](int32_t it, const Edit& e) { return it < e.stamp; });
    return static_cast<int32_t>(after - edits_.begin());
}

void Journal::record(const Edit& e) {
    drop_later();
    edits_.push_back(e);
    redo_.clear();
}

void Journal::take_last() {
    redo_.push_back(edits_.back());
    edits_.pop_back();
}

void Journal::put_back() {
    edits_.push_back(redo_.back());
    redo_.pop_back();
}

const char* edit_name(const Edit& e) {
    return e.kind == EditKind::kDrag ? "Drag" : "Move";
}

}  // namespace vornick
