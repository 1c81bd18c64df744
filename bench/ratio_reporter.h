// Prints, after the usual table, each benchmark's time as a ratio of a baseline measured in the
// same run, so results compare across machines and loads. CPU time, so that other processes
// sharing the cores weigh less; with repetitions, medians.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
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
            if (r.error_occurred) continue;
            if (r.run_type == Run::RT_Iteration) {
                times_[r.run_name.str()].push_back(r.GetAdjustedCPUTime());
            } else if (r.aggregate_name == "median") {
                medians_[r.run_name.str()] = r.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nratios (measured / baseline CPU time, same run, medians):\n");
        for (const Pair& p : pairs_) {
            const double m = median(p.measured), b = median(p.baseline);
            if (m <= 0 || b <= 0) continue;
            const double ratio = m / b;
            const bool ok = p.target <= 0 || ratio <= p.target;
            std::printf("  %-40s / %-32s = %6.3f", p.measured.c_str(), p.baseline.c_str(), ratio);
            if (p.target > 0)
                std::printf("  (target <= %.2f: %s)", p.target, ok ? "met" : "MISSED");
            std::printf("\n");
        }
    }

  private:
    double median(const std::string& name) const {
        if (auto m = medians_.find(name); m != medians_.end()) return m->second;
        auto it = times_.find(name);
        if (it == times_.end() || it->second.empty()) return 0;
        std::vector<double> t = it->second;
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }

    std::vector<Pair> pairs_;
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;  // the library's own, when it reports aggregates
};

}  // namespace vornick::bench
