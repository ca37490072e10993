#include <algorithm>
#include <cctype>

#include "platform/host/host_platform.h"

namespace hw {
namespace {

int slotOf(char drive) {
  const int c = std::toupper(static_cast<unsigned char>(drive));
  return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : 0;
}

bool containsIgnoringCase(const std::string& text, const std::string& part) {
  if (part.empty()) return true;
  auto it = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

bool actsOnEntry(const FaultRule& rule) {
  return rule.op == FaultOp::findFirst &&
         (rule.action == FaultAction::vanish || rule.action == FaultAction::resize);
}

}  // namespace

void FaultInjector::add(FaultRule rule) { rules_.push_back(Armed{std::move(rule)}); }

void FaultInjector::clear() { rules_.clear(); }

std::uint64_t FaultInjector::calls(FaultOp op, char drive) const {
  const auto& row = calls_[static_cast<int>(op)];
  if (drive != 0) return row[slotOf(drive)];
  std::uint64_t total = 0;
  for (std::uint64_t n : row) total += n;
  return total;
}

void FaultInjector::resetCounts() { calls_ = {}; }

void FaultInjector::count(FaultOp op, char drive) { ++calls_[static_cast<int>(op)][slotOf(drive)]; }

bool FaultInjector::match(FaultOp op, char drive, const std::string& path, std::uint64_t bytes,
                          bool entry, Hit& hit) {
  bool fired = false;
  for (Armed& armed : rules_) {
    const FaultRule& rule = armed.rule;
    if (rule.op != op || actsOnEntry(rule) != entry) continue;
    if (rule.drive != 0 && slotOf(rule.drive) != slotOf(drive)) continue;
    if (!containsIgnoringCase(path, rule.pathContains)) continue;
    if (rule.action == FaultAction::diskFullAtByte) {
      // A mark, not a count: every write that would cross it fails.
      if (!fired && armed.bytes + bytes > rule.value) {
        hit = Hit{rule.action, Status::diskFull, rule.value};
        fired = true;
      }
      continue;
    }
    ++armed.seen;
    if (!fired && (rule.nth == 0 || armed.seen == rule.nth)) {
      hit = Hit{rule.action, rule.error, rule.value};
      fired = true;
    }
  }
  if (!fired) {
    for (Armed& armed : rules_) {
      if (armed.rule.action == FaultAction::diskFullAtByte && armed.rule.op == op &&
          (armed.rule.drive == 0 || slotOf(armed.rule.drive) == slotOf(drive)) &&
          containsIgnoringCase(path, armed.rule.pathContains)) {
        armed.bytes += bytes;
      }
    }
  }
  return fired;
}

}  // namespace hw
