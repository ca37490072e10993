#include "app/settings_parse.h"

#include <charconv>
#include <cmath>
#include <string>

namespace hw {
namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view skipBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::size_t countDigits(std::string_view text, std::size_t from) {
  std::size_t n = from;
  while (n < text.size() && isDigit(text[n])) ++n;
  return n - from;
}

}  // namespace

std::int32_t ParseInteger(std::string_view text) {
  text = skipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint32_t value = 0;
  for (char c : text) {
    if (!isDigit(c)) break;
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::uint32_t ParseRealTruncated(std::string_view text) {
  text = skipBlanks(text);
  // Take the longest prefix of the accepted form, so that nothing beyond the
  // plain decimal notation (hex floats, "inf", "nan") is ever read.
  std::size_t end = 0;
  bool negative = false;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
    negative = text[end] == '-';
    ++end;
  }
  const std::size_t numberStart = end;
  std::size_t digits = countDigits(text, end);
  end += digits;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction = countDigits(text, end + 1);
    digits += fraction;
    end += 1 + fraction;
  }
  if (digits == 0) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t e = end + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    const std::size_t exponentDigits = countDigits(text, e);
    if (exponentDigits > 0) end = e + exponentDigits;
  }
  // from_chars takes no '+' and reads no locale, unlike strtod.
  const std::string_view number = text.substr(numberStart, end - numberStart);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc()) return 0;
  if (negative) value = -value;
  value = std::trunc(value);
  if (!(std::fabs(value) < 9.2e18)) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

}  // namespace hw
