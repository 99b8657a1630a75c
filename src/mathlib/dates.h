// Date and time parts of serial date numbers, and serial numbers from parts.
// A serial date counts days from 30 December 1899 (day 0); its fraction is
// the time of day (0.5 is noon). Before day 0 the whole part, truncated
// toward zero, is still the day and the fraction's size the time of day:
// -1.25 is 29 December 1899, 06:00. Serial dates outside the years 100 to
// 9999 fail (NaN), as do arguments that do not fit 16 bits.
#pragma once

namespace cn {

// The time of day is read to the nearest second; a time that rounds to
// 24:00:00 is 00:00:00 of the next day, in every field.
double Year(double x);
double Month(double x);   // 1..12
double Day(double x);     // 1..31
double Hour(double x);    // 0..23
double Minute(double x);  // 0..59
double Second(double x);  // 0..59

// Arguments rounded to whole numbers (halves to even) that must fit 16 bits.
// Months and days beyond their range carry into the next larger unit (month
// 13 is January of the next year, day 0 the last day of the month before);
// years 0..29 mean 2000..2029 and 30..99 mean 1930..1999.
double DateSerial(double year, double month, double day);
// h:m:s as a serial time: 3600h + 60m + s seconds, carried into days, so
// timeserial(25, 0, 0) is 1:00 of 31 December 1899 and a negative total
// lies before day 0.
double TimeSerial(double hour, double minute, double second);

}  // namespace cn
