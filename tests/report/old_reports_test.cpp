// Old reports: recognised by their signature only, deleted once older than
// the chosen age, never anything else.
#include <gtest/gtest.h>

#include "report/old_reports.h"
#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

const std::string kSignature = std::string("KVX-Backup-\x01\x02\x03\x04\x05 \n") +
                               "Ferrowind, Inc. \nHoardwell Version 2.0 \n";

TEST(OldReports, IsOwnReport) {
  ReportBed bed;
  struct Case {
    const char* name;
    std::string bytes;
    bool own;
  } cases[] = {
      {"NEW.KVX", kSignature, true},
      {"LOWER.kvx", kSignature, true},
      {"OLDFORM.KVX", "KVX-Backup-12345 \nFerrowind, Inc. \n", true},
      {"CRLF.KVX", "KVX-Backup-12345 \r\n\r\nFerrowind, Inc. \r\n", true},
      {"SHORT.KVX", "KVX-Backup-12345 \nFerrowind, Inc. ", true},
      {"NOBLANK.KVX", "KVX-Backup-12345\nFerrowind, Inc. \n", false},
      {"COMPANY.KVX", "KVX-Backup-12345 \nFerrowind, Inc.\n", false},
      {"SECOND.KVX", "KVX-Backup-12345 \nSomeone else \n", false},
      {"LETTER.KVX", "Dear Sir,\nFerrowind, Inc. \n", false},
      {"EMPTY.KVX", "", false},
      {"REPORT.TXT", kSignature, false},
      {"NODOT", kSignature, false},
  };
  bed.makeDir("D:\\LOGS");
  for (const Case& c : cases) {
    const std::string path = std::string("D:\\LOGS\\") + c.name;
    bed.write(path, c.bytes);
    EXPECT_EQ(IsOwnReport(bed.files(), path), c.own) << c.name;
  }
  bed.makeDir("D:\\LOGS\\FOLDER.KVX");
  EXPECT_FALSE(IsOwnReport(bed.files(), "D:\\LOGS\\FOLDER.KVX"));
  EXPECT_FALSE(IsOwnReport(bed.files(), "D:\\LOGS\\MISSING.KVX"));
  // A report that cannot be read is not taken for one.
  bed.platform().faults().add({FaultOp::read, "NEW.KVX", 0, 1, FaultAction::fail,
                               Status::readFault, 0});
  EXPECT_FALSE(IsOwnReport(bed.files(), "D:\\LOGS\\NEW.KVX"));
}

TEST(OldReports, AgeLimits) {
  EXPECT_EQ(ReportAgeLimit(6, 2), 15552000);
  EXPECT_EQ(ReportAgeLimit(500, 3), 15768000000LL);
  EXPECT_EQ(ReportAgeLimit(3, 0), 3 * 86400);
  EXPECT_EQ(ReportAgeLimit(2, 1), 14 * 86400);
  EXPECT_EQ(ReportAgeLimit(1, 9), 30 * 86400);
}

class DeleteOld : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.makeDir("D:\\LOGS");
    bed.setSetting("Preferences", "SaveLogDir", "D:\\LOGS");
    bed.setSetting("Preferences", "DelOldLogs", "1");
    bed.setSetting("Preferences", "DLogNum", "6");
    bed.setSetting("Preferences", "DLogPeriod", "2");
  }
  // A file created `age` seconds before the clock's now.
  void file(const std::string& name, const std::string& bytes, std::int64_t age,
            std::uint32_t attributes = kAttrArchive) {
    const std::string path = "D:\\LOGS\\" + name;
    bed.write(path, bytes);
    Status status = Status::ok;
    auto handle = bed.files().openReadWrite(path, status);
    ASSERT_TRUE(handle);
    const FileTime created =
        FileTime::fromValue(bed.clock().now().value() - std::uint64_t(age) * 10000000);
    ASSERT_EQ(handle->setTimes(&created, nullptr, nullptr), Status::ok);
    ASSERT_EQ(handle->close(), Status::ok);
    ASSERT_EQ(bed.files().setAttributes(path, attributes), Status::ok);
  }
  bool exists(const std::string& name) { return bed.exists("D:\\LOGS\\" + name); }

  ReportBed bed;
  static constexpr std::int64_t kLimit = 180 * 86400;
};

TEST_F(DeleteOld, OnlyOwnReportsOlderThanTheLimit) {
  file("OLD.KVX", kSignature, kLimit + 1);
  file("OLDFORM.KVX", "KVX-Backup-12345 \nFerrowind, Inc. \n", kLimit + 86400);
  file("GUARDED.KVX", kSignature, kLimit * 3, kAttrReadOnly | kAttrHidden | kAttrSystem);
  file("EXACT.KVX", kSignature, kLimit);
  file("YOUNG.KVX", kSignature, 60);
  file("FOREIGN.KVX", "Someone else's file\n", kLimit * 10);
  file("REPORT.TXT", kSignature, kLimit * 10);
  DeleteOldReports(bed.platform(), bed.settings);
  EXPECT_FALSE(exists("OLD.KVX"));
  EXPECT_FALSE(exists("OLDFORM.KVX"));
  EXPECT_FALSE(exists("GUARDED.KVX"));
  EXPECT_TRUE(exists("EXACT.KVX"));
  EXPECT_TRUE(exists("YOUNG.KVX"));
  EXPECT_TRUE(exists("FOREIGN.KVX"));
  EXPECT_TRUE(exists("REPORT.TXT"));
}

TEST_F(DeleteOld, OffMeansNothingIsListed) {
  bed.setSetting("Preferences", "DelOldLogs", "0");
  file("OLD.KVX", kSignature, kLimit * 2);
  bed.platform().faults().resetCounts();
  DeleteOldReports(bed.platform(), bed.settings);
  EXPECT_TRUE(exists("OLD.KVX"));
  EXPECT_EQ(bed.platform().faults().calls(FaultOp::findFirst), 0u);
}

TEST_F(DeleteOld, AReportWrittenByTheProgramIsRecognised) {
  TreeBuilder tree(bed.run);
  tree.file(tree.root(tree.drive('C', true)), "A.TXT", 1, true, kOutcomeCopied);
  bed.nameSet("L240315A");
  bed.run.logFileBase = "D:\\LOGS\\L240315A";
  bed.run.active = 1;
  ASSERT_EQ(bed.writer.WriteReport(), kReportWritten);
  EXPECT_TRUE(IsOwnReport(bed.files(), "D:\\LOGS\\L240315A.KVX"));
  FindData entry;
  Status status = Status::ok;
  ASSERT_TRUE(bed.files().findFirst("D:\\LOGS\\L240315A.KVX", entry, status));
  bed.clock().setFileTime(FileTime::fromValue(entry.creationTime.value() +
                                              std::uint64_t(kLimit + 2) * 10000000));
  DeleteOldReports(bed.platform(), bed.settings);
  EXPECT_FALSE(exists("L240315A.KVX"));
}

}  // namespace
}  // namespace hw::test
