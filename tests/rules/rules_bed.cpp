#include "tests/rules/rules_bed.h"

#include <algorithm>
#include <filesystem>

namespace hw::test {

namespace {

constexpr std::uint32_t A = kAttrArchive;
constexpr std::uint32_t H = kAttrHidden;
constexpr std::uint32_t S = kAttrSystem;
constexpr std::uint32_t R = kAttrReadOnly;
constexpr std::uint32_t kOld = 0;  // saved before: no archive attribute

}  // namespace

RulesBed::RulesBed() {
  addFixed('C');
  addFixed('D');
  addFloppy('A');
  platform.setWindowsDirectory("C:\\WINDOWS");
}

void RulesBed::write(const std::string& path, const std::string& content,
                     std::uint32_t attributes) {
  for (std::size_t cut = path.find('\\', 3); cut != std::string::npos;
       cut = path.find('\\', cut + 1)) {
    const std::string folder = path.substr(0, cut);
    std::uint32_t a = 0;
    if (platform.files().getAttributes(folder, a) != Status::ok) makeDir(folder);
  }
  writeFile(path, content);
  setAttributes(path, attributes);
}

void RulesBed::write(const std::vector<FixtureFile>& files) {
  for (const FixtureFile& f : files) write(f.path, f.content, f.attributes);
}

bool RulesBed::select(const std::vector<char>& sources, char dest, std::uint32_t mode) {
  run.mode = mode;
  run.active = 1;
  run.sourceList.clear();
  run.sourceDrives.clear();
  for (char letter : sources) {
    DriveListItem item;
    EXPECT_TRUE(drives.DescribeDrive(letter, item)) << letter;
    run.sourceList.push_back(item);
    run.sourceDrives.push_back(std::make_unique<SourceDrive>(makeSourceDrive(item)));
    run.sourceDrives.back()->selected = 1;
    EXPECT_TRUE(engine->scanDrive(*run.sourceDrives.back())) << letter;
  }
  DriveListItem destination;
  EXPECT_TRUE(drives.DescribeDrive(dest, destination)) << dest;
  run.destLetter = destination.letter;
  run.destFlags = destination.kind;
  run.clusterSize = destination.sectorSize;
  SelectionRules& rules = engine->rules();
  rules.ResetClassification();
  rules.ResetRunState();
  rules.ResetSelection();
  return rules.ApplyRules();
}

PathSet RulesBed::selectedFiles() {
  PathSet out;
  for (auto& drive : run.sourceDrives) {
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      for (const FileEntry& f : d->files) {
        if (f.selected) out.insert(d->fullPath() + "\\" + f.name);
      }
    }
  }
  return out;
}

PathSet RulesBed::selectedExtras() {
  PathSet out;
  for (const ExtraFile& e : run.extraFiles) {
    if (e.selected) out.insert((e.bootFile ? "boot:" : "") + e.path);
  }
  return out;
}

PathSet RulesBed::destinationFiles(char letter) {
  namespace fs = std::filesystem;
  const fs::path root = platform.hostPath(std::string(1, letter) + ":\\");
  PathSet out;
  std::error_code ignored;
  for (const auto& e : fs::recursive_directory_iterator(root, ignored)) {
    if (!e.is_regular_file()) continue;
    std::string path = fs::relative(e.path(), root).string();
    std::replace(path.begin(), path.end(), '/', '\\');
    const std::string set = run.setName + "\\";
    if (!run.setName.empty() && path.compare(0, set.size(), set) == 0) {
      path = "SET\\" + path.substr(set.size());
      // The set's report is the report's business.
      if (path.find('\\', 4) == std::string::npos && path.ends_with(".KVX")) continue;
    }
    out.insert(path);
  }
  return out;
}

