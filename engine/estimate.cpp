// Disk planning, the time estimate and the per-drive timing statistics that
// make the next estimate for the same drive better.
#include <algorithm>
#include <cstdint>

#include "common/format_number.h"
#include "engine/backup_engine.h"
#include "resources/string_ids.h"

namespace hw {

namespace {

struct Rates {
  std::uint32_t statClass;
  std::uint32_t total, file, erase;
};

// Default rates by the destination's statistics class.
constexpr Rates kDefaultRates[] = {
    {1, 1600, 800, 8000}, {2, 32, 30, 100},    {8, 800, 150, 500},   {32, 28, 14, 50},
    {64, 80, 50, 140},    {256, 500, 100, 300}, {1000, 60, 50, 100}, {1001, 60, 40, 90},
    {1002, 30, 22, 35},   {1003, 40, 30, 100},  {1004, 40, 40, 90},  {1005, 36, 36, 80},
    {1006, 36, 36, 60},   {1007, 36, 36, 50},   {1008, 32, 32, 40},  {1009, 34, 34, 44},
    {1010, 34, 34, 44},
};
constexpr Rates kOtherRates = {0, 1200, 120, 300};

const Rates& defaultRates(std::uint32_t statClass) {
  for (const Rates& r : kDefaultRates) {
    if (r.statClass == statClass) return r;
  }
  return kOtherRates;
}

// How much slower than a fixed disk a source drive reads; 32 adds nothing.
double sourceReadFactor(std::uint32_t statClass) {
  switch (statClass) {
    case 1: return 1600;
    case 8: return 800;
    case 32: return 28;
    case 64: return 80;
    case 256: return 500;
    case 1000: case 1001: return 60;
    case 1002: return 30;
    case 1003: case 1004: return 40;
    case 1005: case 1006: case 1007: return 36;
    case 1008: return 32;
    case 1009: case 1010: return 34;
    default: return 1200;
  }
}

std::uint32_t truncated(double v) { return v <= 0 ? 0 : static_cast<std::uint32_t>(v); }

}  // namespace

std::uint32_t BackupEngine::capacityKey() const { return truncated(diskCapacity * 0.001); }

double BackupEngine::loadRates() {
  const char x = run_.destLetter;
  run_.rateTotal = 0;
  run_.rateFile = 0;
  if (settings_.GetUseDrive(x) != 0) {
    if (settings_.GetDriveSize(x) == capacityKey()) {
      run_.rateTotal = settings_.GetDrvTotTime(x);
      run_.rateFile = settings_.GetDrvFilTime(x);
    }
  } else {
    settings_.SetUseDrive(x, 0);
    settings_.SetDriveSize(x, 0);
    settings_.SetDrvTotTime(x, 0);
    settings_.SetDrvFilTime(x, 0);
    settings_.SetDrvDelTime(x, 0);
  }
  if (run_.rateTotal == 0 || run_.rateFile == 0) {
    const Rates& r = defaultRates(run_.destType);
    run_.rateTotal = r.total;
    run_.rateFile = r.file;
  }
  double base = run_.rateTotal * run_.totalBytes * 1e-7;
  if (run_.totalBytes != 0) {
    base *= 1 + run_.totalFiles * run_.rateFile * 10 / run_.totalBytes;
  }
  return base;
}

void BackupEngine::loadEraseRate() {
  const char x = run_.destLetter;
  run_.rateErase = 0;
  if (settings_.GetUseDrive(x) != 0 && settings_.GetDriveSize(x) == capacityKey()) {
    run_.rateErase = settings_.GetDrvDelTime(x);
  }
  if (run_.rateErase == 0) run_.rateErase = defaultRates(run_.destType).erase;
  diskEraseTime = run_.rateErase * diskCapacity * 1e-8;
}

// Drops a file that is larger than a whole disk from the backup.
void BackupEngine::dropTooLarge(std::int32_t& selected, std::int32_t& status, double size) {
  selected = 0;
  status = kOutcomeTooLarge;
  run_.totalBytes -= size;
  run_.totalFiles -= 1;
}

// False when the user stopped the run at the prompt.
bool BackupEngine::planFile(const std::string& path, std::int32_t& selected,
                            std::int32_t& status, double fileSize, bool withPrompts,
                            double& fill) {
  const double size = std::max(fileSize, run_.clusterSize);
  if (fill + size < diskCapacity) {
    fill += size;
    return true;
  }
  if (!withPrompts || size <= diskCapacity) {
    run_.diskCount += 1;
    fill = size;
    return true;
  }
  stopClock();
  if (skipAllTooLarge_) {
    dropTooLarge(selected, status, size);
  } else {
    PromptDetails details;
    details.sourcePath = path;
    details.text = FormatGrouped(fileSize, 0) + " " + texts_.get(ids::IDS_UNIT_BYTES) + "\n" +
                   FormatGrouped(diskCapacity, 0) + " " + texts_.get(ids::IDS_UNIT_BYTES);
    details.totalBytes = fileSize;
    const int answer = askWithPauses(PromptKind::fileTooLarge, details);
    if (answer == kAnswerSkip || answer == kAnswerSkipAll) {
      dropTooLarge(selected, status, size);
      if (answer == kAnswerSkipAll) skipAllTooLarge_ = 1;
    } else if (answer == kAnswerAbort) {
      run_.active = 0;
      host_.notify(kNotifyStopped);
      startClock();
      return false;
    }
  }
  startClock();
  return true;
}

bool BackupEngine::planDisks(bool withPrompts) {
  if (run_.sourceDrives.empty()) return false;
  double fill = 0;
  run_.diskCount = 1;
  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    resetWalk(drive->root, kWalkResetVisit);
    for (DirEntry* d = walkNext(drive->root, kWalkVisitAgain); d;
         d = walkNext(preorderNext(d), kWalkVisitAgain)) {
      if (!d->filesListed) continue;
      for (FileEntry& f : d->files) {
        if (!f.selected) continue;
        if (!planFile(d->fullPath() + "\\" + f.name, f.selected, f.status, f.size, withPrompts,
                      fill)) {
          return false;
        }
      }
    }
  }
  for (ExtraFile& e : run_.extraFiles) {
    if (!e.selected) continue;
    if (!planFile(e.path, e.selected, e.status, e.size, withPrompts, fill)) return false;
  }
  return true;
}

