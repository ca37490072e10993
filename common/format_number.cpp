#include "common/format_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace hw {
namespace {

// The shortest decimal digits of a finite, non-negative double and the
// number of those digits that stand before the decimal point (negative or
// beyond the digits for very small or very large values). Rounding these
// digits rather than the binary value is what makes 2.675 round like the
// number the user typed.
struct DecimalDigits {
  std::string digits;
  int pointPosition = 1;
};

DecimalDigits shortestDigits(double magnitude) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
  DecimalDigits out;
  const char* p = text;
  for (; p != result.ptr && *p != 'e'; ++p) {
    if (*p != '.') out.digits.push_back(*p);
  }
  int exponent = 0;
  if (p != result.ptr) std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
  out.pointPosition = exponent + 1;
  return out;
}

// Formats into `out`; false when the text would be longer than `maxLength`.
bool formatInto(double value, int decimals, std::string& out, std::size_t maxLength) {
  if (!std::isfinite(value)) return false;
  const std::size_t fraction = decimals > 0 ? static_cast<std::size_t>(decimals) : 0;
  if (fraction > maxLength) return false;

  const DecimalDigits source = shortestDigits(std::fabs(value));
  const int sourceLength = static_cast<int>(source.digits.size());
  const std::size_t integerCount = static_cast<std::size_t>(std::max(source.pointPosition, 1));
  // Rounding can only add a digit, so a figure that is already too long fails here.
  if (integerCount + fraction + (fraction ? 1 : 0) > maxLength) return false;

  // Digit i of the fixed-point figure comes from source digit
  // pointPosition - integerCount + i, or is a zero outside the source digits.
  const long long offset = static_cast<long long>(source.pointPosition) - static_cast<long long>(integerCount);
  auto sourceDigit = [&](long long index) {
    return index >= 0 && index < sourceLength ? source.digits[static_cast<std::size_t>(index)] : '0';
  };
  std::string figure(integerCount + fraction, '0');
  for (std::size_t i = 0; i < figure.size(); ++i) figure[i] = sourceDigit(offset + static_cast<long long>(i));

  if (sourceDigit(offset + static_cast<long long>(figure.size())) >= '5') {
    std::size_t i = figure.size();
    while (i > 0 && figure[i - 1] == '9') figure[--i] = '0';
    if (i > 0) {
      ++figure[i - 1];
    } else {
      figure.insert(figure.begin(), '1');
    }
  }

  const bool negative = value < 0 && figure.find_first_not_of('0') != std::string::npos;
  out.clear();
  if (negative) out.push_back('-');
  out.append(figure, 0, figure.size() - fraction);
  if (fraction) {
    out.push_back('.');
    out.append(figure, figure.size() - fraction, fraction);
  }
  return out.size() <= maxLength;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool FormatNumber(double value, int decimals, char* buffer, std::size_t capacity) {
  if (capacity == 0) return false;
  std::string text;
  if (!formatInto(value, decimals, text, capacity - 1)) {
    text = capacity >= 2 ? "0" : "";
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

std::string FormatNumber(double value, int decimals) {
  std::string text;
  const std::size_t fraction = decimals > 0 ? static_cast<std::size_t>(decimals) : 0;
  // A double has at most 309 integer digits; sign, point and a carry fit in the rest.
  if (!formatInto(value, decimals, text, 320 + fraction)) return "0";
  return text;
}

std::string GroupDigits(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 3 + 1);
  std::size_t pos = 0;
  if (pos < text.size() && text[pos] == '-') out.push_back(text[pos++]);

  std::size_t integerEnd = pos;
  while (integerEnd < text.size() && isDigit(text[integerEnd])) ++integerEnd;
  for (std::size_t i = pos; i < integerEnd; ++i) {
    if (i > pos && (integerEnd - i) % 3 == 0) out.push_back(',');
    out.push_back(text[i]);
  }
  pos = integerEnd;

  if (pos < text.size() && text[pos] == '.') {
    out.push_back(text[pos++]);
    const std::size_t fractionStart = pos;
    while (pos < text.size() && isDigit(text[pos])) {
      if (pos > fractionStart && (pos - fractionStart) % 3 == 0) out.push_back(' ');
      out.push_back(text[pos++]);
    }
  }
  out.append(text.substr(pos));
  return out;
}

bool GroupDigits(char* text, std::size_t capacity) {
  const void* end = std::memchr(text, '\0', capacity);
  if (end == nullptr) return false;
  const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - text);
  const std::string grouped = GroupDigits(std::string_view(text, length));
  if (grouped.size() + 1 > capacity) return false;
  std::memcpy(text, grouped.c_str(), grouped.size() + 1);
  return true;
}

std::string FormatGrouped(double value, int decimals) {
  return GroupDigits(FormatNumber(value, decimals));
}

}  // namespace hw
