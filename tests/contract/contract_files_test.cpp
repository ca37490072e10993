// The file and folder operations every platform must answer alike.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/contract/contract_env.h"
#include "tests/support/platform_files.h"

namespace hw::contract {
namespace {

using test::listAll;
using test::patternBytes;
using test::readWholeFile;
using test::writeWholeFile;

class ContractFiles : public ContractTest {};

const FindData* entryNamed(const std::vector<FindData>& entries, const std::string& name) {
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const FindData& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

TEST_F(ContractFiles, WrittenBytesReadBackWhateverTheBlockSize) {
  const std::string bytes = patternBytes(200'000, 7);
  for (std::uint32_t block : {65536u, 4099u}) {
    SCOPED_TRACE(block);
    ASSERT_TRUE(writeWholeFile(files(), at("DATA.BIN"), bytes, block));
    std::string back;
    ASSERT_TRUE(readWholeFile(files(), at("DATA.BIN"), back));
    EXPECT_TRUE(back == bytes);

    Status status;
    auto file = files().openRead(at("DATA.BIN"), status);
    ASSERT_TRUE(file) << static_cast<int>(status);
    std::uint64_t size = 0;
    EXPECT_EQ(file->size(size), Status::ok);
    EXPECT_EQ(size, bytes.size());
  }
}

TEST_F(ContractFiles, ReadsComeShortOnlyAtTheEnd) {
  ASSERT_TRUE(writeWholeFile(files(), at("TEN.TXT"), "0123456789"));
  Status status;
  auto file = files().openRead(at("TEN.TXT"), status);
  ASSERT_TRUE(file);
  char buffer[4];
  std::vector<std::uint32_t> sizes;
  for (int i = 0; i < 4; ++i) {
    std::uint32_t got = 99;
    ASSERT_EQ(file->read(buffer, sizeof buffer, got), Status::ok);
    sizes.push_back(got);
  }
  EXPECT_EQ(sizes, (std::vector<std::uint32_t>{4, 4, 2, 0}));
}

TEST_F(ContractFiles, EmptyFileIsListedWithSizeZeroAndReadsNothing) {
  ASSERT_TRUE(writeWholeFile(files(), at("EMPTY"), ""));
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), at("EMPTY"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "EMPTY");
  EXPECT_EQ(entries[0].size(), 0u);
  std::string back = "x";
  ASSERT_TRUE(readWholeFile(files(), at("EMPTY"), back));
  EXPECT_EQ(back, "");
}

TEST_F(ContractFiles, CreateReplacesAnOldFile) {
  ASSERT_TRUE(writeWholeFile(files(), at("F.TXT"), patternBytes(5000)));
  ASSERT_TRUE(writeWholeFile(files(), at("F.TXT"), "new"));
  std::string back;
  ASSERT_TRUE(readWholeFile(files(), at("F.TXT"), back));
  EXPECT_EQ(back, "new");
}

TEST_F(ContractFiles, OpenReadWriteMakesAMissingFileAndReadsAnOldOne) {
  Status status;
  auto made = files().openReadWrite(at("LOG.TXT"), status);
  ASSERT_TRUE(made) << static_cast<int>(status);
  std::uint32_t written = 0;
  ASSERT_EQ(made->write("abc", 3, written), Status::ok);
  ASSERT_EQ(made->close(), Status::ok);

  auto again = files().openReadWrite(at("LOG.TXT"), status);
  ASSERT_TRUE(again);
  char buffer[8];
  std::uint32_t got = 0;
  ASSERT_EQ(again->read(buffer, sizeof buffer, got), Status::ok);
  EXPECT_EQ(std::string(buffer, got), "abc");
}

TEST_F(ContractFiles, ListingShowsDotsFirstThenEntriesWithAttributesAndSizes) {
  ASSERT_EQ(files().createDirectory(at("SUB")), Status::ok);
  ASSERT_TRUE(writeWholeFile(files(), at("B.TXT"), "abc"));
  ASSERT_TRUE(writeWholeFile(files(), at("big.dat"), patternBytes(70'000)));
  ASSERT_TRUE(writeWholeFile(files(), at("H.SYS"), "h"));
  ASSERT_EQ(files().setAttributes(at("H.SYS"), kAttrHidden | kAttrSystem), Status::ok);

  for (const char* pattern : {"\\*.*", "\\*"}) {
    SCOPED_TRACE(pattern);
    std::vector<FindData> entries;
    ASSERT_TRUE(listAll(files(), env().scratchDir() + pattern, entries));
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].name, ".");
    EXPECT_EQ(entries[1].name, "..");
    EXPECT_TRUE(entries[0].isDirectory());
    EXPECT_TRUE(entries[1].isDirectory());

    const FindData* sub = entryNamed(entries, "SUB");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->attributes & (kAttrDirectory | kAttrHidden | kAttrReadOnly), kAttrDirectory);
    const FindData* b = entryNamed(entries, "B.TXT");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->attributes, kAttrArchive);
    EXPECT_EQ(b->size(), 3u);
    const FindData* big = entryNamed(entries, "big.dat");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->sizeHigh, 0u);
    EXPECT_EQ(big->sizeLow, 70'000u);
    const FindData* h = entryNamed(entries, "H.SYS");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->attributes & ~kAttrArchive, kAttrHidden | kAttrSystem);
  }
}

TEST_F(ContractFiles, PatternsAndExactNamesPickTheirEntries) {
  ASSERT_TRUE(writeWholeFile(files(), at("ONE.TXT"), "1"));
  ASSERT_TRUE(writeWholeFile(files(), at("TWO.DOC"), "22"));
  ASSERT_EQ(files().createDirectory(at("DIR")), Status::ok);

  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), at("*.TXT"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "ONE.TXT");

