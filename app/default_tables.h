// The extension lists a first run writes into the settings file, as a model
// of the list file the selection rules can read instead: each line is the
// extension padded to 9 characters, "; " and a description.
#pragma once

#include <span>
#include <string_view>

namespace hw {

struct ExtensionLine {
  int index;  // the key is "Ext%03d" of it
  std::string_view line;
};

// Kinds of files that hold a user's own data (Ext000 to Ext073).
std::span<const ExtensionLine> DefaultUserDataExts();

// Kinds of files that belong to applications (Ext000 to Ext049; there has
// never been an Ext028 in this list).
std::span<const ExtensionLine> DefaultApplicationExts();

}  // namespace hw
