#include "tests/support/host_tree.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/platform_files.h"

namespace hw::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string base = testing::TempDir();
  if (base.empty() || base.back() != '/') base += '/';
  std::string name = base + "hw-XXXXXX";
  if (mkdtemp(name.data())) path_ = name;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

testing::AssertionResult writeHostFile(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return testing::AssertionFailure() << "cannot write " << path;
  return testing::AssertionSuccess();
}

testing::AssertionResult writeHostFile(const std::string& path, std::size_t size,
                                       std::uint32_t seed) {
  return writeHostFile(path, patternBytes(size, seed));
}

testing::AssertionResult readHostFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return testing::AssertionFailure() << "cannot read " << path;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return testing::AssertionSuccess();
}

std::string dosAttribOf(const std::string& path) {
  char value[64];
  const ssize_t n = getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value);
  return n > 0 ? std::string(value, static_cast<std::size_t>(n)) : std::string();
}

namespace {

std::uint64_t fnv1a(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string describe(const TreeEntry& e) {
  return std::string(e.directory ? "dir" : "file") + " size " + std::to_string(e.size) +
         " hash " + std::to_string(e.hash) + " mtime " + std::to_string(e.mtimeNs) + " mode " +
         std::to_string(e.mode) + " DOSATTRIB \"" + e.dosAttrib + "\"";
}

}  // namespace

TreeSnapshot snapshotTree(const std::string& root) {
  TreeSnapshot snapshot;
  std::error_code ec;
  for (fs::recursive_directory_iterator walk(root, ec), end; !ec && walk != end;
       walk.increment(ec)) {
    const std::string path = walk->path().string();
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) continue;
    TreeEntry e;
    e.directory = S_ISDIR(st.st_mode);
    e.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    e.mode = st.st_mode & 07777;
    e.dosAttrib = dosAttribOf(path);
    if (!e.directory) {
      std::string bytes;
      readHostFile(path, bytes);
      e.size = bytes.size();
      e.hash = fnv1a(bytes);
    }
    snapshot[fs::relative(walk->path(), root).string()] = e;
  }
  return snapshot;
}

testing::AssertionResult sameTree(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::string differences;
  for (const auto& [path, entry] : before) {
    auto it = after.find(path);
    if (it == after.end()) {
      differences += "\n  removed: " + path;
    } else if (!(it->second == entry)) {
      differences += "\n  changed: " + path + "\n    was " + describe(entry) + "\n    now " +
                     describe(it->second);
    }
  }
  for (const auto& [path, entry] : after) {
    if (!before.count(path)) differences += "\n  added: " + path;
  }
  if (differences.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the tree changed:" << differences;
}

}  // namespace hw::test
