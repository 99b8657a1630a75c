// A progress indicator for tests: remembers what a sweep told it.
#pragma once

#include <algorithm>

#include "core/progress.h"

struct ProgressRecorder : cn::Progress {
  int max = -1;      // -1 until a sweep sets it
  int value = 0;
  int highest = 0;   // the largest value written
  int writes = 0;    // how many values were written

  int Max() const override { return max; }
  void Max(int m) override { max = m; }
  int Value() const override { return value; }
  void Value(int v) override {
    value = v;
    highest = std::max(highest, v);
    ++writes;
  }
};
