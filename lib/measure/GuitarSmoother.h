#pragma once

#include <cstddef>
#include <vector>

namespace Measure3 {

// Smooths the estimator's notes: each full window of the last 15 notes
// becomes one result, the centre of a least-squares line through its
// non-zero notes. Stable readings are remembered (at most 60), and when a
// note ends (a 0 after a non-zero note) the best of them is reported instead
// of the decaying tail, and the memory starts afresh.
class GuitarSmoother {
 public:
  static constexpr size_t kWindow = 15;
  static constexpr size_t kHistory = 60;

  struct HistoryRecord {
    double estimate;   // note
    double deviation;  // |estimate − last non-zero note of its window|
    double count;      // non-zero notes in its window
  };

  // Notes from the estimator, oldest first; the estimator appends here.
  std::vector<double> &Window() { return window_; }
  const std::vector<double> &Window() const { return window_; }
  // Smooths while the window is full; each step appends one result.
  void Drain();
  // Results made since they were last taken.
  std::vector<double> &Results() { return results_; }
  const std::vector<HistoryRecord> &History() const { return history_; }

 private:
  void Step();
  double BestOfHistory() const;

  std::vector<double> results_;
  std::vector<HistoryRecord> history_;
  std::vector<double> window_;
};

}  // namespace Measure3
