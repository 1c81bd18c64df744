#include "sim/history/run_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "fakes.h"
#include "run_history.h"
#include "sim/history/file_save.h"
#include "sim/history/run_opening.h"
#include "sim/history/run_replay.h"

namespace vornick {
namespace {

using testing::Rig;
using testing::rig_with;
using testing::state_text;

// Reads and replays a text as opening it does; the fault, or an empty one.
RunFileError refusal(const std::string& text) {
    RunFileError error;
    std::optional<RunFile> file = parse_run_file(text, error);
    if (!file) return error;
    const int32_t steps = file->steps;
    RunReplay replay(std::move(*file), steps);
    while (!replay.advance(1000)) {
    }
    return replay.failed() ? replay.error() : RunFileError{};
}

void open_text(Sim& sim, const std::string& text) {
    RunFileError error;
    std::optional<RunFile> file = parse_run_file(text, error);
    ASSERT_TRUE(file) << error.message();
    const int32_t steps = file->steps;
    RunReplay replay(std::move(*file), steps);
    while (!replay.advance(4099)) {
    }
    ASSERT_FALSE(replay.failed()) << replay.error().message();
    replay.adopt_into(sim);
}

// A run saved and opened again is the same run at every step, before and after the step it
// was saved at, later edits of a run taken back included.
TEST(RunFile, SavedAndOpenedAgainIsTheSameRun) {
    std::mt19937 rnd(77);
    for (int32_t norgs : {0, 1, 4, 784}) {
        for (bool random_count : {false, true}) {
            auto saved = rig_with(norgs, static_cast<uint32_t>(rnd()), random_count);
            Sim& a = saved->sim;
            a.prefs.setStopPt = true;
            a.prefs.stopIters = 1234;
            testing::run_with_edits(a, rnd, 3000, 10);
            a.go_to_step(2000);
            while (!a.travel(a.travel_chunk())) {
            }
            a.sel = {-1, 0, 0, 0};

            auto opened = rig_with(4, 1);
            Sim& b = opened->sim;
            open_text(b, write_run_file(a));
            EXPECT_EQ(state_text(b), state_text(a)) << norgs << " organisms";
            EXPECT_EQ(write_run_file(b), write_run_file(a));
            EXPECT_EQ(b.run.lastSeed, a.run.lastSeed);
            for (Sim* s : {&a, &b}) testing::run_to(*s, 3000);
            EXPECT_EQ(state_text(b), state_text(a)) << norgs << " organisms, continued";
        }
    }
}

TEST(RunFile, ReadsTheDocumentedExample) {
    RunFileError error;
    const auto file = parse_run_file(
        "vornick-run 1\r\nseed 1\n# a comment\n\norgs 4\nrandom-count no\n"
        "max-iters 10000000\nstop-at none\n  edit 120 drag 2 15 7\nedit\t130 arrow 2 right\n"
        "steps 500",
        error);
    ASSERT_TRUE(file) << error.message();
    EXPECT_EQ(file->start, (RunStart{1, 4, false}));
    EXPECT_EQ(file->limits, (RunLimits{10000000, false, file->limits.stopIters}));
    ASSERT_EQ(file->edits.size(), 2u);
    EXPECT_EQ(file->edits[1].arrow, ArrowKey::kRight);
    EXPECT_EQ(file->edit_lines, (std::vector<int32_t>{9, 10}));
    EXPECT_EQ(file->steps, 500);
}

// Every refusal names the line at fault and what is wrong there.
TEST(RunFile, RefusesMalformedFiles) {
    const std::string head = "vornick-run 1\nseed 1\norgs 4\nrandom-count no\n";
    const std::string limits = "max-iters 1000\nstop-at none\n";
    const std::string good = head + limits;  // lines 1..6
    struct Case {
        std::string text;
        int32_t line;
        const char* fault;
    };
    const Case cases[] = {
        {"", 1, "not a Vornick run file"},
        {"seed 1\n" + good, 1, "not a Vornick run file"},
        {"vornick-run 2\n", 1, "unknown version '2'"},
        {"vornick-run\n", 1, "takes one value"},
        {good, 6, "missing key 'steps'"},
        {head + "max-iters 1000\nsteps 5\n", 6, "missing key 'stop-at'"},
        {good + "seed 2\nsteps 5\n", 7, "duplicate key 'seed' (first on line 2)"},
        {good + "vornick-run 1\nsteps 5\n", 7, "duplicate key 'vornick-run'"},
        {good + "colour blue\nsteps 5\n", 7, "unknown key 'colour'"},
        {good + "steps 5 6\n", 7, "steps takes one value"},
        {"vornick-run 1\nseed 4294967296\n", 2, "seed must be a number from 0 to 4294967295"},
        {"vornick-run 1\nseed -1\n", 2, "seed must be a number"},
        {"vornick-run 1\nseed 0x10\n", 2, "seed must be a number"},
        {"vornick-run 1\norgs 785\n", 2, "orgs must be a number from 0 to 784"},
        {"vornick-run 1\nrandom-count maybe\n", 2, "random-count must be yes or no"},
        {"vornick-run 1\nmax-iters 2147483648\n", 2, "max-iters must be a number"},
        {"vornick-run 1\nstop-at never\n", 2, "stop-at must be none or a number"},
        {good + "steps 1001\n", 7, "steps 1001 is past max-iters 1000"},
        {good + "edit 1001 arrow 0 up\nsteps 5\n", 7, "an edit at step 1001 is past max-iters"},
        {good + "edit 5 drag 0 28 3\nsteps 5\n", 7, "a cell's x must be a number from 0 to 27"},
        {good + "edit 5 drag 784 3 3\nsteps 5\n", 7, "an organism index must be a number"},
        {good + "edit 5 arrow 0 north\nsteps 5\n", 7, "unknown direction 'north'"},
        {good + "edit 5 drag 0 3\nsteps 5\n", 7, "an edit reads"},
        {good + "edit 5 jump 0 3 3\nsteps 5\n", 7, "an edit reads"},
        {good + "edit 9 arrow 0 up\nedit 8 arrow 0 up\nsteps 5\n", 8,
         "edits out of step order: step 8 after step 9 on line 7"},
        {good + "edit 3 arrow 4 up\nsteps 5\n", 7, "organism 4 does not exist: the run has 4"},
        // Organism 0 of the seed-1 run starts on (10, 18) heading left.
        {good + "edit 0 drag 0 10 18\nsteps 5\n", 7, "organism 0 already stands on (10, 18)"},
        {good + "edit 1 arrow 0 down\nedit 1 drag 0 9 19\nsteps 0\n", 8,
         "already stands on (9, 19) at step 1"},
    };
    for (const Case& c : cases) {
        const RunFileError e = refusal(c.text);
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_NE(e.fault.find(c.fault), std::string::npos) << e.message() << "\n" << c.text;
    }
}

// Numbers are judged by their value: any run of leading zeros reads as the number behind it,
// and a long number is out of range only when its value is.
TEST(RunFile, NumbersAreJudgedByValueWhateverTheirLength) {
    const std::string zeros(300, '0');
    struct Case {
        std::string seed;
        bool taken;
        uint32_t value;
    };
    const Case cases[] = {
        {zeros + "1", true, 1},
        {zeros + "4294967295", true, 4294967295u},
        {zeros, true, 0},
        {zeros + "4294967296", false, 0},
        {"99999999999999999999999", false, 0},
        {zeros + "1\v", false, 0},
        {"+1", false, 0},
    };
    for (const Case& c : cases) {
        RunFileError error;
        const auto file = parse_run_file("vornick-run 1\nseed " + c.seed +
                                             "\norgs 0004\nrandom-count no\nmax-iters 9\n"
                                             "stop-at 000\nsteps 0000000000000000000009\n",
                                         error);
        EXPECT_EQ(file.has_value(), c.taken) << c.seed << " " << error.message();
        if (!file) {
            EXPECT_EQ(error.line, 2) << c.seed;
            continue;
        }
        EXPECT_EQ(file->start.seed, c.value);
        EXPECT_EQ(file->start.iNumOrgs, 4);
        EXPECT_EQ(file->limits.stopIters, 0);
        EXPECT_EQ(file->steps, 9);
    }
}

TEST(RunFile, QuotesWhatItRefusesPrintably) {
    const RunFileError e =
        refusal(std::string("vornick-run 1\nse\x01"
                            "ed 1\n"));
    EXPECT_EQ(e.message(), "line 2: unknown key 'se?ed'");
}

// A file's limits hold for its run alone; the preferences keep theirs and take over once
// changed, and a new run has the preferences' again.
TEST(RunFile, ItsLimitsAreTheRunsOwn) {
    auto r = rig_with(4, 1);
    Sim& sim = r->sim;
    const Settings prefs = sim.prefs;
    open_text(sim,
              "vornick-run 1\nseed 9\norgs 2\nrandom-count no\nmax-iters 50\n"
              "stop-at 30\nsteps 20\n");
    EXPECT_EQ(sim.run.iters, 20);
    EXPECT_EQ(sim.model.norgs, 2);
    EXPECT_EQ(sim.limits(), (RunLimits{50, true, 30}));
    EXPECT_EQ(sim.prefs.maxIters, prefs.maxIters);
    EXPECT_EQ(sim.prefs.iNumOrgs, prefs.iNumOrgs);
    EXPECT_TRUE(r->store.saves.empty());

    sim.continue_command();
    sim.step_batch(100);
    EXPECT_EQ(sim.run.iters, 30);  // the file's stop point
    sim.continue_command();
    sim.step_batch(100);
    EXPECT_EQ(sim.run.iters, 50);  // and its end
    EXPECT_EQ(sim.run.end_sim, 1);

    sim.go_to_step(10);
    while (!sim.travel(100)) {
    }
    sim.prefs.maxIters = 12;
    sim.continue_command();
    sim.step_batch(100);
    EXPECT_EQ(sim.run.iters, 12);  // the preferences' new end

    sim.prefs.maxIters = prefs.maxIters;
    sim.HandleFileChoice(kRestartItem);
    EXPECT_EQ(sim.limits().maxIters, prefs.maxIters);
    EXPECT_EQ(sim.model.norgs, 4);
}

TEST(RunFile, OpensHaltedOrEndedWithNothingSelected) {
    for (int32_t steps : {0, 7, 10}) {
        auto r = rig_with(4, 1);
        r->sim.sel = {1, 1, 2, 2};
        open_text(r->sim,
                  "vornick-run 1\nseed 1\norgs 4\nrandom-count no\nmax-iters 10\n"
                  "stop-at none\nsteps " +
                      std::to_string(steps) + "\n");
        EXPECT_EQ(r->sim.run.stop, 1);
        EXPECT_EQ(r->sim.run.end_sim, steps == 10 ? 1 : 0);
        EXPECT_EQ(r->sim.sel.selectOrgIndex, -1);
        EXPECT_EQ(r->sim.sel.prinfo, 0);
        EXPECT_EQ(r->rec.log.back(), "iter " + std::to_string(steps));
    }
}

// A run that went past a limit lowered meanwhile is saved with a limit that lets it be opened,
// and ends where the lowered limit would end it.
TEST(RunFile, ALoweredLimitStillSavesAnOpenableFile) {
    for (bool ended : {false, true}) {
        auto r = rig_with(4, 3);
        testing::run_to(r->sim, 100);
        OrgMove m{};
        ASSERT_TRUE(r->sim.arrow_edit(0, ArrowKey::kUp, m));
        r->sim.prefs.maxIters = 40;
        if (ended) {
            r->sim.continue_command();
            r->sim.step_batch(1);
        }
        auto again = rig_with(4, 1);
        open_text(again->sim, write_run_file(r->sim));
        EXPECT_EQ(again->sim.run.iters, r->sim.run.iters);
        EXPECT_EQ(again->sim.run.end_sim, ended ? 1 : 0);
        EXPECT_EQ(again->sim.limits().maxIters, r->sim.run.iters + (ended ? 0 : 1));
    }
}

TEST(RunFile, ABadFileOnDiskLeavesTheRunAsItWas) {
    const auto dir = std::filesystem::temp_directory_path() / "vornick-run-file-test";
    std::filesystem::create_directories(dir);
    const std::string good = (dir / "good.vornick").string();
    const std::string bad = (dir / "bad.vornick").string();
    auto source = rig_with(4, 5);
    testing::run_to(source->sim, 77);
    std::string error;
    ASSERT_TRUE(save_whole_file(good, write_run_file(source->sim), error)) << error;
    ASSERT_TRUE(save_whole_file(bad, "vornick-run 1\nseed x\n", error)) << error;

    auto r = rig_with(4, 1);
    testing::run_to(r->sim, 5);
    const std::string before = state_text(r->sim);
    EXPECT_FALSE(open_run_file(r->sim, bad, error));
    EXPECT_EQ(error, "line 2: seed must be a number from 0 to 4294967295, not 'x'");
    EXPECT_FALSE(open_run_file(r->sim, (dir / "missing.vornick").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(state_text(r->sim), before);
    ASSERT_TRUE(open_run_file(r->sim, good, error)) << error;
    EXPECT_EQ(state_text(r->sim), state_text(source->sim));
    EXPECT_FALSE(save_whole_file((dir / "no-such-dir" / "x.vornick").string(), "x", error));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vornick
