#pragma once

#include <QRect>
#include <QSize>

// The form geometry of each window: its size and where its own form parts (labels, edits,
// lists, panels) sit. The windows place their parts by it, and the skin generator draws the
// captions' surroundings and places its buttons around the same rectangles, so the two cannot
// drift apart. A skin positions its own pictures and buttons itself. Qt Core only, so the
// generator can read it without the widgets.
namespace formlayout {

namespace select {
inline constexpr QSize kWindow(762, 510);
}  // namespace select

namespace main {
inline constexpr QSize kWindow(792, 566);
inline constexpr QRect kPreview(421, 68, 300, 224);
inline constexpr QRect kProfileBox(24, 358, 497, 21);
}  // namespace main

namespace progress {
inline constexpr QSize kWindow(546, 346);
// Captions (Label1, Label2, Label5, Label6, Label3, Label4) and their values.
inline constexpr QRect kCurrentClipCaption(28, 58, 118, 14);    // Label1
inline constexpr QRect kSrcName(150, 58, 372, 14);              // Label_SrcName
inline constexpr QRect kDestinationCaption(28, 80, 118, 14);    // Label2
inline constexpr QRect kDesName(150, 80, 372, 14);              // Label_DesName
inline constexpr QRect kStartTimeCaption(28, 112, 118, 14);     // Label5
inline constexpr QRect kStartTime(150, 112, 90, 14);            // Label_StartTime
inline constexpr QRect kStopTimeCaption(290, 112, 100, 14);     // Label6
inline constexpr QRect kStopTime(394, 112, 90, 14);             // Label_StopTime
inline constexpr QRect kLengthCaption(28, 134, 118, 14);        // Label3
inline constexpr QRect kLength(150, 134, 90, 14);               // Label_Length
inline constexpr QRect kCurrentTimeCaption(290, 134, 100, 14);  // Label4
inline constexpr QRect kCurrentTime(394, 134, 90, 14);          // Label_CurrentTime
inline constexpr QRect kProgressPanel(150, 174, 280, 33);       // Panel_Progress
// Inside Panel_Progress: the two bars and the percent labels over their right ends.
inline constexpr QRect kClipBar(0, 1, 280, 14);             // Img_CP
inline constexpr QRect kTotalBar(0, 18, 280, 14);           // Img_TP
inline constexpr QRect kClipPercent(232, 1, 26, 14);        // Label_CP (right aligned)
inline constexpr QRect kClipPercentSign(259, 1, 14, 14);    // Label10
inline constexpr QRect kTotalPercent(232, 18, 26, 14);      // Label_TP (right aligned)
inline constexpr QRect kTotalPercentSign(259, 18, 14, 14);  // Label9
inline constexpr QRect kWorkingFolder(28, 248, 390, 21);    // Edit_WorkingFolder
}  // namespace progress

namespace profile {
inline constexpr QSize kWindow(480, 366);
inline constexpr QRect kNameCaption(24, 54, 100, 14);
inline constexpr QRect kName(128, 51, 180, 21);         // Edit_Name
inline constexpr QRect kVideoGroup(16, 84, 448, 112);   // GroupBox1
inline constexpr QRect kAudioGroup(16, 204, 448, 112);  // GroupBox2
// Rows inside a group box: caption at x 14, list at x 124 (180 wide), unit at x 314.
inline constexpr int kRowTop[] = {24, 52, 80};
inline constexpr int kCaptionLeft = 14;
inline constexpr int kListLeft = 124;
inline constexpr int kListWidth = 180;
inline constexpr int kUnitLeft = 314;
}  // namespace profile

namespace about {
inline constexpr QSize kWindow(392, 216);
inline constexpr QRect kTitleShadow(38, 55, 247, 24);  // Label1
inline constexpr QRect kTitle(37, 54, 247, 24);        // Label5
inline constexpr QRect kVersion(184, 88, 88, 13);      // Label2
}  // namespace about

}  // namespace formlayout
