// Report files (".KVX") open with whatever opens ".DOC" files: the first run
// copies the document type of ".DOC" to ".KVX" in the classes root.
#pragma once

#include "platform/platform.h"

namespace hw {

// 1 when ".KVX" got the type of ".DOC"; 0 when a step failed (no ".DOC" key,
// no default value, a type too long for the 256-byte buffer of the
// registry read, or ".KVX" could not be written). Nothing is checked or
// repaired later.
int RegisterReportDocumentType(Registry& registry);

}  // namespace hw
