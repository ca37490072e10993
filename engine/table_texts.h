// The engine's texts from the table compiled into the program, for the
// command line and the tests (the windows load them from the resource
// library instead).
#pragma once

#include <string>

#include "engine/texts.h"
#include "resources/texts.h"

namespace hw {

class TableTexts final : public Texts {
 public:
  std::string get(int id) const override { return std::string(texts::text(id)); }
};

}  // namespace hw
