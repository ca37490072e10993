#include "platform/host/host_drives.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace hw::host {
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kDefaultCapacity = std::uint64_t{1} << 30;
constexpr std::uint64_t kSmallDisk = 2'000'000;
constexpr std::size_t kMaxPath = 259;  // MAX_PATH less the terminating zero

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool validName(const std::string& part, bool wildcards) {
  for (char ch : part) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || ch == '<' || ch == '>' || ch == ':' || ch == '"' || ch == '|') return false;
    if ((ch == '*' || ch == '?') && !wildcards) return false;
  }
  return true;
}

std::string labelFile(const DriveState& d, int number) { return d.mediumFolder(number) + ".label"; }

// "label\nserial-in-hex\n"; either line may be missing.
bool readLabelFile(const std::string& path, std::string& label, std::uint32_t& serial) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  if (std::getline(in, line)) label = line;
  if (std::getline(in, line) && !line.empty()) serial = static_cast<std::uint32_t>(std::strtoul(line.c_str(), nullptr, 16));
  return true;
}

}  // namespace

int slotOf(char letter) {
  const int c = std::toupper(static_cast<unsigned char>(letter));
  return c >= 'A' && c <= 'Z' ? c - 'A' : -1;
}

std::uint32_t DriveState::clusterBytes() const {
  std::uint32_t spc = config.sectorsPerCluster;
  if (spc == 0) {
    const bool small = !config.hostSpace && config.capacity != 0 && config.capacity <= kSmallDisk;
    spc = small ? 1 : 8;
  }
  return spc * (config.bytesPerSector ? config.bytesPerSector : 512);
}

std::uint64_t DriveState::totalClusters() const {
  const std::uint64_t capacity = config.capacity ? config.capacity : kDefaultCapacity;
  return capacity / clusterBytes();
}

std::string DriveState::mediumFolder(int number) const {
  if (!config.holdsMedia()) return config.folder;
  return config.folder + "/disk" + std::to_string(number);
}

std::string DriveState::root() const { return mediumFolder(medium); }

Status DriveTable::add(const HostDrive& drive) {
  const int slot = slotOf(drive.letter);
  if (slot < 0 || drive.folder.empty()) return Status::invalidParameter;
  if (drives_[slot]) return Status::alreadyExists;
  std::error_code ec;
  fs::create_directories(drive.folder, ec);
  if (!fs::is_directory(drive.folder, ec)) return Status::pathNotFound;
  auto state = std::make_unique<DriveState>();
  state->config = drive;
  state->config.letter = static_cast<char>('A' + slot);
  if (drive.kind == HostDriveKind::cdrom) state->config.writeProtected = true;
  state->fixedLabel = drive.label;
  drives_[slot] = std::move(state);
  if (drive.holdsMedia() && drive.hasMedia) insertMedium(drive.letter, 1);
  return Status::ok;
}

DriveState* DriveTable::find(char letter) {
  const int slot = slotOf(letter);
  return slot < 0 ? nullptr : drives_[slot].get();
}

const DriveState* DriveTable::find(char letter) const {
  const int slot = slotOf(letter);
  return slot < 0 ? nullptr : drives_[slot].get();
}

std::uint32_t DriveTable::logicalDrives() const {
  std::uint32_t mask = 0;
  for (int i = 0; i < 26; ++i) {
    if (drives_[i]) mask |= 1u << i;
  }
  return mask;
}

Resolved DriveTable::resolve(const std::string& path, bool wildcards) const {
  Resolved r;
  std::string rest;
  const std::string& cwd = currentDirectory_;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    r.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    rest = path.substr(2);
    // "X:name" is relative to the current directory when that is on X:.
    if (rest.empty() || !isSeparator(rest[0])) {
      rest = (cwd[0] == r.letter ? cwd.substr(2) : std::string()) + "\\" + rest;
    }
  } else if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
    r.status = Status::pathNotFound;  // no network names here
    return r;
  } else if (path.empty()) {
    r.status = Status::pathNotFound;
    return r;
  } else {
    r.letter = cwd[0];
    rest = isSeparator(path[0]) ? path : cwd.substr(2) + "\\" + path;
  }

  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    std::string part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    start = end + 1;
  }
  r.trailingSeparator = !parts.empty() && isSeparator(path.back());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!validName(parts[i], wildcards && i + 1 == parts.size())) {
      r.status = Status::invalidName;
      return r;
    }
  }

  r.windows = std::string(1, r.letter) + ":\\";
  std::string hostTail;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) r.windows += '\\';
    r.windows += parts[i];
    hostTail += '/';
    hostTail += parts[i];
  }
  if (!parts.empty()) r.name = parts.back();
  if (r.windows.size() > kMaxPath) {
    r.status = Status::filenameTooLong;
    return r;
  }

  r.drive = const_cast<DriveState*>(find(r.letter));
  if (!r.drive) {
    r.status = Status::pathNotFound;
    return r;
  }
  if (!r.drive->present()) {
    r.status = Status::notReady;
    return r;
  }
  r.host = r.drive->root() + hostTail;
  return r;
}

