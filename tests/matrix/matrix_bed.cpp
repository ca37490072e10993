#include "tests/matrix/matrix_bed.h"

#include <sys/stat.h>

#include <cmath>
#include <filesystem>

namespace hw::test {

namespace fs = std::filesystem;

namespace {

const std::string kLevel1(80, 'a');
const std::string kLevel2(80, 'b');
const std::string kLevel3a = "ccc" + std::string(77, 'x');
const std::string kLevel3b = "ccc" + std::string(77, 'y');

std::uint32_t attributesOf(const TreeEntry& e) {
  if (e.dosAttrib.empty()) return e.directory ? 0 : kAttrArchive;
  return static_cast<std::uint32_t>(std::stoul(e.dosAttrib, nullptr, 16));
}

std::string windowsOf(const std::string& relative) {
  std::string path = "C:\\" + relative;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool readHost(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  return static_cast<bool>(readHostFile(path, bytes));
}

std::int64_t mtimeOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

bool isSaved(std::int32_t status) {
  return status == kOutcomeCopied ||
         (status >= kOutcomeNoSourceTimes && status <= kOutcomeAttributesNotSet);
}

// Where the run put the file: its folder's shortened path when it had one.
std::string destinationOf(const RunRecord& run, const std::string& sourcePath) {
  const auto cut = sourcePath.rfind('\\');
  const std::string folder = sourcePath.substr(0, cut);
  for (const ShortenedPath& s : run.shortenedPaths) {
    if (s.ok && s.sourcePath == folder) return s.destPath + sourcePath.substr(cut);
  }
  return run.setFolder + "\\" + sourcePath.substr(0, 1) + sourcePath.substr(2);
}

}  // namespace

std::string hostPathOn(HostPlatform& platform, const std::string& windowsPath, int medium) {
  if (medium > 0) platform.insertMedium(windowsPath[0], medium);
  return platform.hostPath(windowsPath);
}

MatrixBed::MatrixBed(Fixture fixture, Destination destination) : dest_(destination) {
  bed.host.answer = [this](PromptKind kind, const PromptDetails& details) {
    if (onPrompt) {
      const int answer = onPrompt(kind, details);
      if (answer >= 0) return answer;
    }
    if (auto it = answers.find(kind); it != answers.end()) return it->second;
    switch (kind) {
      case PromptKind::summary: return kAnswerStart;
      case PromptKind::nextDisk:
        bed.platform.insertMedium(destLetter(), lastMedium() + 1);
        return kAnswerContinue;
      case PromptKind::overwrite: return kAnswerOverwrite;
      case PromptKind::copyError: return kAnswerSkip;
      case PromptKind::diskInUse: return kAnswerAppend;
      case PromptKind::fileTooLarge: return kAnswerSkip;
    }
    return kAnswerAbort;
  };
  // The program, its settings and its log folder live on a drive of their
  // own, so the source check sees only what the backup did to the source.
  if (bed.platform.hostPath("P:\\").empty()) {
    bed.addFixed('P');
    bed.platform.setProgramDirectory("P:\\");
  }
  bed.addFixed('C');
  bed.platform.setWindowsDirectory("C:\\WINDOWS");
  if (destination == Destination::fixed) {
    bed.addFixed('D');
  } else {
    bed.addFloppy('A');
  }
  switch (fixture) {
    case Fixture::small:
      bed.makeDir("C:\\docs");
      bed.makeDir("C:\\docs\\sub");
      bed.makeDir("C:\\empty");
      writeSource("C:\\docs\\before.txt", patterned(1000, 1));
      writeSource("C:\\docs\\victim.bin", patterned(400000, 2));  // four blocks
      writeSource("C:\\docs\\zafter.txt", patterned(2000, 3));
      writeSource("C:\\docs\\nothing.dat", "");
      writeSource("C:\\docs\\sub\\deep.txt", patterned(300, 4));
      writeSource("C:\\root.txt", patterned(50, 5));
      victim_ = "C:\\docs\\victim.bin";
      break;
    case Fixture::spanning:
      // Four files a disk: f05 to f08 go to the second disk.
      bed.makeDir("C:\\span");
      for (int i = 1; i <= 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "C:\\span\\f%02d.bin", i);
        writeSource(name, patterned(300000 + i * 1000, i + 10));
      }
      victim_ = "C:\\span\\f06.bin";
      break;
    case Fixture::longPaths: {
      const std::string l1 = "C:\\" + kLevel1;
      const std::string l2 = l1 + "\\" + kLevel2;
      bed.makeDir(l1);
      bed.makeDir(l2);
      bed.makeDir(l2 + "\\" + kLevel3a);
      bed.makeDir(l2 + "\\" + kLevel3b);
      writeSource(l1 + "\\top.txt", patterned(100, 1));
      writeSource(l2 + "\\mid.txt", patterned(200, 2));
      writeSource(l2 + "\\" + kLevel3a + "\\deep1.txt", patterned(300, 3));
      writeSource(l2 + "\\" + kLevel3b + "\\deep2.txt", patterned(400, 4));
      victim_ = l2 + "\\" + kLevel3a + "\\deep1.txt";
      break;
    }
  }
}

void MatrixBed::writeSource(const std::string& path, const std::string& content) {
  bed.writeFile(path, content);
  bed.setFileTime(path, fileTimeOf(2001, 3, 1 + int(content.size() % 27), 10, 30));
  bed.setAttributes(path, kAttrArchive);
}

void MatrixBed::addHostSourceFile(const std::string& relativePath, const std::string& content) {
  const std::string path = bed.platform.mediumFolder('C') + "/" + relativePath;
  ASSERT_TRUE(writeHostFile(path, content)) << path;
}

void MatrixBed::addForeignFile(const std::string& path, const std::string& content,
                               bool erasable) {
  bed.writeFile(path, content);
  foreign_.push_back({bed.platform.currentMedium(path[0]), path, content, erasable});
}

int MatrixBed::lastMedium() const {
  int n = 0;
  while (fs::exists(bed.platform.mediumFolder(destLetter(), n + 1))) ++n;
  return n;
}

int MatrixBed::backup() {
  sourceBefore_ = snapshotTree(bed.platform.mediumFolder('C'));
  return bed.backup({'C'}, destLetter(), mode);
}

std::vector<std::string> CellChecks::check(MatrixBed& m, int result, const Expectations& expect) {
  m.bed.platform.faults().clear();
  m.bed.host.onPump = nullptr;
  std::vector<std::string> problems;
  if (result != expect.result) {
    problems.push_back("result " + std::to_string(result) + ", expected " +
                       std::to_string(expect.result));
  }
  if (!std::isfinite(m.bed.run.estimateSeconds) || m.bed.run.estimateSeconds < 0) {
    problems.push_back("time estimate " + std::to_string(m.bed.run.estimateSeconds));
  }
  checkSource(m, result, expect, problems);
  checkDestination(m, result, expect, problems);
  return problems;
}

// The source is as it was: bytes, times, modes and attributes; only the
// archive bit of a file saved by a completed run may have been cleared.
void CellChecks::checkSource(MatrixBed& m, int result, const Expectations& expect,
                             std::vector<std::string>& problems) {
  const TreeSnapshot after = snapshotTree(m.bed.platform.mediumFolder('C'));
  std::set<std::string> touchedFolders;
  for (const std::string& p : expect.changedByOthers) touchedFolders.insert(p.substr(0, p.rfind('\\')));
  for (const auto& [relative, before] : m.sourceBefore_) {
    const std::string path = windowsOf(relative);
    if (expect.changedByOthers.count(path)) continue;
    auto it = after.find(relative);
    if (it == after.end()) {
      problems.push_back("source removed: " + path);
      ++losses;
      continue;
    }
    const TreeEntry& now = it->second;
    const bool timeMayMove = before.directory && touchedFolders.count(path);
    if (now.directory != before.directory || now.size != before.size || now.hash != before.hash ||
        now.mode != before.mode || (now.mtimeNs != before.mtimeNs && !timeMayMove)) {
      problems.push_back("source changed: " + path);
      ++losses;
      continue;
    }
    const std::uint32_t was = attributesOf(before), is = attributesOf(now);
    if ((was ^ is) & ~kAttrArchive) {
      problems.push_back("source attributes changed: " + path);
      continue;
    }
    if (before.directory) continue;
    // Saved through the tree or as a file from outside it (a start-up file).
    FileEntry* e = m.bed.entry(path);
    bool savedWhole = e && e->status == kOutcomeCopied;
    for (const ExtraFile& x : m.bed.run.extraFiles) {
      savedWhole = savedWhole || (x.path == path && x.status == kOutcomeCopied);
    }
    savedWhole = savedWhole && result == kRunDone;
    const bool wasSet = was & kAttrArchive, isSet = is & kAttrArchive;
    if (!wasSet && isSet) problems.push_back("archive bit set on the source: " + path);
    if (wasSet && !isSet && !savedWhole) {
      problems.push_back("archive bit cleared for a file not saved by a complete run: " + path);
    }
    if (wasSet && isSet && savedWhole && !expect.archiveMayStay) {
      problems.push_back("archive bit left set on a saved file: " + path);
    }
  }
  for (const auto& [relative, now] : after) {
    if (!m.sourceBefore_.count(relative)) problems.push_back("added to the source: " + windowsOf(relative));
  }
}

// What the run says was saved is on its disk, whole; nothing else of the
// set is on any disk; the disks' labels tell them apart; files that are not
// ours are untouched.
void CellChecks::checkDestination(MatrixBed& m, int result, const Expectations& expect,
                                  std::vector<std::string>& problems) {
  HostPlatform& platform = m.bed.platform;
  RunRecord& run = m.bed.run;
  const char letter = m.destLetter();
  const bool floppy = m.dest_ == Destination::floppy;

  std::vector<int> media{0};
  std::map<int, int> mediumOfDisk;
  if (floppy) {
    media.clear();
    for (int n = 1; fs::exists(platform.mediumFolder(letter, n)); ++n) media.push_back(n);
    for (int medium : media) {
      platform.insertMedium(letter, medium);
      VolumeInfo info;
      if (!succeeded(platform.volumes().volumeInformation(std::string(1, letter) + ":\\", info))) continue;
      if (run.setName.empty() || info.label.rfind(run.setName, 0) != 0) continue;
      std::string rest = info.label.substr(run.setName.size());
      if (!rest.empty() && rest[0] == '_') rest.erase(0, 1);
      if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos) continue;
      // A disk labelled and then refused or taken out keeps its label; two
      // disks of one number are only a trap when both hold part of the set.
      std::error_code ec;
      if (fs::is_empty(hostPathOn(platform, run.setFolder, medium), ec) || ec) continue;
      const int disk = std::stoi(rest);
      if (mediumOfDisk.count(disk)) {
        problems.push_back("two disks holding files of the set are labelled " + info.label);
      }
      mediumOfDisk[disk] = medium;
    }
  }
  auto mediumOf = [&](int disk) {
    if (!floppy) return 0;
    auto it = mediumOfDisk.find(disk);
    return it == mediumOfDisk.end() ? disk : it->second;
  };

