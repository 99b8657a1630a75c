// A progress indicator for tests: remembers what a sweep told it.
#pragma once

#include <algorithm>
#include <vector>

#include "core/progress.h"

struct ProgressRecorder : cn::Progress {
  int max = -1;  // -1 until a sweep sets it
  int value = 0;
  int highest = 0;          // the largest value written
  std::vector<int> values;  // every value written, in order

  int Max() const override { return max; }
  void Max(int m) override { max = m; }
  int Value() const override { return value; }
  void Value(int v) override {
    value = v;
    highest = std::max(highest, v);
    values.push_back(v);
  }
};
