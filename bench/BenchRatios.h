#pragma once
// Benchmarks print ratios measured in one run, never absolute verdicts: a
// benchmark file declares which of its results to set side by side, and the
// main of the benchmark binary prints those ratios after the table.

#include <string>
#include <vector>

namespace nuvask::bench {

struct Ratio {
    std::string label;
    std::string numerator;   // benchmark name
    std::string denominator; // benchmark name
    std::string target;      // what it should reach, for the reader
};

std::vector<Ratio> &Ratios();

// Declares a ratio at static initialisation: `static RatioLine r{...};`.
struct RatioLine {
    explicit RatioLine(Ratio ratio) { Ratios().push_back(std::move(ratio)); }
};

} // namespace nuvask::bench
