// FindFirstFile over a host folder: the entries that match the pattern by
// the wildcard rules of Windows, sorted by upper-cased name as NTFS lists
// them, "." and ".." first for a folder other than a root.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/host/host_attributes.h"
#include "platform/host/host_parts.h"

namespace hw::host {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool onlyWildcardsLeft(const char* p) {
  while (*p == '*' || *p == '?' || *p == '.') ++p;
  return *p == '\0';
}

// '*' takes any run of characters, '?' one character other than '.' (or none
// at a '.' or the end of the name), and a '.' of the pattern also matches the
// end of a name with no extension ("README.*" matches "README").
bool matches(const char* p, const char* n) {
  while (*p) {
    if (*p == '*') {
      while (*p == '*') ++p;
      if (!*p) return true;
      for (const char* s = n;; ++s) {
        if (matches(p, s)) return true;
        if (!*s) return false;
      }
    }
    if (*p == '?') {
      if (*n && *n != '.') ++n;
      ++p;
      continue;
    }
    if (*p == '.' && !*n) return onlyWildcardsLeft(p + 1);
    if (upper(*p) != upper(*n)) return false;
    ++p;
    ++n;
  }
  return !*n;
}

// "*" and "*.*" take everything; a pattern ending in '.' ("*.") takes the
// names without an extension.
bool wildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (pattern.size() > 1 && pattern.back() == '.' && pattern != "..") {
    return name.find('.') == std::string::npos &&
           matches(pattern.substr(0, pattern.size() - 1).c_str(), name.c_str());
  }
  return matches(pattern.c_str(), name.c_str());
}

bool hasWildcards(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

bool describe(const std::string& name, const std::string& hostPath, FindData& entry) {
  struct stat st;
  if (stat(hostPath.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) return false;
  entry.name = name;
  const bool noXattrs = !hasXattrs(hostPath);
  entry.attributes = attributesOf(hostPath, -1, st, noXattrs);
  entry.creationTime = creationTime(hostPath, -1, st, noXattrs);
  entry.lastAccessTime = lastAccessTime(st);
  entry.lastWriteTime = lastWriteTime(st);
  const auto size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  entry.sizeHigh = static_cast<std::uint32_t>(size >> 32);
  entry.sizeLow = static_cast<std::uint32_t>(size);
  return true;
}

bool sortsBefore(const FindData& a, const FindData& b) {
  const bool aDots = a.name == "." || a.name == "..";
  const bool bDots = b.name == "." || b.name == "..";
  if (aDots != bDots) return aDots;
  const auto less = [](char x, char y) { return upper(x) < upper(y); };
  if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                   less)) {
    return true;
  }
  if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(),
                                   less)) {
    return false;
  }
  return a.name < b.name;
}

class HostListing final : public DirectoryListing {
 public:
  explicit HostListing(std::vector<FindData> entries) : entries_(std::move(entries)) {}
  bool next(FindData& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<FindData> entries_;
  std::size_t next_ = 1;  // the first went back with findFirst
};

}  // namespace

std::unique_ptr<DirectoryListing> HostFileSystem::findFirst(const std::string& pattern,
                                                            FindData& first, Status& status) {
  Resolved where;
  if (!begin(FaultOp::findFirst, pattern, true, where, status)) return nullptr;
  if (where.isRoot() || where.trailingSeparator) {
    status = Status::fileNotFound;
    return nullptr;
  }
  const std::string folder = where.host.substr(0, where.host.rfind('/'));
  const std::string windowsFolder = where.windows.substr(0, where.windows.rfind('\\'));
  std::vector<FindData> entries;
  FindData entry;
  if (!hasWildcards(where.name)) {
    if (!describe(where.name, where.host, entry)) {
      status = missingStatus(where.host);
      return nullptr;
    }
    entries.push_back(entry);
  } else {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
      status = Status::pathNotFound;
      return nullptr;
    }
    const bool root = windowsFolder.size() == 2;  // "C:"
    if (!root) {
      if (wildcardMatch(where.name, ".") && describe(".", folder, entry)) entries.push_back(entry);
      const std::string parent = folder.substr(0, folder.rfind('/'));
      if (wildcardMatch(where.name, "..") && describe("..", parent, entry)) {
        entries.push_back(entry);
      }
    }
    while (const dirent* d = readdir(dir)) {
      const std::string name = d->d_name;
      if (name == "." || name == ".." || !wildcardMatch(where.name, name)) continue;
      if (describe(name, folder + "/" + name, entry)) entries.push_back(entry);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), sortsBefore);
  }
  if (entries.empty()) {
    status = Status::fileNotFound;
    return nullptr;
  }
  // A file listed here may vanish or change size before it is opened.
  for (const FindData& e : entries) {
    if (e.name == "." || e.name == "..") continue;
    FaultInjector::Hit hit;
    Resolved listed = where;
    listed.windows = windowsFolder + "\\" + e.name;
    listed.host = folder + "/" + e.name;
    if (faults_.match(FaultOp::findFirst, where.letter, listed.windows, 0, true, hit)) {
      applyToFile(listed, hit.action, hit.value);
    }
  }
  first = entries.front();
  status = Status::ok;
  return std::make_unique<HostListing>(std::move(entries));
}

}  // namespace hw::host