bool BackupEngine::estimate(bool withPrompts) {
  estimatedTotal = 0;
  run_.diskIndex = 0;
  run_.bytesCopied = 0;
  run_.filesCopied = 0;
  diskSpaceLeft = 0;
  if (run_.totalBytes < 0) run_.totalBytes = 0;
  run_.startTime = seconds();
  if (!planDisks(withPrompts)) return false;
  if (run_.diskCount == 1) host_.setControlText(2069, texts_.get(ids::IDS_DISK_LAST));

  double t = loadRates();
  baseEstimate = t;
  t *= 1 + 0.004 * run_.slownessRating;
  const double t0 = t;
  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || drive->needsScan || (drive->driveFlags & DK_FIXED)) continue;
    double share = drive->selectedBytes * 100;
    if (run_.totalBytes != 0) share /= run_.totalBytes;
    const double f = sourceReadFactor(drive->driveType);
    t += (f - 32) * 100 * 0.03125 * share * t0 * 0.01 * 0.01 * 0.1;
  }
  run_.estimateSeconds = estimatedTotal = remaining = t;
  baseEstimate = run_.totalBytes != 0 ? diskCapacity * t / run_.totalBytes : 0;
  loadEraseRate();
  return true;
}

void BackupEngine::refineRemaining() {
  if (++refineCalls_ < 4) return;
  refineCalls_ = 0;
  if (run_.bytesCopied < 0) return;
  if (run_.diskIndex == 0) {
    if (!milestone25 && diskPercent > 25) {
      milestone25 = 1;
      recalibrate(diskPercent);
    } else if (!milestone50 && diskPercent > 50) {
      milestone50 = 1;
      recalibrate(diskPercent);
    } else if (!milestone75 && diskPercent > 75) {
      milestone75 = 1;
      recalibrate(diskPercent);
    }
  }
  if (run_.diskCount - run_.diskIndex == 1) {
    remaining = currentDiskTime;
  } else {
    double bytePct = run_.bytesCopied * 100;
    if (run_.totalBytes != 0) bytePct /= run_.totalBytes;
    double timePct = elapsed * 100;
    if (estimatedTotal != 0) timePct /= estimatedTotal;
    if (timePct < bytePct) remaining -= remaining > 130 ? 3 : 1;
    if (currentDiskTime + 60 > remaining) remaining = currentDiskTime + 60;
  }
  estimatedTotal = elapsed + remaining;
}

