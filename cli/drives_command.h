// `hoardwell drives`: the drive letters as the drive lists show them.
#pragma once

#include <ostream>

#include "platform/platform.h"

namespace hw {

// One line per drive: letter, kind, volume description, total and free
// space. Returns the program's exit status (0).
int runDrivesCommand(Platform& platform, std::ostream& out);

}  // namespace hw
