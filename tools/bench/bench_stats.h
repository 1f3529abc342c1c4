// Timing samples and the comparison lines every benchmark prints: ours against a baseline
// measured in the same run, alternating, with minimum, median and the median's ratio.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvane::bench {

class Samples {
 public:
  void add(double value) { values_.push_back(value); }
  double min() const { return *std::min_element(values_.begin(), values_.end()); }
  double median() const {
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  size_t size() const { return values_.size(); }

 private:
  std::vector<double> values_;
};

// Runs `work` and returns how long it took, in microseconds.
template <typename Work>
double microseconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

// One line: what was measured, both sides, and the ratio of the medians, against its target
// when there is one (a target of 0 has none). Returns whether the target was met.
inline bool report(const std::string& what, const Samples& ours, const Samples& baseline,
                   const std::string& baselineName, const char* unit, double target = 0) {
  const double ratio = ours.median() / baseline.median();
  std::printf("%-40s ours min %8.1f median %8.1f %s | %s min %8.1f median %8.1f | ratio %.2f",
              what.c_str(), ours.min(), ours.median(), unit, baselineName.c_str(), baseline.min(),
              baseline.median(), ratio);
  if (target > 0) {
    std::printf(" (target <= %.2f) %s", target, ratio <= target ? "ok" : "MISSED");
  }
  std::printf("\n");
  return target <= 0 || ratio <= target;
}

}  // namespace quorvane::bench
