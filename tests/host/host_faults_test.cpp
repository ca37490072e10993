// Fault injection: each action at the call it names, and the call counters.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/support/platform_files.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

using test::listAll;
using test::patternBytes;
using test::readWholeFile;
using test::TestPlatform;
using test::writeHostFile;
using test::writeWholeFile;

class HostFaults : public testing::Test {
 protected:
  void SetUp() override {
    t_.fixed('C').floppy('A');
    ASSERT_TRUE(writeHostFile(t_.root('C') + "/SRC/ONE.TXT", 1000));
    ASSERT_TRUE(writeHostFile(t_.root('C') + "/SRC/TWO.TXT", 2000));
  }
  FaultInjector& faults() { return t_.platform().faults(); }
  FileSystem& files() { return t_.files(); }

  TestPlatform t_;
};

TEST_F(HostFaults, FailTheNthMatchingCallOnly) {
  faults().add({FaultOp::openRead, "two", 0, 2, FaultAction::fail, Status::sharingViolation});
  Status status;
  EXPECT_TRUE(files().openRead("C:\\SRC\\ONE.TXT", status));  // does not match
  EXPECT_TRUE(files().openRead("C:\\SRC\\TWO.TXT", status));  // first match
  EXPECT_FALSE(files().openRead("C:\\SRC\\TWO.TXT", status));
  EXPECT_EQ(status, Status::sharingViolation);
  EXPECT_TRUE(files().openRead("C:\\SRC\\TWO.TXT", status));
}

TEST_F(HostFaults, NthZeroFailsEveryMatchingCall) {
  faults().add({FaultOp::read, "", 'C', 0, FaultAction::fail, Status::readFault});
  std::string bytes;
  EXPECT_FALSE(readWholeFile(files(), "C:\\SRC\\ONE.TXT", bytes));
  EXPECT_FALSE(readWholeFile(files(), "C:\\SRC\\TWO.TXT", bytes));
  ASSERT_TRUE(writeWholeFile(files(), "A:\\COPY.TXT", "x"));
  EXPECT_TRUE(readWholeFile(files(), "A:\\COPY.TXT", bytes));  // another drive
}

TEST_F(HostFaults, EveryOperationCanBeMadeToFail) {
  ASSERT_EQ(files().createDirectory("C:\\DIR"), Status::ok);
  struct Case {
    FaultOp op;
    std::function<Status()> call;
  };
  const FileTime t = FileTime::fromValue(125911584000000000ULL);
  auto viaFile = [this](bool write, auto use) {
    Status status;
    auto file = write ? files().create("C:\\OUT.TXT", status) : files().openRead("C:\\SRC\\ONE.TXT", status);
    return file ? use(*file) : status;
  };
  std::uint32_t attributes = 0;
  FindData entry;
  const Case cases[] = {
      {FaultOp::findFirst, [&] { Status s; files().findFirst("C:\\SRC\\*.*", entry, s); return s; }},
      {FaultOp::openRead, [&] { Status s; files().openRead("C:\\SRC\\ONE.TXT", s); return s; }},
      {FaultOp::create, [&] { Status s; files().create("C:\\NEW.TXT", s); return s; }},
      {FaultOp::openReadWrite, [&] { Status s; files().openReadWrite("C:\\NEW2.TXT", s); return s; }},
      {FaultOp::read, [&] { return viaFile(false, [](File& f) { char b[4]; std::uint32_t g; return f.read(b, 4, g); }); }},
      {FaultOp::write, [&] { return viaFile(true, [](File& f) { std::uint32_t w; return f.write("ab", 2, w); }); }},
      {FaultOp::close, [&] { return viaFile(true, [](File& f) { return f.close(); }); }},
      {FaultOp::getTimes, [&] { return viaFile(false, [](File& f) { FileTime w; return f.getTimes(nullptr, nullptr, &w); }); }},
      {FaultOp::setTimes, [&] { return viaFile(true, [&](File& f) { return f.setTimes(nullptr, nullptr, &t); }); }},
      {FaultOp::getAttributes, [&] { return files().getAttributes("C:\\SRC\\ONE.TXT", attributes); }},
      {FaultOp::setAttributes, [&] { return files().setAttributes("C:\\SRC\\ONE.TXT", kAttrHidden); }},
      {FaultOp::createDirectory, [&] { return files().createDirectory("C:\\NEWDIR"); }},
      {FaultOp::removeDirectory, [&] { return files().removeDirectory("C:\\DIR"); }},
      {FaultOp::deleteFile, [&] { return files().deleteFile("C:\\SRC\\TWO.TXT"); }},
      {FaultOp::setDirectoryTimes, [&] { return files().setDirectoryTimes("C:\\DIR", nullptr, nullptr, &t); }},
      {FaultOp::getDirectoryTimes, [&] { FileTime w; return files().getDirectoryTimes("C:\\DIR", nullptr, nullptr, &w); }},
      {FaultOp::setCurrentDirectory, [&] { return files().setCurrentDirectory("C:\\DIR"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.op));
    faults().clear();
    faults().add({c.op, "", 0, 1, FaultAction::fail, Status::ioDevice});
    EXPECT_EQ(c.call(), Status::ioDevice);
  }
  // Nothing was changed by the failed calls.
  EXPECT_FALSE(std::filesystem::exists(t_.root('C') + "/NEWDIR"));
  EXPECT_TRUE(std::filesystem::exists(t_.root('C') + "/DIR"));
  EXPECT_TRUE(std::filesystem::exists(t_.root('C') + "/SRC/TWO.TXT"));
}

TEST_F(HostFaults, DiskFullAtAByteOfTheDrive) {
  faults().add({FaultOp::write, "", 'A', 1, FaultAction::diskFullAtByte, Status::ok, 2500});
  ASSERT_TRUE(writeWholeFile(files(), "A:\\FIRST.BIN", patternBytes(2000)));
  Status status;
  auto second = files().create("A:\\SECOND.BIN", status);
  ASSERT_TRUE(second);
  const std::string block = patternBytes(300);
  std::uint32_t written = 0;
  ASSERT_EQ(second->write(block.data(), 300, written), Status::ok);  // 2300
  EXPECT_EQ(second->write(block.data(), 300, written), Status::diskFull);  // would pass 2500
  EXPECT_EQ(written, 0u);
  ASSERT_EQ(second->write(block.data(), 200, written), Status::ok);  // exactly 2500
  EXPECT_EQ(second->write(block.data(), 1, written), Status::diskFull);
  ASSERT_TRUE(writeWholeFile(files(), "C:\\OTHER.BIN", patternBytes(5000)));  // other drive
}

TEST_F(HostFaults, MediumRemovedAtTheNthWrite) {
  faults().add({FaultOp::write, "", 'A', 3, FaultAction::removeMedium});
  Status status;
  auto file = files().create("A:\\SPAN.BIN", status);
  ASSERT_TRUE(file);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write("aa", 2, written), Status::ok);
  ASSERT_EQ(file->write("bb", 2, written), Status::ok);
  EXPECT_EQ(file->write("cc", 2, written), Status::notReady);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(t_.platform().currentMedium('A'), 0);
  EXPECT_EQ(file->write("dd", 2, written), Status::notReady);
  DiskFreeSpace space;
  EXPECT_EQ(t_.platform().volumes().diskFreeSpace("A:\\", space), Status::notReady);
  ASSERT_TRUE(t_.platform().insertMedium('A', 1));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(files(), "A:\\SPAN.BIN", bytes));
  EXPECT_EQ(bytes, "aabb");
}

