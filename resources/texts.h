// The program's texts as a table in the program itself: the same texts the
// resource library's string table carries, for the terminal front-end, the
// host platform and the tests, which have no resource library to load.
#pragma once

#include <span>
#include <string_view>

#include "resources/string_ids.h"

namespace hw::texts {

struct Entry {
  int id;
  std::string_view name;  // the constant's name in hw::ids
  std::string_view text;
};

// Every entry, in ascending id order.
std::span<const Entry> all();

// The text of a string id; empty for an id the table does not hold, as a
// missing string loads empty from the resource library.
std::string_view text(int id);

bool contains(int id);

}  // namespace hw::texts
