// A fault of the host platform in one call, for tables of fault cases.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/host_platform.h"

namespace hw::test {

inline FaultRule faultRule(FaultOp op, const std::string& path, int nth,
                           FaultAction action = FaultAction::fail,
                           Status error = Status::readFault, std::uint64_t value = 0,
                           char drive = 0) {
  FaultRule r;
  r.op = op;
  r.pathContains = path;
  r.nth = nth;
  r.action = action;
  r.error = error;
  r.value = value;
  r.drive = drive;
  return r;
}

}  // namespace hw::test
