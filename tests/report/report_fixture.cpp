#include "tests/report/report_fixture.h"

#include <memory>

#include "resources/string_ids.h"

namespace hw::test {

SourceDrive& TreeBuilder::drive(char letter, bool selected) {
  DriveListItem item;
  item.letter = letter;
  item.kind = DK_FIXED;
  run_.sourceDrives.push_back(std::make_unique<SourceDrive>(makeSourceDrive(item)));
  SourceDrive& d = *run_.sourceDrives.back();
  d.selected = selected ? 1 : 0;
  d.needsScan = 0;
  return d;
}

DirEntry& TreeBuilder::root(SourceDrive& drive) {
  DirEntry& r = drive.newDirectory();
  r.name = std::string(1, drive.letter) + ":";
  drive.root = &r;
  return r;
}

DirEntry& TreeBuilder::dir(SourceDrive& drive, DirEntry& parent, const std::string& name) {
  DirEntry& d = drive.newDirectory();
  d.name = name;
  d.parentPath = parent.fullPath();
  d.depth = static_cast<std::int16_t>(parent.depth + 1);
  // Every child knows its parent, as the scan leaves them.
  d.parent = &parent;
  if (!parent.firstChild) {
    parent.firstChild = &d;
    return d;
  }
  DirEntry* last = parent.firstChild;
  while (last->nextSibling) last = last->nextSibling;
  last->nextSibling = &d;
  d.prevSibling = last;
  d.siblingIndex = static_cast<std::int16_t>(last->siblingIndex + 1);
  return d;
}

FileEntry& TreeBuilder::file(DirEntry& dir, const std::string& name, std::int32_t disk,
                             bool selected, std::int32_t status, std::uint32_t attributes) {
  FileEntry& f = dir.files.emplace_back();
  f.name = name;
  f.diskNumber = disk;
  f.selected = selected ? 1 : 0;
  f.status = status;
  f.attributes = attributes;
  return f;
}

void buildOneDiskRun(RunRecord& run, const Texts& texts) {
  TreeBuilder tree(run);
  SourceDrive& c = tree.drive('C', true);
  DirEntry& root = tree.root(c);
  tree.file(root, "AUTOEXEC.BAT", 1, true, kOutcomeCopied);
  tree.file(root, "BIG.DAT", 0, false, kOutcomeTooLarge);
  tree.file(root, "HIDDEN.SYS", 1, true, kOutcomeCopied, kAttrHidden | kAttrArchive);
  tree.file(root, "NOTSEL.TXT", 0, false, kOutcomeNotCopied);
  DirEntry& docs = tree.dir(c, root, "DOCS");
  tree.file(docs, "GONE.TXT", -1, true, kOutcomeNotCopied);
  tree.file(docs, "LETTER.TXT", 1, true, kOutcomeTimesNotSet);
  tree.file(docs, "SKIP.TXT", -1, false, kOutcomeSkipped);
  DirEntry& old = tree.dir(c, docs, "OLD");
  tree.file(old, "NOTE.TXT", 1, true, kOutcomeAttributesNotSet, kAttrHidden | kAttrArchive);
  DirEntry& games = tree.dir(c, root, "GAMES");
  tree.file(games, "OPEN.EXE", -1, false, kOutcomeOpenFailed);
  tree.file(games, "X.DAT", -1, false, kOutcomeDirectoryGone);
  SourceDrive& d = tree.drive('D', true);
  tree.file(tree.root(d), "README", 1, true, kOutcomeNoSourceTimes);
  SourceDrive& e = tree.drive('E', false);
  tree.file(tree.root(e), "E.TXT", 1, true, kOutcomeCopied);
  // Marks left by an earlier walk must not hide a directory.
  docs.visitMark = 1;

  auto extra = [&](const char* path, std::int32_t disk, bool selected, std::int32_t status,
                   bool boot = false, std::uint32_t attributes = kAttrArchive) {
    ExtraFile f;
    f.path = path;
    f.diskNumber = disk;
    f.selected = selected;
    f.status = status;
    f.bootFile = boot;
    f.attributes = attributes;
    run.extraFiles.push_back(f);
  };
  extra("C:\\IO.SYS", 1, true, kOutcomeCopied, true, kAttrHidden | kAttrSystem | kAttrReadOnly);
  extra("C:\\S.INI", 1, true, kOutcomeNoSourceAttributes);
  extra("C:\\CONFIG.SYS", -1, true, kOutcomeNotCopied);
  extra("C:\\MSDOS.SYS", 0, false, kOutcomeTooLarge);
  extra("C:\\A.INI", -1, false, kOutcomeSkipped);
  extra("C:\\B.INI", -1, false, kOutcomeDirectoryGone);
  extra("C:\\C.INI", -1, false, kOutcomeOpenFailed);
  extra("C:\\D.INI", -1, false, 4);
  extra("C:\\E.INI", 0, false, kOutcomeNotCopied);

  run.shortenedPaths.push_back({1, "C:\\DOCS\\ALPHABET\\BETAVERSION", "F:\\L240315A\\C\\DOC\\ALP\\BET"});
  run.shortenedPaths.push_back(
      {0, "C:\\DOCS\\ALPHABET\\GAMMARAY", texts.get(ids::IDS_SHORT_PATH_UNUSABLE)});

  run.destLetter = 'F';
  run.setName = "L240315A";
  run.active = 1;
  run.mode = MODE_DATA | MODE_APPS | MODE_BOOT;
  run.diskIndex = 1;
  run.diskCount = 1;
  run.bytesCopied = 123456;
  run.totalBytes = 130000;
  run.filesCopied = 6;
  run.totalFiles = 7;
  run.startTime = 10;
  run.estimateSeconds = 61;
}

// Year, month, day of the week (unused), day, hour, minute, second.
SystemTime oneDiskEndTime() { return {2024, 3, 0, 15, 14, 30, 5, 0}; }

SystemTime spanStartTime() { return {2024, 3, 0, 15, 9, 5, 0, 0}; }

}  // namespace hw::test