std::vector<FixtureFile> WindowsFixture() {
  return {
      // The root: the DOS boot files, the command interpreter, the start-up
      // files, a swap file and a compressed volume.
      {"C:\\IO.SYS", "io", H | S | R},
      {"C:\\MSDOS.SYS", "msdos", H | S | R},
      {"C:\\COMMAND.COM", "command", kOld},
      {"C:\\CONFIG.SYS",
       "DEVICE=C:\\DOS\\HIMEM.SYS /TESTMEM:OFF\r\n"
       "REM DEVICE=C:\\DOS\\NOTREF.SYS\r\n"
       "DEVICE=C:\\DOS\\MISSING.SYS\r\n"
       "DEVICEHIGH=C:\\DOS\\..\\DOS\\.\\ANSI.SYS\r\n"
       "SHELL=C:\\COMMAND.COM C:\\ /P\r\n",
       A},
      {"C:\\AUTOEXEC.BAT",
       "@ECHO OFF\r\n"
       "PATH C:\\WINDOWS;C:\\DOS\r\n"
       "CALL C:\\BIN\\SETUP.BAT\r\n"
       "d:\\net\\netstart.exe\r\n",
       kOld},
      {"C:\\WIN386.SWP", "swap", H | A},
      {"C:\\DBLSPACE.000", "volume", H | S},
      {"C:\\README", "readme", A},
      {"C:\\DOS\\HIMEM.SYS", "himem", kOld},
      {"C:\\DOS\\ANSI.SYS", "ansi", kOld},
      {"C:\\DOS\\NOTREF.SYS", "notref", kOld},
      // Windows: WIN.COM makes the folder and all below it the system's.
      {"C:\\WINDOWS\\WIN.COM", "win", kOld},
      {"C:\\WINDOWS\\WIN.INI",
       "[windows]\r\nrun=c:\\tools\\a.exe;c:\\tools\\b.exe\r\nload=C:\\TOOLS\\B.EXE\r\n"
       "shell=Explorer.exe\r\n",
       A},
      {"C:\\WINDOWS\\SYSTEM.INI",
       "[386Enh]\r\ndevice=C:\\WINDOWS\\SYSTEM\\VMM32.VXD\r\n[boot]\r\nshell=Explorer.exe\r\n", kOld},
      {"C:\\WINDOWS\\NOTEPAD.EXE", "notepad", kOld},
      {"C:\\WINDOWS\\WIN386.SWP", "swap", H},
      {"C:\\WINDOWS\\SYSTEM\\USER.EXE", "user", kOld},
      {"C:\\WINDOWS\\SYSTEM\\VMM32.VXD", "vmm", kOld},
      // Programs: an editor alone in C:\APPS, a game beside a folder of saved
      // games, tools named by WIN.INI.
      {"C:\\APPS\\APPS.LST", "apps", kOld},
      {"C:\\APPS\\EDITOR\\EDIT.EXE", "edit", kOld},
      {"C:\\APPS\\EDITOR\\EDIT.HLP", "help", kOld},
      {"C:\\APPS\\EDITOR\\NOTES.TXT", "notes", A},
      {"C:\\APPS\\EDITOR\\MANUAL.DOC", "manual", kOld},
      {"C:\\APPS\\EDITOR\\MACROS\\M1.DAT", "macro", kOld},
      {"C:\\GAMES\\SCORES.TXT", "scores", kOld},
      {"C:\\GAMES\\CHESS\\CHESS.EXE", "chess", kOld},
      {"C:\\GAMES\\SAVES\\GAME1.SAV", "game", A},
      {"C:\\TOOLS\\A.EXE", "a", kOld},
      {"C:\\TOOLS\\B.EXE", "b", kOld},
      // Documents, with one program among them.
      {"C:\\DOCS\\REPORT.DOC", "report", A},
      {"C:\\DOCS\\LETTER.TXT", "letter", A},
      {"C:\\DOCS\\DATA.XYZ", "data", kOld},
      {"C:\\DOCS\\PROG.EXE", "prog", kOld},
      {"C:\\DOCS\\OLD\\MEMO.WRI", "memo", kOld},
      // Batch files: SETUP.BAT is called by AUTOEXEC.BAT and read; INNER.BAT
      // is named by SETUP.BAT only, so it is saved but not read.
      {"C:\\BIN\\SETUP.BAT", "CALL C:\\BIN\\INNER.BAT\r\nTYPE C:\\BIN\\SETUP.DAT\r\n", kOld},
      {"C:\\BIN\\INNER.BAT", "C:\\BIN\\DEEP.DAT\r\n", kOld},
      {"C:\\BIN\\SETUP.DAT", "setup", A},
      {"C:\\BIN\\DEEP.DAT", "deep", kOld},
      // On a drive that is not backed up.
      {"D:\\NET\\NETSTART.EXE", "net", A},
  };
}

PathSet operator+(PathSet a, const PathSet& b) {
  a.insert(b.begin(), b.end());
  return a;
}

PathSet operator-(PathSet a, const PathSet& b) {
  for (const std::string& s : b) a.erase(s);
  return a;
}

PathSet inSet(const PathSet& sourcePaths) {
  PathSet out;
  for (const std::string& p : sourcePaths) out.insert("SET\\" + p.substr(0, 1) + p.substr(2));
  return out;
}

}  // namespace hw::test
