// A scratch file for one fuzz process: the input is written to it and read
// back through the code under test, as a settings file would be.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace hw::fuzz {

class ScratchFile {
 public:
  ScratchFile() {
    // In memory where there is a tmpfs: a rewrite by truncation costs a
    // flush to disk on ext4, which would slow every run down a hundredfold.
    char inMemory[] = "/dev/shm/hw-fuzz-XXXXXX";
    char onDisk[] = "/tmp/hw-fuzz-XXXXXX";
    if (mkdtemp(inMemory)) {
      folder_ = inMemory;
    } else if (mkdtemp(onDisk)) {
      folder_ = onDisk;
    }
    path_ = folder_ + "/HOARDWL95.INI";
  }
  ~ScratchFile() {
    std::remove(path_.c_str());
    rmdir(folder_.c_str());
  }
  const std::string& folder() const { return folder_; }
  const std::string& path() const { return path_; }

  void write(std::string_view bytes) const {
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::string read() const {
    std::string bytes;
    std::FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f) return bytes;
    char block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, got);
    std::fclose(f);
    return bytes;
  }

 private:
  std::string folder_;
  std::string path_;
};

}  // namespace hw::fuzz
