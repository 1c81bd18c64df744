#include "sim/history/timeline.h"

#include <algorithm>

#include "sim/history/move_back.h"
#include "sim/move.h"

namespace vornick {

namespace {

constexpr int32_t kArrowDx[] = {-1, 1, 0, 0};  // by ArrowKey: left, right, up, down
constexpr int32_t kArrowDy[] = {0, 0, -1, 1};

bool forward(const Timeline& t, int64_t k) {
    if (k == 1) return headings_valid(t.w) && move_orgs(t.w, t.gen);
    return move_orgs_steps(t.w, t.gen, k);
}

bool backward(const Timeline& t, int64_t k) {
    return k == 1 ? unmove_orgs(t.w, t.gen) : unmove_orgs_steps(t.w, t.gen, k);
}

}  // namespace

int32_t moved_index(int32_t s, int32_t from, int32_t to) {
    if (s == from) return to;
    if (from < to && s > from && s <= to) return s - 1;
    if (to < from && s >= to && s < from) return s + 1;
    return s;
}

bool edit_fits(const World& w, const Edit& e) {
    if (e.index < 0 || e.index >= w.norgs) return false;
    if (e.kind == EditKind::kArrow) return static_cast<uint8_t>(e.arrow) < 4;
    const Org o = w.orgs.get(e.index);
    const bool on_grid = e.x >= 0 && e.x < kGridSize && e.y >= 0 && e.y < kGridSize;
    return on_grid && (o.x != e.x || o.y != e.y);
}

bool make_edit(const Timeline& t) {
    Edit& e = t.journal[t.journal.applied()];
    if (!edit_fits(t.w, e)) return false;
    if (e.kind == EditKind::kDrag) {
        e.made = drop_org(t.w, e.index, e.x, e.y);
    } else {
        const auto a = static_cast<uint8_t>(e.arrow);
        e.made = arrow_move_org(t.w, e.index, kArrowDx[a], kArrowDy[a]);
    }
    if (t.follow) *t.follow = moved_index(*t.follow, e.made.from, e.made.to);
    t.journal.mark_made();
    return true;
}

void unmake_edit(const Timeline& t) {
    t.journal.mark_unmade();
    const OrgMove& m = t.journal[t.journal.applied()].made;
    undo_org_move(t.w, m);
    if (t.follow) *t.follow = moved_index(*t.follow, m.to, m.from);
}

TravelEnd travel_toward(const Timeline& t, Moment to, int64_t& budget) {
    const Journal& j = t.journal;
    for (;;) {
        const Moment at{t.iters, j.applied()};
        if (at == to) return TravelEnd::kArrived;
        const int32_t a = at.applied;
        if (at < to) {
            if (a < j.size() && j[a].stamp == at.iters) {
                if (!make_edit(t)) return TravelEnd::kBadEdit;
                continue;
            }
            if (budget <= 0) return TravelEnd::kBudgetSpent;
            int64_t k = int64_t{to.iters} - at.iters;
            if (a < j.size()) k = std::min<int64_t>(k, int64_t{j[a].stamp} - at.iters);
            k = std::min(k, budget);
            if (k <= 0 || !forward(t, k)) return TravelEnd::kStuck;
            t.iters = static_cast<int32_t>(at.iters + k);
            budget -= k;
        } else {
            if (a > 0 && j[a - 1].stamp == at.iters) {
                unmake_edit(t);
                continue;
            }
            if (budget <= 0) return TravelEnd::kBudgetSpent;
            int64_t k = int64_t{at.iters} - to.iters;
            if (a > 0) k = std::min<int64_t>(k, int64_t{at.iters} - j[a - 1].stamp);
            k = std::min(k, budget);
            if (k <= 0 || !backward(t, k)) return TravelEnd::kStuck;
            t.iters = static_cast<int32_t>(at.iters - k);
            budget -= k;
        }
    }
}

}  // namespace vornick
