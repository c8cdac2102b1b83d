#pragma once

namespace rainquill::cli {

// Runs the command-line converter; returns the exit status.
int Run(int argc, char **argv);

} // namespace rainquill::cli
