#pragma once

namespace rainquill {

// The program draws its own fixed light look whatever the desktop theme: windows in RGB
// 244, 244, 244, black text, white text boxes. Set once at start on the whole application,
// so that every window, message box and Qt's own colour dialog are light.
void UseDesignPalette();

} // namespace rainquill