bool DriveTable::insertMedium(char letter, int number) {
  DriveState* d = find(letter);
  if (!d || !d->config.holdsMedia() || number < 1) return false;
  std::error_code ec;
  fs::create_directories(d->mediumFolder(number), ec);
  if (!fs::is_directory(d->mediumFolder(number), ec)) return false;
  if (d->medium != number) {
    d->medium = number;
    ++d->generation;
  }
  return true;
}

bool DriveTable::removeMedium(char letter) {
  DriveState* d = find(letter);
  if (!d || !d->config.holdsMedia()) return false;
  if (d->medium != 0) {
    d->medium = 0;
    ++d->generation;
  }
  return true;
}

std::uint64_t DriveTable::usedClusters(DriveState& d) {
  auto it = d.usedClusters.find(d.medium);
  if (it != d.usedClusters.end()) return it->second;
  std::uint64_t used = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator walk(d.root(), ec), end; !ec && walk != end;
       walk.increment(ec)) {
    std::error_code fileError;
    if (walk->is_regular_file(fileError)) used += d.clustersFor(walk->file_size(fileError));
  }
  d.usedClusters[d.medium] = used;
  return used;
}

void DriveTable::adjustUsage(DriveState& d, std::uint64_t oldBytes, std::uint64_t newBytes) {
  auto it = d.usedClusters.find(d.medium);
  if (it == d.usedClusters.end()) return;
  const std::uint64_t before = d.clustersFor(oldBytes);
  const std::uint64_t after = d.clustersFor(newBytes);
  it->second = it->second + after >= before ? it->second + after - before : 0;
}

void DriveTable::forgetUsage(char letter) {
  if (DriveState* d = find(letter)) d->usedClusters.clear();
}

void DriveTable::spendDeviceTime(DriveState& d, std::uint64_t bytes, int files) {
  if (!clock_) return;
  if (d.config.bytesPerSecond > 0) {
    d.owedMs += double(bytes) * 1000.0 / double(d.config.bytesPerSecond);
  }
  d.owedMs += double(files) * d.config.msPerFile;
  // Whole milliseconds only; the rest is carried to the next call.
  if (d.owedMs >= 1) {
    const auto ms = static_cast<std::uint32_t>(d.owedMs);
    d.owedMs -= ms;
    clock_->sleep(ms);
  }
}

std::string DriveTable::label(const DriveState& d) const {
  if (!d.config.holdsMedia()) return d.fixedLabel;
  std::string label = d.medium == 1 ? d.config.label : std::string();
  std::uint32_t serial = 0;
  readLabelFile(labelFile(d, d.medium), label, serial);
  return label;
}

std::uint32_t DriveTable::serial(const DriveState& d) const {
  std::uint32_t serial = d.config.serial;
  if (!d.config.holdsMedia()) return serial;
  serial += static_cast<std::uint32_t>(d.medium - 1) * 0x10001u;
  std::string label;
  readLabelFile(labelFile(d, d.medium), label, serial);
  return serial;
}

Status DriveTable::setLabel(DriveState& d, const std::string& label) {
  if (!d.config.holdsMedia()) {
    d.fixedLabel = label;
    return Status::ok;
  }
  const std::uint32_t keep = serial(d);
  std::FILE* f = std::fopen(labelFile(d, d.medium).c_str(), "w");
  if (!f) return Status::writeFault;
  std::fprintf(f, "%s\n%08x\n", label.c_str(), keep);
  return std::fclose(f) == 0 ? Status::ok : Status::writeFault;
}

}  // namespace hw::host
