// The library's single registration. Each filter's library defines
// moduleFilterDefinition(); the exported entry points register it.
#pragma once

#include "frame/host_abi.h"

namespace sorvel::frame {

FilterDefinition& moduleFilterDefinition();

}  // namespace sorvel::frame
