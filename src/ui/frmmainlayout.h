#pragma once

#include "ui/base/twips.h"

// Every rectangle of the main window's fixed layout, in twips: left, top, width,
// height, relative to the window's client area or to the frame named.
namespace rainquill::FrmMainLayout {

inline constexpr int ClientWidth = 10155;
inline constexpr int ClientHeight = 7230;

// On the window.
inline constexpr TwipsRect Frame5{135, 90, 1000, 7050};
inline constexpr TwipsRect Frame1{1245, 90, 5355, 3255};
inline constexpr TwipsRect Frame2{1245, 3420, 5355, 3255};
inline constexpr TwipsRect Frame3{6705, 90, 3315, 3255};
inline constexpr TwipsRect Frame4{6705, 3420, 3315, 3255};
inline constexpr TwipsRect OptView{1275, 6780, 705, 345};
inline constexpr TwipsRect OptAll{1965, 6780, 705, 345};
inline constexpr TwipsRect OptCode{2655, 6780, 705, 345};
inline constexpr TwipsRect Label4{3975, 6855, 540, 180};
inline constexpr TwipsRect Combo1{4560, 6795, 1455, 300};
inline constexpr TwipsRect TxtStyle[3] = {{6060, 6795, 1335, 300}, {8100, 6795, 375, 300}, {8925, 6780, 1065, 300}};
inline constexpr TwipsRect Label5{7425, 6855, 630, 180};
inline constexpr TwipsRect Label6{8520, 6855, 360, 180};

// In Frame1 and Frame2.
inline constexpr TwipsRect RTInput{150, 300, 5025, 2775};
inline constexpr TwipsRect TxtCode{160, 300, 5025, 2795};

// In Frame4.
inline constexpr TwipsRect PicColor{150, 285, 1100, 330};
inline constexpr TwipsRect CmdLeft{1470, 278, 765, 345};
inline constexpr TwipsRect CmdRight{2385, 278, 765, 345};
inline constexpr TwipsRect CmdRnd{150, 757, 1100, 345};
inline constexpr TwipsRect CmdContrary{1470, 757, 1675, 345};
inline constexpr TwipsRect CmdGo{150, 1260, 765, 345};
inline constexpr TwipsRect CmdBack{1267, 1260, 765, 345};
inline constexpr TwipsRect CmdClear{2385, 1260, 765, 345};
inline constexpr TwipsRect ChkAuto{90, 1800, 2115, 255};
inline constexpr TwipsRect CmdClipCode{2205, 1740, 945, 345};
inline constexpr TwipsRect Label2{180, 2340, 180, 180};
inline constexpr TwipsRect TxtStep{390, 2285, 420, 290};
inline constexpr TwipsRect PicUp{840, 2250, 255, 165};
inline constexpr TwipsRect PicDown{840, 2400, 255, 165};
inline constexpr TwipsRect Label3{1140, 2340, 1440, 180};
inline constexpr TwipsRect LabStep{180, 2670, 2970, 420};

// The view modes' heights and tops.
inline constexpr int TallFrameHeight = 6580;
inline constexpr int ShortFrameHeight = 3255;
inline constexpr int LowerFrameTop = 3420;
inline constexpr int InputPaneMixedHeight = 2775;
inline constexpr int CodePaneMixedHeight = 2800;
inline constexpr int InputPaneMargin = 560;
inline constexpr int CodePaneMargin = 540;

} // namespace rainquill::FrmMainLayout
