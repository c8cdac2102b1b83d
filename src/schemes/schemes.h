#pragma once

// The key-colour pair and its operations, the built-in schemes and the custom scheme file.
#include "schemes/builtinschemes.h"
#include "schemes/colorstrip.h"
#include "schemes/customschemefile.h"
