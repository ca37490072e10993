#include "tests/support/platform_files.h"

#include <algorithm>

namespace hw::test {

std::string patternBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    bytes[i] = static_cast<char>(x);
  }
  return bytes;
}

std::string statusText(Status status) {
  return "Status " + std::to_string(static_cast<std::uint32_t>(status));
}

testing::AssertionResult writeWholeFile(FileSystem& files, const std::string& path,
                                        const std::string& bytes, std::uint32_t block) {
  Status status;
  auto file = files.create(path, status);
  if (!file) return testing::AssertionFailure() << "create " << path << ": " << statusText(status);
  for (std::size_t done = 0; done < bytes.size();) {
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(block, bytes.size() - done));
    std::uint32_t written = 0;
    status = file->write(bytes.data() + done, n, written);
    if (status != Status::ok || written != n) {
      return testing::AssertionFailure() << "write " << path << " at " << done << ": "
                                         << statusText(status) << ", " << written << " of " << n;
    }
    done += n;
  }
  status = file->close();
  if (status != Status::ok) {
    return testing::AssertionFailure() << "close " << path << ": " << statusText(status);
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult readWholeFile(FileSystem& files, const std::string& path,
                                       std::string& bytes) {
  Status status;
  auto file = files.openRead(path, status);
  if (!file) return testing::AssertionFailure() << "openRead " << path << ": " << statusText(status);
  bytes.clear();
  char buffer[65536];
  for (;;) {
    std::uint32_t got = 0;
    status = file->read(buffer, sizeof buffer, got);
    if (status != Status::ok) {
      return testing::AssertionFailure() << "read " << path << ": " << statusText(status);
    }
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  status = file->close();
  if (status != Status::ok) {
    return testing::AssertionFailure() << "close " << path << ": " << statusText(status);
  }
  return testing::AssertionSuccess();
}

std::string contentOf(FileSystem& files, const std::string& path) {
  Status status = Status::ok;
  if (!files.openRead(path, status)) return "<missing>";
  std::string bytes;
  return readWholeFile(files, path, bytes) ? bytes : "<read error>";
}

testing::AssertionResult listAll(FileSystem& files, const std::string& pattern,
                                 std::vector<FindData>& entries) {
  entries.clear();
  FindData entry;
  Status status;
  auto listing = files.findFirst(pattern, entry, status);
  if (!listing) return testing::AssertionFailure() << "findFirst " << pattern << ": " << statusText(status);
  do {
    entries.push_back(entry);
  } while (listing->next(entry));
  return testing::AssertionSuccess();
}

}  // namespace hw::test
