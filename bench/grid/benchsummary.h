#pragma once
// The console reporter of the grid benchmark, which also prints one
// summary table when the run ends: for each case the time of ours, of the
// peer (Qt's view) and ours / peer, so a ratio above 1.0 means ours is
// slower. Times are real (wall-clock) milliseconds per iteration; with
// repetitions the median is taken. A case may name counters of its own
// benchmark (e.g. the median and worst step); they print on a line of their
// own under the case, the peer's same counters beside them.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace gridbench {

struct SummaryCase {
    std::string title;
    std::string ours;  // the benchmark's name, e.g. "BM_DBGrid_OpenFirstPaint"
    std::string peer;  // empty: a case of ours only
    std::string goal;  // printed beside the figures, e.g. "ratio <= 1.0"
    std::vector<std::string> counters = {};  // counter names of both, in milliseconds
};

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(std::vector<SummaryCase> cases);

    void ReportRuns(const std::vector<Run>& runs) override;
    // Prints the table to stdout; cases whose benchmarks did not run (left
    // out by --benchmark_filter) show "-".
    void PrintSummary() const;

private:
    // "median_ms 1.20 ms, worst_ms 3.40 ms" of the counters the benchmark
    // has; empty when it has none of them or did not run.
    std::string CounterLine(const std::string& benchmark, const std::vector<std::string>& names) const;

    std::vector<SummaryCase> cases_;
    std::map<std::string, double> milliseconds_;  // by benchmark name
    std::map<std::string, std::map<std::string, double>> counters_;  // by benchmark name, counter
};

}  // namespace gridbench
