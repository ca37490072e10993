#include "resources/texts.h"

#include <algorithm>

namespace hw::texts {
namespace {

constexpr Entry kEntries[] = {
#include "resources/texts_table.inc"
};

const Entry* find(int id) {
  const auto* end = std::end(kEntries);
  const auto* it = std::lower_bound(std::begin(kEntries), end, id,
                                    [](const Entry& e, int wanted) { return e.id < wanted; });
  return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

std::span<const Entry> all() { return kEntries; }

std::string_view text(int id) {
  const Entry* e = find(id);
  return e ? e->text : std::string_view{};
}

bool contains(int id) { return find(id) != nullptr; }

}  // namespace hw::texts
