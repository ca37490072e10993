// The command line's exit status and its closing lines for a few cells of
// the matrix: what a script that runs `hoardwell` learns of a run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>

#include "tests/engine/engine_bed.h"
#include "tests/support/host_tree.h"

namespace hw::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string out, err;
};

class CliExit : public ::testing::Test {
 protected:
  void SetUp() override {
    src = scratch.path() / "src";
    dst = scratch.path() / "dst";
    fs::create_directories(src / "docs");
    fs::create_directories(dst);
    put("root.txt", patterned(100, 1));
    put("docs/a.bin", patterned(300000, 2));
    put("docs/b.txt", patterned(5000, 3));
  }

  void put(const std::string& relative, const std::string& content) {
    ASSERT_TRUE(writeHostFile((src / relative).string(), content));
    sources[relative] = content;
  }

  CliRun hoardwell(const std::string& arguments) {
    const std::string outFile = (scratch.path() / "out").string();
    const std::string errFile = (scratch.path() / "err").string();
    const std::string command = std::string("'") + HW_CLI + "' backup --yes --source C --drive C=" +
                                src.string() + " " + arguments + " >" + outFile + " 2>" + errFile +
                                " </dev/null";
    CliRun r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    readHostFile(outFile, r.out);
    readHostFile(errFile, r.err);
    return r;
  }

  // Source files found whole anywhere below the destination folder.
  int wholeCopies() {
    int found = 0;
    for (auto& e : fs::recursive_directory_iterator(dst)) {
      if (!e.is_regular_file()) continue;
      std::string bytes;
      readHostFile(e.path().string(), bytes);
      for (const auto& [relative, content] : sources) {
        if (e.path().string().ends_with("/C/" + relative) && bytes == content) ++found;
      }
    }
    return found;
  }

  // N of "Backup set S: N files (...) saved".
  static int filesSaid(const std::string& out) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex(R"(Backup set \S+: (\d+) files)"))) return -1;
    return std::stoi(m[1]);
  }

  ScratchFolder scratch;
  fs::path src, dst;
  std::map<std::string, std::string> sources;
};

TEST_F(CliExit, ACompleteBackupExitsZeroAndCountsWhatIsOnTheDisk) {
  const CliRun r = hoardwell("--dest D --drive D=" + dst.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(filesSaid(r.out), 3) << r.out;
  EXPECT_EQ(wholeCopies(), 3);
  EXPECT_NE(r.out.find("Report: "), std::string::npos) << r.out;
}

TEST_F(CliExit, FloppiesAreAskedForAndEveryFileIsSavedOnce) {
  for (int i = 0; i < 8; ++i) put("docs/big" + std::to_string(i) + ".bin", patterned(300000, 10 + i));
  const CliRun r = hoardwell("--dest A --drive A=" + dst.string() + ":floppy");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(filesSaid(r.out), 11) << r.out;
  EXPECT_EQ(wholeCopies(), 11);
  EXPECT_NE(r.out.find("on 3 disks"), std::string::npos) << r.out;
}

TEST_F(CliExit, ADestinationTooSmallIsAFatalStopWithNothingCopied) {
  // Every file fits the disk, all of them together do not.
  for (int i = 0; i < 4; ++i) put("docs/more" + std::to_string(i) + ".bin", patterned(100000, 20 + i));
  const CliRun r = hoardwell("--dest D --drive D=" + dst.string() + ":fixed:512k");
  EXPECT_EQ(r.status, 2) << r.out << r.err;
  EXPECT_EQ(wholeCopies(), 0);
}

TEST_F(CliExit, ABadSettingsFileChangesNothingOfTheBackup) {
  const std::string binary = (scratch.path() / "binary.ini").string();
  ASSERT_TRUE(writeHostFile(binary, patterned(65536, 7)));
  const fs::path folder = scratch.path() / "folder.ini";
  fs::create_directories(folder / "x");
  for (const std::string& settings : {binary, folder.string()}) {
    SCOPED_TRACE(settings);
    fs::remove_all(dst);
    fs::create_directories(dst);
    const CliRun r = hoardwell("--dest D --drive D=" + dst.string() + " --settings " + settings);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(filesSaid(r.out), 3) << r.out;
    EXPECT_EQ(wholeCopies(), 3);
  }
}

// A file larger than a whole floppy is left out: the run is carried out
// (status 0) and says loudly and by name what it did not save.
TEST_F(CliExit, AFileLargerThanADiskIsNamedAsNotSaved) {
  put("docs/huge.bin", patterned(2000000, 9));
  const CliRun r = hoardwell("--dest A --drive A=" + dst.string() + ":floppy");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(filesSaid(r.out), 3) << r.out;
  EXPECT_EQ(wholeCopies(), 3);
  EXPECT_NE(r.err.find("huge.bin"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("NOT saved"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace hw::test