  std::set<std::pair<int, std::string>> claimed;  // (medium, host path)
  std::set<std::pair<std::string, int>> verified;  // (source path, disk) found whole
  for (auto& drive : run.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      for (const FileEntry& f : d->files) {
        const std::string path = d->fullPath() + "\\" + f.name;
        const bool saved = isSaved(f.status);
        const bool chosen = f.selected || f.status != kOutcomeNotCopied;
        if (result == kRunDone && f.selected && f.status == kOutcomeNotCopied) {
          problems.push_back("no outcome after a completed run: " + path);
        }
        if (expect.allSaved && chosen && !saved) {
          problems.push_back("not saved (outcome " + std::to_string(f.status) + "): " + path);
        }
        if (path == m.victim() && expect.victimStatus >= 0 && f.status != expect.victimStatus) {
          problems.push_back("victim outcome " + std::to_string(f.status) + ", expected " +
                             std::to_string(expect.victimStatus));
        }
        ++filesChecked;
        if (!saved) continue;
        if (f.diskNumber < 1) {
          problems.push_back("saved without a disk: " + path);
          continue;
        }
        const int medium = mediumOf(f.diskNumber);
        const std::string dest = destinationOf(run, path);
        const std::string host = hostPathOn(platform, dest, medium);
        claimed.insert({medium, host});
        std::string copy, source;
        const std::string sourceHost = platform.hostPath(path);
        if (!readHost(host, copy)) {
          problems.push_back("said saved on disk " + std::to_string(f.diskNumber) +
                             " but missing: " + dest);
          ++losses;
          continue;
        }
        if (!readHost(sourceHost, source) || copy != source) {
          problems.push_back("saved copy differs from its source: " + dest);
          ++losses;
          continue;
        }
        verified.insert({path, f.diskNumber});
        if (f.size != double(copy.size())) {
          problems.push_back("size " + std::to_string(f.size) + " told for a copy of " +
                             std::to_string(copy.size()) + " bytes: " + dest);
        }
        // FILETIMEs count in 100 ns.
        if (f.status == kOutcomeCopied && mtimeOf(host) / 100 != mtimeOf(sourceHost) / 100) {
          problems.push_back("copy's time differs: " + dest);
        }
        if (f.status == kOutcomeCopied &&
            ((m.bed.attributes(dest) ^ m.bed.attributes(path)) & ~(kAttrArchive | kAttrNormal))) {
          problems.push_back("copy's attributes differ: " + dest);
        }
      }
    }
  }
  // Files from outside the trees: boot files at their own paths on the
  // first disk, the others in the set's folder.
  for (const ExtraFile& x : run.extraFiles) {
    ++filesChecked;
    if (!isSaved(x.status)) continue;
    std::string dest = x.path;
    if (x.bootFile) {
      dest[0] = letter;
    } else {
      dest = m.bed.engine->rules().BuildCopyPath(x.path);
    }
    const int medium = mediumOf(x.diskNumber);
    const std::string host = hostPathOn(platform, dest, medium);
    claimed.insert({medium, host});
    std::string copy, source;
    if (!readHost(host, copy) || !readHost(platform.hostPath(x.path), source) || copy != source) {
      problems.push_back("extra file said saved on disk " + std::to_string(x.diskNumber) +
                         " is not whole there: " + dest);
      ++losses;
      continue;
    }
    verified.insert({x.path, x.diskNumber});
  }
  for (const IncompleteCopy& c : run.incompleteCopies) {
    const int medium = mediumOf(c.disk);
    claimed.insert({medium, hostPathOn(platform, c.path, medium)});
  }

  // Every file of the set on every disk is one the run accounts for; the
  // report may be there too.
  const std::string reportName = run.setName + ".KVX";
  std::vector<std::pair<int, std::string>> reports;  // (medium, host path)
  if (!run.setFolder.empty()) {
    for (int medium : media) {
      const std::string root = hostPathOn(platform, run.setFolder, medium);
      if (fs::is_regular_file(root + "/" + reportName)) {
        reports.push_back({medium, root + "/" + reportName});
        claimed.insert({medium, root + "/" + reportName});
      }
      std::error_code ec;
      for (fs::recursive_directory_iterator walk(root, ec), end; !ec && walk != end;
           walk.increment(ec)) {
        if (!walk->is_regular_file()) continue;
        if (!claimed.count({medium, walk->path().string()})) {
          problems.push_back("on medium " + std::to_string(medium) +
                             " but not said to be saved there: " + walk->path().string());
        }
      }
    }
  }

  checkReports(m, result, reports, verified, problems);

  for (const MatrixBed::Foreign& f : m.foreign_) {
    if (f.erasable) continue;
    std::string now;
    if (!readHost(hostPathOn(platform, f.path, f.medium), now) || now != f.content) {
      problems.push_back("a file that is not ours was changed: " + f.path);
    }
  }
}

