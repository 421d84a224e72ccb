#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

// Prints the runs as the console does and keeps, per benchmark, what the figures printed after the table
// are computed from: with --benchmark_repetitions the median row, otherwise the one run. The other
// statistics rows (mean, standard deviation, coefficient of variation) are never taken for a time.
class benchReport : public benchmark::ConsoleReporter {
  public:
    struct Figures {
        double seconds = 0.0;    // real time per iteration
        double cpuSeconds = 0.0; // CPU time per iteration, steadier on a busy machine
        std::map<std::string, double> counters;
    };

    // Coloured on a terminal only, as the library's own reporter is by default.
    benchReport() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.run_name.str();
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && !m_fromMedian.count(name);
            if (run.error_occurred || !(median || single))
                continue;
            Figures& figures = m_figures[name];
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            figures.seconds = run.GetAdjustedRealTime() / unit;
            figures.cpuSeconds = run.GetAdjustedCPUTime() / unit;
            for (const auto& [counter, value] : run.counters)
                figures.counters[counter] = value.value;
            if (median)
                m_fromMedian.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Null when the benchmark did not run (filtered out, or it failed).
    const Figures* Find(const std::string& name) const {
        const auto found = m_figures.find(name);
        return found == m_figures.end() ? nullptr : &found->second;
    }

  private:
    std::map<std::string, Figures> m_figures;
    std::set<std::string> m_fromMedian;
};

// The main of a bench whose benchmarks make their own fixtures: runs those the command line selects under
// a report, then prints the figures computed from it.
template <class Print> int benchRunAndPrint(int argc, char** argv, Print printFigures) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    printFigures(report);
    benchmark::Shutdown();
    return 0;
}

// Milliseconds since start, for benches that time frames themselves.
inline double benchMilliseconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The q-quantile (0.5 the median) of timed values, nearest rank.
inline double benchQuantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

// What a shell command printed; empty when it could not be started.
inline std::string benchCommandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    return output;
}
