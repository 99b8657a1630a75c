#include "mathlib/dates.h"

#include <chrono>
#include <cmath>
#include <cstdint>

#include "core/number_text.h"
#include "mathlib/fp_guard.h"

namespace cn {
namespace {

namespace chr = std::chrono;

constexpr std::int64_t kFirstDay = -657434;  // 1 January 100
constexpr std::int64_t kLastDay = 2958465;   // 31 December 9999
constexpr std::int64_t kSecondsPerDay = 86400;

const chr::sys_days kEpoch = chr::year{1899} / chr::December / chr::day{30};

struct Moment {
  int year;
  unsigned month, day;
  std::int64_t second;  // of the day, 0..86399
};

// The calendar fields of a serial date; false outside the years 100..9999.
bool Split(double x, Moment& out) {
  if (!(x > kFirstDay - 1 && x < kLastDay + 1)) return false;  // NaN too
  const double whole = std::trunc(x);
  std::int64_t day = static_cast<std::int64_t>(whole);
  std::int64_t second = static_cast<std::int64_t>(std::floor(std::fabs(x - whole) * kSecondsPerDay + 0.5));
  if (second >= kSecondsPerDay) {
    second -= kSecondsPerDay;
    ++day;
  }
  if (day > kLastDay) return false;
  const chr::year_month_day ymd{kEpoch + chr::days{day}};
  out = {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), second};
  return true;
}

// The serial number of a day and a time of day in [0, 1): before day 0 the
// time is counted away from zero, as the whole part is truncated.
double Join(std::int64_t day, double time) {
  const double d = static_cast<double>(day);
  return day >= 0 ? d + time : d - time;
}

template <class Field>
double Part(double x, Field field) {
  Moment m;
  if (!Split(x, m)) return Fail();
  return static_cast<double>(field(m));
}

}  // namespace

double Year(double x) {
  return Part(x, [](const Moment& m) { return m.year; });
}
double Month(double x) {
  return Part(x, [](const Moment& m) { return m.month; });
}
double Day(double x) {
  return Part(x, [](const Moment& m) { return m.day; });
}
double Hour(double x) {
  return Part(x, [](const Moment& m) { return m.second / 3600; });
}
double Minute(double x) {
  return Part(x, [](const Moment& m) { return m.second / 60 % 60; });
}
double Second(double x) {
  return Part(x, [](const Moment& m) { return m.second % 60; });
}

double DateSerial(double year, double month, double day) {
  const auto y = ToInt16(year), m = ToInt16(month), d = ToInt16(day);
  if (!y || !m || !d) return Fail();
  std::int64_t fullYear = *y;
  if (fullYear >= 0 && fullYear <= 29)
    fullYear += 2000;
  else if (fullYear >= 30 && fullYear <= 99)
    fullYear += 1900;
  // Months carry into years; the days then count on from the 1st.
  const std::int64_t months = fullYear * 12 + (*m - 1);
  const std::int64_t carriedYear = months >= 0 ? months / 12 : (months - 11) / 12;
  const auto carriedMonth = static_cast<unsigned>(months - carriedYear * 12 + 1);
  // 32767 days are less than 90 years: a year further out cannot come back.
  if (carriedYear < 100 - 90 || carriedYear > 9999 + 90) return Fail();
  const chr::sys_days first = chr::year{static_cast<int>(carriedYear)} / chr::month{carriedMonth} / chr::day{1};
  const std::int64_t serial = (first - kEpoch).count() + (*d - 1);
  if (serial < kFirstDay || serial > kLastDay) return Fail();
  return static_cast<double>(serial);
}

double TimeSerial(double hour, double minute, double second) {
  const auto h = ToInt16(hour), m = ToInt16(minute), s = ToInt16(second);
  if (!h || !m || !s) return Fail();
  const std::int64_t total = std::int64_t{*h} * 3600 + std::int64_t{*m} * 60 + *s;
  const std::int64_t day = total >= 0 ? total / kSecondsPerDay : (total - kSecondsPerDay + 1) / kSecondsPerDay;
  const std::int64_t rest = total - day * kSecondsPerDay;
  return Join(day, static_cast<double>(rest) / kSecondsPerDay);
}

}  // namespace cn
