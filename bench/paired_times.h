#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

// Times a piece of the program and its peer alternately, once each per benchmark iteration, so
// that both meet the same load. Reports the program's time as the iteration time and both medians
// and their ratio as counters.
class PairedTimes final {
public:
    template <class Work> void Program(benchmark::State& state, Work&& work) {
        const double seconds = Time(work);
        program_.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    template <class Work> void Peer(Work&& work) { peer_.push_back(Time(work)); }

    // `scale` turns seconds into the counters' unit (1e3 for milliseconds, say).
    void Report(benchmark::State& state, const char* programName, const char* peerName,
                double scale) const {
        if (program_.empty() || peer_.empty())
            return;
        const double program = Median(program_);
        const double peer = Median(peer_);
        state.counters[programName] = program * scale;
        state.counters[peerName] = peer * scale;
        state.counters["ratio"] = program / peer;
    }

private:
    template <class Work> static double Time(Work& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    static double Median(std::vector<double> values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }

    std::vector<double> program_;
    std::vector<double> peer_;
};
