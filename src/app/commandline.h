#pragma once

#include <optional>

namespace rainquill {

// What the desktop program makes of its command line before any window or display is
// needed: --help and --version print and end the program; any other option beginning
// with "--" that Qt does not take is refused on standard error. Everything else is left
// to the application object. Returns the exit status when the program ends here.
std::optional<int> HandleCommandLine(int argc, char **argv);

} // namespace rainquill
