// The win32 platform against real folders: what only the real calls show
// (long names, listing fields, sharing, directory times, attribute bits).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/wine_difference.h"

namespace hw {
namespace {

// 1997-08-21 23:04:54 UTC and a day later, as FILETIME.
constexpr std::uint64_t kAugust21 = 125166782940000000ULL;
constexpr std::uint64_t kOneDay = 864000000000ULL;

class Win32FilesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.path().empty()); }

  Status writeFile(const std::string& path, const std::string& data) {
    Status s;
    std::unique_ptr<File> f = fs().create(path, s);
    if (!f) return s;
    std::uint32_t written = 0;
    s = f->write(data.data(), static_cast<std::uint32_t>(data.size()), written);
    if (!succeeded(s)) return s;
    return f->close();
  }

  std::vector<FindData> list(const std::string& pattern, Status& status) {
    std::vector<FindData> entries(1);
    std::unique_ptr<DirectoryListing> listing = fs().findFirst(pattern, entries[0], status);
    if (!listing) return {};
    FindData next;
    while (listing->next(next)) entries.push_back(next);
    return entries;
  }

  std::set<std::string> names(const std::string& pattern) {
    Status status;
    std::set<std::string> out;
    for (const FindData& e : list(pattern, status)) out.insert(e.name);
    return out;
  }

  FileSystem& fs() { return platform_.files(); }

  Win32Platform platform_;
  test::ScratchFolder dir_;
};

TEST_F(Win32FilesTest, LongNamesKeepTheirSpellingAndAreFoundInAnyCase) {
  const std::string folder = "Letters And Papers Of The Year 1997";
  const std::string file = "Letter to the Bank, 21 August.final.version.doc";
  ASSERT_EQ(fs().createDirectory(dir_ / folder), Status::ok);
  ASSERT_EQ(writeFile(dir_ / folder + "\\" + file, "dear sir"), Status::ok);
  ASSERT_EQ(writeFile(dir_ / folder + "\\no extension at all", ""), Status::ok);

  EXPECT_EQ(names(dir_ / folder + "\\*"),
            (std::set<std::string>{".", "..", file, "no extension at all"}));

  // Looked up in other case, found with the spelling it was made with.
  std::string upper = file;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  Status status;
  std::vector<FindData> exact = list(dir_ / folder + "\\" + upper, status);
  ASSERT_EQ(status, Status::ok);
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_EQ(exact[0].name, file);
}

// Names outside ASCII pass through the system's 8-bit code page both ways.
TEST_F(Win32FilesTest, EightBitNamesComeBackAsWritten) {
  const std::string name = "B\xFC" "cher und Entw\xFC" "rfe \xA9 1997";  // Windows-1252
  ASSERT_EQ(writeFile(dir_ / name, "x"), Status::ok);
  EXPECT_EQ(names(dir_ / "*"), (std::set<std::string>{".", "..", name}));
  std::uint32_t attributes = 0;
  EXPECT_EQ(fs().getAttributes(dir_ / name, attributes), Status::ok);
}

// The A calls take paths of about MAX_PATH characters, not more.
TEST_F(Win32FilesTest, PathsEndNearMaxPath) {
  const std::string prefix = dir_.path() + "\\";
  ASSERT_LT(prefix.size(), 200u);
  const std::string longest = prefix + std::string(259 - prefix.size(), 'n');
  ASSERT_EQ(writeFile(longest, "x"), Status::ok);
  EXPECT_EQ(names(longest), (std::set<std::string>{longest.substr(prefix.size())}));

  const std::string tooLong = prefix + std::string(300 - prefix.size(), 'm');
  Status status;
  EXPECT_EQ(fs().create(tooLong, status), nullptr);
  EXPECT_EQ(status, Status::filenameTooLong);
  EXPECT_EQ(names(dir_ / "m*"), std::set<std::string>{});
}

