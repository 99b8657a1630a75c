// Recognisers of the operand forms: numbers, named constants, numbers with
// units, angles in degrees-minutes-seconds and variable names. They work on
// UTF-32 text so that every character counts once.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace cn {

// A plain decimal number as the compiler accepts it: digits with at most one
// point, optional exponent; no sign, no "," and no "d".
bool IsNumber(std::u32string_view token);
// Reads a token that passed IsNumber. False when it does not fit a double.
bool NumberValue(std::u32string_view token, double& value);

// First letter A-Z, a-z or "_", then letters, "_" or digits.
bool IsVariableName(std::u32string_view token);

enum class Recognised { kNo, kYes, kMalformed };

// Where DATE#, TIME# and NOW# read the time: the current moment as a date
// serial number (see DateSerial).
using SerialClock = std::function<double()>;

// Named constant written with "#" (pi also without). kMalformed: the token is
// a constant but no known one; `unknownName` then holds its name. DATE# is the
// whole part of `now()`, TIME# its fraction, NOW# the whole serial.
Recognised ConstantValue(std::u32string_view token, double& value, std::u32string& unknownName, const SerialClock& now);

// A number followed by a unit symbol with an optional SI prefix.
bool ParseUnitNumber(std::u32string_view token, double& value);

// An angle such as 30d15m10s, in decimal degrees. kMalformed: message 21.
Recognised ParseDMS(std::u32string_view token, double& value);

// A calendar date and time of day (the fields tm_year, tm_mon, tm_mday,
// tm_hour, tm_min and tm_sec) as a date serial number: days since
// 30 December 1899, the fraction being the time of day. 1 January 1900 is 2,
// noon on 1 January 2000 is 36526.5.
double DateSerial(const std::tm& moment);

// The system clock's current moment in local time, as a date serial number.
double NowSerial();

}  // namespace cn
