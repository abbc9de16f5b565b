#pragma once

// What every benchmark reports, those that measure inside the program and
// vistrel-bench-process, which times it from outside and has no Qt.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vistrel::bench {

inline double median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

// One line of the closing summary; bench/run.sh collects the lines that
// start with "TARGET".
inline void printVerdict(const std::string &what, bool met, const std::string &figures) {
    std::printf("TARGET %-6s | %-34s | %s\n", met ? "met" : "MISSED", what.c_str(),
                figures.c_str());
    std::fflush(stdout);
}

} // namespace vistrel::bench