TEST_F(Win32FilesTest, ListingCarriesSizeTimesAndAttributes) {
  const std::string path = dir_ / "report.kvx";
  ASSERT_EQ(writeFile(path, "12345"), Status::ok);
  FileTime access = FileTime::fromValue(kAugust21 + kOneDay);
  FileTime write = FileTime::fromValue(kAugust21);
  {
    Status s;
    std::unique_ptr<File> f = fs().openReadWrite(path, s);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->setTimes(nullptr, &access, &write), Status::ok);
  }
  ASSERT_EQ(fs().createDirectory(dir_ / "sub"), Status::ok);
  ASSERT_EQ(fs().setAttributes(path, kAttrHidden | kAttrReadOnly), Status::ok);

  Status status;
  std::vector<FindData> entries = list(dir_ / "*.*", status);
  ASSERT_EQ(status, Status::ok);
  auto find = [&](const std::string& name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const FindData& e) { return e.name == name; });
  };
  ASSERT_NE(find("report.kvx"), entries.end());
  const FindData& file = *find("report.kvx");
  EXPECT_EQ(file.size(), 5u);
  EXPECT_EQ(file.sizeHigh, 0u);
  EXPECT_EQ(file.lastWriteTime, write);
  EXPECT_EQ(file.lastAccessTime, access);
  EXPECT_EQ(file.attributes & (kAttrHidden | kAttrReadOnly | kAttrDirectory),
            kAttrHidden | kAttrReadOnly);

  for (const char* dirName : {".", "..", "sub"}) {
    SCOPED_TRACE(dirName);
    ASSERT_NE(find(dirName), entries.end());
    EXPECT_TRUE(find(dirName)->isDirectory());
  }

  // The times read through a handle are the ones the listing showed.
  FileTime readAccess, readWrite;
  Status s;
  std::unique_ptr<File> f = fs().openRead(path, s);
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->getTimes(nullptr, &readAccess, &readWrite), Status::ok);
  EXPECT_EQ(readWrite, write);
  EXPECT_EQ(readAccess, access);
}

TEST_F(Win32FilesTest, PatternsMatchAsOnWindows) {
  ASSERT_EQ(writeFile(dir_ / "README", ""), Status::ok);
  ASSERT_EQ(writeFile(dir_ / "notes.txt", ""), Status::ok);
  ASSERT_EQ(writeFile(dir_ / "notes.txt.bak", ""), Status::ok);

  // "*.*" also matches a name without a dot.
  EXPECT_EQ(names(dir_ / "*.*"),
            (std::set<std::string>{".", "..", "README", "notes.txt", "notes.txt.bak"}));
  EXPECT_EQ(names(dir_ / "*.txt"), (std::set<std::string>{"notes.txt"}));

  struct Miss {
    std::string pattern;
    Status expected;
  };
  for (const Miss& miss : {Miss{dir_ / "*.zip", Status::fileNotFound},
                           Miss{dir_ / "missing\\*.*", Status::pathNotFound},
                           Miss{dir_ / "missing.txt", Status::fileNotFound}}) {
    SCOPED_TRACE(miss.pattern);
    Status status;
    FindData first;
    EXPECT_EQ(fs().findFirst(miss.pattern, first, status), nullptr);
    EXPECT_EQ(status, miss.expected);
  }
}

TEST_F(Win32FilesTest, DirectoryTimesAreSetDirectlyAndTheClockIsLeftAlone) {
  const std::string path = dir_ / "Old Folder";
  ASSERT_EQ(fs().createDirectory(path), Status::ok);
  Clock& clock = platform_.clock();
  FileTime before, after;
  ASSERT_TRUE(clock.systemTimeToFileTime(clock.systemTime(), before));

  FileTime write = FileTime::fromValue(kAugust21);
  FileTime access = FileTime::fromValue(kAugust21 + kOneDay);
  ASSERT_EQ(fs().setDirectoryTimes(path, nullptr, &access, &write), Status::ok);

  ASSERT_TRUE(clock.systemTimeToFileTime(clock.systemTime(), after));
  EXPECT_GE(after.value(), before.value());
  EXPECT_LT(after.value() - before.value(), 60 * 10000000ULL) << "the clock moved";

  FileTime readAccess, readWrite;
  ASSERT_EQ(fs().getDirectoryTimes(path, nullptr, &readAccess, &readWrite), Status::ok);
  EXPECT_EQ(readWrite, write);
  EXPECT_EQ(readAccess, access);
  Status status;
  std::vector<FindData> entry = list(path, status);
  ASSERT_EQ(entry.size(), 1u);
  EXPECT_TRUE(entry[0].isDirectory());
  EXPECT_EQ(entry[0].lastWriteTime, write);

  EXPECT_EQ(fs().setDirectoryTimes(dir_ / "missing", nullptr, nullptr, &write),
            Status::fileNotFound);
}

