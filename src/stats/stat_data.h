// The statistics window's arithmetic and data files, without Qt: the numeric
// test of an entry, the fitted equation's text, and the text of a data file
// (one point a line, "X Y", lines ended by CR LF).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cn {

// An entry is a number when, blanks around it aside, it is an optionally
// signed decimal with an optional exponent, read with a point ("-1.5e3").
// nullopt otherwise, and for a number too large for a double.
std::optional<double> EntryValue(std::string_view text);

// The least-squares line (degree 1) or parabola (degree 2) through the first
// min(xs, ys) points, as "2x + 1" or "-0.5x^2 + 3.3x -1": every coefficient
// rounded half to even at 3 decimals and written as a single, wherever the
// polynomial so written stays within 0.0005 of the fit at every point's x;
// otherwise (data far from x = 0) every coefficient with as many significant
// digits as that takes, up to 17. A row that is not a number counts as 0. Throws RegressionError when a point overflows the
// fit's sums.
std::string FitEquationText(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree);

// The coefficient of determination of that fit over the same points,
// R^2 = 1 - (sum of squared residuals) / (sum of squared deviations of y from
// its mean), in 0..1. nullopt when it says nothing: every y is the same, or
// there are no more points than the fit has coefficients (it then passes
// through each). Throws RegressionError as FitEquationText does.
std::optional<double> FitRSquared(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree);
// "R² = 0.9987" (four decimals), or "R² undefined: every y is the same." or
// "R² undefined: a line needs 3 points or more." ("a parabola needs 4").
std::string RSquaredText(const std::vector<std::string>& xs, const std::vector<std::string>& ys, int degree);

// What reading a data file found: the points in order, each value the text
// of its field as the file has it (so a later save writes it back unchanged),
// or the 1-based number of the first line that does not start with two
// numbers.
struct DataFileContents {
  std::vector<std::string> x;
  std::vector<std::string> y;
  int badLine = 0;
};

// Lines end with LF or CR LF; each splits at runs of blanks and tabs; an empty
// (or blank) line is skipped; fields after the second are ignored. A field is
// a value when it reads as a finite double ("1e39" is one, "1e400" is not).
DataFileContents ReadDataFile(std::string_view text);

// Why a data file's points are not taken, as the statistics window says it
// ("Line 3 of the file "p.txt" does not start with two numbers. Nothing was
// loaded."); "" when `contents` holds points. `shownPath` names the file.
std::string DataFileRefusal(const DataFileContents& contents, std::string_view shownPath);
// A larger file is no list of points a person typed or saved.
inline constexpr std::int64_t kMaxDataFileBytes = 16 * 1024 * 1024;
// "The file "p.txt" could not be opened: REASON. Nothing was loaded."
std::string DataFileUnreadableText(std::string_view shownPath, std::string_view reason);

// The file for the first min(xs, ys) rows: each line "X Y\r\n", the rows
// exactly as they read.
std::string WriteDataFile(const std::vector<std::string>& xs, const std::vector<std::string>& ys);

// The name a data file is saved under: a final ".txt" (exactly so) is
// dropped and ".txt" appended, so "points" and "points.txt" both give
// "points.txt" and "points.TXT" gives "points.TXT.txt".
std::string DataFileName(std::string_view chosen);

}  // namespace cn
