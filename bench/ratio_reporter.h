// Prints, after the usual table, each benchmark's time as a ratio of a baseline measured in the
// same run, so results compare across machines and loads. CPU time, so that other processes
// sharing the cores weigh less, except for work shared among threads, which only the wall
// clock sees done sooner; with repetitions, medians.
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
        bool real_time = false;       // wall-clock time of both, for work on several threads
    };
    explicit RatioReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            for (const bool real : {false, true}) {
                const std::string name = key(r.run_name.str(), real);
                const double t = real ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime();
                if (r.run_type == Run::RT_Iteration) {
                    times_[name].push_back(t);
                } else if (r.aggregate_name == "median") {
                    medians_[name] = t;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf(
            "\nratios (measured / baseline time, same run, medians; CPU time unless [wall]):\n");
        for (const Pair& p : pairs_) {
            const double m = median(p.measured, p.real_time), b = median(p.baseline, p.real_time);
            if (m <= 0 || b <= 0) continue;
            const double ratio = m / b;
            const bool ok = p.target <= 0 || ratio <= p.target;
            std::printf("  %-40s / %-32s = %6.3f%s", p.measured.c_str(), p.baseline.c_str(), ratio,
                        p.real_time ? " [wall]" : "");
            if (p.target > 0)
                std::printf("  (target <= %.2f: %s)", p.target, ok ? "met" : "MISSED");
            std::printf("\n");
        }
    }

    // The benchmark's median time, CPU or wall clock; 0 when it did not run.
    double median(const std::string& run_name, bool real_time = false) const {
        const std::string name = key(run_name, real_time);
        if (auto m = medians_.find(name); m != medians_.end()) return m->second;
        auto it = times_.find(name);
        if (it == times_.end() || it->second.empty()) return 0;
        std::vector<double> t = it->second;
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }

  private:
    static std::string key(const std::string& name, bool real_time) {
        return real_time ? name + " [wall]" : name;
    }

    std::vector<Pair> pairs_;
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;  // the library's own, when it reports aggregates
};

}  // namespace vornick::bench
