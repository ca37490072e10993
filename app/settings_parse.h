// The lenient number parses used on every value read from a text file: what
// a person may have typed into the settings file never fails to parse, it
// reads as whatever its leading digits give.
#pragma once

#include <cstdint>
#include <string_view>

namespace hw {

// Decimal integer: leading white space skipped, an optional sign, then the
// digits up to the first other character; no digits give 0. Digits past the
// 32-bit range wrap round modulo 2^32, as the C library of the time did, so a
// value written with "%u" reads back whole when cast to unsigned.
std::int32_t ParseInteger(std::string_view text);

// Decimal real number (leading white space, optional sign, digits with an
// optional decimal point and exponent, up to the first other character),
// truncated toward zero to 32 bits: 255.9 gives 255, and every value written
// with "%lu" reads back whole. Nothing to parse, or a magnitude beyond 2^63,
// gives 0.
std::uint32_t ParseRealTruncated(std::string_view text);

}  // namespace hw
