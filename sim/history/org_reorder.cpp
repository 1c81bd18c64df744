#include "sim/history/org_reorder.h"

namespace vornick {

namespace {

// Takes the record at `from` out and puts it in at `to`; the records in between close the gap.
void move_record(World& w, int32_t from, int32_t to) {
    Org* const orgs = w.orgs.records();
    const Org moved = orgs[from];
    if (from < to) {
        for (int32_t k = from; k < to; ++k) orgs[k] = orgs[k + 1];
    } else {
        for (int32_t k = from; k > to; --k) orgs[k] = orgs[k - 1];
    }
    orgs[to] = moved;
}

int32_t wrap(int32_t c) {
    if (c >= kGridSize) return 0;
    if (c < 0) return kGridSize - 1;
    return c;
}

OrgMove place(World& w, int32_t i, int32_t to, int32_t x, int32_t y) {
    const Org o = w.orgs.get(i);
    const OrgMove m{i, to, o.x, o.y};
    move_record(w, i, to);
    Org& placed = w.orgs.edit(to);
    placed.x = x;
    placed.y = y;
    return m;
}

}  // namespace

OrgMove drop_org(World& w, int32_t i, int32_t x, int32_t y) {
    const int32_t k = topmost_org(w, x, y);
    return place(w, i, k > i ? k : i, x, y);
}

OrgMove arrow_move_org(World& w, int32_t i, int32_t dx, int32_t dy) {
    const Org o = w.orgs.get(i);
    const int32_t nx = wrap(o.x + dx);
    const int32_t ny = wrap(o.y + dy);
    const int32_t j = topmost_org(w, nx, ny);
    int32_t to = i;
    if (j >= 0 && j < i - 1) to = j + 1;
    if (j > i) to = j;
    return place(w, i, to, nx, ny);
}

void undo_org_move(World& w, const OrgMove& m) {
    Org& moved = w.orgs.edit(m.to);
    moved.x = m.left_x;
    moved.y = m.left_y;
    move_record(w, m.to, m.from);
}

}  // namespace vornick
