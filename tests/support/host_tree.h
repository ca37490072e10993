// Host-side helpers: a temporary folder per test, files written and read
// behind the platform's back, and snapshots of a folder tree to show that a
// run left a source untouched.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

namespace hw::test {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes a host file (and its folders) of `size` pattern bytes.
testing::AssertionResult writeHostFile(const std::string& path, std::size_t size,
                                       std::uint32_t seed = 1);
testing::AssertionResult writeHostFile(const std::string& path, const std::string& bytes);
testing::AssertionResult readHostFile(const std::string& path, std::string& bytes);
// The raw `user.DOSATTRIB` value; empty when the file has none.
std::string dosAttribOf(const std::string& path);

// What a snapshot keeps of each entry below the root: the kind, the size and
// a hash of the bytes, the last-write time, the mode bits and the
// DOSATTRIB value. Access times are left out: reading changes them.
struct TreeEntry {
  bool directory = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  std::int64_t mtimeNs = 0;
  std::uint32_t mode = 0;
  std::string dosAttrib;
  friend bool operator==(const TreeEntry&, const TreeEntry&) = default;
};
using TreeSnapshot = std::map<std::string, TreeEntry>;  // by path below the root

TreeSnapshot snapshotTree(const std::string& root);
// Lists every entry that was added, removed or changed.
testing::AssertionResult sameTree(const TreeSnapshot& before, const TreeSnapshot& after);

}  // namespace hw::test
