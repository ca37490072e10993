// The extension lists built into the rules, in force when the user has not
// asked for the list file HOARDWL.INI or when that file cannot be read.
// Extensions are upper case, without the dot.
#pragma once

#include <span>
#include <string_view>

namespace hw {

// Extensions that are not a user's data (38): the data rule by default.
std::span<const std::string_view> BuiltInNonDataExtensions();
// Extensions of a user's data (74): when the list file was asked for but
// cannot be read.
std::span<const std::string_view> BuiltInDataExtensions();
// Extensions kept out of application folders (48): when the list file was
// asked for but cannot be read.
std::span<const std::string_view> BuiltInApplicationExclusions();

}  // namespace hw