// The reports of the run, wherever they are, claim no file that is not whole
// on the disk they name; they exist where the run's report result says.
void CellChecks::checkReports(MatrixBed& m, int result,
                              const std::vector<std::pair<int, std::string>>& reports,
                              const std::set<std::pair<std::string, int>>& verified,
                              std::vector<std::string>& problems) {
  HostPlatform& platform = m.bed.platform;
  RunRecord& run = m.bed.run;
  std::vector<std::string> copies;
  for (const auto& r : reports) copies.push_back(r.second);
  std::string logCopy;
  if (!run.logFileBase.empty()) {
    logCopy = platform.hostPath(run.logFileBase + ".KVX");
    if (!fs::is_regular_file(logCopy)) logCopy.clear();
  }
  if (!logCopy.empty()) copies.push_back(logCopy);
  if (result != kRunDone && !copies.empty()) {
    problems.push_back("a report of a run that did not complete: " + copies.front());
  }
  const int written = m.bed.engine->reportResult();
  const bool onDisk = written == kReportWritten || written == kReportNoLogCopy;
  if (result == kRunDone && onDisk && reports.empty()) {
    problems.push_back("report result " + std::to_string(written) + " with " +
                       std::to_string(reports.size()) + " reports on the disks");
  }
  if (result == kRunDone && !logCopy.empty() && written != kReportWritten &&
      written != kReportOnlyLogCopy) {
    problems.push_back("report result " + std::to_string(written) + " with a copy in the log folder");
  }
  // A report cut off on a disk that left the drive cannot be removed; it
  // must be no more than the beginning of the whole one.
  if (written == kReportOnlyLogCopy && !logCopy.empty()) {
    std::string whole, piece;
    readHost(logCopy, whole);
    for (const auto& r : reports) {
      readHost(r.second, piece);
      if (piece.size() >= whole.size() || whole.compare(0, piece.size(), piece) != 0) {
        problems.push_back("a report on a disk is neither whole nor a cut-off beginning: " + r.second);
      }
    }
    copies = {logCopy};
  }
  const char* const notSaved[] = {" (not copied)", " (larger than a disk", " (skipped)",
                                  " (source folder not found)", " (could not be opened)"};
  std::string first;
  for (const std::string& copy : copies) {
    std::string text;
    readHost(copy, text);
    if (first.empty()) first = text;
    if (text != first) problems.push_back("the report's copies differ: " + copy);
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      const auto tab = line.find(" \t ");
      if (tab == std::string::npos || tab == 0 ||
          line.find_first_not_of("-0123456789") < tab) {
        continue;
      }
      std::string rest = line.substr(tab + 3);
      if (rest.size() < 3 || rest[1] != ':') continue;
      ++reportLines;
      bool claim = true;
      for (const char* marker : notSaved) claim = claim && rest.find(marker) == std::string::npos;
      const int disk = std::stoi(line.substr(0, tab));
      const std::string path = rest.substr(0, std::min(rest.find(" ("), rest.rfind(' ')));
      if (claim && disk >= 1 && !verified.count({path, disk})) {
        problems.push_back("the report says saved on disk " + std::to_string(disk) +
                           ", it is not whole there: " + path);
        ++losses;
      }
    }
  }
}

}  // namespace hw::test
