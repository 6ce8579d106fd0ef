// Durations counted in fixed-width buckets: percentiles of any number of frames in constant memory.
#pragma once

#include <vector>

namespace sim {

// A growing list of samples would itself look like a leak to the soak's memory checkpoints.
class Histogram {
  public:
    Histogram(double bucketWidth, int bucketCount);

    void add(double value);
    long long count() const { return samples; }
    double max() const { return largest; }
    double percentile(double fraction) const; // the upper edge of the bucket it falls in; capped at max()

  private:
    double width;
    std::vector<long long> buckets; // the last one also takes everything beyond the range
    long long samples = 0;
    double largest = 0;
};

} // namespace sim
