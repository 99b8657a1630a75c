// Long sweeps that stay a person's to stop: the progress a sweep reports goes
// on to a bar (if any), the window handles its events every few tens of
// milliseconds, and the sweep is unwound with Stopped once `stop` is set (by
// Esc, a Cancel button, or closing the window).
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include "core/progress.h"

namespace cn {

// How often a running sweep lets the window repaint and answer clicks.
inline constexpr int kResponseMs = 40;

struct Stopped {};

class StoppableProgress : public Progress {
 public:
  StoppableProgress(Progress* bar, const bool& stop) : bar_(bar), stop_(stop) { clock_.start(); }
  int Max() const override { return bar_ ? bar_->Max() : max_; }
  void Max(int max) override {
    max_ = max;
    if (bar_) bar_->Max(max);
  }
  int Value() const override { return bar_ ? bar_->Value() : value_; }
  void Value(int value) override {
    value_ = value;
    if (bar_) bar_->Value(value);
    if (clock_.elapsed() >= kResponseMs) {
      QCoreApplication::processEvents();
      clock_.restart();
    }
    if (stop_) throw Stopped{};
  }

 private:
  Progress* bar_;
  int max_ = 0, value_ = 0;
  const bool& stop_;
  QElapsedTimer clock_;
};

}  // namespace cn