  ASSERT_TRUE(listAll(files(), at("TWO.DOC"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size(), 2u);

  ASSERT_TRUE(listAll(files(), at("DIR"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "DIR");
  EXPECT_TRUE(entries[0].isDirectory());
}

TEST_F(ContractFiles, MissingPathsGiveTheWin32Errors) {
  FindData entry;
  Status status = Status::ok;
  EXPECT_FALSE(files().findFirst(at("*.XYZ"), entry, status));
  EXPECT_EQ(status, Status::fileNotFound);
  EXPECT_FALSE(files().findFirst(at("NODIR\\*.*"), entry, status));
  EXPECT_EQ(status, Status::pathNotFound);
  EXPECT_FALSE(files().findFirst(at("NOFILE"), entry, status));
  EXPECT_EQ(status, Status::fileNotFound);

  EXPECT_FALSE(files().openRead(at("NOFILE"), status));
  EXPECT_EQ(status, Status::fileNotFound);
  EXPECT_FALSE(files().openRead(at("NODIR\\FILE"), status));
  EXPECT_EQ(status, Status::pathNotFound);
  EXPECT_FALSE(files().create(at("NODIR\\FILE"), status));
  EXPECT_EQ(status, Status::pathNotFound);

  std::uint32_t attributes = 0;
  EXPECT_EQ(files().getAttributes(at("NOFILE"), attributes), Status::fileNotFound);
  EXPECT_EQ(files().getAttributes(at("NODIR\\FILE"), attributes), Status::pathNotFound);
  EXPECT_EQ(files().deleteFile(at("NOFILE")), Status::fileNotFound);
  EXPECT_EQ(files().createDirectory(at("NODIR\\SUB")), Status::pathNotFound);
  EXPECT_EQ(files().removeDirectory(at("NODIR")), Status::fileNotFound);
  EXPECT_EQ(files().setCurrentDirectory(at("NODIR")), Status::fileNotFound);
}

TEST_F(ContractFiles, FoldersAreMadeRemovedAndRefusedWhenNotEmpty) {
  ASSERT_EQ(files().createDirectory(at("D")), Status::ok);
  EXPECT_EQ(files().createDirectory(at("D")), Status::alreadyExists);
  ASSERT_TRUE(writeWholeFile(files(), at("D\\F"), "x"));
  EXPECT_EQ(files().removeDirectory(at("D")), Status::dirNotEmpty);
  EXPECT_EQ(files().deleteFile(at("D")), Status::accessDenied);
  EXPECT_EQ(files().deleteFile(at("D\\F")), Status::ok);
  EXPECT_EQ(files().removeDirectory(at("D")), Status::ok);
  std::uint32_t attributes = 0;
  EXPECT_EQ(files().getAttributes(at("D"), attributes), Status::fileNotFound);
}

TEST_F(ContractFiles, CurrentDirectoryIsAFolderTest) {
  ASSERT_EQ(files().createDirectory(at("HERE")), Status::ok);
  EXPECT_EQ(files().setCurrentDirectory(at("HERE")), Status::ok);
  EXPECT_EQ(files().setCurrentDirectory(env().scratchRoot()), Status::ok);
}

TEST_F(ContractFiles, ReadOnlyStopsWritesAndDeletesUntilCleared) {
  ASSERT_TRUE(writeWholeFile(files(), at("RO.TXT"), "keep"));
  ASSERT_EQ(files().setAttributes(at("RO.TXT"), kAttrReadOnly), Status::ok);
  std::uint32_t attributes = 0;
  ASSERT_EQ(files().getAttributes(at("RO.TXT"), attributes), Status::ok);
  EXPECT_NE(attributes & kAttrReadOnly, 0u);

  Status status = Status::ok;
  if (env().readOnlyStopsWrites()) {
    EXPECT_FALSE(files().create(at("RO.TXT"), status));
    EXPECT_EQ(status, Status::accessDenied);
    EXPECT_FALSE(files().openReadWrite(at("RO.TXT"), status));
    EXPECT_EQ(status, Status::accessDenied);
  } else {
    knownDifference("a read-only file can be opened for writing (Wine run as root)");
  }
  EXPECT_EQ(files().deleteFile(at("RO.TXT")), Status::accessDenied);
  std::string back;
  ASSERT_TRUE(readWholeFile(files(), at("RO.TXT"), back));
  EXPECT_EQ(back, "keep");

  ASSERT_EQ(files().setAttributes(at("RO.TXT"), kAttrNormal), Status::ok);
  EXPECT_EQ(files().deleteFile(at("RO.TXT")), Status::ok);
}

// CREATE_ALWAYS with FILE_ATTRIBUTE_NORMAL may not replace a hidden or
// system file; the caller clears the attributes first.
TEST_F(ContractFiles, CreateRefusesToReplaceAHiddenFile) {
  ASSERT_TRUE(writeWholeFile(files(), at("H.DAT"), "old"));
  ASSERT_EQ(files().setAttributes(at("H.DAT"), kAttrHidden), Status::ok);
  Status status = Status::ok;
  if (env().createRefusesHiddenFiles()) {
    EXPECT_FALSE(files().create(at("H.DAT"), status));
    EXPECT_EQ(status, Status::accessDenied);
  } else {
    knownDifference("CREATE_ALWAYS replaces a hidden file (Wine)");
  }
  ASSERT_EQ(files().setAttributes(at("H.DAT"), kAttrNormal), Status::ok);
  EXPECT_TRUE(writeWholeFile(files(), at("H.DAT"), "new"));
}

TEST_F(ContractFiles, HiddenAndSystemBitsReadBack) {
  ASSERT_TRUE(writeWholeFile(files(), at("A.TXT"), "a"));
  for (std::uint32_t bits : {kAttrHidden, kAttrSystem, kAttrHidden | kAttrSystem}) {
    SCOPED_TRACE(bits);
    ASSERT_EQ(files().setAttributes(at("A.TXT"), bits), Status::ok);
    std::uint32_t attributes = 0;
    ASSERT_EQ(files().getAttributes(at("A.TXT"), attributes), Status::ok);
    EXPECT_EQ(attributes & ~kAttrArchive, bits);
  }
}

TEST_F(ContractFiles, NewFilesHaveTheArchiveBit) {
  ASSERT_TRUE(writeWholeFile(files(), at("NEW.TXT"), "n"));
  std::uint32_t attributes = 0;
  ASSERT_EQ(files().getAttributes(at("NEW.TXT"), attributes), Status::ok);
  EXPECT_EQ(attributes, kAttrArchive);
}

TEST_F(ContractFiles, ArchiveBitIsKeptAsSet) {
  if (!env().keepsArchiveBit()) GTEST_SKIP() << "Wine does not keep the archive bit";
  ASSERT_TRUE(writeWholeFile(files(), at("A.TXT"), "a"));
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {
      {kAttrNormal, kAttrNormal},
      {kAttrArchive, kAttrArchive},
      {kAttrHidden, kAttrHidden},
      {kAttrArchive | kAttrReadOnly, kAttrArchive | kAttrReadOnly},
      {kAttrNormal, kAttrNormal},
  };
  for (auto [set, expected] : cases) {
    SCOPED_TRACE(set);
    ASSERT_EQ(files().setAttributes(at("A.TXT"), set), Status::ok);
    std::uint32_t attributes = 0;
    ASSERT_EQ(files().getAttributes(at("A.TXT"), attributes), Status::ok);
    EXPECT_EQ(attributes, expected);
  }
}

FileTime timeOf(Platform& p, std::uint16_t year, std::uint16_t month, std::uint16_t day,
                std::uint32_t extraTicks) {
  SystemTime st;
  st.year = year;
  st.month = month;
  st.day = day;
  st.hour = 4;
  st.minute = 5;
  st.second = 6;
  st.milliseconds = 789;
  FileTime t;
  EXPECT_TRUE(p.clock().systemTimeToFileTime(st, t));
  return FileTime::fromValue(t.value() + extraTicks);
}

TEST_F(ContractFiles, FileTimesSetOnAHandleReadBackExactly) {
  const FileTime creation = timeOf(platform(), 1996, 3, 4, 1230);
  const FileTime access = timeOf(platform(), 1998, 7, 8, 4560);
  const FileTime write = timeOf(platform(), 1997, 8, 21, 7890);
  Status status;
  auto file = files().create(at("T.TXT"), status);
  ASSERT_TRUE(file);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write("data", 4, written), Status::ok);
  ASSERT_EQ(file->setTimes(&creation, &access, &write), Status::ok);
  ASSERT_EQ(file->close(), Status::ok);

  auto again = files().openRead(at("T.TXT"), status);
  ASSERT_TRUE(again);
  FileTime c, a, w;
  ASSERT_EQ(again->getTimes(&c, &a, &w), Status::ok);
  EXPECT_EQ(w, write);
  EXPECT_EQ(a, access);
  if (env().keepsCreationTime()) {
    EXPECT_EQ(c, creation);
  } else {
    knownDifference("Wine does not set creation times");
  }
  again.reset();

  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), at("T.TXT"), entries));
  EXPECT_EQ(entries[0].lastWriteTime, write);
}

