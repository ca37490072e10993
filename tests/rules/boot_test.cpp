// The files that start the machine: the start-up files read for the files
// they name, whatever those files hold, and the DOS boot files.
#include <gtest/gtest.h>

#include "tests/rules/rules_bed.h"

namespace hw::test {
namespace {

class BootTest : public testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('E');
    bed.write({{"C:\\DOS\\A.SYS", "a"}, {"C:\\DOS\\B.SYS", "b"}, {"C:\\DOS\\C.SYS", "c"}});
  }
  // The extra files of a boot backup of C: to the fixed drive E:.
  PathSet extrasWithConfig(const std::string& config) {
    bed.write("C:\\CONFIG.SYS", config);
    EXPECT_TRUE(bed.select({'C'}, 'E', MODE_BOOT));
    return bed.selectedExtras();
  }
  RulesBed bed;
};

TEST_F(BootTest, OnlyTheFirst61440BytesAreRead) {
  const std::string head = "DEVICE=C:\\DOS\\A.SYS\r\n";
  const std::string last = " C:\\DOS\\B.SYS";
  // One huge line whose last reference ends at byte 61,440.
  std::string text = head + std::string(61440 - head.size() - last.size(), 'x') + last;
  ASSERT_EQ(text.size(), 61440u);
  text += " C:\\DOS\\C.SYS\r\n";
  EXPECT_EQ(extrasWithConfig(text),
            (PathSet{"C:\\CONFIG.SYS", "C:\\DOS\\A.SYS", "C:\\DOS\\B.SYS"}));
}

TEST_F(BootTest, BinaryBytesEndAtTheFirstNul) {
  std::string text = "\xFF\xFE\x01\x80:\\\\\r\n\x1A\r\nDEVICE=C:\\DOS\\A.SYS\r\n";
  text += std::string(1, '\0') + "DEVICE=C:\\DOS\\B.SYS\r\n";
  EXPECT_EQ(extrasWithConfig(text), (PathSet{"C:\\CONFIG.SYS", "C:\\DOS\\A.SYS"}));
}

TEST_F(BootTest, OnlyExistingFilesByTheirFullPathAreAdded) {
  bed.write("C:\\DOS\\SUB\\D.SYS", "d");
  bed.write("D:\\OTHER.SYS", "o");
  const PathSet extras = extrasWithConfig(
      "DEVICE=C:\\DOS\\MISSING.SYS\r\n"   // missing
      "DEVICE=C:DOS\\A.SYS\r\n"           // relative to a current folder
      "DEVICE=C:\\DOS\\SUB\r\n"           // a folder
      "DEVICE=C:\\..\\DOS\\A.SYS\r\n"     // above the root
      "DEVICE=C:\\DOS\\*.SYS\r\n"         // a pattern
      "DEVICE=Q:\\NODRIVE.SYS\r\n"        // no such drive
      "DEVICE=\"C:\\DOS\\B.SYS\"\r\n"     // quoted: not a name
      "DEVICE=C:\\DOS\\SUB\\..\\C.SYS\r\n"
      "DEVICE=d:\\other.sys\r\n"
      "DEVICE=C:\\DOS\\SUB\\D.SYS\r\n"
      "DEVICE=C:\\DOS\\SUB\\D.SYS\r\n");  // named twice, listed once
  EXPECT_EQ(extras, (PathSet{"C:\\CONFIG.SYS", "C:\\DOS\\C.SYS", "D:\\OTHER.SYS",
                             "C:\\DOS\\SUB\\D.SYS"}));
  EXPECT_EQ(bed.run.extraFiles.size(), 4u);
}

TEST_F(BootTest, BatchFilesNamedAreReadOnceAndOnlyOneLevelDeep) {
  bed.write({
      {"C:\\AUTOEXEC.BAT",
       "CALL C:\\BIN\\ONE.BAT\r\nCALL C:\\BIN\\ONE.BAT\r\nCALL C:\\BIN\\GONE.BAT\r\n"
       "CALL C:BIN\\REL.BAT\r\n"},
      {"C:\\BIN\\ONE.BAT", "CALL C:\\BIN\\TWO.BAT\r\nC:\\DOS\\A.SYS\r\nCALL C:\\BIN\\ONE.BAT\r\n"},
      {"C:\\BIN\\TWO.BAT", "C:\\DOS\\B.SYS\r\n"},
      {"C:\\BIN\\REL.BAT", "C:\\DOS\\C.SYS\r\n"},
  });
  ASSERT_TRUE(bed.select({'C'}, 'E', MODE_BOOT));
  EXPECT_EQ(bed.selectedExtras(), (PathSet{"C:\\AUTOEXEC.BAT", "C:\\BIN\\ONE.BAT",
                                           "C:\\BIN\\TWO.BAT", "C:\\DOS\\A.SYS"}));
  // A missing batch file leaves nothing behind; each file is listed once.
  EXPECT_EQ(bed.run.extraFiles.size(), 4u);
}

