// What the settings tests need of a platform, so one set of tests runs over
// the host platform natively and over the real Win32 calls under Wine: a
// fresh settings file path in a folder of its own, the file's bytes behind
// the platform's back, and ways to make the file unusable.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace hw::test {

class SettingsEnv {
 public:
  virtual ~SettingsEnv() = default;
  virtual Platform& platform() = 0;
  // The program's path of the settings file ("X:\\...\\HOARDWL95.INI"); the
  // file does not exist at first.
  virtual std::string iniPath() = 0;
  virtual bool fileExists() = 0;
  virtual std::string readFile() = 0;
  virtual void writeFile(std::string_view bytes) = 0;
  // Another program holds the file open without sharing: it can be neither
  // read nor written.
  virtual void lockFile() = 0;
  // Another program holds the file open for reading and shares only that:
  // it reads, but writes fail.
  virtual void holdForReading() = 0;
  // Ends lockFile and holdForReading.
  virtual void release() = 0;
  // The registry has no ".DOC" and no ".KVX" key when the environment is made.
  virtual bool documentTypeOf(const std::string& extension, std::string& type) = 0;
  virtual void setDocumentType(const std::string& extension, const std::string& type) = 0;
};

std::unique_ptr<SettingsEnv> makeSettingsEnv();

}  // namespace hw::test
