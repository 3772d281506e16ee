#include "bench/grid/benchsummary.h"

#include <cstdio>
#include <unistd.h>
#include <utility>

namespace gridbench {

// Colours only on a terminal, as the library's own reporter chooses.
SummaryReporter::SummaryReporter(std::vector<SummaryCase> cases)
    : benchmark::ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular),
      cases_(std::move(cases))
{
}

void SummaryReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.error_occurred)
            continue;
        const double ms =
            run.GetAdjustedRealTime() * 1000.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        // The function's name: "/real_time" and other suffixes left out.
        const std::string& name = run.run_name.function_name;
        const bool take = run.run_type == Run::RT_Aggregate
                              ? run.aggregate_name == "median"
                              // Without repetitions the one run; with them
                              // the first until the median arrives.
                              : run.repetitions <= 1 || !milliseconds_.count(name);
        if (!take)
            continue;
        milliseconds_[name] = ms;
        for (const auto& [counter, value] : run.counters)
            counters_[name][counter] = value.value;
    }
    benchmark::ConsoleReporter::ReportRuns(runs);
}

std::string SummaryReporter::CounterLine(const std::string& benchmark, const std::vector<std::string>& names) const
{
    const auto counters = counters_.find(benchmark);
    if (counters == counters_.end())
        return {};
    std::string line;
    for (const std::string& name : names) {
        const auto found = counters->second.find(name);
        if (found == counters->second.end())
            continue;
        char text[64];
        std::snprintf(text, sizeof text, "%s %.2f ms", name.c_str(), found->second);
        line += (line.empty() ? "" : ", ") + std::string(text);
    }
    return line;
}

void SummaryReporter::PrintSummary() const
{
    auto figure = [this](const std::string& name, double& ms) {
        const auto found = milliseconds_.find(name);
        if (found == milliseconds_.end())
            return false;
        ms = found->second;
        return true;
    };
    std::printf("\n%-52s %12s %12s %8s  %s\n", "case", "ours (ms)", "peer (ms)", "ratio", "goal");
    for (const SummaryCase& item : cases_) {
        double ours = 0;
        double peer = 0;
        const bool hasOurs = figure(item.ours, ours);
        const bool hasPeer = !item.peer.empty() && figure(item.peer, peer);
        char oursText[32] = "-";
        char peerText[32] = "-";
        char ratioText[32] = "-";
        if (hasOurs)
            std::snprintf(oursText, sizeof oursText, "%.2f", ours);
        if (hasPeer)
            std::snprintf(peerText, sizeof peerText, "%.2f", peer);
        if (hasOurs && hasPeer && peer > 0)
            std::snprintf(ratioText, sizeof ratioText, "%.2f", ours / peer);
        std::printf("%-52s %12s %12s %8s  %s\n", item.title.c_str(), oursText, peerText, ratioText,
                    item.goal.c_str());
        if (item.counters.empty())
            continue;
        std::string line = CounterLine(item.ours, item.counters);
        const std::string peerLine = item.peer.empty() ? std::string() : CounterLine(item.peer, item.counters);
        if (!peerLine.empty())
            line += (line.empty() ? "peer: " : "; peer: ") + peerLine;
        if (!line.empty())
            std::printf("  %-50s %s\n", "", line.c_str());
    }
    std::fflush(stdout);
}

}  // namespace gridbench
