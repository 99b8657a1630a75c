// What a long sweep needs of a progress indicator: a maximum and a value.
// The drawn progress bar implements it; tests use a plain recorder.
#pragma once

namespace cn {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual int Max() const = 0;
  virtual void Max(int max) = 0;
  virtual int Value() const = 0;
  // Repaints at once: sweeps block the window, and only the bar may move.
  virtual void Value(int value) = 0;
};

}  // namespace cn