TEST_F(BootTest, StartUpFilesFromTheFloppyWhenDriveCHasNone) {
  bed.write("A:\\CONFIG.SYS", "DEVICE=C:\\DOS\\B.SYS\r\n");
  ASSERT_TRUE(bed.select({'C'}, 'E', MODE_BOOT));
  EXPECT_EQ(bed.selectedExtras(), (PathSet{"A:\\CONFIG.SYS", "C:\\DOS\\B.SYS"}));
}

TEST_F(BootTest, IniFilesTakeSemicolonComments) {
  bed.write({{"C:\\WINDOWS\\WIN.INI", "[windows]\r\nrun=c:\\dos\\a.sys;c:\\dos\\b.sys\r\n"},
             {"C:\\WINDOWS\\SYSTEM.INI", "; device=C:\\DOS\\C.SYS\r\nREM=C:\\DOS\\B.SYS\r\n"}});
  ASSERT_TRUE(bed.select({'C'}, 'E', MODE_BOOT));
  EXPECT_EQ(bed.selectedExtras(),
            (PathSet{"C:\\WINDOWS\\SYSTEM.INI", "C:\\WINDOWS\\WIN.INI", "C:\\DOS\\A.SYS",
                     "C:\\DOS\\B.SYS"}));
}

TEST_F(BootTest, StartUpFilesAreSavedWhereverTheyAre) {
  bed.write({{"C:\\OLD\\AUTOEXEC.BAT", "x"}, {"C:\\OLD\\CONFIG.SYS", "x"}, {"C:\\OLD\\X", "x"}});
  ASSERT_TRUE(bed.select({'C'}, 'E', MODE_BOOT));
  EXPECT_EQ(bed.selectedFiles(), (PathSet{"C:\\OLD\\AUTOEXEC.BAT", "C:\\OLD\\CONFIG.SYS"}));
}

struct BootableCase {
  const char* name;
  std::vector<FixtureFile> files;
  std::vector<char> sources;
  PathSet bootFiles;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const BootableCase& c, std::ostream* os) { *os << c.name; }

class BootableSetTest : public testing::TestWithParam<BootableCase> {};

TEST_P(BootableSetTest, TheBootDriveGivesItsSystemFiles) {
  RulesBed bed;
  bed.addFixed('F');
  bed.write(GetParam().files);
  ASSERT_TRUE(bed.select(GetParam().sources, 'A', MODE_BOOT));
  PathSet boot;
  for (const std::string& e : bed.selectedExtras()) {
    if (e.starts_with("boot:")) boot.insert(e.substr(5));
  }
  EXPECT_EQ(boot, GetParam().bootFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Drives, BootableSetTest,
    testing::Values(
        BootableCase{"PcDos",
                     {{"C:\\IBMBIO.COM", "b"}, {"C:\\IBMDOS.COM", "d"}, {"C:\\COMMAND.COM", "c"}},
                     {'C'},
                     {"C:\\IBMBIO.COM", "C:\\IBMDOS.COM", "C:\\COMMAND.COM"}},
        BootableCase{"MsDosBeforePcDos",
                     {{"C:\\IO.SYS", "i"}, {"C:\\IBMBIO.COM", "b"}, {"C:\\MSDOS.SYS", "m"},
                      {"C:\\COMMAND.COM", "c"}},
                     {'C'},
                     {"C:\\IO.SYS", "C:\\MSDOS.SYS", "C:\\COMMAND.COM"}},
        // The first source drive with all three, in the order of the list.
        BootableCase{"SecondDriveBoots",
                     {{"C:\\IO.SYS", "i"}, {"F:\\IO.SYS", "i"}, {"F:\\MSDOS.SYS", "m"},
                      {"F:\\COMMAND.COM", "c"}},
                     {'C', 'F'},
                     {"F:\\IO.SYS", "F:\\MSDOS.SYS", "F:\\COMMAND.COM"}},
        // None has all three: the first fixed source gives what it has.
        BootableCase{"NoneComplete",
                     {{"C:\\IO.SYS", "i"}, {"F:\\COMMAND.COM", "c"}},
                     {'C', 'F'},
                     {"C:\\IO.SYS"}}),
    [](const testing::TestParamInfo<BootableCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace hw::test
