#pragma once

// The key-colour pair and its operations and the built-in schemes.
#include "schemes/builtinschemes.h"
#include "schemes/colorstrip.h"
