// Checks of the configuration procedure in a real modal dialog.
#pragma once

#include "frame/host_abi.h"

namespace sorvel::test {

void checkConfigDialog(FilterDefinition* fd, bool rgb);

}  // namespace sorvel::test
