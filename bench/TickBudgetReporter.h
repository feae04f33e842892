#pragma once
// Google Benchmark's console output, plus each median as a share of the 100 ms live tick.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace rz::bench {

class TickBudgetReporter : public benchmark::ConsoleReporter {
public:
    // `decimals`: digits after the point of the milliseconds printed.
    explicit TickBudgetReporter(int decimals = 3) : decimals(decimals) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const double cpuMs = run.GetAdjustedCPUTime() * toMs;
            const double realMs = run.GetAdjustedRealTime() * toMs;
            // The tick lasts 100 ms, so milliseconds and percent of the tick are the same number.
            std::printf("%s: median %.*f ms CPU = %.*f %% of the 100 ms tick (%.*f ms wall = %.*f %%)\n",
                        run.run_name.function_name.c_str(), decimals, cpuMs, decimals - 1, cpuMs,
                        decimals, realMs, decimals - 1, realMs);
        }
    }

private:
    int decimals;
};

} // namespace rz::bench
