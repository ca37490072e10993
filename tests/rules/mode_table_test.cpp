// The backup kinds and their combinations on one Windows-like drive: for
// each, the files the rules mark, the extra files they add, and what a whole
// backup leaves on the destination.
#include <gtest/gtest.h>

#include "tests/rules/rules_bed.h"

namespace hw::test {
namespace {

const PathSet kEveryFile = [] {
  PathSet all;
  for (const FixtureFile& f : WindowsFixture()) {
    if (f.path[0] == 'C') all.insert(f.path);
  }
  return all;
}();

const PathSet kRootExcluded = {"C:\\WIN386.SWP", "C:\\DBLSPACE.000"};

// The root (it holds COMMAND.COM) and C:\WINDOWS (WIN.COM) with its subtree.
const PathSet kBootTree = {
    "C:\\IO.SYS",          "C:\\MSDOS.SYS",          "C:\\COMMAND.COM",
    "C:\\CONFIG.SYS",      "C:\\AUTOEXEC.BAT",       "C:\\README",
    "C:\\WINDOWS\\WIN.COM", "C:\\WINDOWS\\WIN.INI",   "C:\\WINDOWS\\SYSTEM.INI",
    "C:\\WINDOWS\\NOTEPAD.EXE", "C:\\WINDOWS\\WIN386.SWP",
    "C:\\WINDOWS\\SYSTEM\\USER.EXE", "C:\\WINDOWS\\SYSTEM\\VMM32.VXD",
};

// The start-up files and every existing file they name outside kBootTree.
const PathSet kBootExtras = {
    "C:\\CONFIG.SYS",       "C:\\DOS\\HIMEM.SYS",    "C:\\DOS\\ANSI.SYS",
    "C:\\AUTOEXEC.BAT",     "C:\\BIN\\SETUP.BAT",    "D:\\NET\\NETSTART.EXE",
    "C:\\WINDOWS\\SYSTEM.INI", "C:\\WINDOWS\\WIN.INI", "C:\\TOOLS\\A.EXE",
    "C:\\TOOLS\\B.EXE",     "C:\\BIN\\INNER.BAT",    "C:\\BIN\\SETUP.DAT",
};

const PathSet kBootFiles = {"boot:C:\\IO.SYS", "boot:C:\\MSDOS.SYS", "boot:C:\\COMMAND.COM"};

// Everything whose extension is not on the built-in list of program and
// system kinds, a name without extension included.
const PathSet kData = {
    "C:\\AUTOEXEC.BAT",         "C:\\README",                "C:\\WINDOWS\\WIN386.SWP",
    "C:\\APPS\\APPS.LST",       "C:\\APPS\\EDITOR\\NOTES.TXT", "C:\\APPS\\EDITOR\\MANUAL.DOC",
    "C:\\APPS\\EDITOR\\MACROS\\M1.DAT", "C:\\GAMES\\SCORES.TXT", "C:\\GAMES\\SAVES\\GAME1.SAV",
    "C:\\DOCS\\REPORT.DOC",     "C:\\DOCS\\LETTER.TXT",      "C:\\DOCS\\DATA.XYZ",
    "C:\\DOCS\\OLD\\MEMO.WRI",  "C:\\BIN\\SETUP.BAT",        "C:\\BIN\\INNER.BAT",
    "C:\\BIN\\SETUP.DAT",       "C:\\BIN\\DEEP.DAT",
};

// C:\APPS\EDITOR and below; C:\GAMES with both its folders (only one of
// them holds a program); C:\TOOLS; C:\DOCS (PROG.EXE) and below. C:\APPS
// itself is not: its only folder is an application.
const PathSet kApps = {
    "C:\\APPS\\EDITOR\\EDIT.EXE",   "C:\\APPS\\EDITOR\\EDIT.HLP", "C:\\APPS\\EDITOR\\NOTES.TXT",
    "C:\\APPS\\EDITOR\\MANUAL.DOC", "C:\\APPS\\EDITOR\\MACROS\\M1.DAT",
    "C:\\GAMES\\SCORES.TXT",        "C:\\GAMES\\CHESS\\CHESS.EXE", "C:\\GAMES\\SAVES\\GAME1.SAV",
    "C:\\TOOLS\\A.EXE",             "C:\\TOOLS\\B.EXE",
    "C:\\DOCS\\REPORT.DOC",         "C:\\DOCS\\LETTER.TXT",       "C:\\DOCS\\DATA.XYZ",
    "C:\\DOCS\\PROG.EXE",           "C:\\DOCS\\OLD\\MEMO.WRI",
};

// The files with the archive attribute (the swap file in the root has it
// too, and stays out).
const PathSet kChanged = {
    "C:\\CONFIG.SYS",           "C:\\README",           "C:\\WINDOWS\\WIN.INI",
    "C:\\APPS\\EDITOR\\NOTES.TXT", "C:\\GAMES\\SAVES\\GAME1.SAV", "C:\\DOCS\\REPORT.DOC",
    "C:\\DOCS\\LETTER.TXT",     "C:\\BIN\\SETUP.DAT",
};
const PathSet kChangedBootExtras = {"C:\\CONFIG.SYS", "C:\\WINDOWS\\WIN.INI",
                                    "D:\\NET\\NETSTART.EXE", "C:\\BIN\\SETUP.DAT"};

// With every file of C: in the trees, only what lies elsewhere is added, and
// the files that were read.
const PathSet kAllBootExtras = {"C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT", "C:\\WINDOWS\\SYSTEM.INI",
                                "C:\\WINDOWS\\WIN.INI", "D:\\NET\\NETSTART.EXE"};

struct ModeCase {
  const char* name;
  std::uint32_t mode;
  char dest;
  int bootableFlag;
  PathSet tree;
  PathSet extras;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ModeCase>& modeCases() {
  static const std::vector<ModeCase> cases = {
      {"All", MODE_ALL, 'A', 1, kEveryFile - kRootExcluded, {}},
      {"Changed", MODE_CHANGED, 'A', 1, kChanged, {}},
      {"Data", MODE_DATA, 'A', 1, kData, {}},
      {"Apps", MODE_APPS, 'A', 1, kApps, {}},
      {"Boot", MODE_BOOT, 'A', 1, kBootTree, kBootExtras + kBootFiles},
      {"BootToFixedDrive", MODE_BOOT, 'E', 1, kBootTree, kBootExtras},
      {"BootWithoutBootableSet", MODE_BOOT, 'A', 0, kBootTree, kBootExtras},
      {"AllData", MODE_ALL | MODE_DATA, 'A', 1, kEveryFile - kRootExcluded, {}},
      {"AllBoot", MODE_ALL | MODE_BOOT, 'A', 1, kEveryFile - kRootExcluded,
       kAllBootExtras + kBootFiles},
      {"ChangedData", MODE_CHANGED | MODE_DATA, 'A', 1, kChanged, {}},
      {"ChangedApps", MODE_CHANGED | MODE_APPS, 'A', 1, kChanged, {}},
      {"ChangedBoot", MODE_CHANGED | MODE_BOOT, 'A', 1, kChanged, kChangedBootExtras + kBootFiles},
      {"DataApps", MODE_DATA | MODE_APPS, 'A', 1, kData + kApps, {}},
      {"DataBoot", MODE_DATA | MODE_BOOT, 'A', 1, kData + kBootTree, kBootExtras + kBootFiles},
      {"AppsBoot", MODE_APPS | MODE_BOOT, 'A', 1, kApps + kBootTree, kBootExtras + kBootFiles},
      {"DataAppsBoot", MODE_DATA | MODE_APPS | MODE_BOOT, 'A', 1, kData + kApps + kBootTree,
       kBootExtras + kBootFiles},
      {"AllFive", MODE_ALL | MODE_CHANGED | MODE_DATA | MODE_APPS | MODE_BOOT, 'A', 1,
       kEveryFile - kRootExcluded, kAllBootExtras + kBootFiles},
  };
  return cases;
}

// Where the backup puts them: the set's folder, and the boot files at their
// own paths on the first disk.
PathSet expectedDestination(const ModeCase& c) {
  PathSet out = inSet(c.tree);
  for (const std::string& e : c.extras) {
    if (e.starts_with("boot:")) {
      out.insert(e.substr(8));
    } else {
      out.insert("SET\\" + e.substr(0, 1) + e.substr(2));
    }
  }
  return out;
}

class ModeTableTest : public testing::TestWithParam<ModeCase> {
 protected:
  void SetUp() override {
    bed.addFixed('E');
    bed.write(WindowsFixture());
    bed.settings.SetBootableSysFlt(GetParam().bootableFlag);
  }
  RulesBed bed;
};

TEST_P(ModeTableTest, RulesMarkTheExpectedFiles) {
  const ModeCase& c = GetParam();
  ASSERT_TRUE(bed.select({'C'}, c.dest, c.mode));
  EXPECT_EQ(bed.selectedFiles(), c.tree);
  EXPECT_EQ(bed.selectedExtras(), c.extras);
  // Nothing was asked of the user: the built-in lists apply.
  EXPECT_TRUE(bed.host.messages.empty());
}

TEST_P(ModeTableTest, BackupCopiesExactlyTheseFiles) {
  const ModeCase& c = GetParam();
  ASSERT_EQ(bed.backup({'C'}, c.dest, c.mode), kRunDone);
  EXPECT_EQ(bed.destinationFiles(c.dest), expectedDestination(c));
  // Every file that went was copied whole.
  for (const std::string& source : c.tree) {
    EXPECT_EQ(bed.readFile(bed.destOf(source)), bed.readFile(source)) << source;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTableTest, testing::ValuesIn(modeCases()),
                         [](const testing::TestParamInfo<ModeCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace hw::test
