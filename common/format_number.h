// Numbers as the program shows and reports them: a fixed number of decimals,
// rounded half up, then commas between groups of three digits (1,200,000).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hw {

// Writes `value` with `decimals` digits after the point into `buffer`, whose
// `capacity` counts the terminating zero. Rounding is half up on the value's
// shortest decimal form (the digits that read back as the same double), so
// 2.675 gives "2.68" although the double is a little below 2.675; halves of
// negative values go away from zero (-0.5 gives "-1"), so a figure and its
// negation always show the same digits. A "-" is written only when the
// rounded figure is not zero ("-0.001" with two decimals gives "0.00").
// There is at least one digit before the point and a point only when
// decimals are asked for; a negative `decimals` counts as 0.
// Returns false and leaves "0" (as far as the capacity allows) when the text
// does not fit or the value is infinite or not a number.
bool FormatNumber(double value, int decimals, char* buffer, std::size_t capacity);

// Puts "," between groups of three digits of the integer part of the number
// at the start of `text` (counted from the decimal point; a leading "-" is
// not counted) and a blank after every group of three decimals when more
// follow: "-1234567.1234567" becomes "-1,234,567.123 456 7". Anything after
// the number is kept as it is. `capacity` counts the terminating zero;
// returns false and leaves the text unchanged when the result would not fit
// or the text has no terminating zero within the capacity.
bool GroupDigits(char* text, std::size_t capacity);

// The same without a size limit; non-finite values give "0".
std::string FormatNumber(double value, int decimals);
std::string GroupDigits(std::string_view text);
// FormatNumber followed by GroupDigits, the usual pair.
std::string FormatGrouped(double value, int decimals);

}  // namespace hw