void BackupEngine::recalibrate(int percent) {
  const double capacity = diskCapacity < 1 ? 1 : diskCapacity;
  const double expected = (bytesOnDisk + bytesAlreadyOnDisk) * 100 / capacity;
  if (static_cast<std::int64_t>(expected) >= percent) return;
  const double q = (percent - expected) * 100 / std::max(expected, 1.0);
  if (q <= 25) return;
  const double o = q * 0.01 + 1;
  baseEstimate = baseEstimate / o * 125 * 0.01;
  currentDiskTime = currentDiskTime / o * 125 * 0.01;
  estimatedTotal = estimatedTotal / o * 125 * 0.01;
  remaining = estimatedTotal - elapsed;
}

void BackupEngine::storeTimings(double capacity) {
  const double a = seconds() - run_.startTime;
  double e = run_.estimateSeconds;
  const double rateTotal = run_.rateTotal;
  const double rateFile = run_.rateFile;
  double h = 0, g = 0;
  if (e < a) {
    const double a1 = a < 1 ? 1 : a;
    h = rateTotal + 2 * rateTotal * (a - e) / a1;
    g = rateFile + 2 * rateFile * (a1 - e) / a1;
  } else if (e == a) {
    return;
  } else {
    const double d = e - a;
    if (d <= 0.03 * a) return;
    const double a1 = std::max(a, 1.0);
    const double ratio = d * 100 / a1;
    if (ratio > 30 && a1 > 120) {
      const double o = ratio * 0.01 + 1;
      h = rateTotal / o * 1.25;
      g = rateFile / o * 1.25;
    } else {
      if (e < 1) {
        e = 1;
        run_.estimateSeconds = 1;
      }
      // Faster than planned by a little, or a short backup: step the rates
      // down by what was measured, at most a tenth at a time, so one quick
      // run does not make the next estimate too short.
      const double limit = rateTotal * 0.1 + 0.5;
      h = rateTotal - std::min(rateTotal * (e - a1) / e, limit);
      if (h < 1) h = rateTotal > 1 ? 1 : 0;
      const double v = rateFile * (e - a1) / e;
      if (v < rateFile) {
        g = rateFile - v;
      } else {
        g = rateFile > 0 ? rateFile - 1 : 0;
      }
      if (rateFile - g > rateFile * 0.1 + 0.5) g = rateFile - (rateFile * 0.1 + 0.5);
    }
  }
  if (truncated(h) == 0 || truncated(g) == 0) return;
  const char x = run_.destLetter;
  settings_.SetUseDrive(x, 1);
  settings_.SetDriveSize(x, truncated(capacity * 0.001));
  settings_.SetDrvTotTime(x, truncated(h));
  settings_.SetDrvFilTime(x, truncated(g));
}

void BackupEngine::calibrateErase(double e, double a) {
  const std::int64_t o = run_.rateErase;
  std::int64_t m = 0;
  if (e < a) {
    m = o + static_cast<std::int64_t>((a - e) / a * o * 2);
  } else if (e == a || e - a <= 0.03 * a) {
    return;
  } else {
    const double d = e - a;
    const std::int64_t u = static_cast<std::int64_t>(d / e * o);
    m = o - u;
    double pct = d * 100 / a;
    if (pct > 100) pct = 100;
    if (pct > 30 && a > 10) {
      m = (120 - static_cast<std::int64_t>(pct)) * o / 100;
    } else {
      const std::int64_t w = static_cast<std::int64_t>(o * 0.1 + 0.5);
      if (o - m > w) m = o - w;
    }
  }
  if (m <= 0) return;
  settings_.SetDriveSize(run_.destLetter, capacityKey());
  settings_.SetDrvDelTime(run_.destLetter, static_cast<std::uint32_t>(m));
}

}  // namespace hw
