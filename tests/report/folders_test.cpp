// The folder test and the creation of a folder path.
#include <gtest/gtest.h>

#include "report/folders.h"
#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

TEST(Folders, FolderExists) {
  ReportBed bed;
  bed.makeDir("D:\\SET");
  bed.write("D:\\SET\\FILE.TXT", "x");
  struct Case {
    const char* path;
    bool parentOnly, exists;
  } cases[] = {
      {"D:\\SET", false, true},
      {"D:\\SET\\FILE.TXT", false, false},
      {"D:\\SET\\FILE.TXT", true, true},
      {"D:\\SET\\NEW\\FILE.TXT", true, false},
      {"D:\\FILE.TXT", true, true},  // the parent is the root
      {"D:", false, true},
      {"Q:", false, false},
      {"D:\\GONE", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderExists(bed.files(), c.path, c.parentOnly), c.exists) << c.path;
  }
}

TEST(Folders, CreateFolderPath) {
  ReportBed bed;
  FileSystem& files = bed.files();
  CreateFolderPath(files, "D:\\A\\B\\C", false);
  EXPECT_TRUE(FolderExists(files, "D:\\A\\B\\C", false));
  CreateFolderPath(files, "D:\\X\\Y\\REPORT.KVX", true);
  EXPECT_TRUE(FolderExists(files, "D:\\X\\Y", false));
  EXPECT_FALSE(bed.exists("D:\\X\\Y\\REPORT.KVX"));
  // Folders that are there already are passed by.
  CreateFolderPath(files, "D:\\A\\B\\C\\D", false);
  EXPECT_TRUE(FolderExists(files, "D:\\A\\B\\C\\D", false));
}

}  // namespace
}  // namespace hw::test
