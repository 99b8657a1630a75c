// The Progress a job's worker thread reports to: Max and Value are passed on
// to the window's thread through `send` (a queued signal) at most every
// 33 ms, and always when the bar empties or fills. With a stop token, the
// first Value after a stop request unwinds the work with Stopped.
#pragma once

#include <chrono>
#include <functional>
#include <stop_token>

#include "core/progress.h"

namespace cn {

// Thrown through a job's work when it is asked to stop.
struct Stopped {};

class ProgressRelay : public Progress {
 public:
  using Clock = std::chrono::steady_clock;
  // Often enough to look smooth, seldom enough that the window's thread
  // spends next to nothing on it.
  static constexpr auto kEvery = std::chrono::milliseconds(33);

  ProgressRelay(std::function<void(int max, int value)> send, std::stop_token stop = {})
      : send_(std::move(send)), stop_(std::move(stop)) {}
  int Max() const override { return max_; }
  void Max(int max) override {
    max_ = max;
    Send();
  }
  int Value() const override { return value_; }
  void Value(int value) override {
    if (stop_.stop_requested()) throw Stopped{};
    if (value == value_) return;
    value_ = value;
    if (value == 0 || value == max_ || Clock::now() - sent_ >= kEvery) Send();
  }

 private:
  void Send() {
    sent_ = Clock::now();
    send_(max_, value_);
  }
  std::function<void(int, int)> send_;
  std::stop_token stop_;
  int max_ = 0, value_ = 0;
  Clock::time_point sent_{};
};

}  // namespace cn
