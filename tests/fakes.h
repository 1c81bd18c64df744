// Recording stand-ins for everything the core talks to, so tests can check what was drawn,
// which menu states were set and how the step timer was armed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sim/sim.h"

namespace vornick::testing {

struct Recorder : BoardView, PanelView {
    std::vector<std::string> log;

    void redraw_scr(const World&) override { log.push_back("redraw"); }
    void erase_cell(int32_t x, int32_t y, int32_t code) override {
        log.push_back("erase " + std::to_string(x) + "," + std::to_string(y) + " " +
                      std::to_string(code));
    }
    void draw_org(const Org& o) override {
        log.push_back("org " + std::to_string(o.x) + "," + std::to_string(o.y) + " " +
                      std::to_string(o.dir));
    }
    void draw_frame(int32_t x, int32_t y) override {
        log.push_back("frame " + std::to_string(x) + "," + std::to_string(y));
    }
    void erase_frame(int32_t x, int32_t y) override {
        log.push_back("unframe " + std::to_string(x) + "," + std::to_string(y));
    }
    void draw_sprite_at(int32_t h, int32_t v, int32_t sprite) override {
        log.push_back("sprite " + std::to_string(h) + "," + std::to_string(v) + " " +
                      std::to_string(sprite));
    }
    void present() override { log.push_back("present"); }
    void outext(int32_t shown) override { log.push_back("iter " + std::to_string(shown)); }
    void outext2(int32_t x, int32_t y) override {
        log.push_back("selorg " + std::to_string(x) + "," + std::to_string(y));
    }
    void clr_selorg_text() override { log.push_back("clr_selorg"); }
    void outext3(int32_t x, int32_t y, int32_t mode) override {
        log.push_back("cursor " + std::to_string(x) + "," + std::to_string(y) + " " +
                      std::to_string(mode));
    }
    void clr_cursor_text() override { log.push_back("clr_cursor"); }
    void outext4(double rate, RateUnit unit) override {
        rates.emplace_back(rate, unit);
        log.push_back("rate");
    }
    void clr_FPS_text() override { log.push_back("clr_fps"); }

    std::vector<std::pair<double, RateUnit>> rates;

    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& s : log) n += s.rfind(prefix, 0) == 0;
        return n;
    }
};

struct FakeMenus : MenuStates {
    std::map<std::pair<int, int>, bool> enabled, checked;
    void set_enabled(MenuId m, int16_t item, bool on) override { enabled[{m, item}] = on; }
    void set_checked(MenuId m, int16_t item, bool on) override { checked[{m, item}] = on; }
    bool is_enabled(int m, int item) const {
        auto it = enabled.find({m, item});
        return it == enabled.end() || it->second;
    }
    bool is_checked(int m, int item) const {
        auto it = checked.find({m, item});
        return it != checked.end() && it->second;
    }
};

struct Arming {
    double first;
    double interval;
    bool operator==(const Arming&) const = default;
};

struct FakeTimer : StepTimer {
    std::vector<Arming> installs;
    int removes = 0;
    int soon = 0;
    void remove() override { ++removes; }
    void install(double first, double interval) override { installs.push_back({first, interval}); }
    void fire_again_soon() override { ++soon; }
};

struct FakeSlider : SliderWindow {
    bool can_open = true;
    int opens = 0;
    int16_t value = 0;
    std::string text;
    bool open(int16_t v, const char* t) override {
        if (!can_open) return false;
        ++opens;
        value = v;
        text = t;
        return true;
    }
    void set_text(const char* t) override { text = t; }
};

struct FakeClock : Clock {
    uint64_t ns = 0;
    uint64_t advance_per_read = 0;
    uint64_t now_ns() override {
        ns += advance_per_read;
        return ns;
    }
    int64_t wall_seconds() override { return 1700000000; }
};

struct FakeMouse : MouseButton {
    int down_after_reads = -1;  // -1: never
    int reads = 0;
    bool is_down() override {
        ++reads;
        return down_after_reads >= 0 && reads > down_after_reads;
    }
};

struct FakeStore : SeedStore {
    std::vector<uint32_t> written;
    std::vector<Settings> saves;
    void write_saved_seed(uint32_t s) override { written.push_back(s); }
    void save_all(const Settings& s) override { saves.push_back(s); }
};

struct FakeStatus : StatusView {
    std::vector<RunStatus> shown;
    void show_status(const RunStatus& s) override { shown.push_back(s); }
};

// A core wired to fresh fakes.
struct Rig {
    Recorder rec;
    FakeMenus menus;
    FakeTimer timer;
    FakeSlider slider;
    FakeClock clock;
    FakeMouse mouse;
    FakeStore store;
    FakeStatus status;
    Sim sim{Ports{&rec, &rec, &menus, &timer, &slider, &clock, &mouse, &store, &status}};
};

}  // namespace vornick::testing
