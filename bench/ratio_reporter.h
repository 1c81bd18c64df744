// Prints, after the usual table, each benchmark's time as a ratio of a baseline measured in the
// same run, so results compare across machines and loads.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vornick::bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // (measured, baseline, target ratio or 0 for none)
    struct Pair {
        std::string measured, baseline;
        double target;
        bool lower_is_better = true;  // time ratio; false for rates
    };
    explicit RatioReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nratios (measured time / baseline time, same run):\n");
        for (const Pair& p : pairs_) {
            auto m = times_.find(p.measured), b = times_.find(p.baseline);
            if (m == times_.end() || b == times_.end() || b->second <= 0) continue;
            const double ratio = m->second / b->second;
            const bool ok = p.target <= 0 || ratio <= p.target;
            std::printf("  %-40s / %-32s = %6.3f", p.measured.c_str(), p.baseline.c_str(), ratio);
            if (p.target > 0)
                std::printf("  (target <= %.2f: %s)", p.target, ok ? "met" : "MISSED");
            std::printf("\n");
        }
    }

  private:
    std::vector<Pair> pairs_;
    std::map<std::string, double> times_;
};

}  // namespace vornick::bench