TEST_F(Win32FilesTest, AttributeBitsReadBackAsSet) {
  const std::string path = dir_ / "file.sys";
  ASSERT_EQ(writeFile(path, "x"), Status::ok);
  struct Case {
    std::uint32_t set;
    std::uint32_t onWindows;
  };
  for (const Case& c : {Case{kAttrReadOnly, kAttrReadOnly},
                        Case{kAttrHidden, kAttrHidden},
                        Case{kAttrSystem, kAttrSystem},
                        Case{kAttrHidden | kAttrSystem | kAttrReadOnly,
                             kAttrHidden | kAttrSystem | kAttrReadOnly},
                        Case{kAttrArchive | kAttrHidden, kAttrArchive | kAttrHidden},
                        Case{kAttrNormal, kAttrNormal}}) {
    SCOPED_TRACE(c.set);
    ASSERT_EQ(fs().setAttributes(path, c.set), Status::ok);
    std::uint32_t got = 0;
    ASSERT_EQ(fs().getAttributes(path, got), Status::ok);
    // Wine has nowhere to keep the archive bit: every file reads back with
    // it set, and "normal" (no other bit) reads back as archive alone.
    std::uint32_t onWine = (c.onWindows & ~kAttrNormal) | kAttrArchive;
    KNOWN_WINE_DIFFERENCE("archive bit after setting " + test::describeValue(c.set), c.onWindows,
                          onWine, got);
  }
  std::uint32_t folder = 0;
  ASSERT_EQ(fs().getAttributes(dir_.path(), folder), Status::ok);
  EXPECT_TRUE(folder & kAttrDirectory);
}

TEST_F(Win32FilesTest, ReadOnlyFileCannotBeDeletedOrReplaced) {
  const std::string path = dir_ / "locked.txt";
  ASSERT_EQ(writeFile(path, "keep"), Status::ok);
  ASSERT_EQ(fs().setAttributes(path, kAttrReadOnly), Status::ok);

  EXPECT_EQ(fs().deleteFile(path), Status::accessDenied);
  // Wine keeps read-only as the Unix file's missing write permission, which
  // does not stop root: run as root, Wine opens the file for writing.
  const Status onWine = test::wineRunsAsRoot() ? Status::ok : Status::accessDenied;
  Status status;
  std::unique_ptr<File> opened = fs().create(path, status);
  KNOWN_WINE_DIFFERENCE("CREATE_ALWAYS over a read-only file", Status::accessDenied, onWine,
                        status);
  opened.reset();
  opened = fs().openReadWrite(path, status);
  KNOWN_WINE_DIFFERENCE("OPEN_ALWAYS for writing a read-only file", Status::accessDenied, onWine,
                        status);
  opened.reset();

  ASSERT_EQ(fs().setAttributes(path, kAttrNormal), Status::ok);
  EXPECT_EQ(fs().deleteFile(path), Status::ok);
}

// CREATE_ALWAYS with FILE_ATTRIBUTE_NORMAL refuses to replace a hidden or
// system file on Windows: the attributes asked for would drop the bits it
// has. Wine replaces it.
TEST_F(Win32FilesTest, HiddenOrSystemFileIsNotReplacedByANormalOne) {
  for (std::uint32_t bits : {kAttrHidden, kAttrSystem}) {
    SCOPED_TRACE(bits);
    const std::string path = dir_ / "io.sys";
    ASSERT_EQ(writeFile(path, "boot"), Status::ok);
    ASSERT_EQ(fs().setAttributes(path, bits), Status::ok);
    Status status;
    std::unique_ptr<File> replaced = fs().create(path, status);
    KNOWN_WINE_DIFFERENCE("CREATE_ALWAYS over a file with attributes " + test::describeValue(bits),
                          Status::accessDenied, Status::ok, status);
    replaced.reset();
    ASSERT_EQ(fs().setAttributes(path, kAttrNormal), Status::ok);
    EXPECT_EQ(writeFile(path, "new"), Status::ok);
    ASSERT_EQ(fs().deleteFile(path), Status::ok);
  }
}

TEST_F(Win32FilesTest, AFileBeingWrittenCannotBeOpenedAgain) {
  const std::string path = dir_ / "busy.dat";
  Status s;
  std::unique_ptr<File> writer = fs().create(path, s);
  ASSERT_NE(writer, nullptr);
  Status status;
  EXPECT_EQ(fs().openRead(path, status), nullptr);
  EXPECT_EQ(status, Status::sharingViolation);
  ASSERT_EQ(writer->close(), Status::ok);

  // Readers share with readers.
  std::unique_ptr<File> first = fs().openRead(path, s);
  std::unique_ptr<File> second = fs().openRead(path, s);
  EXPECT_NE(first, nullptr);
  EXPECT_NE(second, nullptr);
}

