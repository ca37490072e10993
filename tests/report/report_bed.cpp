#include "tests/report/report_bed.h"
#include "tests/support/platform_files.h"

#include <fstream>
#include <sstream>

namespace hw::test {

ReportBed::ReportBed() {
  t.fixed('C').fixed('D').fixed('E').fixed('F');
  makeDir("C:\\HOARDWELL");
  platform().setProgramDirectory("C:\\HOARDWELL");
  setTime(0);
}

ManualClock& ReportBed::clock() { return dynamic_cast<ManualClock&>(platform().clock()); }

void ReportBed::setTime(std::uint32_t ticks) {
  clock().setSystemTime(oneDiskEndTime());
  clock().setTickCount(ticks);
}

void ReportBed::write(const std::string& path, const std::string& bytes) {
  Status status = Status::ok;
  auto file = files().create(path, status);
  ASSERT_TRUE(file) << path << " status " << int(status);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written),
            Status::ok);
  ASSERT_EQ(file->close(), Status::ok);
}

std::string ReportBed::read(const std::string& path) {
  return contentOf(files(), path);
}

bool ReportBed::exists(const std::string& path) {
  std::uint32_t attributes = 0;
  return files().getAttributes(path, attributes) == Status::ok;
}

void ReportBed::makeDir(const std::string& path) {
  ASSERT_EQ(files().createDirectory(path), Status::ok) << path;
}

std::string ReportBed::setting(const char* section, const char* key) {
  return platform().profile().getString(kIni, section, key, "<missing>", 520);
}

void ReportBed::setSetting(const char* section, const char* key, const char* value) {
  ASSERT_TRUE(platform().profile().writeString(kIni, section, key, value));
}

void ReportBed::nameSet(const std::string& name, char dest) {
  naming.SetUpLogFolder();
  run.destLetter = dest;
  run.setName = name;
  run.setFolder = std::string(1, dest) + ":\\" + name;
  run.logFileBase += "\\" + name;
  files().createDirectory(run.setFolder);
}

std::string golden(const std::string& name) {
  std::ifstream in(std::string(HW_REPORT_GOLDEN_DIR) + "/" + name, std::ios::binary);
  if (!in) return "<no golden file " + name + ">";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string lineOf(const std::string& text, int n) {
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    start = text.find('\n', start);
    if (start == std::string::npos) return "<no line>";
    ++start;
  }
  const std::size_t end = text.find('\n', start);
  return end == std::string::npos ? text.substr(start) : text.substr(start, end - start + 1);
}

}  // namespace hw::test
