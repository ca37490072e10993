// Where the engine's user-visible texts come from: the resource library's
// string table on Windows, the same table compiled in for the command line.
#pragma once

#include <string>

namespace hw {

class Texts {
 public:
  virtual ~Texts() = default;
  virtual std::string get(int id) const = 0;
};

}  // namespace hw
