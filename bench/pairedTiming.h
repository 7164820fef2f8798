// Paired timing: the plug-in's run and its floor's run are timed one right
// after the other, in alternating order, so that both see the same state of
// a shared machine; the figures are medians over the pairs. Times are the
// thread's CPU time.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <vector>

// The CPU time of this thread: time other processes take on a shared
// machine does not count.
inline double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <class Fn> double secondsOf(Fn &&fn) {
  const double start = threadSeconds();
  fn();
  return threadSeconds() - start;
}

class PairedTimes {
public:
  void reserve(std::size_t n) {
    plugin_.reserve(n);
    floor_.reserve(n);
  }
  // Runs one pair; returns the plug-in's time.
  template <class Plugin, class Floor> double run(Plugin &&plugin, Floor &&floor) {
    double p = 0, f = 0;
    if (plugin_.size() % 2 == 0) {
      p = secondsOf(plugin);
      f = secondsOf(floor);
    } else {
      f = secondsOf(floor);
      p = secondsOf(plugin);
    }
    plugin_.push_back(p);
    floor_.push_back(f);
    return p;
  }

  double pluginMedian() const { return median(plugin_); }
  double floorMedian() const { return median(floor_); }
  // The median of the pairs' ratios plug-in / floor.
  double ratioMedian() const {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < plugin_.size(); ++i)
      if (floor_[i] > 0) ratios.push_back(plugin_[i] / floor_[i]);
    return median(ratios);
  }
  // The median of the pairs' differences plug-in - floor: the plug-in's own
  // time.
  double excessMedian() const {
    std::vector<double> excess;
    for (std::size_t i = 0; i < plugin_.size(); ++i)
      excess.push_back(plugin_[i] - floor_[i]);
    return median(excess);
  }
  // The ratio of the fastest runs: what is left when the machine is quiet.
  double ratioOfMinimums() const {
    if (plugin_.empty()) return 0;
    const double f = *std::min_element(floor_.begin(), floor_.end());
    return f > 0 ? *std::min_element(plugin_.begin(), plugin_.end()) / f : 0;
  }

  // Sets the counters: per-unit times in ns (medians divided by `units`) of
  // the plug-in, of the floor and of the plug-in's excess over the floor,
  // and the two ratios.
  void report(benchmark::State &state, double units, const std::string &unit) const {
    state.counters[unit + "_ns"] = pluginMedian() * 1e9 / units;
    state.counters["floor_" + unit + "_ns"] = floorMedian() * 1e9 / units;
    state.counters["excess_" + unit + "_ns"] = excessMedian() * 1e9 / units;
    state.counters["ratio"] = ratioMedian();
    state.counters["ratio_min"] = ratioOfMinimums();
  }

private:
  static double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  }
  std::vector<double> plugin_, floor_;
};

// Host calls by operation name made while `fn` runs (from the host's own
// per-operation counts, which count even with the call log off).
template <class Host, class Fn> std::map<std::string, long long> hostCallsOf(Host &host, Fn &&fn) {
  const auto before = host.faults().counts();
  fn();
  auto after = host.faults().counts();
  for (auto &[op, n] : after) {
    auto it = before.find(op);
    if (it != before.end()) n -= it->second;
  }
  std::erase_if(after, [](const auto &entry) { return entry.second == 0; });
  return after;
}

inline long long totalCalls(const std::map<std::string, long long> &calls) {
  long long n = 0;
  for (const auto &[op, count] : calls)
    n += count;
  return n;
}
