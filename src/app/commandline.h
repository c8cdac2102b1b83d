#pragma once

#include <optional>

namespace rainquill {

// What the desktop program makes of its command line before any window or display is
// needed: -h/--help and -v/--version print and end the program; Qt's own options pass to
// the application object; any other option, and any other argument (a file name), is
// refused on standard error. Returns the exit status when the program ends here.
std::optional<int> HandleCommandLine(int argc, char **argv);

} // namespace rainquill
