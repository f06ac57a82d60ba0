// Timing helpers shared by the benches.
#pragma once

#include <time.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// The middle value; the mean of the two middle ones for an even count.
inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Processor time of the calling thread in milliseconds: other programs on a busy machine do not
// count in it.
inline double thread_millis(const std::function<void()> &fn) {
  timespec t0{}, t1{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t0);
  fn();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t1);
  return double(t1.tv_sec - t0.tv_sec) * 1e3 + double(t1.tv_nsec - t0.tv_nsec) / 1e6;
}

}  // namespace bench
