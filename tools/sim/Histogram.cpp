// Bucket counting and the percentile walk.
#include "tools/sim/Histogram.h"

#include <algorithm>

namespace sim {

Histogram::Histogram(double bucketWidth, int bucketCount) : width(bucketWidth), buckets(bucketCount, 0) {}

void Histogram::add(double value) {
    if (!(value >= 0)) value = 0;
    double slot = value / width;
    int last = static_cast<int>(buckets.size()) - 1;
    buckets[slot >= last ? last : static_cast<int>(slot)] += 1;
    if (samples == 0 || value > largest) largest = value;
    samples += 1;
}

double Histogram::percentile(double fraction) const {
    if (samples == 0) return 0;
    // The sample of this rank (1-based) is the one reported.
    long long rank = static_cast<long long>(fraction * static_cast<double>(samples - 1)) + 1;
    long long seen = 0;
    for (size_t i = 0; i < buckets.size(); ++i) {
        seen += buckets[i];
        if (seen >= rank) return std::min(largest, static_cast<double>(i + 1) * width);
    }
    return largest;
}

} // namespace sim
