#include "app/fit_text.h"

#include <algorithm>

namespace hw {

int FitText(std::string_view text, long textWidth, long controlWidth, int pathFlag,
            std::string& output) {
  // An empty text (width 0) fits any control, however narrow.
  if (textWidth < controlWidth || textWidth <= 0) {
    output.assign(text);
    return 1;
  }
  const long n = static_cast<long>(text.size());
  const long fit = static_cast<long>(static_cast<long long>(n) * std::max(controlWidth, 0L) / textWidth) + 1;
  const long cut = n - fit + 5;
  static constexpr std::string_view kEllipsis = " ... ";

  if (pathFlag == 0) {
    const long keep = std::clamp(fit - 10, 0L, n);
    output.assign(text.substr(0, static_cast<std::size_t>(keep)));
    output += kEllipsis;
    return 0;
  }

  long start = n / 2 - cut / 2;
  long end = start + cut;
  // Move the cut forward so that the tail begins at a folder boundary.
  if (end >= 0 && end < n) {
    const std::size_t slash = text.find('\\', static_cast<std::size_t>(end));
    if (slash != std::string_view::npos) {
      start += static_cast<long>(slash) - end;
      end = static_cast<long>(slash);
    }
  }
  const long head = std::clamp(start + 1, 0L, n);  // characters 0 to start, inclusive
  const long tail = std::clamp(end, head, n);
  output.assign(text.substr(0, static_cast<std::size_t>(head)));
  output += kEllipsis;
  output.append(text.substr(static_cast<std::size_t>(tail)));
  return 0;
}

}  // namespace hw
