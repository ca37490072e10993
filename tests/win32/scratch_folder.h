// A folder of its own under the Windows temp folder for one test, removed
// with everything in it (read-only files included) when the test ends.
#pragma once

#include <string>

namespace hw::test {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // "C:\\users\\...\\Temp\\hw-1234-1", without a trailing backslash; empty
  // when the folder could not be made.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Removes a file or a whole tree, clearing read-only bits on the way.
void removeTree(const std::string& path);

}  // namespace hw::test
