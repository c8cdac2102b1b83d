#pragma once

namespace rainquill {

// The program speaks Simplified Chinese whatever the system's locale: Qt's own texts
// (the colour dialog, the buttons of message boxes, the panes' right-click menus) are
// loaded in Chinese too. Call after the application object exists; later calls do nothing.
void UseChineseEverywhere();

} // namespace rainquill