TEST_F(HostFaults, AFileListedByTheScanVanishesBeforeTheCopy) {
  faults().add({FaultOp::findFirst, "TWO.TXT", 0, 1, FaultAction::vanish});
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), "C:\\SRC\\*.*", entries));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[3].name, "TWO.TXT");
  Status status;
  EXPECT_FALSE(files().openRead("C:\\SRC\\TWO.TXT", status));
  EXPECT_EQ(status, Status::fileNotFound);
}

TEST_F(HostFaults, AFileVanishesWhenItIsOpened) {
  faults().add({FaultOp::openRead, "ONE", 0, 1, FaultAction::vanish});
  const std::uint32_t before = [&] {
    DiskFreeSpace s;
    t_.platform().volumes().diskFreeSpace("C:\\", s);
    return s.freeClusters;
  }();
  Status status;
  EXPECT_FALSE(files().openRead("C:\\SRC\\ONE.TXT", status));
  EXPECT_EQ(status, Status::fileNotFound);
  DiskFreeSpace after;
  ASSERT_EQ(t_.platform().volumes().diskFreeSpace("C:\\", after), Status::ok);
  EXPECT_EQ(after.freeClusters, before + 1);
}

TEST_F(HostFaults, AFileChangesSizeBetweenListingAndOpen) {
  faults().add({FaultOp::openRead, "ONE.TXT", 0, 1, FaultAction::resize, Status::ok, 1500});
  faults().add({FaultOp::findFirst, "TWO.TXT", 0, 1, FaultAction::resize, Status::ok, 10});
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(files(), "C:\\SRC\\*.TXT", entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].size(), 1000u);
  EXPECT_EQ(entries[1].size(), 2000u);  // listed before it changed
  std::string bytes;
  ASSERT_TRUE(readWholeFile(files(), "C:\\SRC\\ONE.TXT", bytes));
  EXPECT_EQ(bytes.size(), 1500u);
  ASSERT_TRUE(readWholeFile(files(), "C:\\SRC\\TWO.TXT", bytes));
  EXPECT_EQ(bytes.size(), 10u);
}

TEST_F(HostFaults, CountersShowWhichDriveWasWritten) {
  faults().resetCounts();
  std::string bytes;
  ASSERT_TRUE(readWholeFile(files(), "C:\\SRC\\ONE.TXT", bytes));
  ASSERT_TRUE(writeWholeFile(files(), "A:\\ONE.TXT", bytes, 400));
  EXPECT_EQ(faults().calls(FaultOp::openRead, 'C'), 1u);
  EXPECT_EQ(faults().calls(FaultOp::create, 'C'), 0u);
  EXPECT_EQ(faults().calls(FaultOp::write, 'C'), 0u);
  EXPECT_EQ(faults().calls(FaultOp::write, 'A'), 3u);
  EXPECT_EQ(faults().calls(FaultOp::write), 3u);
  EXPECT_EQ(faults().calls(FaultOp::close), 2u);
}

TEST_F(HostFaults, TheSourceTreeSnapshotSeesAnyChange) {
  const test::TreeSnapshot before = test::snapshotTree(t_.root('C'));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(files(), "C:\\SRC\\ONE.TXT", bytes));
  EXPECT_TRUE(test::sameTree(before, test::snapshotTree(t_.root('C'))));
  ASSERT_EQ(files().setAttributes("C:\\SRC\\ONE.TXT", kAttrNormal), Status::ok);
  EXPECT_FALSE(test::sameTree(before, test::snapshotTree(t_.root('C'))));
}

}  // namespace
}  // namespace hw
