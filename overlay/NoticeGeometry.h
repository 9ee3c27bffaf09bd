// Where the overlay goes when a notice strip shows under the switcher's list: the window grows
// down (and, under a narrow list, sideways) to hold the strip, and the list keeps its place on
// screen inside it. Also where the strip and its text go inside the view.
#pragma once

#include "platform/Geometry.h"

namespace vantor {

// The strip: its height, the gap between it and the list, the room the overlay keeps for it at
// the least across, and its text's size.
inline constexpr double kNoticeHeight = 32;
inline constexpr double kNoticeGap = 8;
inline constexpr double kNoticeRoomWidth = 720;
inline constexpr double kNoticeFontSize = kNoticeHeight / 2;

struct OverlayPlacement {
    platform::Rect windowFrame;  // screen coordinates
    platform::Rect listInView;   // the list's frame in the view's coordinates
};

// The overlay over a list with this screen frame: exactly the list without a notice; with one,
// the list and, centred under it, room for the strip at least kNoticeRoomWidth across.
OverlayPlacement overlayPlacement(const platform::Rect& listFrame, bool withNotice);

struct NoticeGeometry {
    platform::Rect stripBox;  // the rounded box, centred under the list
    double cornerRadius = 0;  // as a hint label's: its height / 4
    double lineWidth = 0;     // as a hint label's: its height / 32
    platform::Rect textBox;   // the line of text, centred in the box
    double fontSize = 0;      // kNoticeFontSize, less when the text would not fit across
};

// The strip under the list at `listInView` in a view `viewWidth` wide, for a text that is
// `textWidth` wide at kNoticeFontSize: as wide as the list, or as the text with its margins
// when that is wider, but never wider than the view; the text shrinks to what fits.
NoticeGeometry noticeGeometry(const platform::Rect& listInView, double viewWidth, double textWidth);

}  // namespace vantor