TEST_F(ContractFiles, NullTimesAreLeftAlone) {
  const FileTime first = timeOf(platform(), 1999, 1, 2, 0);
  const FileTime second = timeOf(platform(), 2001, 5, 6, 0);
  Status status;
  auto file = files().create(at("T.TXT"), status);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->setTimes(nullptr, &first, &first), Status::ok);
  ASSERT_EQ(file->setTimes(nullptr, nullptr, &second), Status::ok);
  FileTime a, w;
  ASSERT_EQ(file->getTimes(nullptr, &a, &w), Status::ok);
  EXPECT_EQ(a, first);
  EXPECT_EQ(w, second);
}

TEST_F(ContractFiles, DirectoryTimesAreSetDirectly) {
  ASSERT_EQ(files().createDirectory(at("OLD")), Status::ok);
  const FileTime creation = timeOf(platform(), 1995, 8, 24, 0);
  const FileTime write = timeOf(platform(), 1996, 2, 29, 5000);
  ASSERT_EQ(files().setDirectoryTimes(at("OLD"), &creation, &write, &write), Status::ok);
  FileTime c, a, w;
  ASSERT_EQ(files().getDirectoryTimes(at("OLD"), &c, &a, &w), Status::ok);
  EXPECT_EQ(w, write);
  if (env().keepsCreationTime()) {
    EXPECT_EQ(c, creation);
  }
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), at("OLD"), entries));
  EXPECT_EQ(entries[0].lastWriteTime, write);
}

TEST_F(ContractFiles, WindowsDirectoryIsAFolderWithoutTrailingBackslash) {
  const std::string windows = files().windowsDirectory();
  ASSERT_GE(windows.size(), 3u);
  EXPECT_NE(windows.back(), '\\');
  std::uint32_t attributes = 0;
  ASSERT_EQ(files().getAttributes(windows, attributes), Status::ok);
  EXPECT_NE(attributes & kAttrDirectory, 0u);
}

}  // namespace
}  // namespace hw::contract
