#include "report/folders.h"

namespace hw {

bool FolderExists(FileSystem& files, const std::string& path, bool parentOnly) {
  std::string folder = path;
  if (parentOnly) {
    // From the end down to the second character: a leading "\" is no cut.
    for (std::size_t i = folder.size(); i-- > 1;) {
      if (folder[i] == '\\') {
        folder.resize(i);
        break;
      }
    }
  }
  if (folder.size() == 2) folder += '\\';
  return succeeded(files.setCurrentDirectory(folder));
}

void CreateFolderPath(FileSystem& files, const std::string& path, bool lastIsFile) {
  for (std::size_t i = 2; i < path.size(); ++i) {
    if (path[i] == '\\') files.createDirectory(path.substr(0, i));
  }
  if (!lastIsFile && !path.empty()) files.createDirectory(path);
}

}  // namespace hw
