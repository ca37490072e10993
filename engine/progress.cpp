// The progress feed: the figures of the run page, each with its unit, written
// to the front-end only when their text changes.
#include <algorithm>
#include <cstdio>

#include "common/format_number.h"
#include "engine/backup_engine.h"
#include "resources/string_ids.h"

namespace hw {

namespace {

enum class TimeUnit { hours, minutes, seconds };
enum class ByteUnit { megabytes, kilobytes, bytes };

int timeUnitId(TimeUnit unit, std::uint64_t shown) {
  const bool one = shown == 1;
  switch (unit) {
    case TimeUnit::hours: return one ? ids::IDS_UNIT_HOUR : ids::IDS_UNIT_HOURS;
    case TimeUnit::minutes: return one ? ids::IDS_UNIT_MINUTE : ids::IDS_UNIT_MINUTES;
    default: return one ? ids::IDS_UNIT_SECOND : ids::IDS_UNIT_SECONDS;
  }
}

int byteUnitId(ByteUnit unit, std::uint64_t shown) {
  const bool one = shown == 1;
  switch (unit) {
    case ByteUnit::megabytes: return one ? ids::IDS_UNIT_MEGABYTE : ids::IDS_UNIT_MEGABYTES;
    case ByteUnit::kilobytes: return one ? ids::IDS_UNIT_KILOBYTE : ids::IDS_UNIT_KILOBYTES;
    default: return one ? ids::IDS_UNIT_BYTE : ids::IDS_UNIT_BYTES;
  }
}

double scaledTime(double seconds, TimeUnit unit) {
  switch (unit) {
    case TimeUnit::hours: return seconds / 3600 + 0.5;
    case TimeUnit::minutes: return seconds / 60 + 0.5;
    default: return seconds;
  }
}

double scaledBytes(double bytes, ByteUnit unit) {
  switch (unit) {
    case ByteUnit::megabytes: return bytes * 1e-6 + 0.5;
    case ByteUnit::kilobytes: return bytes * 0.001 + 0.5;
    default: return bytes;
  }
}

std::uint64_t whole(double v) { return v <= 0 ? 0 : static_cast<std::uint64_t>(v); }

// "%u" with thousands separators.
std::string grouped(std::uint64_t v) { return FormatGrouped(double(v), 0); }

// A time by the usual rule: hours from 360,000 seconds, minutes from 120.
TimeUnit plainTimeUnit(double seconds) {
  if (seconds >= 360000) return TimeUnit::hours;
  if (seconds >= 120) return TimeUnit::minutes;
  return TimeUnit::seconds;
}

}  // namespace

void BackupEngine::resetDisplay() { display_ = DisplayCache{}; }

void BackupEngine::showText(int control, const std::string& text) {
  host_.setControlText(control, text);
}

int BackupEngine::runTimeUnit() const {
  if (estimatedTotal > 360000 || (elapsed >= 180000 && remaining >= 180000)) return 0;
  if (estimatedTotal > 120 || (elapsed >= 60 && remaining >= 60)) return 1;
  return 2;
}

void BackupEngine::showRunTime(double seconds, double atLeast, int valueControl, int unitControl,
                               std::string& unitCache) {
  const TimeUnit unit = static_cast<TimeUnit>(runTimeUnit());
  double v = scaledTime(seconds, unit);
  if (v < atLeast) v = atLeast;
  const std::uint64_t shown = whole(v);
  const std::string unitText = texts_.get(timeUnitId(unit, shown)).substr(0, 20);
  if (unitText != unitCache) {
    unitCache = unitText;
    showText(unitControl, unitText);
  }
  showText(valueControl, grouped(shown));
}

void BackupEngine::elapsedShow() {
  const std::int64_t wholeSeconds = static_cast<std::int64_t>(elapsed);
  if (wholeSeconds == display_.elapsedSeconds) return;
  display_.elapsedSeconds = wholeSeconds;
  showRunTime(elapsed, 0, 2053, 2080, display_.elapsedUnit);
}

void BackupEngine::measureElapsed() {
  elapsed = seconds() - run_.startTime;
  if (clockStopped_) elapsed -= (platform_.clock().tickCount() - std::uint32_t(pauseStart_)) * 0.001;
  if (elapsed < 0) elapsed = 0;
}

void BackupEngine::fullUpdate(double current) {
  measureElapsed();
  const double done = run_.bytesCopied + (current > 0 ? current : 0);
  if (run_.totalBytes > 0) {
    overallPercent = std::min<std::int32_t>(
        99, static_cast<std::int32_t>(done / run_.totalBytes * 100 + 0.5));
  }
  diskUpdate(current);
  refineRemaining();
  elapsedShow();
  const std::int64_t remainingSeconds = static_cast<std::int64_t>(remaining);
  if (remainingSeconds != display_.remainingSeconds) {
    display_.remainingSeconds = remainingSeconds;
    showRunTime(remaining, 1, 2057, 2081, display_.remainingUnit);
  }
  if (run_.filesCopied != display_.filesDone) {
    display_.filesDone = run_.filesCopied;
    showText(2055, grouped(whole(run_.filesCopied)));
    showText(2059, grouped(whole(run_.totalFiles - run_.filesCopied)));
  }
  const std::int32_t disksLeft = run_.diskCount - run_.diskIndex;
  if (disksLeft != display_.disksLeft) {
    display_.disksLeft = disksLeft;
    showText(2056, std::to_string(run_.diskIndex));
    showText(2060, std::to_string(disksLeft));
  }
  bytesUpdate(current);
  host_.notify(kNotifyProgress);
}

void BackupEngine::bytesUpdate(double current) {
  const double done = run_.bytesCopied + (current > 0 ? current : 0);
  const double left = run_.totalBytes - done;
  if (done == display_.bytesDone) return;
  display_.bytesDone = done;
  ByteUnit unit = ByteUnit::bytes;
  if (run_.totalBytes > run_.megabyteLimit ||
      (done >= run_.megabyteLimitPart && left >= run_.megabyteLimitPart)) {
    unit = ByteUnit::megabytes;
  } else if (run_.totalBytes > 20000 || (done >= 10000 && left >= 10000)) {
    unit = ByteUnit::kilobytes;
  }
  auto show = [&](double bytes, int valueControl, int unitControl, std::string& unitCache) {
    double v = scaledBytes(bytes, unit);
    if (v < 1) v = 1;
    const std::uint64_t shown = whole(v);
    const std::string unitText = texts_.get(byteUnitId(unit, shown)).substr(0, 20);
    if (unitText != unitCache) {
      unitCache = unitText;
      showText(unitControl, unitText);
    }
    showText(valueControl, grouped(shown));
  };
  show(done, 2054, 2082, display_.doneUnit);
  show(left, 2058, 2083, display_.leftUnit);
}

void BackupEngine::elapsedUpdate() {
  measureElapsed();
  refineRemaining();
  elapsedShow();
}

void BackupEngine::diskUpdate(double current) {
  const double done = bytesOnDisk + (current > 0 ? current : 0);
  diskSpaceLeft = diskCapacity - bytesAlreadyOnDisk - done;
  diskSpaceLeft = std::min(diskSpaceLeft, run_.totalBytes - run_.bytesCopied);
  const double sum = diskSpaceLeft + done;
  diskPercent = sum > 0 ? std::min<std::int32_t>(99, static_cast<std::int32_t>(done / sum * 100 + 0.5))
                        : 0;
  currentDiskTime = diskCapacity != 0 ? baseEstimate * diskSpaceLeft / diskCapacity : 0;
  const std::int64_t diskSeconds = static_cast<std::int64_t>(currentDiskTime);
  if (diskSeconds == display_.diskSeconds) return;
  display_.diskSeconds = diskSeconds;
  const TimeUnit unit = plainTimeUnit(currentDiskTime);
  double v = scaledTime(currentDiskTime, unit);
  if (v <= 1) v = 1;
  const std::uint64_t shown = whole(v);
  showText(2070, grouped(shown) + " " + texts_.get(timeUnitId(unit, shown)));
}

void BackupEngine::finalUpdate() {
  measureElapsed();
  double e = elapsed > 0 ? elapsed : 1;
  const TimeUnit unit = plainTimeUnit(e);
  std::uint64_t shown = whole(scaledTime(e, unit));
  if (shown == 0) shown = 1;
  const std::string plural = texts_.get(timeUnitId(unit, 2));
  showText(2080, texts_.get(timeUnitId(unit, shown)));
  showText(2081, plural);
  showText(2053, grouped(shown));
  showText(2057, texts_.get(ids::IDS_NO_VALUE));
  ByteUnit bytesUnit = ByteUnit::bytes;
  if (run_.bytesCopied > run_.megabyteLimit) {
    bytesUnit = ByteUnit::megabytes;
  } else if (run_.bytesCopied > 20000) {
    bytesUnit = ByteUnit::kilobytes;
  }
  const std::uint64_t bytesShown = whole(scaledBytes(run_.bytesCopied, bytesUnit));
  showText(2082, texts_.get(byteUnitId(bytesUnit, bytesShown)));
  showText(2083, texts_.get(byteUnitId(bytesUnit, 2)));
  showText(2054, grouped(bytesShown));
  showText(2058, "0");
  showText(2059, "0");
  showText(2060, "0");
  run_.diskIndex += 1;
  showText(2056, std::to_string(run_.diskIndex));
  diskPercent = overallPercent = 100;
  host_.notify(kNotifyProgress);
  showText(2070, "0 " + plural);
}

int BackupEngine::fillSummary() {
  stopClock();
  PromptDetails summary;
  const TimeUnit unit = plainTimeUnit(estimatedTotal);
  const std::uint64_t shownTime = whole(scaledTime(estimatedTotal, unit));
  ByteUnit bytesUnit = ByteUnit::bytes;
  if (run_.totalBytes >= run_.megabyteLimit) {
    bytesUnit = ByteUnit::megabytes;
  } else if (run_.totalBytes >= 20000) {
    bytesUnit = ByteUnit::kilobytes;
  }
  const std::uint64_t shownBytes = whole(scaledBytes(run_.totalBytes, bytesUnit));
  summary.text = grouped(shownTime) + " " + texts_.get(timeUnitId(unit, shownTime)) + "\n" +
                 grouped(shownBytes) + " " + texts_.get(byteUnitId(bytesUnit, shownBytes)) +
                 "\n" + grouped(whole(run_.totalFiles)) + "\n" +
                 std::to_string(run_.diskCount) + "\n" + std::string(1, run_.destLetter) + ":";
  summary.totalBytes = run_.totalBytes;
  summary.totalFiles = run_.totalFiles;
  summary.diskCount = run_.diskCount;
  summary.estimatedSeconds = estimatedTotal;
  const int answer = host_.ask(PromptKind::summary, summary);
  host_.notify(kNotifyDialogClosed);
  startClock();
  return answer;
}

}  // namespace hw
