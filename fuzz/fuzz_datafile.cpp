// libFuzzer entry for the statistics window's data files: arbitrary bytes as
// a file, read, then fitted as the window would. Promises checked each run:
//   - a refused file names a line that exists (1 .. number of lines);
//   - every value read is a field of the file, a finite number;
//   - what was read saves and reads back to the same points;
//   - a fit either gives a text whose coefficients are numbers, or throws
//     RegressionError (a point too large for the sums), nothing else.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/number_text.h"
#include "fuzz_support.h"
#include "stats/regression_object.h"
#include "stats/stat_data.h"

using cn::fuzz::Require;

namespace {

std::size_t Lines(std::string_view text) {
  std::size_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

void CheckFit(const cn::DataFileContents& read, int degree) {
  try {
    const std::string text = cn::FitEquationText(read.x, read.y, degree);
    Require(!text.empty());
    Require(text.find("nan") == std::string::npos && text.find("NaN") == std::string::npos);
    Require(text.find("Infinity") == std::string::npos);
  } catch (const cn::RegressionError&) {
    // A point whose powers overflow the sums: the window says so.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const cn::DataFileContents read = cn::ReadDataFile(file);
  Require(read.x.size() == read.y.size());
  if (read.badLine != 0) {
    Require(read.badLine >= 1 && static_cast<std::size_t>(read.badLine) <= Lines(file));
    return 0;
  }
  for (std::size_t i = 0; i < read.x.size(); ++i) {
    for (const std::string* field : {&read.x[i], &read.y[i]}) {
      Require(!field->empty());
      Require(file.find(*field) != std::string_view::npos);
      const auto value = cn::EntryValue(*field);
      Require(value.has_value() && std::isfinite(*value));
    }
  }
  const cn::DataFileContents again = cn::ReadDataFile(cn::WriteDataFile(read.x, read.y));
  Require(again.badLine == 0);
  Require(again.x == read.x && again.y == read.y);
  if (read.x.size() <= 2000) {
    CheckFit(read, 1);
    CheckFit(read, 2);
  }
  return 0;
}
