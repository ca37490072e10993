// The platform the command line runs on: the host platform with the drives
// given by --drive, or the real Windows drives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "platform/platform.h"

namespace hw::cli {

// Null with a one-line reason in `error` when the drives cannot be set up.
std::unique_ptr<Platform> makeCliPlatform(const std::vector<DriveOption>& drives,
                                          std::string& error);

// The settings file: the one given, or HOARDWL95.INI beside the program, so
// the command line and the windowed program share their settings.
std::string settingsPath(Platform& platform, const std::string& given);

// A path of the platform as a person can find it: with the folder it maps to
// where drive letters are folders.
std::string shownPath(Platform& platform, const std::string& path);

}  // namespace hw::cli
