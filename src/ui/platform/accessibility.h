#pragma once

namespace rainquill {

// What screen readers are told beyond Qt's own: the code pane is a read-only text (its
// text, caret and selection), and the child windows are dialogs. Installed once, by the
// first window or code pane made.
void InstallAccessibility();

} // namespace rainquill
