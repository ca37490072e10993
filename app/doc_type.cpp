#include "app/doc_type.h"

#include <string>

namespace hw {
namespace {

// The type is read into a 256-byte buffer, terminating zero included; a
// longer value does not fit and the read fails.
constexpr std::size_t kTypeBufferSize = 256;

}  // namespace

int RegisterReportDocumentType(Registry& registry) {
  std::string type;
  if (!succeeded(registry.queryString(RegistryRoot::classesRoot, ".DOC", "", type))) return 0;
  if (type.size() + 1 > kTypeBufferSize) return 0;
  if (!succeeded(registry.setString(RegistryRoot::classesRoot, ".KVX", "", type))) return 0;
  return 1;
}

}  // namespace hw
