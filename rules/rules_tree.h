// How the rules walk the scanned trees: every directory of every selected
// drive, root first, then pre-order; and what "below" a directory means.
#pragma once

#include "engine/run_record.h"

namespace hw::rules {

// The parent of a directory: through the first of its siblings, which is the
// one the scan hangs below the parent.
inline DirEntry* parentOf(const DirEntry& dir) {
  const DirEntry* first = &dir;
  while (first->prevSibling) first = first->prevSibling;
  return first->parent;
}

// Whether `dir` lies below a directory that `marked` holds for. The root
// never passes a mark on.
template <typename Marked>
bool liesBelow(const DirEntry& dir, Marked marked) {
  const DirEntry* parent = parentOf(dir);
  return parent && !parent->parentPath.empty() && marked(*parent);
}

template <typename Visit>
void forEachDirectory(RunRecord& run, Visit visit) {
  for (auto& drive : run.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) visit(*drive, *d);
  }
}

}  // namespace hw::rules
