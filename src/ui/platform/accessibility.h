#pragma once

namespace rainquill {

// What screen readers are told beyond Qt's own: the child windows are dialogs. Installed
// once, by the first window made.
void InstallAccessibility();

} // namespace rainquill
