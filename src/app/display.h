#pragma once

#include <optional>
#include <string>

namespace rainquill {

// Why the window could not be shown, told before the application object exists: the
// platform Qt would use (from -platform, QT_QPA_PLATFORM or the session) is X11 or
// Wayland and no display of it can be reached. The line for standard error, or nothing.
std::optional<std::string> MissingDisplay(int argc, char **argv);

// While the application object starts, Qt's messages are held back; a fatal one (no
// platform plugin could start) becomes one line of ours and exit status 1 instead of an
// abort. Once started, what was held back is passed on as Qt would have printed it.
class StartupMessages
{
public:
    StartupMessages();
    ~StartupMessages();
    StartupMessages(const StartupMessages &) = delete;
    StartupMessages &operator=(const StartupMessages &) = delete;
};

} // namespace rainquill
