#pragma once

namespace rainquill {

// Lets screen readers read the code pane as a read-only text: its text, caret and
// selection. Installed once, by the first code pane made.
void InstallCodePaneAccessible();

} // namespace rainquill
