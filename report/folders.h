// Folder tests and folder creation as the program does them: a folder exists
// when it can be made the current directory, and a path is created one
// folder at a time from its start.
#pragma once

#include <string>

#include "platform/platform.h"

namespace hw {

// With `parentOnly` the path is cut at its last "\" first (the folder a file
// would go into). A bare drive ("C:") is tested as its root. The folder that
// passed the test stays the current directory.
bool FolderExists(FileSystem& files, const std::string& path, bool parentOnly);

// Creates every folder along `path`; the last component too unless
// `lastIsFile`. Folders that exist already, or cannot be made, are passed by.
void CreateFolderPath(FileSystem& files, const std::string& path, bool lastIsFile);

}  // namespace hw
