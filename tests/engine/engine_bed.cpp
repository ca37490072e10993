#include "tests/engine/engine_bed.h"
#include "tests/support/platform_files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/host/host_clock.h"

namespace hw::test {

int ScriptedHost::ask(PromptKind kind, const PromptDetails& d) {
  prompts.push_back(kind);
  details.push_back(d);
  if (answer) return answer(kind, d);
  switch (kind) {
    case PromptKind::summary:
      return kAnswerStart;
    case PromptKind::nextDisk: {
      // A new medium each time, also after one was taken out.
      const char letter = 'A';
      lastMedium_ = std::max(lastMedium_, platform_.currentMedium(letter)) + 1;
      platform_.insertMedium(letter, lastMedium_);
      return kAnswerContinue;
    }
    case PromptKind::overwrite:
      return kAnswerOverwrite;
    case PromptKind::copyError:
      return kAnswerSkip;
    case PromptKind::diskInUse:
      return kAnswerAppend;
    case PromptKind::fileTooLarge:
      return kAnswerSkip;
  }
  return kAnswerAbort;
}

int ScriptedHost::count(PromptKind kind) const {
  return static_cast<int>(std::count(prompts.begin(), prompts.end(), kind));
}

int ScriptedHost::countNotifications(int id) const {
  return static_cast<int>(std::count(notifications.begin(), notifications.end(), id));
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "hw-engine-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // Read-only copies must not stop the clean-up.
  for (auto& e : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

EngineBed::EngineBed() {
  platform.useManualClock();
  addFixed('P');
  platform.setProgramDirectory("P:\\");
  engine = std::make_unique<BackupEngine>(platform, settings, run, drives, host, texts);
  drives.setHost(&host);
}

void EngineBed::addFixed(char letter, std::uint64_t capacity) {
  HostDrive drive;
  drive.letter = letter;
  drive.folder = (scratch.path() / std::string(1, letter)).string();
  drive.kind = HostDriveKind::fixed;
  drive.capacity = capacity;
  ASSERT_EQ(platform.addDrive(drive), Status::ok);
}

void EngineBed::addFloppy(char letter, std::uint64_t capacity) {
  HostDrive drive = floppyDrive(letter, (scratch.path() / std::string(1, letter)).string());
  if (capacity) drive.capacity = capacity;
  ASSERT_EQ(platform.addDrive(drive), Status::ok);
}

void EngineBed::writeFile(const std::string& path, const std::string& content) {
  Status status = Status::ok;
  auto file = platform.files().create(path, status);
  ASSERT_TRUE(file) << path << " status " << int(status);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write(content.data(), static_cast<std::uint32_t>(content.size()), written),
            Status::ok);
  ASSERT_EQ(file->close(), Status::ok);
}

void EngineBed::makeDir(const std::string& path) {
  ASSERT_EQ(platform.files().createDirectory(path), Status::ok) << path;
}

void EngineBed::setAttributes(const std::string& path, std::uint32_t attributes) {
  ASSERT_EQ(platform.files().setAttributes(path, attributes), Status::ok) << path;
}

void EngineBed::setFileTime(const std::string& path, FileTime time) {
  Status status = Status::ok;
  auto file = platform.files().openReadWrite(path, status);
  ASSERT_TRUE(file) << path;
  ASSERT_EQ(file->setTimes(&time, &time, &time), Status::ok);
  ASSERT_EQ(file->close(), Status::ok);
}

void EngineBed::setDirTime(const std::string& path, FileTime time) {
  ASSERT_EQ(platform.files().setDirectoryTimes(path, &time, &time, &time), Status::ok) << path;
}

std::string EngineBed::readFile(const std::string& path) {
  return contentOf(platform.files(), path);
}

bool EngineBed::exists(const std::string& path) {
  std::uint32_t a = 0;
  return platform.files().getAttributes(path, a) == Status::ok;
}

std::uint32_t EngineBed::attributes(const std::string& path) {
  std::uint32_t a = kInvalidAttributes;
  platform.files().getAttributes(path, a);
  return a;
}

FileTime EngineBed::fileTime(const std::string& path) {
  FindData data;
  Status status = Status::ok;
  auto listing = platform.files().findFirst(path, data, status);
  return listing ? data.lastWriteTime : FileTime{};
}

FileTime EngineBed::dirTime(const std::string& path) {
  FileTime written;
  platform.files().getDirectoryTimes(path, nullptr, nullptr, &written);
  return written;
}

int EngineBed::backup(const std::vector<char>& sources, char dest, std::uint32_t mode) {
  std::vector<DriveListItem> items;
  for (char letter : sources) {
    DriveListItem item;
    EXPECT_TRUE(drives.DescribeDrive(letter, item)) << letter;
    items.push_back(item);
  }
  DriveListItem destination;
  EXPECT_TRUE(drives.DescribeDrive(dest, destination)) << dest;
  // What the main window does before each run.
  engine->setDestination(destination);
  run.setName.clear();
  run.setFolder.clear();
  run.setLabel.clear();
  run.diskIndex = 0;
  run.diskCount = 0;
  run.bytesCopied = 0;
  run.filesCopied = 0;
  run.startTime = 0;
  return engine->run(items, mode);
}

std::string EngineBed::destOf(const std::string& sourcePath) const {
  return run.setFolder + "\\" + sourcePath.substr(0, 1) + sourcePath.substr(2);
}

FileEntry* EngineBed::entry(const std::string& sourcePath) {
  const auto cut = sourcePath.rfind('\\');
  const std::string folder = sourcePath.substr(0, cut);
  const std::string name = sourcePath.substr(cut + 1);
  SourceDrive* drive = run.findDrive(sourcePath[0]);
  if (!drive) return nullptr;
  for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
    if (d->fullPath() != folder) continue;
    for (FileEntry& f : d->files) {
      if (f.name == name) return &f;
    }
  }
  return nullptr;
}

FileTime fileTimeOf(int year, int month, int day, int hour, int minute, int second) {
  SystemTime t;
  t.year = static_cast<std::uint16_t>(year);
  t.month = static_cast<std::uint16_t>(month);
  t.day = static_cast<std::uint16_t>(day);
  t.hour = static_cast<std::uint16_t>(hour);
  t.minute = static_cast<std::uint16_t>(minute);
  t.second = static_cast<std::uint16_t>(second);
  FileTime out;
  convertSystemTimeToFileTime(t, out);
  return out;
}

std::string patterned(std::size_t size, unsigned seed) { return patternBytes(size, seed); }

}  // namespace hw::test
