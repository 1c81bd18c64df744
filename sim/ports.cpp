#include "sim/ports.h"

namespace vornick {

StatusView* StatusView::nowhere() {
    static StatusView view;
    return &view;
}

Ports Ports::none() {
    static BoardView board;
    static PanelView panel;
    static MenuStates menus;
    static StepTimer timer;
    static SliderWindow slider;
    static Clock clock;
    static MouseButton mouse;
    static SeedStore store;
    return Ports{
        &board, &panel, &menus, &timer, &slider, &clock, &mouse, &store, StatusView::nowhere()};
}

}  // namespace vornick