TEST_F(Win32FilesTest, ReadsComeShortOnlyAtTheEndAndAppendsFollowTheEnd) {
  const std::string path = dir_ / "data.bin";
  std::string data(300000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  ASSERT_EQ(writeFile(path, data), Status::ok);

  Status s;
  std::unique_ptr<File> f = fs().openReadWrite(path, s);
  ASSERT_NE(f, nullptr);
  std::uint64_t size = 0;
  ASSERT_EQ(f->size(size), Status::ok);
  EXPECT_EQ(size, data.size());
  std::vector<char> block(0x20000);
  std::vector<std::uint32_t> gots;
  std::string back;
  std::uint32_t got = 0;
  do {
    ASSERT_EQ(f->read(block.data(), 0x20000, got), Status::ok);
    gots.push_back(got);
    back.append(block.data(), got);
  } while (got == 0x20000);
  EXPECT_EQ(gots, (std::vector<std::uint32_t>{0x20000, 0x20000, 300000 - 0x40000}));
  EXPECT_EQ(back, data);

  std::uint32_t written = 0;
  ASSERT_EQ(f->write("tail", 4, written), Status::ok);
  EXPECT_EQ(written, 4u);
  ASSERT_EQ(f->size(size), Status::ok);
  EXPECT_EQ(size, data.size() + 4);
  EXPECT_EQ(f->close(), Status::ok);
}

TEST_F(Win32FilesTest, FailuresComeBackAsTheirWin32Errors) {
  ASSERT_EQ(fs().createDirectory(dir_ / "full"), Status::ok);
  ASSERT_EQ(writeFile(dir_ / "full\\inside", ""), Status::ok);
  EXPECT_EQ(fs().createDirectory(dir_ / "full"), Status::alreadyExists);
  EXPECT_EQ(fs().removeDirectory(dir_ / "full"), Status::dirNotEmpty);
  EXPECT_EQ(fs().deleteFile(dir_ / "missing"), Status::fileNotFound);
  EXPECT_EQ(fs().createDirectory(dir_ / "missing\\deeper"), Status::pathNotFound);
  EXPECT_EQ(fs().setCurrentDirectory(dir_ / "missing"), Status::fileNotFound);
  std::uint32_t attributes = 0;
  EXPECT_EQ(fs().getAttributes(dir_ / "missing", attributes), Status::fileNotFound);
  EXPECT_EQ(attributes, kInvalidAttributes);
  Status status;
  EXPECT_EQ(fs().openRead(dir_ / "missing", status), nullptr);
  EXPECT_EQ(status, Status::fileNotFound);

  EXPECT_EQ(fs().setCurrentDirectory(dir_ / "full"), Status::ok);
  constexpr Status kErrorDirectory = static_cast<Status>(267);  // ERROR_DIRECTORY
  EXPECT_EQ(fs().setCurrentDirectory(dir_ / "full\\inside"), kErrorDirectory);
}

TEST_F(Win32FilesTest, WindowsAndProgramFoldersAreFoldersWithoutTrailingBackslash) {
  for (const std::string& folder : {fs().windowsDirectory(), platform_.programDirectory()}) {
    SCOPED_TRACE(folder);
    ASSERT_GT(folder.size(), 2u);
    EXPECT_NE(folder.back(), '\\');
    std::uint32_t attributes = 0;
    ASSERT_EQ(fs().getAttributes(folder, attributes), Status::ok);
    EXPECT_TRUE(attributes & kAttrDirectory);
  }
  std::uint32_t attributes = 0;
  EXPECT_EQ(fs().getAttributes(platform_.programDirectory() + "\\hw_win32_platform_test.exe",
                               attributes),
            Status::ok);
}

TEST(Win32ClockTest, FileTimesConvertBothWays) {
  Win32Platform platform;
  Clock& clock = platform.clock();
  SystemTime t;
  ASSERT_TRUE(clock.fileTimeToSystemTime(FileTime::fromValue(kAugust21), t));
  EXPECT_EQ(t, (SystemTime{1997, 8, 4, 21, 23, 4, 54, 0}));
  FileTime back;
  ASSERT_TRUE(clock.systemTimeToFileTime(t, back));
  EXPECT_EQ(back.value(), kAugust21);

  SystemTime bad = t;
  bad.month = 13;
  EXPECT_FALSE(clock.systemTimeToFileTime(bad, back));
  // Wine checks the month but not the day against the month's length.
  SystemTime february29 = {1999, 2, 0, 29, 0, 0, 0, 0};
  KNOWN_WINE_DIFFERENCE("SystemTimeToFileTime of 1999-02-29", false, true,
                        clock.systemTimeToFileTime(february29, back));
}

}  // namespace
}  // namespace hw
